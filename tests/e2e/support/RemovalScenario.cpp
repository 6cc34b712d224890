#include "RemovalScenario.h"

#include "StepMark.h"
#include "TestPaths.h"
#include "resource.h"

const char kTwoOfThePackage[] =
    "[Printer]\nName=Corvel Oficina\nPort=LPT1:\nDriver=VANTO Corvel PCL\nAttributes=0x44\nData.VantoDriver08=1\n"
    "[Printer]\nName=Corvel Pasillo\nPort=LPT3:\nDriver=VANTO Corvel PS\nData.VantoDriver08=1\n"
    "[Printer]\nName=Ajena\nPort=LPT2:\nDriver=Otro\n"
    "[Driver]\nName=VANTO Corvel PCL\n[Driver]\nName=VANTO Corvel PS\n[Driver]\nName=Otro\n";
const char kTwoOfThePackageScript[] = "[UnPrinterDrivers]\r\n\"VANTO Corvel PCL\",VCP,1\r\n\"VANTO Corvel PS\",VCS,2\r\n";

const std::string kFinishedText = ProductText(IDS_FINISHED);
const std::string kRestartQuestionText = ProductText(IDS_RESTART_QUESTION);
const std::string kCaptionText = ProductText(IDS_CAPTION);

std::string ScreenMarks(HWND page)
{
    std::string marks;
    HDC screen = GetDC(nullptr);
    for (int id = IDC_STEP_ICON_FIRST; id < IDC_STEP_ICON_FIRST + STEP_ROW_COUNT; ++id) {
        RECT rect = {};
        marks += GetWindowRect(GetDlgItem(page, id), &rect) ? StepMark(screen, rect.left, rect.top) : '?';
    }
    ReleaseDC(nullptr, screen);
    return marks;
}

namespace {

std::string ArtifactDirectory()
{
    char configured[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("TRELUN_ARTIFACTS", configured, MAX_PATH);
    std::string directory = (length > 0 && length < MAX_PATH) ? std::string(configured)
                                                               : BinDirectory() + "..\\e2e-artifacts";
    CreateDirectoryA(directory.c_str(), nullptr);
    if (directory.back() != '\\')
        directory += '\\';
    return directory;
}

bool IsClosingMessage(const std::string& text) { return text == kFinishedText || text == kRestartQuestionText; }

}  // namespace

void KeepOnTop(HWND window)
{
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

std::string SaveScreenshot(HWND window, const std::string& name)
{
    const std::string path = ArtifactDirectory() + name + ".bmp";
    return UiDriver::Screenshot(window, path) ? path : std::string();
}

RemovalOutcome RunRemoval(ProgramSandbox& sandbox, const RemovalRun& run)
{
    RemovalOutcome outcome;
    if (!sandbox.Start("", run.version))
        return outcome;
    outcome.started = true;
    HWND main = sandbox.WaitForMainWindow();
    EXPECT_NE(nullptr, main);
    HWND list = main ? sandbox.SelectionList(main) : nullptr;
    EXPECT_NE(nullptr, list);
    if (!list)
        return outcome;
    const auto rows = sandbox.Driver().ListViewRows(list, 1);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        bool wanted = run.chosen.empty();
        for (const std::string& name : run.chosen)
            wanted = wanted || rows[row][0] == name;
        if (wanted) {
            EXPECT_TRUE(sandbox.Driver().SetListViewSelection(list, static_cast<int>(row), true));
        }
    }
    EXPECT_TRUE(WaitUntil([&] { return UiDriver::IsEnabled(main, IDC_UNINSTALL); }, 5000));
    UiDriver::Click(main, IDC_UNINSTALL);
    if (run.whileRunning)
        run.whileRunning();

    HWND page = sandbox.RemovalPage(main);
    const DWORD start = GetTickCount();
    while (!sandbox.Driver().HasExited() && GetTickCount() - start < 90000) {
        FoundMessageBox box;
        if (!sandbox.Driver().WaitForMessageBox(box, 200))
            continue;
        outcome.boxes.push_back(box);
        int answer = IDOK;
        if (IsClosingMessage(box.text)) {
            answer = run.closingAnswer;
            // Above the windows of tests running beside this one, and the box
            // out of the way, so the page shows its rows whole again.
            KeepOnTop(main);
            SetWindowPos(box.window, nullptr, 0, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            WaitUntil([&] { return ScreenMarks(page) == "GGGGGGGGG"; }, 3000);
            outcome.marks = ScreenMarks(page);
            if (!run.screenshotName.empty())
                outcome.screenshot = SaveScreenshot(main, run.screenshotName);
        }
        UiDriver::Answer(box.window, answer);
        WaitUntil([&] { return !IsWindow(box.window) || sandbox.Driver().HasExited(); }, 5000);
    }
    outcome.exitCode = sandbox.Driver().WaitForExit(5000);
    return outcome;
}

std::vector<std::string> Texts(const RemovalOutcome& outcome)
{
    std::vector<std::string> texts;
    for (const FoundMessageBox& box : outcome.boxes)
        texts.push_back(box.text);
    return texts;
}

std::vector<std::string> PrinterNames(const spoolsim::State& state)
{
    std::vector<std::string> names;
    for (const auto& printer : state.printers)
        names.push_back(printer.name);
    return names;
}

const spoolsim::Printer* FindSimPrinter(const spoolsim::State& state, const std::string& name)
{
    for (const auto& printer : state.printers) {
        if (printer.name == name)
            return &printer;
    }
    return nullptr;
}

bool HasDriver(const spoolsim::State& state, const std::string& name)
{
    for (const auto& driver : state.drivers) {
        if (driver.name == name)
            return true;
    }
    return false;
}

bool HasProcessor(const spoolsim::State& state, const std::string& name)
{
    for (const auto& processor : state.processors) {
        if (processor.name == name)
            return true;
    }
    return false;
}

bool PutFile(const std::string& path, const std::string& bytes)
{
    for (std::size_t i = 3; i < path.size(); ++i) {
        if (path[i] == '\\')
            CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
    return WriteWholeFile(path, bytes);
}

std::string SystemDirectory()
{
    char path[MAX_PATH] = {};
    GetSystemDirectoryA(path, MAX_PATH);
    std::string directory = path;
    if (directory.back() != '\\')
        directory += '\\';
    return directory;
}

std::string ProfileString(const char* section, const char* key)
{
    char value[1024] = {};
    GetProfileStringA(section, key, "", value, sizeof(value));
    return value;
}
