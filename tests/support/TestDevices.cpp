#include "TestDevices.h"

#include <windows.h>
#include <initguid.h>
#include <devguid.h>
#include <setupapi.h>

#include <string>

bool CreateTestDevice(const char* hardwareId)
{
    HDEVINFO set = SetupDiCreateDeviceInfoList(&GUID_DEVCLASS_PRINTER, nullptr);
    if (set == INVALID_HANDLE_VALUE)
        return false;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    const std::string ids = std::string(hardwareId) + '\0' + '\0';
    const bool ok = SetupDiCreateDeviceInfoA(set, "TRELUNTEST", &GUID_DEVCLASS_PRINTER, nullptr, nullptr,
                                             DICD_GENERATE_ID, &device) &&
                    SetupDiSetDeviceRegistryPropertyA(set, &device, SPDRP_HARDWAREID,
                                                      reinterpret_cast<const BYTE*>(ids.data()),
                                                      static_cast<DWORD>(ids.size())) &&
                    SetupDiRegisterDeviceInfo(set, &device, 0, nullptr, nullptr, nullptr);
    SetupDiDestroyDeviceInfoList(set);
    return ok;
}

int CountTestDevices(const char* hardwareId, bool remove)
{
    HDEVINFO set = SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES);
    if (set == INVALID_HANDLE_VALUE)
        return -1;
    int count = 0;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        char ids[514] = {};
        if (SetupDiGetDeviceRegistryPropertyA(set, &device, SPDRP_HARDWAREID, nullptr, reinterpret_cast<BYTE*>(ids),
                                              512, nullptr) &&
            lstrcmpiA(ids, hardwareId) == 0) {
            ++count;
            if (remove)
                SetupDiRemoveDevice(set, &device);
        }
    }
    SetupDiDestroyDeviceInfoList(set);
    return count;
}
