// The Win32s "load" line edit and the hardware-id matching.
#include <cstring>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "HardwareIdMatch.h"
#include "LoadLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::string> parts = SplitInput(data, size, 2);
    std::string line = parts[0];
    const std::string before = line;
    if (RemoveLoadCommand(line, parts[1])) {
        if (line.size() >= before.size() || before.size() - line.size() > parts[1].size() + 1)
            __builtin_trap();
    } else if (line != before) {
        __builtin_trap();
    }
    // The raw input as a hardware-id list, read within its size.
    const char* list = reinterpret_cast<const char*>(data);
    const int index = FindHardwareIdMatch(list, size, parts[1].c_str());
    if (index >= kHardwareIdsExamined)
        __builtin_trap();
    char formatted[32];
    FormatUsbHardwareId(static_cast<unsigned>(size * 2654435761u), static_cast<unsigned>(size), formatted,
                        sizeof(formatted));
    if (std::strlen(formatted) != 21)
        __builtin_trap();
    return 0;
}
