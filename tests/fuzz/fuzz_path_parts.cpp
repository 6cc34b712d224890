// Path splitting and composing with bounded fields.
#include <cstring>
#include <string>

#include "FuzzInput.h"
#include "PathParts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = SplitInput(data, size, 1)[0];
    PathParts parts;
    const bool split = SplitPath(path.c_str(), parts);
    if (split != (path.size() < kTextField))
        __builtin_trap();
    char composed[kTextField];
    const bool fits = ComposePath(composed, sizeof(composed), parts.drive, parts.directory, parts.baseName,
                                  parts.extension);
    if (split && fits && std::strlen(composed) + 1 < path.size())
        __builtin_trap();  // composing loses nothing but a missing backslash
    char tiny[5];
    ComposePath(tiny, sizeof(tiny), parts.drive, parts.directory, parts.baseName, parts.extension);
    if (std::strlen(tiny) >= sizeof(tiny))
        __builtin_trap();
    return 0;
}
