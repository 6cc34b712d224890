// Small window helpers shared by the dialogs.
#pragma once
#include <windows.h>

HINSTANCE GetWindowInstance(HWND window);

// Centres a window on another (null: the desktop), never at a negative
// position. Returns SetWindowPos's result; 0 for a null window.
BOOL CenterWindow(HWND window, HWND reference);

// Loads an icon from the window's module and sends WM_SETICON with the kind.
LRESULT SetDialogIcon(HWND window, LPCSTR icon, WPARAM iconKind);
LRESULT SetDialogIcon(HWND window, UINT iconId, WPARAM iconKind);

// Moves and sizes a child page over a placeholder control of its parent.
void FitPageToFrame(HWND page, HWND frame, HWND parent);

// Registers a copy of the system dialog class under another name, so a
// dialog template can name it and other programs can find the window.
BOOL RegisterDialogClass(LPCSTR className);

// Brings a running window of the class forward; TRUE when there was one.
BOOL ActivatePreviousInstance(LPCSTR className, LPCSTR windowName);

// Shows the wait cursor while it lives; the previous one comes back after.
class WaitCursor {
public:
    WaitCursor() : previous(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous;
};
