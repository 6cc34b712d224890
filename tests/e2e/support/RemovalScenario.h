// One removal through the real program: choose printers on the selection
// page, press "Desinstalar", answer the message boxes, and at the closing
// message read the marks of the progress page and save its screenshot.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "PendingRenames.h"
#include "ProductText.h"
#include "ProgramSandbox.h"
#include "TestPaths.h"
#include "TestRegistry.h"

// Two printers of the package, the first the default one, and one of
// another maker; the script names the package's two drivers.
extern const char kTwoOfThePackage[];
extern const char kTwoOfThePackageScript[];

// The program's closing messages and message box caption.
extern const std::string kFinishedText;
extern const std::string kRestartQuestionText;
extern const std::string kCaptionText;

struct RemovalOutcome {
    bool started = false;
    std::vector<FoundMessageBox> boxes;
    unsigned long exitCode = 0;
    // The marks of the nine rows at the closing message: 'G' green, 'R'
    // red, 'g' grey, '?' unreadable.
    std::string marks;
    std::string screenshot;
};

struct RemovalRun {
    const char* version = "winxp";
    std::vector<std::string> chosen;  // names to select; empty: every listed printer
    int closingAnswer = IDOK;         // for the restart question: IDYES or IDNO
    std::string screenshotName;
    // Called once the removal has started, before any message box is answered.
    std::function<void()> whileRunning;
};

RemovalOutcome RunRemoval(ProgramSandbox& sandbox, const RemovalRun& run);

// The marks the screen shows in the nine rows of the removal page: 'G'
// green, 'R' red, 'g' grey, '?' none (judged by hue: the display may have
// few colours).
std::string ScreenMarks(HWND page);
// Keeps the program's window above those of other tests on the display.
void KeepOnTop(HWND window);
// Saves the window as "<name>.bmp" in TRELUN_ARTIFACTS (default
// build/e2e-artifacts); the path, or "" when it failed.
std::string SaveScreenshot(HWND window, const std::string& name);

// Texts of the message boxes, in order.
std::vector<std::string> Texts(const RemovalOutcome& outcome);

// The state file's printer names, in order.
std::vector<std::string> PrinterNames(const spoolsim::State& state);
const spoolsim::Printer* FindSimPrinter(const spoolsim::State& state, const std::string& name);
bool HasDriver(const spoolsim::State& state, const std::string& name);
bool HasProcessor(const spoolsim::State& state, const std::string& name);

// File checks and set-up.
bool PutFile(const std::string& path, const std::string& bytes = "x");
std::string SystemDirectory();
std::string ProfileString(const char* section, const char* key);
