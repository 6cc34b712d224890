// Steps 10 and 14: shortcuts and program groups, and every file of the
// removal profile wherever the package may have put it.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "DeferredDeletion.h"
#include "DirectoryPaths.h"
#include "EventLog.h"
#include "LookOnly.h"
#include "MatchingFiles.h"
#include "OemInf.h"
#include "ProgmanDde.h"
#include "ProtectedDirectoriesOfSystem.h"
#include "RemovalSequence.h"
#include "SpoolerCalls.h"
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

// A group is a folder below a Programs folder: a relative path of names,
// none of them "." or "..", on no drive of its own.
bool UsableGroupName(const std::string& group)
{
    if (IsEmptyText(group.c_str()) || group.find(':') != std::string::npos || group[0] == '\\' || group[0] == '/')
        return false;
    std::string part;
    for (std::size_t i = 0; i <= group.size(); ++i) {
        if (i == group.size() || group[i] == '\\' || group[i] == '/') {
            while (!part.empty() && (part.back() == ' ' || part.back() == '.'))
                part.pop_back();
            if (part.empty())
                return false;
            part.clear();
        } else {
            part += group[i];
        }
    }
    return true;
}

// A resolved folder, with the group appended when one is given; "" when
// this system has no such folder or the group does not fit (a path built on
// nothing would point at the current directory, a cut one elsewhere).
std::string Folder(int id, const std::string& group)
{
    FileSpec folder;
    folder.Resolve(id);
    const std::string base = folder.DirectoryPath();
    if (base.empty())
        return std::string();
    if (group.empty())
        return base;
    const std::string grouped = folder.AppendSubdirectory(group.c_str());
    if (grouped.size() <= base.size())
        return std::string();
    return grouped;
}

// One file: wildcards, "." and ".." would name many files or a directory.
bool UsableFileName(const std::string& name)
{
    if (IsEmptyText(name.c_str()) || name.find_first_of("*?") != std::string::npos)
        return false;
    return name.find_first_not_of(". ") != std::string::npos;
}

}  // namespace

void RemovalSequence::removeShortcuts() { RunWholeStep(&RemovalSequence::ContinueShortcutStep); }

bool RemovalSequence::ContinueShortcutStep(WorkBudget& budget)
{
    if (!database)
        return true;
    if (!progress.started) {
        // Backwards: a group sorts before its items, and its folder can go
        // only once they have.
        TextList entries = database->removalProfile.shortcuts;
        UniqueTextList(entries);
        SortTextList(entries);
        progress.items.assign(entries.rbegin(), entries.rend());
        progress.started = true;
    }
    return RunItems(progress.items.size(), budget,
                    [&](std::size_t index) { RemoveShortcut(progress.items[index]); });
}

void RemovalSequence::RemoveShortcut(const std::string& entry)
{
    const std::vector<std::string> fields = ShortcutFields(entry);
    const std::string& group = fields[0];
    const std::string& item = fields[1];
    if (group.empty())
        return;
    if (!osInfo.IsWin32s() && !UsableGroupName(group))
        return;
    if (item.empty()) {
        const std::string folder = Folder(osInfo.IsNT() ? DIR_COMMON_PROGRAMS : DIR_PROGRAMS, group);
        if (!folder.empty())
            RemoveEmptyDirectory(folder.c_str());
        return;
    }
    // A pattern would take every shortcut it matches.
    if (!UsableFileName(item))
        return;
    if (osInfo.IsWin32s()) {
        // Program Manager cannot be asked what it holds without changing it.
        if (WhatIfRecord* look = LookOnlyRecord())
            look->Note("ProgmanDeleteItem", group + "," + item, LookResult::kFound);
        else
            progmanDeleteItem(group.c_str(), item.c_str());
        return;
    }
    FileSpec itemName;
    if (!itemName.Assign(item.c_str()))
        return;
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

void RemovalSequence::CollectDriverFiles()
{
    driverFiles.clear();
    installedDrivers = InstalledDriverNames();
    for (const char* environment : kSpoolerEnvironments)
        EnumDriverFiles(environment, driverFiles);
    LogText("DriverFiles", (std::to_string(driverFiles.size()) + " kept for the drivers that stay").c_str());
}

std::unique_ptr<ListedFilesWalk> RemovalSequence::WalkForFiles(const std::vector<std::string>& entries) const
{
    FileMatch match;
    std::vector<std::string> names;
    for (const std::string& entry : entries) {
        FileSpec file;
        if (file.Assign(entry.c_str()) && UsableFileName(file.FileName())) {
            names.push_back(file.FileName());
            match.AddName(file.FileName());
        }
    }
    // The scripts may name a file that a driver which stays loads too.
    for (const std::string& path : driverFiles)
        match.KeepPath(path.c_str());
    std::unique_ptr<ListedFilesWalk> walk(new ListedFilesWalk(osInfo, match));
    if (names.empty())
        return walk;
    for (const std::string& directory : systemDirectories) {
        for (const std::string& name : names)
            walk->AddFile(directory.c_str(), name.c_str());
    }
    // Each tree is read once for every listed name.
    for (const std::string& directory : printerDirectories)
        walk->AddTree(directory.c_str(), kPrinterTreeDepth, 0);
    const ProtectedDirectories windowsOwn = ProtectedDirectoriesOfSystem();
    for (const std::string& raw : database->removalProfile.oemPaths) {
        std::string directory;
        if (UsableOemDirectory(raw, windowsOwn, directory))
            walk->AddTree(directory.c_str(), kOemTreeDepth, 1, true);
        else if (WhatIfRecord* look = LookOnlyRecord())
            look->Stays("Windows' own directory or no usable path", raw);
    }
    return walk;
}

void RemovalSequence::removeFileEverywhere(const char* fileName)
{
    if (!database || !fileName)
        return;
    std::unique_ptr<ListedFilesWalk> walk = WalkForFiles(std::vector<std::string>{fileName});
    walk->RunFor(INFINITE);
    if (walk->Scheduled())
        database->restartNeeded = 1;
}

bool RemovalSequence::ContinueFileStep(unsigned long milliseconds)
{
    if (!database)
        return true;
    if (!fileWalk) {
        TextList files = database->removalProfile.files;
        SortTextList(files);
        UniqueTextList(files);
        std::vector<std::string> names;
        for (const std::string& entry : files) {
            const std::string name = entry.substr(0, entry.find('='));
            if (!name.empty())
                names.push_back(name);
        }
        fileWalk = WalkForFiles(names);
        restartHelperWalk = false;
    }
    if (!fileWalk->RunFor(milliseconds))
        return false;
    if (fileWalk->Scheduled())
        database->restartNeeded = 1;
    // The restart helper goes with the last printer, unless a deletion now
    // waits for the restart it would carry out.
    if (!restartHelperWalk && database->keptPrinterCount == 0 && !osInfo.IsWin32s() && !database->restartNeeded) {
        fileWalk = WalkForFiles(std::vector<std::string>{"ZRESTART.EXE"});
        restartHelperWalk = true;
        return false;
    }
    fileWalk.reset();
    bool zreg32s = false;
    for (const std::string& entry : database->removalProfile.files)
        zreg32s = zreg32s || TextEquals(entry.substr(0, entry.find('=')).c_str(), "zreg32s.ini");
    if (database->keptPrinterCount == 0 && osInfo.IsWin32s() && zreg32s) {
        FileSpec windows;
        windows.Resolve(DIR_WINDOWS);
        const std::string path = std::string(windows.DirectoryPath()) + "zreg32s.ini";
        if (windows.DirectoryPath()[0] && FitsField(path.c_str()))
            ScheduleDeleteInZwininit(path.c_str());
    }
    // Like the final clean-up: an INF found by its marker is the package's
    // as a whole, and a printer that stays may still need it.
    if (database->removeOemInf && database->keptPrinterCount == 0)
        RemoveMarkedOemInfs(database->oemInfMatchLineNumber, database->oemInfMatchLineString, installedDrivers);
    return true;
}

void RemovalSequence::removeFiles()
{
    fileWalk.reset();
    while (!ContinueFileStep(INFINITE)) {
    }
}
