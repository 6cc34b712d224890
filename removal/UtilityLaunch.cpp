#include "UtilityLaunch.h"

#include <string>

#include "DllSearch.h"
#include "LookOnly.h"
#include "OemPath.h"
#include "ProtectedDirectoriesOfSystem.h"
#include "TextUtil.h"
#include "UninstallDatabase.h"
#include "UniqueHandle.h"

namespace {

const HANDLE kNoHandle = reinterpret_cast<HANDLE>(1);

// Where the maker records its installation directories. The utility has
// also been looked for under "OEM\OEMPaths"; both are searched.
const char* const kUtilityPathKeys[] = {"SOFTWARE\\VANTO\\OEM01\\OEMPaths", "SOFTWARE\\VANTO\\OEM\\OEMPaths"};

bool CanOpenForReading(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

// The first "<OEM directory>\<executable>" that exists. Each value is a
// directory of the package's own; anything else (relative, a drive root)
// could start a program of the same name from somewhere else.
bool FindUtility(const char* executable, char (&out)[256])
{
    const ProtectedDirectories windowsOwn = ProtectedDirectoriesOfSystem();
    for (const char* keyPath : kUtilityPathKeys) {
        RegistryKey key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_ALL_ACCESS, key.Receive()) != ERROR_SUCCESS)
            continue;
        bool found = false;
        for (DWORD index = 0; !found; ++index) {
            char name[kTextField] = {};
            DWORD nameSize = sizeof(name);
            char data[kTextField + 1] = {};
            DWORD dataSize = kTextField;
            DWORD type = 0;
            const LONG status = RegEnumValueA(key.Get(), index, name, &nameSize, nullptr, &type,
                                              reinterpret_cast<BYTE*>(data), &dataSize);
            if (status == ERROR_MORE_DATA)
                continue;
            if (status != ERROR_SUCCESS)
                break;
            std::string directory;
            if ((type != REG_SZ && type != REG_EXPAND_SZ) || !UsableOemDirectory(data, windowsOwn, directory))
                continue;
            const std::string candidate = directory + executable;
            if (FitsField(candidate.c_str(), sizeof(out)) && CanOpenForReading(candidate.c_str())) {
                CopyText(out, candidate.c_str());
                found = true;
            }
        }
        if (found)
            return true;
    }
    return false;
}

}  // namespace

bool UtilityLaunch::Start()
{
    if (!FindUtility(kAddOnExecutable, utilityPath) && !FindUtility(kAddOnExecutableWin32s, utilityPath))
        return false;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    char commandLine[] = " /d";
    DefaultDllSearchForChild childSearch;
    if (!CreateProcessA(utilityPath, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    utilityProcess = process.hProcess;
    return true;
}

void UtilityLaunch::LookAtStart()
{
    WhatIfRecord* look = LookOnlyRecord();
    if (!look)
        return;
    if (FindUtility(kAddOnExecutable, utilityPath) || FindUtility(kAddOnExecutableWin32s, utilityPath))
        look->Note("StartUtility", std::string(utilityPath) + " /d", LookResult::kFound);
    else
        look->Note("StartUtility", kAddOnExecutable, LookResult::kNotFound);
}

void UtilityLaunch::Release()
{
    if (utilityProcess && utilityProcess != kNoHandle)
        CloseHandle(utilityProcess);
    utilityProcess = nullptr;
}

bool UtilityLaunch::Busy(const COSInfo& os)
{
    bool utilityBusy = false;
    if (!utilityProcess) {
        if (Start()) {
            utilityBusy = true;
        } else if (os.IsWin32s()) {
            utilityBusy = true;
            utilityProcess = kNoHandle;
        }
    } else if (os.IsWin32s()) {
        if (FindWindowA("#32770", "Pellivance"))
            utilityBusy = true;
        else
            utilityProcess = nullptr;
    } else {
        DWORD code = 0;
        utilityBusy = GetExitCodeProcess(utilityProcess, &code) && code == STILL_ACTIVE;
    }
    if (!utilityBusy)
        Release();
    return utilityBusy;
}
