#include "ServiceRemover.h"

#include "EventLog.h"
#include "LookOnly.h"
#include "ServiceApi.h"
#include "Win32Result.h"

bool RemoveServices(const COSInfo& os, const std::vector<std::string>& services)
{
    if (!os.IsNT())
        return false;
    const ServiceHandle manager(ServiceOpenManager(SC_MANAGER_CREATE_SERVICE));
    if (!manager.Valid())
        return false;
    bool marked = false;
    for (const std::string& name : services) {
        if (name.empty())
            continue;
        const ServiceHandle service(ServiceOpen(manager.Get(), name.c_str(), SERVICE_ALL_ACCESS));
        WhatIfRecord* look = LookOnlyRecord();
        if (look)
            look->Note("DeleteService", name, service.Valid() ? LookResult::kFound : LookResult::kNotFound);
        if (!service.Valid())
            continue;
        if (look) {
            marked = true;
            continue;
        }
        // Services are not stopped: deletion completes when the last handle
        // goes, at the latest at the restart.
        const DWORD result = Win32Result(ServiceDelete(service.Get()));
        LogEvent("DeleteService", name.c_str(), result);
        if (result == ERROR_SUCCESS || result == ERROR_SERVICE_MARKED_FOR_DELETE)
            marked = true;
    }
    return marked;
}
