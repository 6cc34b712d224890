#include "ServiceRemover.h"

#include "EventLog.h"
#include "ServiceApi.h"

bool RemoveServices(const COSInfo& os, const std::vector<std::string>& services)
{
    if (!os.IsNT())
        return false;
    SC_HANDLE manager = ServiceOpenManager(SC_MANAGER_CREATE_SERVICE);
    if (!manager)
        return false;
    bool marked = false;
    for (const std::string& name : services) {
        if (name.empty())
            continue;
        SC_HANDLE service = ServiceOpen(manager, name.c_str(), SERVICE_ALL_ACCESS);
        if (!service)
            continue;
        // Services are not stopped: deletion completes when the last handle
        // goes, at the latest at the restart.
        const DWORD result = ServiceDelete(service) ? ERROR_SUCCESS : GetLastError();
        LogEvent("DeleteService", name.c_str(), result);
        if (result == ERROR_SUCCESS || result == ERROR_SERVICE_MARKED_FOR_DELETE)
            marked = true;
        ServiceClose(service);
    }
    ServiceClose(manager);
    return marked;
}
