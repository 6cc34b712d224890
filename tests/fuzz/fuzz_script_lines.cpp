// Starter lines, registry lines, and the profile set operations on
// arbitrary items.
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "RegistryLine.h"
#include "ScriptFormat.h"
#include "UninstallProfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::string> parts = SplitInput(data, size, 4);
    const StarterFields starter = ParseStarterLine(parts[0].c_str());
    if (!starter.name.empty() && (starter.name.front() == '"' || starter.name.back() == '"'))
        __builtin_trap();

    RegistryLine line;
    if (ParseRegistryLine(parts[1].c_str(), line) == REGLINE_OK) {
        if (line.root == ROOT_UNKNOWN || line.key.find('"') != std::string::npos)
            __builtin_trap();
        const std::string again = FormatRegistryLine(line.rootName.c_str(), line.key.c_str(), line.value.c_str(), true);
        if (!again.empty() && again.find(',') == again.rfind(','))
            __builtin_trap();
    }

    UninstallProfile a, b;
    for (int list = 0; list < PROFILE_LIST_COUNT; ++list) {
        a.List(list).push_back(parts[2]);
        a.List(list).push_back(parts[3]);
        b.List(list).push_back(parts[3]);
    }
    a.SortAll();
    a.UniqueAll();
    b.SortAll();
    UninstallProfile merged;
    merged.Assign(a);
    merged.Merge(b);
    merged.Subtract(b);
    for (int list = 0; list < PROFILE_LIST_COUNT; ++list) {
        for (const std::string& item : merged.List(list)) {
            for (const std::string& removed : b.List(list)) {
                if (TextEquals(item.c_str(), removed.c_str()))
                    __builtin_trap();  // Subtract left an item the other names
            }
        }
    }
    return 0;
}
