// Steps 10 and 14: shortcuts and program groups, and every file of the
// removal profile wherever the package may have put it.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DeferredDeletion.h"
#include "FileSpec.h"
#include "MatchingFiles.h"
#include "OemInf.h"
#include "ProgmanDde.h"
#include "RemovePage.h"
#include "UninstallDatabase.h"

namespace {

struct ShortcutFolder {
    int id;
    bool appendGroup;
};

const ShortcutFolder kNormalFolders[] = {{DIR_PROGRAMS, true}, {DIR_COMMON_PROGRAMS, true}};
const ShortcutFolder kStartupFolders[] = {{DIR_PROGRAMS, true},       {DIR_COMMON_PROGRAMS, true},
                                          {DIR_STARTUP, false},       {DIR_ALTSTARTUP, false},
                                          {DIR_COMMON_STARTUP, false}, {DIR_COMMON_ALTSTARTUP, false}};

const int kPrinterTreeDepth = 2;
const int kOemTreeDepth = 3;

std::vector<std::string> ShortcutFields(const std::string& entry)
{
    std::vector<std::string> fields(3);
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t comma = i < 2 ? entry.find(',', start) : std::string::npos;
        fields[i] = entry.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        fields[i].erase(std::remove(fields[i].begin(), fields[i].end(), '"'), fields[i].end());
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return fields;
}

// A resolved folder, or "" when this system has none (a path built on
// nothing would point at the current directory).
std::string Folder(int id, const std::string& group)
{
    FileSpec folder;
    folder.Resolve(id);
    if (folder.DirectoryPath()[0] == '\0')
        return std::string();
    if (!group.empty())
        folder.AppendSubdirectory(group.c_str());
    return folder.DirectoryPath();
}

// An OEM path is a directory of its own: at least two levels below a drive
// root, never the root itself.
bool UsableOemDirectory(const std::string& raw, std::string& directory)
{
    directory = raw;
    while (!directory.empty() && (directory.back() == ' '))
        directory.pop_back();
    if (directory.empty() || !FitsField(directory.c_str()))
        return false;
    if (directory.back() != '\\')
        directory += '\\';
    int levels = 0;
    bool inName = false;
    const std::size_t start = directory.size() > 1 && directory[1] == ':' ? 2 : 0;
    for (std::size_t i = start; i < directory.size(); ++i) {
        if (directory[i] == '\\')
            inName = false;
        else if (!inName) {
            inName = true;
            ++levels;
        }
    }
    return levels >= 2 && FitsField(directory.c_str());
}

}  // namespace

void RemovePage::removeShortcuts()
{
    if (!database)
        return;
    TextList entries = database->removalProfile.shortcuts;
    UniqueTextList(entries);
    SortTextList(entries);
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        const std::vector<std::string> fields = ShortcutFields(*entry);
        const std::string& group = fields[0];
        const std::string& item = fields[1];
        if (group.empty())
            continue;
        if (item.empty()) {
            const std::string folder = Folder(osInfo.IsNT() ? DIR_COMMON_PROGRAMS : DIR_PROGRAMS, group);
            if (!folder.empty())
                RemoveDirectoryA(folder.c_str());
            continue;
        }
        if (osInfo.IsWin32s()) {
            progmanDeleteItem(group.c_str(), item.c_str());
            continue;
        }
        FileSpec itemName;
        if (!itemName.Assign(item.c_str()))
            continue;
        const bool startup = TextEquals(fields[2].c_str(), "STARTUP");
        const ShortcutFolder* rows = startup ? kStartupFolders : kNormalFolders;
        const int rowCount = startup ? 6 : 2;
        for (int row = 0; row < rowCount; ++row) {
            const std::string folder = Folder(rows[row].id, rows[row].appendGroup ? group : std::string());
            if (folder.empty())
                continue;
            const std::string base = folder + itemName.baseName;
            for (const std::string& path : {base + itemName.extension, base + ".LNK", base + ".PIF"}) {
                if (FitsField(path.c_str()))
                    DeleteFileOrSchedule(osInfo, path.c_str());
            }
        }
    }
}

void RemovePage::removeFileEverywhere(const char* fileName)
{
    if (!database)
        return;
    FileSpec file;
    if (!file.Assign(fileName))
        return;
    const std::string name = file.FileName();
    if (name.empty())
        return;
    for (const std::string& directory : systemDirectories) {
        const std::string path = directory + name;
        if (FitsField(path.c_str()) && !DeleteFileOrSchedule(osInfo, path.c_str()))
            database->restartNeeded = 1;
    }
    for (const std::string& directory : printerDirectories) {
        if (DeleteMatchingFiles(osInfo, directory.c_str(), name.c_str(), kPrinterTreeDepth, 0))
            database->restartNeeded = 1;
    }
    for (const std::string& raw : database->removalProfile.oemPaths) {
        std::string directory;
        if (!UsableOemDirectory(raw, directory))
            continue;
        if (DeleteMatchingFiles(osInfo, directory.c_str(), name.c_str(), kOemTreeDepth, 1))
            database->restartNeeded = 1;
        RemoveDirectoryA(directory.c_str());
    }
}

void RemovePage::removeFiles()
{
    if (!database)
        return;
    TextList files = database->removalProfile.files;
    SortTextList(files);
    UniqueTextList(files);
    bool zreg32s = false;
    for (const std::string& entry : files) {
        const std::string name = entry.substr(0, entry.find('='));
        if (name.empty())
            continue;
        removeFileEverywhere(name.c_str());
        zreg32s = zreg32s || TextEquals(name.c_str(), "zreg32s.ini");
    }
    if (database->keptPrinterCount == 0 && !osInfo.IsWin32s() && !database->restartNeeded)
        removeFileEverywhere("ZRESTART.EXE");
    if (database->keptPrinterCount == 0 && osInfo.IsWin32s() && zreg32s) {
        FileSpec windows;
        windows.Resolve(DIR_WINDOWS);
        const std::string path = std::string(windows.DirectoryPath()) + "zreg32s.ini";
        if (windows.DirectoryPath()[0] && FitsField(path.c_str()))
            ScheduleDeleteInZwininit(path.c_str());
    }
    if (database->removeOemInf)
        RemoveMarkedOemInfs(database->oemInfMatchLineNumber, database->oemInfMatchLineString);
}
