// One way to carry a Win32 failure: the Windows error code, ERROR_SUCCESS
// when the call worked.
#pragma once
#include <windows.h>

// For a call that reports success as nonzero: its result turned into the
// code, GetLastError() taken at once, before anything can change it.
inline DWORD Win32Result(BOOL succeeded) { return succeeded ? ERROR_SUCCESS : GetLastError(); }
