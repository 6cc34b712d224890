// The maker's printer-virtualisation utility: started once with "/d" before
// the printers go, and waited for while it runs.
#pragma once
#include <windows.h>

#include "OSInfo.h"

class UtilityLaunch {
public:
    UtilityLaunch() : utilityPath{}, utilityProcess(nullptr) {}
    ~UtilityLaunch() { Release(); }

    // Starts the utility the first time; true while it still runs (on
    // Win32s: while its window is open). Once it has ended its handle is
    // let go.
    bool Busy(const COSInfo& os);
    // In a what-if run: notes the start it would make.
    void LookAtStart();

private:
    UtilityLaunch(const UtilityLaunch&);
    UtilityLaunch& operator=(const UtilityLaunch&);
    bool Start();
    void Release();

    char utilityPath[256];
    // On Win32s, where no process handle comes back, kNoHandle stands for
    // "started".
    HANDLE utilityProcess;
};
