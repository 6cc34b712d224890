#include "ProgramSandbox.h"

#include <windows.h>

#include "TestPaths.h"
#include "WineVersion.h"
#include "resource.h"

namespace {

// The program is built into bin/, the tests beside the simulator in
// spoolsim/ of the same tree.
std::string BuiltProgram() { return BinDirectory() + "..\\bin\\trelun08.exe"; }

}  // namespace

ProgramSandbox::ProgramSandbox(const std::string& stateText, const std::string& script)
    : directory(), spooler(stateText), driver(), emulatedVersion(nullptr)
{
#ifdef _WIN64
    // As deployed on 64-bit Windows: the run starts at the 32-bit program,
    // which hands it over to x64\trelun08.exe and its 64-bit simulator.
    const std::string win32 = BinDirectory() + "..\\bin\\win32\\";
    CopyFileA((win32 + "trelun08.exe").c_str(), Program().c_str(), FALSE);
    CopyFileA((win32 + "VSPOOL08.dll").c_str(), directory.Join("VSPOOL08.dll").c_str(), FALSE);
    CreateDirectoryA(directory.Join("x64").c_str(), nullptr);
    CopyFileA(BuiltProgram().c_str(), directory.Join("x64\\trelun08.exe").c_str(), FALSE);
    CopyFileA(BesideTests("VSPOOL08.dll").c_str(), directory.Join("x64\\VSPOOL08.dll").c_str(), FALSE);
#else
    CopyFileA(BuiltProgram().c_str(), Program().c_str(), FALSE);
    CopyFileA(BesideTests("VSPOOL08.dll").c_str(), directory.Join("VSPOOL08.dll").c_str(), FALSE);
#endif
    if (!script.empty())
        directory.Write("VUNZ__08.unm", script);
}

ProgramSandbox::~ProgramSandbox()
{
    if (!driver.HasExited())
        driver.WaitForExit(2000);
    if (emulatedVersion)
        SetEmulatedVersion("trelun08.exe", nullptr);
}

bool ProgramSandbox::Start(const std::string& arguments, const char* version)
{
    if (version) {
        SetEmulatedVersion("trelun08.exe", version);
        emulatedVersion = version;
    }
    return driver.Start(Program(), arguments, Directory());
}

HWND ProgramSandbox::WaitForMainWindow(unsigned long timeoutMs)
{
    return driver.WaitForWindow("KVQUninstallWindowClass__", nullptr, timeoutMs);
}

HWND ProgramSandbox::SelectionList(HWND main) const
{
    HWND page = FindWindowExA(main, nullptr, "#32770", nullptr);
    for (; page; page = FindWindowExA(main, page, "#32770", nullptr)) {
        HWND list = GetDlgItem(page, 1020);
        if (list)
            return list;
    }
    return nullptr;
}

HWND ProgramSandbox::RemovalPage(HWND main) const
{
    for (HWND page = FindWindowExA(main, nullptr, "#32770", nullptr); page;
         page = FindWindowExA(main, page, "#32770", nullptr)) {
        if (GetDlgItem(page, IDC_STEP_LABEL_FIRST))
            return page;
    }
    return nullptr;
}

std::vector<FoundMessageBox> ProgramSandbox::AnswerUntilExit(int button, unsigned long timeoutMs,
                                                            unsigned long* exitCode)
{
    std::vector<FoundMessageBox> seen;
    const DWORD start = GetTickCount();
    while (!driver.HasExited() && GetTickCount() - start < timeoutMs) {
        FoundMessageBox box;
        if (driver.WaitForMessageBox(box, 200)) {
            seen.push_back(box);
            UiDriver::Answer(box.window, button);
            WaitUntil([&] { return !IsWindow(box.window) || driver.HasExited(); }, 5000);
        }
    }
    const DWORD code = driver.WaitForExit(5000);
    if (exitCode)
        *exitCode = code;
    return seen;
}

std::string ProgramSandbox::Screenshot(HWND window, const std::string& name)
{
    char artifacts[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("TRELUN_ARTIFACTS", artifacts, MAX_PATH);
    std::string path = (length > 0 && length < MAX_PATH) ? std::string(artifacts) : Directory();
    if (!path.empty() && path.back() != '\\')
        path += '\\';
    CreateDirectoryA(path.c_str(), nullptr);
    path += name + ".bmp";
    // The program paints once it is idle again: each shot waits until it
    // has answered a message, and the picture is taken once two shots in a
    // row agree, or after a second and a half for a page that keeps moving.
    std::string previous;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 1500) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
        Sleep(150);
        if (!UiDriver::Screenshot(window, path))
            return std::string();
        std::string shot = ReadWholeFile(path);
        if (shot == previous)
            break;
        previous.swap(shot);
    }
    return path;
}
