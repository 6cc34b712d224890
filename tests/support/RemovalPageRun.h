// The removal page made from the program's own template inside a stand-in
// main window, run in this process. What the page posts to the main window
// (WM_CLOSE, then the "removal done" message) is recorded instead of acted
// on, so the test keeps its windows.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "RemovePage.h"

class UninstallDatabase;

class RemovalPageRun {
public:
    // The page is the caller's (a subclass, say) or, with nullptr, the run's own.
    explicit RemovalPageRun(UninstallDatabase& database, RemovePage* page = nullptr);
    ~RemovalPageRun();

    bool Made() const { return window != nullptr; }
    RemovePage& Page() { return *page; }
    HWND MainWindow() const { return main; }
    HWND PageWindow() const { return window; }
    // Both windows on screen and painted.
    void Show();
    void Begin() { page->beginRemoval(); }

    // Dispatches messages until done() holds; false when timeoutMs passed first.
    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
    bool RunToTheEnd(DWORD timeoutMs = 30000);
    // The page has reported the end to the main window.
    bool Finished() const { return !posted.empty() && posted.back() == kRemovalDone; }
    // WM_CLOSE reached the main window before the report of the end.
    bool ClosedBeforeFinish() const;
    const std::vector<UINT>& Posted() const { return posted; }

private:
    RemovalPageRun(const RemovalPageRun&);
    RemovalPageRun& operator=(const RemovalPageRun&);
    static const UINT kRemovalDone;

    std::unique_ptr<RemovePage> ownPage;
    RemovePage* page;
    HWND main;
    HWND window;
    std::vector<UINT> posted;
};
