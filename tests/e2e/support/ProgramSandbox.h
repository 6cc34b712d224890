// One run of the real program: a fresh directory holding trelun08.exe, the
// spooler simulator as its VSPOOL08.dll, the uninstall script and the
// simulator state; the program started there under an emulated Windows
// version and driven through the UI driver.
#pragma once
#include <string>
#include <vector>

#include "SimulatedSpooler.h"
#include "TempDir.h"
#include "UiDriver.h"

class ProgramSandbox {
public:
    // stateText: the simulator's state; script: the text of VUNZ__08.unm
    // beside the program (none when empty).
    ProgramSandbox(const std::string& stateText, const std::string& script);
    ~ProgramSandbox();

    const std::string& Directory() const { return directory.Path(); }
    std::string Program() const { return directory.Join("trelun08.exe"); }
    SimulatedSpooler& Spooler() { return spooler; }
    UiDriver& Driver() { return driver; }

    // Starts the program with the arguments; version: Wine's emulated
    // Windows version ("winxp", "win98", ...) or nullptr for the default.
    bool Start(const std::string& arguments = "", const char* version = nullptr);

    // The main window once it is shown (the loading takes some seconds).
    HWND WaitForMainWindow(unsigned long timeoutMs = 60000);
    // The selection page's list view and the removal page of the main window.
    HWND SelectionList(HWND main) const;
    HWND RemovalPage(HWND main) const;

    // Answers message boxes with the button until the process ends; returns
    // the texts seen, in order.
    std::vector<FoundMessageBox> AnswerUntilExit(int button, unsigned long timeoutMs, unsigned long* exitCode);

    // Saves a screenshot of the window as PNG-ready BMP in the artifact
    // directory (TRELUN_ARTIFACTS, or the sandbox) and returns its path.
    std::string Screenshot(HWND window, const std::string& name);

private:
    TempDir directory;
    SimulatedSpooler spooler;
    UiDriver driver;
    const char* emulatedVersion;
};
