// Removal of the package's USB printer device node (and its USBPRINT child
// or USB parent).
#pragma once

// hardwareId may be empty: the identifier is then formed from the vendor and
// product ids. When a given identifier matches no device, the formed one is
// tried once.
void RemoveUsbDevice(const char* hardwareId, unsigned vendorId, unsigned productId);
