#include "HookRunner.h"

#include "DirectoryPaths.h"
#include "LookOnly.h"
#include "TextUtil.h"

namespace {

typedef void(CALLBACK* RundllEntry)(HWND, HINSTANCE, LPSTR, int);

// Libraries stay loaded this long after their function returns, so work
// they started can finish.
const DWORD kUnloadDelayMs = 1000;

bool FileExists(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

void RunUnregisterHooks(const std::vector<std::string>& hooks, HWND page, HINSTANCE instance)
{
    FileSpec driverDirectory;
    driverDirectory.Resolve(DIR_PRINTER_DRIVER);
    FileSpec ownDirectory;
    ownDirectory.Resolve(DIR_PROGRAM);
    char ownPath[kTextField];
    CopyText(ownPath, ownDirectory.DirectoryPath());
    char driverPath[kTextField];
    CopyText(driverPath, driverDirectory.DirectoryPath());

    for (const std::string& hook : hooks) {
        char entry[kTextField];
        if (!CopyText(entry, hook.c_str()))
            continue;
        char* function = NextToken(entry, ',');
        if (IsEmptyText(entry) || IsEmptyText(function))
            continue;
        FileSpec library;
        library.Assign(entry);
        char name[kTextField];
        CopyText(name, library.FileName());
        if (name[0] == '\0')
            continue;

        // Only full paths: the library must never come from the search path.
        char candidate[kTextField] = "";
        char inDriverDirectory[kTextField];
        char besideUs[kTextField];
        const bool driverOk = driverPath[0] && CopyText(inDriverDirectory, driverPath) &&
                              AppendText(inDriverDirectory, name);
        const bool ownOk = ownPath[0] && CopyText(besideUs, ownPath) && AppendText(besideUs, name);
        if (driverOk && FileExists(inDriverDirectory))
            CopyText(candidate, inDriverDirectory);
        else if (ownOk && FileExists(besideUs))
            CopyText(candidate, besideUs);
        if (WhatIfRecord* look = LookOnlyRecord()) {
            const std::string target = std::string(candidate[0] ? candidate : name) + "," + function;
            look->Note("RunHook", target, candidate[0] ? LookResult::kFound : LookResult::kNotFound);
            continue;
        }
        if (candidate[0] == '\0')
            continue;

        FileSpec candidateSpec;
        candidateSpec.Assign(candidate);
        SetCurrentDirectoryA(candidateSpec.DirectoryPath());
        HMODULE module = LoadLibraryA(candidate);
        if (module) {
            RundllEntry entryPoint =
                reinterpret_cast<RundllEntry>(reinterpret_cast<void*>(GetProcAddress(module, function)));
            // The library may write into its argument: it gets a copy.
            char argument[kTextField];
            CopyText(argument, ownPath);
            if (entryPoint)
                entryPoint(page, instance, argument, 0);
            Sleep(kUnloadDelayMs);
            FreeLibrary(module);
        }
        SetCurrentDirectoryA(ownPath);
    }
    if (ownPath[0])
        SetCurrentDirectoryA(ownPath);
}
