#include "UsbDevice.h"

#include <cstring>

#include "EventLog.h"
#include "HardwareIdMatch.h"
#include "LookOnly.h"
#include "SetupApi.h"
#include "TextUtil.h"

namespace {

const unsigned long kMaxDevices = 10000;

class SetupApiList : public DeviceList {
public:
    SetupApiList(const SetupApi& api, HDEVINFO devices) : api(api), devices(devices) {}
    ~SetupApiList() override { api.destroyDeviceInfoList(devices); }

    bool At(unsigned long index, DeviceNode& node, char (&ids)[514]) override
    {
        std::memset(ids, 0, sizeof(ids));
        SP_DEVINFO_DATA device = {};
        device.cbSize = sizeof(device);
        if (!api.enumDeviceInfo(devices, index, &device))
            return false;
        node = device.DevInst;
        if (!api.getDeviceRegistryProperty(devices, &device, SPDRP_HARDWAREID, nullptr,
                                           reinterpret_cast<BYTE*>(ids), 512, nullptr))
            std::memset(ids, 0, sizeof(ids));
        return true;
    }
    void Remove(unsigned long index) override
    {
        SP_DEVINFO_DATA device = {};
        device.cbSize = sizeof(device);
        if (!api.enumDeviceInfo(devices, index, &device))
            return;
        if (WhatIfRecord* look = LookOnlyRecord()) {
            DeviceNode node = 0;
            char ids[514];
            At(index, node, ids);
            look->Note("RemoveDevice", ids, LookResult::kFound);
            return;
        }
        api.removeDevice(devices, &device);
    }

private:
    const SetupApi& api;
    HDEVINFO devices;
};

// Used only once AllDevices has found every function bound.
class SetupApiTree : public DeviceTree {
public:
    std::unique_ptr<DeviceList> AllDevices() override
    {
        const SetupApi& api = SystemSetupApi();
        if (!api.CanRemoveDevices()) {
            LogText("RemoveUsbDevice", "skipped: the Setup API is not available");
            return nullptr;
        }
        HDEVINFO devices = api.getClassDevs(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES);
        if (devices == INVALID_HANDLE_VALUE)
            return nullptr;
        return std::unique_ptr<DeviceList>(new SetupApiList(api, devices));
    }
    // Wine reports success without writing the node: the value is set to
    // none first, so an unchanged one means there is none.
    DeviceNode Parent(DeviceNode node) override
    {
        DEVINST parent = 0;
        return SystemSetupApi().getParent(&parent, node, 0) == CR_SUCCESS ? parent : 0;
    }
    DeviceNode FirstChild(DeviceNode node) override
    {
        DEVINST child = 0;
        return SystemSetupApi().getChild(&child, node, 0) == CR_SUCCESS ? child : 0;
    }
    bool FirstHardwareId(DeviceNode node, char (&id)[258]) override
    {
        std::memset(id, 0, sizeof(id));
        ULONG length = 256;
        ULONG type = 0;
        if (SystemSetupApi().getDevNodeRegistryProperty(node, CM_DRP_HARDWAREID, &type, id, &length, 0) !=
            CR_SUCCESS)
            return false;
        id[256] = id[257] = '\0';
        return id[0] != '\0';
    }
};

void RemoveRemembered(DeviceList& devices, DeviceNode remembered)
{
    for (unsigned long index = 0; index < kMaxDevices; ++index) {
        DeviceNode node = 0;
        char ids[514];
        if (!devices.At(index, node, ids))
            return;
        if (node != remembered)
            continue;
        if (IsUsbBusId(ids))
            devices.Remove(index);
        return;
    }
}

void Remove(DeviceTree& tree, const char* hardwareId, unsigned vendorId, unsigned productId, bool mayFallBack)
{
    char target[kTextField];
    const bool given = !IsEmptyText(hardwareId);
    if (given) {
        if (!CopyText(target, hardwareId))
            return;  // a cut identifier could match another device
    } else {
        FormatUsbHardwareId(vendorId, productId, target, sizeof(target));
    }
    const bool targetIsUsb = IsUsbBusId(target);

    bool matched = false;
    std::unique_ptr<DeviceList> devices = tree.AllDevices();
    if (devices) {
        DeviceNode remembered = 0;
        for (unsigned long index = 0; index < kMaxDevices; ++index) {
            DeviceNode node = 0;
            char ids[514];
            if (!devices->At(index, node, ids))
                break;
            if (FindHardwareIdMatch(ids, 512, target) < 0)
                continue;
            matched = true;
            char related[258];
            if (!targetIsUsb) {
                const DeviceNode parent = tree.Parent(node);
                if (parent && tree.FirstHardwareId(parent, related) && IsUsbBusId(related))
                    remembered = parent;
                devices->Remove(index);
            } else {
                const DeviceNode child = tree.FirstChild(node);
                // The child's own id finds it and, through it, this device.
                // It must not fall back to the vendor and product ids: they
                // would find this device and its child again, for ever.
                if (child && tree.FirstHardwareId(child, related) && IsUsbPrintId(related))
                    Remove(tree, related, vendorId, productId, false);
                else
                    remembered = node;
            }
        }
        if (remembered)
            RemoveRemembered(*devices, remembered);
    }
    if (mayFallBack && given && !matched)
        Remove(tree, "", vendorId, productId, false);
}

}  // namespace

DeviceTree& SystemDevices()
{
    static SetupApiTree tree;
    return tree;
}

void RemoveUsbDevice(DeviceTree& devices, const char* hardwareId, unsigned vendorId, unsigned productId)
{
    Remove(devices, hardwareId, vendorId, productId, true);
}

void RemoveUsbDevice(const char* hardwareId, unsigned vendorId, unsigned productId)
{
    RemoveUsbDevice(SystemDevices(), hardwareId, vendorId, productId);
}
