#include "PrefixGuard.h"

#include <windows.h>

#include "Installation.h"
#include "Snapshot.h"

namespace containment {

namespace {

const char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const char kPendingRenames[] = "PendingFileRenameOperations";

bool DirectoryExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RestorePendingRenames(const std::string& saved)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    if (saved.empty())
        RegDeleteValueA(key, kPendingRenames);
    else
        RegSetValueExA(key, kPendingRenames, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(saved.data()),
                       static_cast<DWORD>(saved.size()));
    RegCloseKey(key);
}

}  // namespace

bool ServiceRunning(const char* name)
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager)
        return false;
    bool running = false;
    SC_HANDLE service = OpenServiceA(manager, name, SERVICE_QUERY_STATUS);
    if (service) {
        SERVICE_STATUS status = {};
        running = QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_STOPPED;
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    return running;
}

void StopService(const char* name)
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager)
        return;
    SC_HANDLE service = OpenServiceA(manager, name, SERVICE_STOP | SERVICE_QUERY_STATUS);
    if (service) {
        SERVICE_STATUS status = {};
        ControlService(service, SERVICE_CONTROL_STOP, &status);
        for (int i = 0; i < 100 && QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_STOPPED;
             ++i)
            Sleep(50);
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
}

PrefixGuard::PrefixGuard() : layout(Layout::Resolve()), spoolerWasRunning(ServiceRunning("Spooler"))
{
    for (const std::string* directory : {&layout.driver40, &layout.processor40, &layout.color}) {
        if (!directory->empty() && !DirectoryExists(*directory))
            missingDirectories.push_back(*directory);
    }
    pendingRenames = ReadRegistryValue(HKEY_LOCAL_MACHINE, kSessionManager, kPendingRenames);
    char device[512] = {};
    GetProfileStringA("windows", "device", "", device, sizeof(device));
    defaultDevice = device;
    Sweep();
}

PrefixGuard::~PrefixGuard()
{
    Sweep();
    for (const std::string& directory : missingDirectories)
        RemoveDirectoryA(directory.c_str());
    RestorePendingRenames(pendingRenames);
    // A removed default printer hands the default on to one that stays.
    WriteProfileStringA("windows", "device", defaultDevice.empty() ? nullptr : defaultDevice.c_str());
    if (!spoolerWasRunning)
        StopService("Spooler");
}

void PrefixGuard::Sweep() const { SweepInstallations(layout); }

}  // namespace containment
