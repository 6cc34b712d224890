// The file step of the removal (RemovalSequence::removeFiles) over large
// directory trees: its time and the directory listings it reads, against
// the walk of every tree once per listed file.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "BenchReport.h"
#include "MatchingFiles.h"
#include "ProtectedDirectoriesOfSystem.h"
#include "RemovalSequence.h"
#include "TempDir.h"
#include "UninstallDatabase.h"
#include "Workload.h"

namespace {

const double kFileStepBudgetMs = 200;
const double kFewerReadsTarget = 20;
const double kTickBudgetMs = 50;

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The step must have deleted every listed file and nothing else (the walk
// below only the listed files in the trees).
bool CheckOutcome(const FileTrees& trees)
{
    for (const std::string& path : trees.matches) {
        if (Exists(path)) {
            std::printf("  still there after the step: %s\n", path.c_str());
            return false;
        }
    }
    for (std::size_t i = 0; i < trees.others.size(); i += 97) {
        if (!Exists(trees.others[i])) {
            std::printf("  deleted although not listed: %s\n", trees.others[i].c_str());
            return false;
        }
    }
    return true;
}

// Every tenth listed name looked for in every printer and OEM tree on its
// own, with the walk the step uses for one name; each name costs the same
// reads, so the whole walk is ten times that (it would take minutes).
const std::size_t kPerFileSample = 10;

unsigned long PerFileWalk(const COSInfo& os, const FileTrees& trees)
{
    const unsigned long before = MatchingDirectoryReads();
    const ProtectedDirectories windowsOwn = ProtectedDirectoriesOfSystem();
    for (std::size_t i = 0; i < trees.listed.size(); i += kPerFileSample) {
        const std::string& entry = trees.listed[i];
        const std::string name = entry.substr(0, entry.find('='));
        for (const std::string& directory : trees.printerDirectories)
            DeleteMatchingFiles(os, directory.c_str(), name.c_str(), 2, 0);
        for (const std::string& raw : trees.oemPaths) {
            std::string directory;
            if (UsableOemDirectory(raw, windowsOwn, directory))
                DeleteMatchingFiles(os, directory.c_str(), name.c_str(), 3, 1);
        }
    }
    return MatchingDirectoryReads() - before;
}

// What the file system alone costs: listing the same directories, and
// deleting the laid-down files by their paths.
int ListTree(const std::string& directory, int depth)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int listed = 1;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.' && depth > 0)
            listed += ListTree(directory + found.cFileName + "\\", depth - 1);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return listed;
}

int ListTrees(const FileTrees& trees)
{
    int listed = 0;
    const ProtectedDirectories windowsOwn = ProtectedDirectoriesOfSystem();
    for (const std::string& directory : trees.printerDirectories)
        listed += ListTree(directory, 2);
    for (const std::string& raw : trees.oemPaths) {
        std::string directory;
        if (UsableOemDirectory(raw, windowsOwn, directory))
            listed += ListTree(directory, 3);
    }
    return listed;
}

}  // namespace

int BenchFiles(int runs)
{
    std::printf("(c) File step (RemovalSequence::removeFiles)\n");
    TempDir root;
    FileTrees trees;
    if (!BuildFileTrees(root.Path(), LARGE_TREES, trees)) {
        std::printf("  could not lay down the directory trees\n");
        return 1;
    }
    ReportNote(std::to_string(trees.listed.size()) + " listed files, " + std::to_string(trees.matches.size()) +
               " of them laid down; " + std::to_string(trees.others.size() + trees.matches.size()) + " files in " +
               std::to_string(trees.directories) + " directories (printer trees: 20,000 files, 2,000 " +
               "subdirectories; OEM paths: 5,000 files)");

    UninstallDatabase database;
    RemovalSequence removal;
    removal.SetDatabase(&database);
    removal.osInfo = database.osInfo;
    removal.systemDirectories = trees.systemDirectories;
    removal.printerDirectories = trees.printerDirectories;
    // A printer stays and no INF files are asked for: exactly the listed
    // files are looked for.
    database.keptPrinterCount = 1;
    database.removeOemInf = 0;

    // The trees as laid down and the profile as the step finds it.
    auto prepareRun = [&]() {
        database.removalProfile.files = trees.listed;
        database.removalProfile.oemPaths = trees.oemPaths;
        database.restartNeeded = 0;
        return RestoreMatches(trees);
    };
    std::vector<double> times, reads;
    for (int i = 0; i < runs; ++i) {
        if (!prepareRun())
            return 1;
        const unsigned long before = MatchingDirectoryReads();
        Stopwatch watch;
        removal.removeFiles();
        times.push_back(watch.ElapsedMs());
        reads.push_back(static_cast<double>(MatchingDirectoryReads() - before));
        if (!CheckOutcome(trees))
            return 1;
    }
    // As the removal page runs it: a slice of work per timer tick.
    std::vector<double> longestSlices, slices;
    for (int i = 0; i < runs; ++i) {
        if (!prepareRun())
            return 1;
        double longest = 0;
        int count = 0;
        for (bool done = false; !done; ++count) {
            Stopwatch slice;
            done = removal.ContinueFileStep(kTickWorkMs);
            longest = std::max(longest, slice.ElapsedMs());
        }
        longestSlices.push_back(longest);
        slices.push_back(count);
        if (!CheckOutcome(trees))
            return 1;
    }
    std::vector<double> listing, deleting;
    int listedDirectories = 0;
    for (int i = 0; i < runs; ++i) {
        if (!RestoreMatches(trees))
            return 1;
        Stopwatch list;
        listedDirectories = ListTrees(trees);
        listing.push_back(list.ElapsedMs());
        Stopwatch remove;
        for (const std::string& path : trees.matches)
            DeleteFileA(path.c_str());
        deleting.push_back(remove.ElapsedMs());
    }
    if (!RestoreMatches(trees))
        return 1;
    Stopwatch watch;
    const std::size_t sampled = (trees.listed.size() + kPerFileSample - 1) / kPerFileSample;
    const double scale = static_cast<double>(trees.listed.size()) / sampled;
    const double perFile = PerFileWalk(database.osInfo, trees) * scale;
    const double perFileMs = watch.ElapsedMs() * scale;

    ReportAtMost("file step time", times, kFileStepBudgetMs);
    ReportValue("  the file system alone: listing the " + std::to_string(listedDirectories) + " directories",
                listing, "ms");
    ReportValue("  the file system alone: deleting the " + std::to_string(trees.matches.size()) + " files",
                deleting, "ms");
    ReportAtMost("longest tick of the file step, in slices", longestSlices, kTickBudgetMs);
    ReportValue("  ticks the file step takes", slices, "");
    ReportValue("directory reads of the file step", reads, "");
    ReportValue("directory reads of the per-file walk", {perFile}, "");
    ReportValue("  time of the per-file walk (from every tenth name)", {perFileMs}, "ms");
    std::vector<double> ratios;
    for (double value : reads)
        ratios.push_back(value > 0 ? perFile / value : 0);
    ReportAtLeast("times fewer reads than the per-file walk", ratios, kFewerReadsTarget, "x");
    return 0;
}
