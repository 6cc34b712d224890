#include "KeyName.h"

#include <cstring>

bool IsSingleKeyName(const char* name)
{
    if (!name)
        return false;
    bool visible = false;
    for (const char* p = name; *p; ++p) {
        if (*p == '\\')
            return false;
        if (*p != ' ' && *p != '\t')
            visible = true;
    }
    return visible;
}

bool FitsRegistryLine(const char* name)
{
    return name && std::strchr(name, ',') == nullptr && std::strchr(name, '"') == nullptr;
}
