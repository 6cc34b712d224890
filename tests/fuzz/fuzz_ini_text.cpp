// INI parsing, formatting and the raw section lookups on arbitrary bytes.
#include <cstring>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "IniText.h"
#include "TextUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* text = reinterpret_cast<const char*>(data);
    const std::vector<IniSection> sections = ParseIniText(text, size);
    for (const IniSection& section : sections) {
        if (section.name.size() >= kTextField)
            __builtin_trap();
        for (const IniEntry& entry : section.entries) {
            if (entry.key.size() >= kTextField || entry.value.size() >= kTextField)
                __builtin_trap();
        }
    }
    size_t lines = 0;
    const std::string formatted = FormatIniText(sections, &lines);
    // A formatted document parses back to the same entries.
    const std::vector<IniSection> again = ParseIniText(formatted.data(), formatted.size());
    size_t count = 0;
    for (const IniSection& section : again)
        count += section.entries.size();
    if (count > lines)
        __builtin_trap();

    // The last two pieces of the input name a section and a key.
    const std::vector<std::string> parts = SplitInput(data, size, 3);
    const size_t at = FindTextInSectionBytes(text, size, parts[1].c_str(), parts[2].c_str());
    if (at > size)
        __builtin_trap();
    size_t start = 0, length = 0;
    if (FindKeyLineInSectionBytes(text, size, parts[1].c_str(), parts[2].c_str(), &start, &length)) {
        if (start > size || length > size - start || length == 0)
            __builtin_trap();
    }
    return 0;
}
