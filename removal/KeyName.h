// Names that the removers turn into registry key paths. Pure code.
#pragma once

// A single key name: something besides blanks, and no backslash. Anything
// else would name the parent key, or a key further down or elsewhere.
bool IsSingleKeyName(const char* name);

// Whether the name can stand in a registry line: the line's reader splits
// at commas and drops double quotes, so either would change the key.
bool FitsRegistryLine(const char* name);
