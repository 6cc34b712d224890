// Every message box of the program goes through here, so that a run without
// a user (tests, unattended removal) can answer it instead of a person.
#pragma once
#include <windows.h>

typedef int (*MessageBoxHandler)(HWND owner, const char* text, const char* caption, UINT style);

// Shows the box (MessageBoxA) or hands it to the installed handler; returns
// the button pressed (IDOK, IDYES, ...).
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style);

// Installs a handler; nullptr restores the real message box. Returns the
// previous handler.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
