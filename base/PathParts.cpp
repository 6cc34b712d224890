#include "PathParts.h"

#include <cstring>

namespace {

void CopyRange(char* dest, const char* begin, const char* end)
{
    const std::size_t n = static_cast<std::size_t>(end - begin);
    std::memcpy(dest, begin, n);  // callers bound n below kTextField
    dest[n] = '\0';
}

}  // namespace

bool SplitPath(const char* path, PathParts& parts)
{
    parts.drive[0] = parts.directory[0] = parts.baseName[0] = parts.extension[0] = '\0';
    if (!path || !FitsField(path))
        return false;
    const char* p = path;
    if (p[0] != '\0' && p[1] == ':') {
        CopyRange(parts.drive, p, p + 2);
        p += 2;
    }
    const char* lastSlash = nullptr;
    const char* lastDot = nullptr;
    for (const char* q = p; *q; ++q) {
        if (*q == '\\' || *q == '/')
            lastSlash = q;
        else if (*q == '.')
            lastDot = q;
    }
    const char* name = p;
    if (lastSlash) {
        CopyRange(parts.directory, p, lastSlash + 1);
        name = lastSlash + 1;
    }
    const char* end = name + std::strlen(name);
    if (lastDot && lastDot >= name) {
        CopyRange(parts.baseName, name, lastDot);
        CopyRange(parts.extension, lastDot, end);
    } else {
        CopyRange(parts.baseName, name, end);
    }
    return true;
}

bool ComposePath(char* out, std::size_t outSize, const char* drive, const char* directory,
                 const char* baseName, const char* extension)
{
    if (!out || outSize == 0)
        return false;
    bool fits = CopyText(out, outSize, drive);
    if (!IsEmptyText(directory)) {
        fits = AppendText(out, outSize, directory) && fits;
        const std::size_t length = std::strlen(directory);
        if (directory[length - 1] != '\\' && directory[length - 1] != '/')
            fits = AppendText(out, outSize, "\\") && fits;
    }
    fits = AppendText(out, outSize, baseName) && fits;
    fits = AppendText(out, outSize, extension) && fits;
    return fits;
}
