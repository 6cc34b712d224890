#include "PrefixGuard.h"

#include <windows.h>

#include "Installation.h"
#include "Snapshot.h"
#include "SpoolerStandIn.h"
#include "TestPaths.h"

namespace containment {

namespace {

const char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const char kPendingRenames[] = "PendingFileRenameOperations";

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

bool SpoolerRunning()
{
    const DWORD state = SpoolerStatus().dwCurrentState;
    return state != 0 && state != SERVICE_STOPPED;
}

}  // namespace

PrefixGuard::PrefixGuard() : layout(Layout::Resolve()), spoolerWasRunning(SpoolerRunning())
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
    if (!spoolerWasRunning) {
        StopSpoolerService();
        WaitForSpooler(SERVICE_STOPPED);
    }
}

void PrefixGuard::Sweep() const { SweepInstallations(layout); }

}  // namespace containment
