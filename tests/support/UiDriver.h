// Drives another process's windows the way a user would: finds windows,
// reads list views across the process boundary, selects rows, clicks,
// answers message boxes and takes screenshots. Everything is posted, never
// sent into a modal loop.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "ListViewText.h"

struct FoundMessageBox {
    HWND window = nullptr;
    std::string text;
    std::string caption;
};

class UiDriver {
public:
    UiDriver() = default;
    ~UiDriver();
    UiDriver(const UiDriver&) = delete;
    UiDriver& operator=(const UiDriver&) = delete;

    // Starts the program (full path) with arguments in the given directory
    // (empty: the program's). False when it could not start.
    bool Start(const std::string& program, const std::string& arguments, const std::string& directory = "");
    DWORD ProcessId() const { return processId; }
    // Waits for the process to end; its exit code, or STILL_ACTIVE on timeout.
    DWORD WaitForExit(DWORD timeoutMs);
    bool HasExited() const;

    // The windows searched are the process's and those of the processes it
    // started (the 64-bit program a 32-bit one hands over to).
    // A visible top-level window of the process with this class (nullptr:
    // any) and title (nullptr: any), waited for up to timeoutMs.
    HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs) const;
    // Every top-level window of the process and its children, visible or not.
    std::vector<HWND> TopLevelWindows() const;
    // The process's message box, when one is up within timeoutMs.
    bool WaitForMessageBox(FoundMessageBox& found, DWORD timeoutMs) const;
    static void Answer(HWND messageBox, int button);

    // Rows of a list view of the process (column 0 .. columns-1).
    std::vector<std::vector<std::string>> ListViewRows(HWND listView, int columns) const;
    bool SetListViewSelection(HWND listView, int row, bool selected) const;

    static void Click(HWND dialog, int controlId);
    static std::string Text(HWND window);
    static bool IsEnabled(HWND dialog, int controlId);

    // Saves the window's screen area as a 24-bit BMP.
    static bool Screenshot(HWND window, const std::string& bmpPath);

private:
    HANDLE process = nullptr;
    DWORD processId = 0;
};

// Waits until the predicate holds or the time is up.
template <typename Predicate> bool WaitUntil(Predicate predicate, DWORD timeoutMs)
{
    for (DWORD waited = 0;; waited += 50) {
        if (predicate())
            return true;
        if (waited >= timeoutMs)
            return false;
        Sleep(50);
    }
}
