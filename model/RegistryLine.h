// Registry lines of the uninstall scripts: root, key path, value name and a
// one-character code, comma-separated, with double quotes around fields.
// Pure code.
#pragma once
#include <string>

enum RegistryRootId {
    ROOT_UNKNOWN,
    ROOT_HKLM,
    ROOT_HKCR,
    ROOT_HKCU,
    ROOT_HKU,
};

// "HKLM", "HKCR", "HKCU" or "HKU", ignoring case.
RegistryRootId RegistryRootFromName(const char* name);

enum RegistryLineStatus {
    REGLINE_OK,
    REGLINE_TOO_FEW_FIELDS,  // fewer than two commas
    REGLINE_UNKNOWN_ROOT,
    REGLINE_EMPTY_KEY,
};

struct RegistryLine {
    RegistryRootId root = ROOT_UNKNOWN;
    std::string rootName;
    std::string key;
    std::string value;
    bool hasFlag = false;  // a third comma was present
    std::string flag;      // everything after the third comma
};

// Splits at the first three commas and removes every double quote from
// each field. Anything but REGLINE_OK means the removal skips the line.
RegistryLineStatus ParseRegistryLine(const char* text, RegistryLine& line);

const char* RegistryLineProblem(RegistryLineStatus status);

// root,"key","value",1 (or 0). Empty when the root name is unknown or the
// key path is empty.
std::string FormatRegistryLine(const char* rootName, const char* keyPath, const char* valueName,
                               bool flag);
