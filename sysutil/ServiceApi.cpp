#include "ServiceApi.h"

#include "SystemLibrary.h"

namespace {

struct ServiceFunctions {
    SC_HANDLE(WINAPI* openManager)(LPCSTR, LPCSTR, DWORD) = nullptr;
    SC_HANDLE(WINAPI* openService)(SC_HANDLE, LPCSTR, DWORD) = nullptr;
    BOOL(WINAPI* control)(SC_HANDLE, DWORD, LPSERVICE_STATUS) = nullptr;
    BOOL(WINAPI* start)(SC_HANDLE, DWORD, LPCSTR*) = nullptr;
    BOOL(WINAPI* remove)(SC_HANDLE) = nullptr;
    BOOL(WINAPI* queryStatus)(SC_HANDLE, LPSERVICE_STATUS) = nullptr;
    BOOL(WINAPI* close)(SC_HANDLE) = nullptr;
};

const ServiceFunctions& Functions()
{
    static const ServiceFunctions functions = [] {
        ServiceFunctions bound;
        BindSystemFunction(bound.openManager, "advapi32.dll", "OpenSCManagerA");
        BindSystemFunction(bound.openService, "advapi32.dll", "OpenServiceA");
        BindSystemFunction(bound.control, "advapi32.dll", "ControlService");
        BindSystemFunction(bound.start, "advapi32.dll", "StartServiceA");
        BindSystemFunction(bound.remove, "advapi32.dll", "DeleteService");
        BindSystemFunction(bound.queryStatus, "advapi32.dll", "QueryServiceStatus");
        BindSystemFunction(bound.close, "advapi32.dll", "CloseServiceHandle");
        return bound;
    }();
    return functions;
}

template <typename Result> Result NotImplemented(Result failure)
{
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return failure;
}

}  // namespace

SC_HANDLE ServiceOpenManager(DWORD access)
{
    const auto open = Functions().openManager;
    return open ? open(nullptr, nullptr, access) : NotImplemented<SC_HANDLE>(nullptr);
}

SC_HANDLE ServiceOpen(SC_HANDLE manager, const char* name, DWORD access)
{
    const auto open = Functions().openService;
    return open ? open(manager, name, access) : NotImplemented<SC_HANDLE>(nullptr);
}

BOOL ServiceControl(SC_HANDLE service, DWORD control, SERVICE_STATUS* status)
{
    const auto function = Functions().control;
    return function ? function(service, control, status) : NotImplemented<BOOL>(FALSE);
}

BOOL ServiceStart(SC_HANDLE service)
{
    const auto function = Functions().start;
    return function ? function(service, 0, nullptr) : NotImplemented<BOOL>(FALSE);
}

BOOL ServiceDelete(SC_HANDLE service)
{
    const auto function = Functions().remove;
    return function ? function(service) : NotImplemented<BOOL>(FALSE);
}

BOOL ServiceQueryStatus(SC_HANDLE service, SERVICE_STATUS* status)
{
    const auto function = Functions().queryStatus;
    return function ? function(service, status) : NotImplemented<BOOL>(FALSE);
}

void ServiceClose(SC_HANDLE handle)
{
    const auto function = Functions().close;
    if (function && handle)
        function(handle);
}
