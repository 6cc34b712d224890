// Command-line switches: parsing, the value lists of every size, the filter,
// the check of what an unattended run can use.
#include <string>
#include <vector>

#include "CommandLineSwitches.h"
#include "FuzzInput.h"
#include "SwitchCheck.h"
#include "SwitchFilter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::string> parts = SplitInput(data, size, 3);
    CommandLineSwitches switches;
    switches.ParseText(parts[0].c_str());
    for (const char* name : {"MFG", "PRN", "UNPELL", "NOPICK", parts[1].c_str()}) {
        const int count = switches.SwitchValueCount(name);
        if (count < -1)
            __builtin_trap();
        int needed = 0;
        switches.GetSwitchValues(name, nullptr, &needed);
        for (int capacity : {1, 2, 16, 256, needed, needed + 1}) {
            if (capacity <= 0)
                continue;
            std::vector<char> buffer(static_cast<size_t>(capacity) + 8, '\x7f');
            int length = capacity;
            const int copied = switches.GetSwitchValues(name, buffer.data(), &length);
            for (size_t i = static_cast<size_t>(capacity); i < buffer.size(); ++i) {
                if (buffer[i] != '\x7f')
                    __builtin_trap();  // written past the capacity
            }
            if (copied == 1 && length > 0 && (length >= capacity || buffer[length - 1] != '\0'))
                __builtin_trap();
        }
    }
    InstalledPrinter printer;
    printer.SetDriverName(parts[2].c_str());
    printer.SetPelledName(parts[1].c_str());
    ApplySwitchFilter(printer, switches);
    // Every switch is either usable or named; an empty line has none.
    const std::string unusable = UnusableSwitch(switches);
    if (!unusable.empty() && (unusable[0] != '/' || switches.Switches().empty()))
        __builtin_trap();
    return 0;
}
