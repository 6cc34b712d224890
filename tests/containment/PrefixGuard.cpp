#include "PrefixGuard.h"

#include <windows.h>

#include "Installation.h"
#include "PendingRenames.h"
#include "Snapshot.h"
#include "SpoolerStandIn.h"
#include "TestPaths.h"

namespace containment {

namespace {

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
    pendingRenames = RawPendingRenames();
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
