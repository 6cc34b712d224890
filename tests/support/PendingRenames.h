// The MoveFileEx delay list of the prefix (PendingFileRenameOperations),
// which tests of files in use read and must leave as they found it.
#pragma once
#include <string>

// The raw list of source and target names, NUL-separated.
std::string RawPendingRenames();
// The list with its NULs shown as '|'.
std::string PendingRenames();
// Puts back a raw list read before (empty: no list).
void RestorePendingRenames(const std::string& raw);
// Takes every entry naming a path that contains the text (any case) out of
// the list.
void ForgetPendingRenames(const std::string& text);
