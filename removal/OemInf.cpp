#include "OemInf.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "DirectoryPaths.h"
#include "LookOnly.h"
#include "SetupApi.h"
#include "TextUtil.h"
#include "UniqueHandle.h"

namespace {

// INF files of the default INF directory whose names begin with "OEM".
// Wine's list for INF_STYLE_WIN4 is empty: then the directory is searched.
std::vector<std::string> OemInfNames()
{
    std::vector<std::string> names;
    const auto getList = SystemSetupApi().getInfFileList;
    DWORD needed = 0;
    if (getList && getList(nullptr, INF_STYLE_WIN4, nullptr, 0, &needed) && needed > 1) {
        std::vector<char> list(needed + 2, '\0');
        if (getList(nullptr, INF_STYLE_WIN4, list.data(), needed, &needed)) {
            for (const char* name = list.data(); *name; name += std::strlen(name) + 1) {
                if (TextStartsWith(name, "OEM"))
                    names.push_back(name);
            }
        }
    }
    if (!names.empty())
        return names;
    FileSpec inf;
    inf.Resolve(DIR_INF);
    char pattern[kTextField];
    CopyText(pattern, inf.DirectoryPath());
    if (pattern[0] == '\0' || !AppendText(pattern, "oem*.inf"))
        return names;
    WIN32_FIND_DATAA found;
    const FindHandle search(FindFirstFileA(pattern, &found));
    if (!search.Valid())
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(search.Get(), &found));
    return names;
}

// Reads lines up to the wanted one; a line longer than the buffer still
// counts as one line.
bool LineBeginsWith(FILE* file, int lineNumber, const char* marker)
{
    char line[kTextField];
    for (int current = 1; current <= lineNumber; ++current) {
        if (!std::fgets(line, sizeof(line), file))
            return false;
        const bool isWanted = current == lineNumber;
        const bool begins = isWanted && std::strncmp(line, marker, std::strlen(marker)) == 0;
        // Skip the rest of an overlong line.
        while (std::strchr(line, '\n') == nullptr && !std::feof(file)) {
            if (!std::fgets(line, sizeof(line), file))
                break;
        }
        if (isWanted)
            return begins;
    }
    return false;
}

// The drivers an INF installs, by its [Strings] "PrinterName<n>" values.
std::vector<std::string> InfPrinterNames(const char* path)
{
    std::vector<std::string> names;
    std::vector<char> keys(32 * 1024, '\0');
    const DWORD length = GetPrivateProfileStringA("Strings", nullptr, "", keys.data(), static_cast<DWORD>(keys.size()),
                                                  path);
    for (const char* key = keys.data(); key < keys.data() + length && *key; key += std::strlen(key) + 1) {
        if (!TextStartsWith(key, "PrinterName"))
            continue;
        char value[1024] = {};
        GetPrivateProfileStringA("Strings", key, "", value, sizeof(value), path);
        if (value[0])
            names.push_back(value);
    }
    return names;
}

bool NamesInstalledDriver(const char* path, const std::vector<std::string>& installedDrivers)
{
    for (const std::string& name : InfPrinterNames(path)) {
        for (const std::string& driver : installedDrivers) {
            if (TextEquals(name.c_str(), driver.c_str()))
                return true;
        }
    }
    return false;
}

void DeleteKeepingNothing(const char* path, DWORD attributes)
{
    if (WhatIfRecord* look = LookOnlyRecord()) {
        const bool present = !look->IsGone(GoneFile(path)) && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
        look->Note("DeleteFile", path, present ? LookResult::kFound : LookResult::kNotFound);
        look->MarkGone(GoneFile(path));
        return;
    }
    SetFileAttributesA(path, attributes & ~(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    DeleteFileA(path);
}

}  // namespace

void FindOemInfForDriver(char (&result)[kOemInfNameSize], const char* driverName,
                         const std::vector<std::string>& installedDrivers)
{
    result[0] = '\0';
    if (IsEmptyText(driverName))
        return;
    if (!SystemSetupApi().getInfFileList)
        return;
    FileSpec windows;
    windows.Resolve(DIR_WINDOWS);
    // Without it the INF files would be looked for relative to the current
    // directory.
    if (windows.DirectoryPath()[0] == '\0')
        return;
    const std::string infDirectory = std::string(windows.DirectoryPath()) + "INF\\";
    for (const std::string& name : OemInfNames()) {
        const std::string path = infDirectory + name;
        if (!FitsField(path.c_str()) || !FitsField(name.c_str(), kOemInfNameSize))
            continue;
        char printerName[1024] = {};
        GetPrivateProfileStringA("Strings", "PrinterName1", "", printerName, sizeof(printerName), path.c_str());
        if (TextEquals(printerName, driverName) && !NamesInstalledDriver(path.c_str(), installedDrivers)) {
            CopyText(result, name.c_str());
            break;
        }
    }
}

int UninstallOemInf(const char* fileName)
{
    if (IsEmptyText(fileName))
        return 2;
    char full[MAX_PATH] = {};
    char* filePart = nullptr;
    const DWORD length = GetFullPathNameA(fileName, MAX_PATH, full, &filePart);
    if (length == 0 || length >= MAX_PATH || !filePart || !*filePart)
        return 2;
    const auto uninstall = SystemSetupApi().uninstallOemInf;
    if (WhatIfRecord* look = LookOnlyRecord()) {
        FileSpec inf;
        inf.Resolve(DIR_INF);
        const std::string path = std::string(inf.DirectoryPath()) + filePart;
        look->Note("UninstallOemInf", path, uninstall ? LookResult::kFound : LookResult::kRefused);
        if (!uninstall)
            return 2;
        look->MarkGone(GoneFile(path));
        const std::string twin = path.substr(0, path.size() - 3) + "PNF";
        if (path.size() > 4 && GetFileAttributesA(twin.c_str()) != INVALID_FILE_ATTRIBUTES) {
            look->Note("DeleteFile", twin, LookResult::kFound);
            look->MarkGone(GoneFile(twin));
        }
        return 0;
    }
    const int result = uninstall && uninstall(filePart, SUOI_FORCEDELETE, nullptr) ? 0 : 2;
    // The precompiled twin belongs to the INF; some Setup API versions
    // leave it behind, and nothing else would ever remove it.
    if (result == 0) {
        FileSpec inf;
        inf.Resolve(DIR_INF);
        char twin[kTextField];
        const std::size_t length = std::strlen(filePart);
        if (inf.DirectoryPath()[0] && length > 4 && CopyText(twin, inf.DirectoryPath()) &&
            AppendText(twin, filePart)) {
            std::memcpy(twin + std::strlen(twin) - 3, "PNF", 3);
            SetFileAttributesA(twin, FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(twin);
        }
    }
    return result;
}

void RemoveMarkedOemInf(const WIN32_FIND_DATAA& found, const char* infDirectory, int lineNumber,
                        const char* marker, const std::vector<std::string>& installedDrivers)
{
    if (lineNumber < 1 || IsEmptyText(marker))
        return;
    char path[kTextField];
    if (!CopyText(path, infDirectory) || !AppendText(path, found.cFileName))
        return;
    FILE* file = std::fopen(path, "rt");
    if (!file)
        return;
    const bool matches = LineBeginsWith(file, lineNumber, marker);
    std::fclose(file);
    if (!matches || NamesInstalledDriver(path, installedDrivers))
        return;
    const std::size_t length = std::strlen(path);
    char companion[kTextField];
    CopyText(companion, path);
    if (length >= 3)
        std::memcpy(companion + length - 3, "PNF", 3);
    DeleteKeepingNothing(path, found.dwFileAttributes);
    if (GetFileAttributesA(companion) != INVALID_FILE_ATTRIBUTES)
        DeleteKeepingNothing(companion, found.dwFileAttributes);
}

void RemoveMarkedOemInfs(int lineNumber, const char* marker, const std::vector<std::string>& installedDrivers)
{
    FileSpec windows;
    windows.Resolve(DIR_WINDOWS);
    char directory[kTextField];
    CopyText(directory, windows.DirectoryPath());
    if (directory[0] == '\0' || !AppendText(directory, "inf\\"))
        return;
    char pattern[kTextField];
    CopyText(pattern, directory);
    if (!AppendText(pattern, "oem*.inf"))
        return;
    WIN32_FIND_DATAA found;
    const FindHandle search(FindFirstFileA(pattern, &found));
    if (!search.Valid())
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            RemoveMarkedOemInf(found, directory, lineNumber, marker, installedDrivers);
    } while (FindNextFileA(search.Get(), &found));
}
