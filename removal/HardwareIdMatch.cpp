#include "HardwareIdMatch.h"

#include <cstring>

#include "TextUtil.h"

int FindHardwareIdMatch(const char* list, std::size_t size, const char* target)
{
    if (!list || IsEmptyText(target))
        return -1;
    const std::size_t targetLength = std::strlen(target);
    std::size_t at = 0;
    for (int index = 0; index < kHardwareIdsExamined && at < size && list[at] != '\0'; ++index) {
        const std::size_t length = strnlen(list + at, size - at);
        if (length >= targetLength) {
            bool same = true;
            for (std::size_t i = 0; i < targetLength && same; ++i)
                same = FoldChar(list[at + i]) == FoldChar(target[i]);
            if (same)
                return index;
        }
        at += length + 1;
    }
    return -1;
}

void FormatUsbHardwareId(unsigned vendorId, unsigned productId, char* out, std::size_t size)
{
    FormatText(out, size, "USB\\VID_%04X&PID_%04X", vendorId & 0xFFFFu, productId & 0xFFFFu);
}

bool IsUsbBusId(const char* id) { return TextStartsWith(id, "USB\\"); }
bool IsUsbPrintId(const char* id) { return TextStartsWith(id, "USBPRINT"); }
