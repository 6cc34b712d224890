#include "WindowUtil.h"

HINSTANCE GetWindowInstance(HWND window)
{
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

BOOL CenterWindow(HWND window, HWND reference)
{
    if (!window)
        return FALSE;
    if (!reference)
        reference = GetDesktopWindow();
    RECT own = {};
    RECT ref = {};
    GetWindowRect(window, &own);
    GetWindowRect(reference, &ref);
    // Each half truncates toward zero, as integer division does.
    int x = ref.left + ((ref.right - ref.left) / 2 - (own.right - own.left) / 2);
    int y = ref.top + ((ref.bottom - ref.top) / 2 - (own.bottom - own.top) / 2);
    if (x < 0)
        x = 0;
    if (y < 0)
        y = 0;
    return SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT SetDialogIcon(HWND window, LPCSTR icon, WPARAM iconKind)
{
    HICON loaded = LoadIconA(GetWindowInstance(window), icon);
    return SendMessageA(window, WM_SETICON, iconKind, reinterpret_cast<LPARAM>(loaded));
}

LRESULT SetDialogIcon(HWND window, UINT iconId, WPARAM iconKind)
{
    return SetDialogIcon(window, MAKEINTRESOURCEA(iconId), iconKind);
}

void FitPageToFrame(HWND page, HWND frame, HWND parent)
{
    RECT rect = {};
    GetWindowRect(frame, &rect);
    if (GetWindowLongA(parent, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) {
        const LONG left = rect.left;
        rect.left = rect.right;
        rect.right = left;
    }
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    ScreenToClient(parent, &corners[0]);
    ScreenToClient(parent, &corners[1]);
    MoveWindow(page, corners[0].x, corners[0].y, corners[1].x - corners[0].x, corners[1].y - corners[0].y,
               FALSE);
}

BOOL RegisterDialogClass(LPCSTR className)
{
    WNDCLASSA dialogClass = {};
    if (!GetClassInfoA(nullptr, "#32770", &dialogClass))
        return FALSE;
    dialogClass.lpszClassName = className;
    return RegisterClassA(&dialogClass) != 0;
}

BOOL ActivatePreviousInstance(LPCSTR className, LPCSTR windowName)
{
    HWND running = FindWindowA(className, windowName);
    if (!running)
        return FALSE;
    ShowWindow(running, SW_SHOWDEFAULT);
    BringWindowToTop(running);
    SetForegroundWindow(running);
    return TRUE;
}
