// Tokenisers, trimming and bounded copies on arbitrary texts.
#include <cstring>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "TextUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const char delimiter = static_cast<char>(data[0]);
    const std::vector<std::string> parts = SplitInput(data + 1, size - 1, 2);

    for (int quoted = 0; quoted < 2; ++quoted) {
        std::vector<char> line(parts[0].begin(), parts[0].end());
        line.push_back('\0');
        line.push_back('\0');
        char* item = line.data();
        size_t guard = 0;
        while (item && guard++ <= line.size()) {
            if (item < line.data() || item >= line.data() + line.size())
                __builtin_trap();
            item = quoted ? NextTokenQuoted(item, delimiter) : NextToken(item, delimiter);
        }
        if (guard > line.size())
            __builtin_trap();  // the walk must end
    }

    std::vector<char> trimmed(parts[0].begin(), parts[0].end());
    trimmed.push_back('\0');
    TrimChar(trimmed.data(), delimiter);
    RemoveChar(trimmed.data(), '"');
    ExpandLineFeeds(trimmed.data());

    char field[16];
    CopyText(field, parts[0].c_str());
    AppendText(field, parts[1].c_str());
    EnsureTrailingBackslash(field);
    if (strnlen(field, sizeof(field)) >= sizeof(field))
        __builtin_trap();

    const int order = CompareText(parts[0].c_str(), parts[1].c_str());
    if (order != -CompareText(parts[1].c_str(), parts[0].c_str()))
        __builtin_trap();
    if ((order == 0) != TextEquals(parts[0].c_str(), parts[1].c_str()))
        __builtin_trap();
    ParseDecimal(parts[0].c_str());
    return 0;
}
