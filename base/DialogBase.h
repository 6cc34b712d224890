// Base of every window object of the program. One dialog procedure serves
// all dialogs; it finds the object through the window's DWLP_USER slot and
// hands each message to OnMessage, whose default calls the small handlers
// below. Nothing a handler throws leaves the procedure.
#pragma once
#include <windows.h>

class CDialogBase {
public:
    CDialogBase() : hwnd(nullptr), modal(false) {}
    virtual ~CDialogBase() {}

    // Runs the dialog from the template until it ends; returns the result
    // it ended with, or -1 (0 without a parent window) when it could not be
    // made.
    INT_PTR DoModal(HWND parent, LPCSTR templateName, HINSTANCE module = nullptr);
    // Makes the dialog as a page inside the parent; nullptr on failure.
    HWND CreatePage(HWND parent, LPCSTR templateName, HINSTANCE module = nullptr);

    // Every message, once the object is known (from WM_INITDIALOG on).
    virtual INT_PTR OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Written by DialogProc before every forwarded message; cleared when
    // the window is gone.
    HWND hwnd;

protected:
    // The value WM_INITDIALOG returns: true lets the system set the focus.
    virtual bool OnInit() { return true; }
    // true when the command was handled.
    virtual bool OnCommand(int id, int code, HWND control);
    virtual INT_PTR OnNotify(int id, NMHDR* header);
    virtual void OnTimer(UINT_PTR id);
    // A modal dialog ends with IDOK or IDCANCEL; a page hands the command
    // to the window it sits in, which owns the buttons.
    virtual void OnOK();
    virtual void OnCancel();
    // Messages none of the handlers above takes.
    virtual INT_PTR OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam);

    bool IsModal() const { return modal; }
    void Close(INT_PTR result);

private:
    CDialogBase(const CDialogBase&);
    CDialogBase& operator=(const CDialogBase&);
    void ForwardToParent(int id);

    bool modal;  // a top-level dialog (not a child page)
    friend INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

// The procedure given to every DialogBoxParamA/CreateDialogParamA call, with
// the object's address as the creation parameter.
INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
