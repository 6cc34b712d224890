#include "ProtectedDirectoriesOfSystem.h"

#include <windows.h>

#include "DirectoryPaths.h"
#include "TextUtil.h"
#include "UniqueHandle.h"

namespace {

const char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char kProfileListKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

std::string WithBackslash(std::string path)
{
    if (!path.empty() && path.back() != '\\')
        path += '\\';
    return path;
}

void AddIfKnown(std::vector<std::string>& list, const std::string& path)
{
    if (!path.empty())
        list.push_back(WithBackslash(path));
}

std::string Resolved(int id)
{
    FileSpec spec;
    spec.Resolve(id);
    return spec.DirectoryPath();
}

// A text value, its %variables% expanded.
std::string RegistryText(const char* keyPath, const char* valueName)
{
    RegistryKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return std::string();
    char value[kTextField + 1] = {};
    DWORD size = kTextField;
    DWORD type = 0;
    const bool read = RegQueryValueExA(key.Get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
                          ERROR_SUCCESS &&
                      (type == REG_SZ || type == REG_EXPAND_SZ);
    if (!read)
        return std::string();
    char expanded[kTextField] = {};
    const DWORD length = ExpandEnvironmentStringsA(value, expanded, sizeof(expanded));
    return length > 0 && length <= sizeof(expanded) ? expanded : std::string();
}

std::string Environment(const char* name)
{
    char value[kTextField] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
    return length > 0 && length < sizeof(value) ? value : std::string();
}

// The spool directory holds the printer-driver directory ("...\spool\drivers\w32x86").
std::string SpoolDirectory(const std::string& driverDirectory)
{
    std::string folded;
    for (char c : driverDirectory)
        folded += FoldChar(c);
    const std::size_t at = folded.find("\\spool\\");
    return at == std::string::npos ? std::string() : driverDirectory.substr(0, at + 7);
}

}  // namespace

ProtectedDirectories ProtectedDirectoriesOfSystem()
{
    ProtectedDirectories directories;
    const std::string windows = Resolved(DIR_WINDOWS);
    AddIfKnown(directories.sealed, Resolved(DIR_SYSTEM));
    if (!windows.empty()) {
        for (const char* system : {"System\\", "System32\\", "SysWOW64\\"})
            directories.sealed.push_back(WithBackslash(windows) + system);
    }
    AddIfKnown(directories.sealed, SpoolDirectory(Resolved(DIR_PRINTER_DRIVER)));

    AddIfKnown(directories.roots, windows);
    AddIfKnown(directories.roots, Resolved(DIR_PROGRAM_FILES));
    AddIfKnown(directories.roots, RegistryText(kCurrentVersionKey, "ProgramFilesDir"));
    AddIfKnown(directories.roots, RegistryText(kCurrentVersionKey, "CommonFilesDir"));
    // 64-bit Windows has a second pair for 32-bit programs.
    AddIfKnown(directories.roots, RegistryText(kCurrentVersionKey, "ProgramFilesDir (x86)"));
    AddIfKnown(directories.roots, RegistryText(kCurrentVersionKey, "CommonFilesDir (x86)"));
    AddIfKnown(directories.roots, Environment("ProgramFiles(x86)"));
    AddIfKnown(directories.roots, Environment("ProgramW6432"));
    AddIfKnown(directories.roots, RegistryText(kProfileListKey, "ProfilesDirectory"));
    if (!windows.empty())
        directories.roots.push_back(WithBackslash(windows) + "Profiles\\");
    AddIfKnown(directories.roots, Environment("USERPROFILE"));
    AddIfKnown(directories.roots, Environment("ALLUSERSPROFILE"));
    return directories;
}
