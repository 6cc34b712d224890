// Matching of plug-and-play hardware identifiers. Pure code.
#pragma once
#include <cstddef>

// Only this many identifiers of a device's list are looked at.
const int kHardwareIdsExamined = 10;

// Index of the first of the first ten identifiers of a double-NUL list that
// begins with target (ignoring case); -1 when none does. The list is read
// within size bytes even when its terminators are missing.
int FindHardwareIdMatch(const char* list, std::size_t size, const char* target);

// "USB\VID_%04X&PID_%04X" with upper-case digits.
void FormatUsbHardwareId(unsigned vendorId, unsigned productId, char* out, std::size_t size);

// True for identifiers of the USB bus ("USB\...") and of the printer class
// below it ("USBPRINT...").
bool IsUsbBusId(const char* id);
bool IsUsbPrintId(const char* id);
