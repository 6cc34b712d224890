#include "DialogBase.h"

#include <exception>

#include "EventLog.h"
#include "SilentRun.h"

namespace {

// A handler that throws has failed its message; the window goes on.
INT_PTR Forward(CDialogBase* object, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        return object->OnMessage(window, message, wParam, lParam);
    } catch (const std::exception& error) {
        LogText("DialogHandlerFailed", error.what());
    } catch (...) {
        LogText("DialogHandlerFailed", "unknown exception");
    }
    return 0;
}

}  // namespace

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        CDialogBase* created = reinterpret_cast<CDialogBase*>(lParam);
        if (created)
            created->modal = (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) == 0;
    }
    // Every way a dialog becomes visible (ShowWindow, the modal loop showing
    // a hidden dialog when idle, a WS_VISIBLE template) passes through here.
    if (message == WM_WINDOWPOSCHANGING && IsSilentRun() && lParam)
        reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
    CDialogBase* object = reinterpret_cast<CDialogBase*>(GetWindowLongPtrA(window, DWLP_USER));
    if (object) {
        object->hwnd = window;
        const INT_PTR result = Forward(object, window, message, wParam, lParam);
        // The object may outlive its window (a page of the main window).
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(window, DWLP_USER, 0);
            object->hwnd = nullptr;
        }
        return result;
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

INT_PTR CDialogBase::DoModal(HWND parent, LPCSTR templateName, HINSTANCE module)
{
    return DialogBoxParamA(module ? module : GetModuleHandleA(nullptr), templateName, parent, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

HWND CDialogBase::CreatePage(HWND parent, LPCSTR templateName, HINSTANCE module)
{
    return CreateDialogParamA(module ? module : GetModuleHandleA(nullptr), templateName, parent, DialogProc,
                              reinterpret_cast<LPARAM>(this));
}

INT_PTR CDialogBase::OnMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInit() ? 1 : 0;
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)))
            return 1;
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return 1;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return 1;
        }
        return 0;
    case WM_NOTIFY: {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        return header ? OnNotify(static_cast<int>(header->idFrom), header) : 0;
    }
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    default:
        return OnOtherMessage(message, wParam, lParam);
    }
}

bool CDialogBase::OnCommand(int, int, HWND) { return false; }
INT_PTR CDialogBase::OnNotify(int, NMHDR*) { return 0; }
void CDialogBase::OnTimer(UINT_PTR) {}
INT_PTR CDialogBase::OnOtherMessage(UINT, WPARAM, LPARAM) { return 0; }

void CDialogBase::OnOK()
{
    if (modal)
        Close(IDOK);
    else
        ForwardToParent(IDOK);
}

void CDialogBase::OnCancel()
{
    if (modal)
        Close(IDCANCEL);
    else
        ForwardToParent(IDCANCEL);
}

void CDialogBase::Close(INT_PTR result)
{
    if (hwnd && modal)
        EndDialog(hwnd, result);
}

void CDialogBase::ForwardToParent(int id)
{
    HWND parent = hwnd ? GetParent(hwnd) : nullptr;
    if (parent)
        PostMessageA(parent, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}
