// The message-box handler of a logged or unattended run: every message goes
// to the log with its string number; an unattended run answers it at once
// with the safe button instead of showing it.
#pragma once
#include <windows.h>

int LoggingMessageBoxHandler(HWND owner, const char* text, const char* caption, UINT style);

// IDNO for a question that has a No button, IDOK otherwise.
int SafeAnswer(UINT style);

// The string-table number (150 to 220) whose text is the message, or 0.
unsigned MessageStringId(HINSTANCE instance, const char* text);
