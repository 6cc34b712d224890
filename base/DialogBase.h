// Base of every window object of the program. One dialog procedure serves all
// dialogs; it finds the object through the window's DWL_USER slot.
#pragma once
#include <windows.h>

class CDialogBase {
public:
    CDialogBase() : hwnd(nullptr) {}
    virtual INT_PTR OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual ~CDialogBase() {}

    // Written by DialogProc before every forwarded message.
    HWND hwnd;

private:
    CDialogBase(const CDialogBase&);
    CDialogBase& operator=(const CDialogBase&);
};

// The procedure given to every DialogBoxParamA/CreateDialogParamA call, with
// the object's address as the creation parameter.
INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
