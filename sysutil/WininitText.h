// The text edit behind a WININIT.INI deletion entry. Pure code.
#pragma once
#include <string>

// The file's bytes with "NUL=<path>" CR LF as the last entry of its [RENAME]
// section (the first one, names compared without case). Without such a
// section, "[RENAME]" and the entry are added at the end. Every other byte
// stays as it was.
std::string WithWininitDeletion(const std::string& text, const char* path);
