// Removal of the package's USB printer device node (and its USBPRINT child
// or USB parent).
#pragma once
#include <memory>

// A configuration-manager device node; 0 for none.
typedef unsigned long DeviceNode;

// One enumeration of every device of the system, in its order.
class DeviceList {
public:
    virtual ~DeviceList() {}
    // The device at the index, with its hardware ids as a double-NUL list
    // read into 512 bytes (ids[0] is NUL when it has none). False past the
    // last device.
    virtual bool At(unsigned long index, DeviceNode& node, char (&ids)[514]) = 0;
    virtual void Remove(unsigned long index) = 0;
};

// The devices as the removal sees them: the Setup API and configuration
// manager on Windows, a made-up tree in tests.
class DeviceTree {
public:
    virtual ~DeviceTree() {}
    // A fresh enumeration, or nullptr when none can be had.
    virtual std::unique_ptr<DeviceList> AllDevices() = 0;
    virtual DeviceNode Parent(DeviceNode node) = 0;
    virtual DeviceNode FirstChild(DeviceNode node) = 0;
    // The first hardware id of a node, read into 256 bytes; false for none.
    virtual bool FirstHardwareId(DeviceNode node, char (&id)[258]) = 0;
};

DeviceTree& SystemDevices();

// hardwareId may be empty: the identifier is then formed from the vendor and
// product ids. When a given identifier matches no device, the formed one is
// tried once.
void RemoveUsbDevice(DeviceTree& devices, const char* hardwareId, unsigned vendorId, unsigned productId);
void RemoveUsbDevice(const char* hardwareId, unsigned vendorId, unsigned productId);
