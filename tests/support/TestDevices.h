// Device nodes for the tests of the USB step: made in the prefix's one
// device list under a hardware id, counted, and removed again.
#pragma once

// A printer-class device whose first hardware id is hardwareId.
bool CreateTestDevice(const char* hardwareId);

// The devices whose first hardware id is exactly this one (any case), -1
// when the device list cannot be read; with remove, they are removed too.
int CountTestDevices(const char* hardwareId, bool remove = false);
