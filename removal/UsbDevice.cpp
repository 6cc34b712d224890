#include "UsbDevice.h"

#include <windows.h>
#include <cfgmgr32.h>
#include <setupapi.h>

#include <cstring>

#include "HardwareIdMatch.h"
#include "TextUtil.h"

namespace {

const DWORD kMaxDevices = 10000;
const DWORD kNoDevice = 0;

// Hardware-id list of a device node, double-NUL terminated within the buffer.
bool NodeHardwareId(DEVINST node, char (&out)[258])
{
    out[0] = out[1] = '\0';
    ULONG length = 256;
    ULONG type = 0;
    if (CM_Get_DevNode_Registry_PropertyA(node, CM_DRP_HARDWAREID, &type, out, &length, 0) != CR_SUCCESS)
        return false;
    out[256] = out[257] = '\0';
    return true;
}

// Whether the first id of a node begins with the prefix test.
bool NodeIdIs(DEVINST node, bool (*test)(const char*), char (&id)[258])
{
    return NodeHardwareId(node, id) && test(id);
}

// The first hardware id of a listed device.
bool DeviceHardwareId(HDEVINFO devices, SP_DEVINFO_DATA& device, char (&ids)[514])
{
    std::memset(ids, 0, sizeof(ids));
    return SetupDiGetDeviceRegistryPropertyA(devices, &device, SPDRP_HARDWAREID, nullptr,
                                             reinterpret_cast<BYTE*>(ids), 512, nullptr) != FALSE;
}

void RemoveRemembered(HDEVINFO devices, DEVINST remembered)
{
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; index < kMaxDevices && SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        if (device.DevInst != remembered)
            continue;
        char ids[514];
        if (DeviceHardwareId(devices, device, ids) && IsUsbBusId(ids))
            SetupDiRemoveDevice(devices, &device);
        return;
    }
}

}  // namespace

void RemoveUsbDevice(const char* hardwareId, unsigned vendorId, unsigned productId)
{
    char target[kTextField];
    if (!IsEmptyText(hardwareId)) {
        if (!CopyText(target, hardwareId))
            return;  // a cut identifier could match another device
    } else {
        FormatUsbHardwareId(vendorId, productId, target, sizeof(target));
    }
    const bool targetIsUsb = IsUsbBusId(target);

    bool matched = false;
    HDEVINFO devices = SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES);
    if (devices != INVALID_HANDLE_VALUE) {
        DEVINST remembered = kNoDevice;
        SP_DEVINFO_DATA device = {};
        device.cbSize = sizeof(device);
        for (DWORD index = 0; index < kMaxDevices && SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
            char ids[514];
            if (!DeviceHardwareId(devices, device, ids))
                continue;
            if (FindHardwareIdMatch(ids, 512, target) < 0)
                continue;
            matched = true;
            if (!targetIsUsb) {
                DEVINST parent = kNoDevice;
                char parentId[258];
                if (CM_Get_Parent(&parent, device.DevInst, 0) == CR_SUCCESS && parent != kNoDevice &&
                    NodeIdIs(parent, IsUsbBusId, parentId))
                    remembered = parent;
                SetupDiRemoveDevice(devices, &device);
            } else {
                // Wine reports success without writing the child: an
                // unchanged value means there is none.
                DEVINST child = kNoDevice;
                char childId[258];
                if (CM_Get_Child(&child, device.DevInst, 0) == CR_SUCCESS && child != kNoDevice &&
                    NodeIdIs(child, IsUsbPrintId, childId))
                    RemoveUsbDevice(childId, vendorId, productId);
                else
                    remembered = device.DevInst;
            }
        }
        if (remembered != kNoDevice)
            RemoveRemembered(devices, remembered);
        SetupDiDestroyDeviceInfoList(devices);
    }
    if (!IsEmptyText(hardwareId) && !matched)
        RemoveUsbDevice("", vendorId, productId);
}
