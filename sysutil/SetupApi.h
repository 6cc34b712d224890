// The Setup API and configuration-manager functions the removal uses, looked
// up at run time: Windows 95 and NT 4 have no setupapi.dll, and 98 and Me
// keep the configuration manager in cfgmgr32.dll. A missing function is
// nullptr, and what needs it does nothing.
#pragma once
#include <windows.h>
#include <cfgmgr32.h>
#include <setupapi.h>

struct SetupApi {
    HDEVINFO(WINAPI* getClassDevs)(const GUID*, PCSTR, HWND, DWORD) = nullptr;
    BOOL(WINAPI* enumDeviceInfo)(HDEVINFO, DWORD, PSP_DEVINFO_DATA) = nullptr;
    BOOL(WINAPI* getDeviceRegistryProperty)(HDEVINFO, PSP_DEVINFO_DATA, DWORD, PDWORD, PBYTE, DWORD,
                                            PDWORD) = nullptr;
    BOOL(WINAPI* removeDevice)(HDEVINFO, PSP_DEVINFO_DATA) = nullptr;
    BOOL(WINAPI* destroyDeviceInfoList)(HDEVINFO) = nullptr;
    CONFIGRET(WINAPI* getParent)(PDEVINST, DEVINST, ULONG) = nullptr;
    CONFIGRET(WINAPI* getChild)(PDEVINST, DEVINST, ULONG) = nullptr;
    CONFIGRET(WINAPI* getDevNodeRegistryProperty)(DEVINST, ULONG, PULONG, PVOID, PULONG, ULONG) = nullptr;
    BOOL(WINAPI* getInfFileList)(PCSTR, DWORD, PSTR, DWORD, PDWORD) = nullptr;
    BOOL(WINAPI* uninstallOemInf)(PCSTR, DWORD, PVOID) = nullptr;

    // Every function the device removal calls is there.
    bool CanRemoveDevices() const;
};

// Bound on first use, for the life of the process.
const SetupApi& SystemSetupApi();
