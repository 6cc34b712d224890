#include "DialogBase.h"

#include "SilentRun.h"

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        SetWindowLongPtrA(window, DWLP_USER, lParam);
    // Every way a dialog becomes visible (ShowWindow, the modal loop showing
    // a hidden dialog when idle, a WS_VISIBLE template) passes through here.
    if (message == WM_WINDOWPOSCHANGING && IsSilentRun() && lParam)
        reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
    CDialogBase* object = reinterpret_cast<CDialogBase*>(GetWindowLongPtrA(window, DWLP_USER));
    if (object) {
        object->hwnd = window;
        return object->OnMessage(window, message, wParam, lParam);
    }
    // Before WM_INITDIALOG, or a dialog made without an object: OK and Cancel
    // still close it, so such a dialog can never be stuck on screen.
    if (message == WM_COMMAND && HIWORD(wParam) == 0) {
        const WORD id = LOWORD(wParam);
        if (id == IDOK || id == IDCANCEL) {
            EndDialog(window, id == IDOK ? 1 : 0);
            return 1;
        }
    }
    return 0;
}
