// Splitting a path into drive, directory, base name and extension, and
// composing it again, like the C runtime's _splitpath/_makepath but with
// bounded fields. Pure code.
#pragma once
#include <cstddef>

#include "TextUtil.h"

struct PathParts {
    char drive[kTextField];
    char directory[kTextField];
    char baseName[kTextField];
    char extension[kTextField];
};

// Splits at the drive colon, the last (back)slash and the last dot of the
// name. A path of 260 characters or more is refused: all parts stay empty
// and false is returned.
bool SplitPath(const char* path, PathParts& parts);

// drive + directory (+ a backslash when it lacks one) + base + extension.
// False when the result did not fit.
bool ComposePath(char* out, std::size_t outSize, const char* drive, const char* directory,
                 const char* baseName, const char* extension);
