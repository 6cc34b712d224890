// The service control manager, looked up in advapi32.dll at run time:
// Windows 95, 98 and Me have no services, and their advapi32 is not
// documented to export these functions even as stubs. Where one is missing
// the call fails with ERROR_CALL_NOT_IMPLEMENTED.
#pragma once
#include <windows.h>

#include "UniqueHandle.h"

SC_HANDLE ServiceOpenManager(DWORD access);
SC_HANDLE ServiceOpen(SC_HANDLE manager, const char* name, DWORD access);
BOOL ServiceControl(SC_HANDLE service, DWORD control, SERVICE_STATUS* status);
BOOL ServiceStart(SC_HANDLE service);
BOOL ServiceDelete(SC_HANDLE service);
BOOL ServiceQueryStatus(SC_HANDLE service, SERVICE_STATUS* status);
void ServiceClose(SC_HANDLE handle);

struct ServiceHandleKind {
    static SC_HANDLE None() { return nullptr; }
    static void Close(SC_HANDLE handle) { ServiceClose(handle); }
};
typedef UniqueHandle<SC_HANDLE, ServiceHandleKind> ServiceHandle;
