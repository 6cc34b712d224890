#include "SwitchFilter.h"

#include <string>

#include "TextUtil.h"

namespace {

// The values are gathered as the enumeration always has: into 256
// characters, so a longer list of one switch keeps no printer.
constexpr int kValueBuffer = 256;

std::string WithoutOuterQuotes(const std::string& value)
{
    const std::size_t begin = value.find_first_not_of('"');
    if (begin == std::string::npos)
        return std::string();
    return value.substr(begin, value.find_last_not_of('"') - begin + 1);
}

template <typename Test>
bool AnyValue(const CommandLineSwitches& switches, const char* name, Test test)
{
    if (!switches.HasSwitch(name))
        return false;
    char buffer[kValueBuffer];
    int size = kValueBuffer;
    if (switches.GetSwitchValues(name, buffer, &size) != 1)
        return false;
    // Walked by length: an empty value is a value, not the list's end.
    for (int at = 0; at + 1 < size;) {
        const std::string value(buffer + at);
        at += static_cast<int>(value.size()) + 1;
        if (test(WithoutOuterQuotes(value).c_str()))
            return true;
    }
    return false;
}

}  // namespace

bool PassesSwitchFilter(const InstalledPrinter& printer, const CommandLineSwitches& switches)
{
    if (switches.HasSwitch("UNPELL"))
        return printer.pelledName[0] != '\0';
    if (!switches.HasSwitch("MFG") && !switches.HasSwitch("PRN"))
        return true;
    const char* driver = printer.driverName;
    return AnyValue(switches, "MFG", [driver](const char* value) { return TextStartsWith(driver, value); }) ||
           AnyValue(switches, "PRN", [driver](const char* value) { return TextEquals(driver, value); });
}

void ApplySwitchFilter(InstalledPrinter& printer, const CommandLineSwitches& switches)
{
    if (!PassesSwitchFilter(printer, switches)) {
        printer.listed = 0;
        printer.excluded = 1;
    }
}
