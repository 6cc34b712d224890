// Splits fuzzer bytes into NUL-terminated pieces at 0x01 bytes, so one input
// can carry several arguments.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline std::vector<std::string> SplitInput(const uint8_t* data, size_t size, size_t pieces)
{
    std::vector<std::string> out(pieces);
    size_t current = 0;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0x01 && current + 1 < pieces) {
            ++current;
            continue;
        }
        if (data[i] != 0)
            out[current].push_back(static_cast<char>(data[i]));
    }
    return out;
}
