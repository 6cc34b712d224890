#include "TestServices.h"

#include <string>

#include "TestPaths.h"

namespace {

// Calls use(service) with the service opened for the access, when it opens;
// the error of OpenServiceA otherwise.
template <typename Use> DWORD WithService(const char* name, DWORD access, Use use)
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager)
        return GetLastError();
    SetLastError(0xdeadbeef);
    SC_HANDLE service = OpenServiceA(manager, name, access);
    const DWORD error = service ? 0 : GetLastError();
    if (service) {
        use(service);
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    return error;
}

}  // namespace

SERVICE_STATUS_PROCESS ServiceStatus(const char* name)
{
    SERVICE_STATUS_PROCESS status = {};
    WithService(name, SERVICE_QUERY_STATUS, [&](SC_HANDLE service) {
        DWORD needed = 0;
        if (!QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof(status),
                                  &needed))
            status = SERVICE_STATUS_PROCESS();
    });
    return status;
}

DWORD ServiceOpenError(const char* name)
{
    return WithService(name, SERVICE_QUERY_STATUS, [](SC_HANDLE) {});
}

void StartNamedService(const char* name)
{
    WithService(name, SERVICE_START, [](SC_HANDLE service) { StartServiceA(service, 0, nullptr); });
}

void StopNamedService(const char* name)
{
    WithService(name, SERVICE_STOP, [](SC_HANDLE service) {
        SERVICE_STATUS status = {};
        ControlService(service, SERVICE_CONTROL_STOP, &status);
    });
}

bool WaitForServiceState(const char* name, DWORD state, DWORD timeoutMs)
{
    for (DWORD waited = 0;; waited += 20) {
        if (ServiceStatus(name).dwCurrentState == state)
            return true;
        if (waited >= timeoutMs)
            return false;
        Sleep(20);
    }
}

bool CreateTestService(const char* name)
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager)
        return false;
    const std::string binary = WindowsDirectory() + "system32\\notepad.exe";
    SC_HANDLE service = CreateServiceA(manager, name, name, SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                       SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE, binary.c_str(), nullptr, nullptr,
                                       nullptr, nullptr, nullptr);
    if (service)
        CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return service != nullptr;
}

void DeleteTestService(const char* name)
{
    WithService(name, DELETE, [](SC_HANDLE service) { DeleteService(service); });
}
