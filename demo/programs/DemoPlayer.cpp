// Uses the uninstaller as a person would, for the demo: waits for each
// window, takes a screenshot, picks printers, presses "Desinstalar" and
// answers the messages. Prints what it saw.
//   demo_player.exe <trelun08.exe> <screenshot dir> <prefix> <printer>... | --all
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "UiDriver.h"

namespace {

std::string g_shots;
std::string g_prefix;
int g_shotNumber = 0;

void Shot(const char* what)
{
    ++g_shotNumber;
    char name[64];
    std::snprintf(name, sizeof(name), "%s-%d-%s.bmp", g_prefix.c_str(), g_shotNumber, what);
    const std::string path = g_shots + name;
    if (UiDriver::Screenshot(GetDesktopWindow(), path))
        std::printf("screenshot %s\n", name);
}

HWND FindPage(HWND main, int controlId)
{
    for (HWND page = FindWindowExA(main, nullptr, "#32770", nullptr); page;
         page = FindWindowExA(main, page, "#32770", nullptr)) {
        if (GetDlgItem(page, controlId))
            return page;
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::printf("usage: demo_player <trelun08.exe> <screenshot dir> <prefix> <printer>... | --all\n");
        return 2;
    }
    const std::string program = argv[1];
    g_shots = argv[2];
    if (!g_shots.empty() && g_shots.back() != '\\')
        g_shots += '\\';
    g_prefix = argv[3];
    std::vector<std::string> wanted(argv + 4, argv + argc);
    const bool all = wanted.size() == 1 && wanted[0] == "--all";
    const std::string directory = program.substr(0, program.find_last_of('\\'));

    // Switches for the program, e.g. "/WHATIF:C:\\whatif.txt".
    char switches[512] = {};
    GetEnvironmentVariableA("TRELUN_DEMO_SWITCHES", switches, sizeof(switches));
    UiDriver driver;
    if (!driver.Start(program, switches, directory)) {
        std::printf("could not start %s\n", program.c_str());
        return 3;
    }
    HWND loading = driver.WaitForWindow(nullptr, "Cargando desinstalaci\xF3n...", 20000);
    if (loading) {
        Sleep(1500);
        Shot("cargando");
    }
    // The package has a scanner driver: the component choice comes first.
    HWND components = driver.WaitForWindow("#32770", "Desinstalar", 60000);
    if (components) {
        Shot("componentes");
        UiDriver::Click(components, IDOK);
    }
    HWND main = driver.WaitForWindow("KVQUninstallWindowClass__", nullptr, 60000);
    if (!main) {
        std::printf("the main window did not appear\n");
        return 4;
    }
    HWND select = FindPage(main, 1020);
    HWND list = select ? GetDlgItem(select, 1020) : nullptr;
    WaitUntil([&] { return list && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) > 0; }, 10000);
    Sleep(500);
    Shot("seleccion");

    const auto rows = driver.ListViewRows(list, 6);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        bool pick = all;
        for (const std::string& name : wanted)
            pick = pick || rows[row][0] == name;
        std::printf("printer %s | %s | %s%s\n", rows[row][0].c_str(), rows[row][1].c_str(), rows[row][2].c_str(),
                    pick ? " | chosen" : "");
        if (pick)
            driver.SetListViewSelection(list, static_cast<int>(row), true);
    }
    if (!WaitUntil([&] { return UiDriver::IsEnabled(main, 1080); }, 5000)) {
        std::printf("the uninstall button stayed disabled\n");
        return 5;
    }
    Sleep(300);
    Shot("elegidas");
    UiDriver::Click(main, 1080);

    while (!driver.HasExited()) {
        FoundMessageBox box;
        if (!driver.WaitForMessageBox(box, 500))
            continue;
        Sleep(300);
        Shot("mensaje");
        std::string text = box.text;
        for (char& c : text) {
            if (c == '\n')
                c = ' ';
        }
        std::printf("message [%s] %s\n", box.caption.c_str(), text.c_str());
        // Questions get the safe answer: no restart now.
        const bool question = GetDlgItem(box.window, IDNO) != nullptr;
        UiDriver::Answer(box.window, question ? IDNO : IDOK);
        WaitUntil([&] { return !IsWindow(box.window) || driver.HasExited(); }, 5000);
    }
    const DWORD code = driver.WaitForExit(10000);
    std::printf("exit code %lu\n", code);
    return 0;
}
