#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "DeferredDeletion.h"
#include "MatchingFiles.h"
#include "TempDir.h"
#include "TestPaths.h"
#include "VersionRecords.h"

namespace {

using versions::kNT351;
using versions::kWinXP;

// D\x.dll, D\a\X.DLL, D\a\b\x.dll, D\a\b\c\x.dll, D\.cache\x.dll, D\e\x.dll,
// D\keep.txt
struct Tree {
    Tree()
    {
        for (const char* file : {"x.dll", "a\\X.DLL", "a\\b\\x.dll", "a\\b\\c\\x.dll", ".cache\\x.dll", "e\\x.dll",
                                 "keep.txt"})
            EXPECT_TRUE(dir.Write(file, "x"));
    }
    bool Has(const char* relative) const { return PathExists(dir.Join(relative)); }
    TempDir dir;
};

}  // namespace

TEST(DeleteMatchingFiles, DepthCountsLevelsBelowTheDirectory)
{
    const COSInfo os = kNT351;
    Tree zero;
    EXPECT_EQ(0, DeleteMatchingFiles(os, zero.dir.Path().c_str(), "X.dll", 0, 0));
    EXPECT_FALSE(zero.Has("x.dll"));
    EXPECT_TRUE(zero.Has("a\\X.DLL"));
    EXPECT_TRUE(zero.Has("keep.txt"));

    Tree two;
    std::string withoutBackslash = two.dir.Path();
    withoutBackslash.pop_back();
    EXPECT_EQ(0, DeleteMatchingFiles(os, withoutBackslash.c_str(), "x.dll", 2, 0));
    EXPECT_FALSE(two.Has("x.dll"));
    EXPECT_FALSE(two.Has("a\\X.DLL"));
    EXPECT_FALSE(two.Has("a\\b\\x.dll"));
    EXPECT_TRUE(two.Has("a\\b\\c\\x.dll"));
    EXPECT_TRUE(two.Has(".cache\\x.dll")) << "directories beginning with a dot are never entered";
    EXPECT_TRUE(two.Has("e")) << "directories stay without the flag";

    Tree negative;
    EXPECT_EQ(0, DeleteMatchingFiles(os, negative.dir.Path().c_str(), "x.dll", -1, 1));
    EXPECT_FALSE(negative.Has("x.dll"));
    EXPECT_TRUE(negative.Has("a\\X.DLL")) << "a negative depth does not descend";
}

TEST(DeleteMatchingFiles, EmptiedSubdirectoriesGoWithTheFlag)
{
    Tree tree;
    EXPECT_EQ(0, DeleteMatchingFiles(kNT351, tree.dir.Path().c_str(), "x.dll", 3, 1));
    EXPECT_FALSE(tree.Has("e"));
    EXPECT_FALSE(tree.Has("a"));
    EXPECT_TRUE(tree.Has(".cache\\x.dll"));
    EXPECT_TRUE(tree.Has("keep.txt"));
}

TEST(DeleteMatchingFiles, MatchInUseIsReportedScheduled)
{
    Tree tree;
    HANDLE busy = CreateFileA(tree.dir.Join("a\\b\\x.dll").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, busy);
    EXPECT_EQ(1, DeleteMatchingFiles(kNT351, tree.dir.Path().c_str(), "x.dll", 2, 1));
    CloseHandle(busy);
    EXPECT_TRUE(tree.Has("a\\b\\x.dll"));
    EXPECT_TRUE(tree.Has("a\\b"));
    EXPECT_TRUE(tree.Has("a\\b\\c\\x.dll"));
}

// An empty directory would search the root of the current drive.
TEST(DeleteMatchingFiles, RefusesAnEmptyDirectoryOrName)
{
    const std::string rootFile = "C:\\trelun_matching_root.txt";
    ASSERT_TRUE(WriteWholeFile(rootFile, "x"));
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    SetCurrentDirectoryA("C:\\");
    EXPECT_EQ(0, DeleteMatchingFiles(kNT351, "", "trelun_matching_root.txt", 0, 0));
    EXPECT_EQ(0, DeleteMatchingFiles(kNT351, nullptr, "trelun_matching_root.txt", 0, 0));
    SetCurrentDirectoryA(current);
    EXPECT_TRUE(PathExists(rootFile));
    DeleteFileA(rootFile.c_str());

    Tree tree;
    EXPECT_EQ(0, DeleteMatchingFiles(kNT351, tree.dir.Path().c_str(), "", 3, 1));
    EXPECT_TRUE(tree.Has("x.dll"));
    EXPECT_TRUE(tree.Has("e\\x.dll"));
}

// A match whose path does not fit 259 characters is skipped: cut, it would
// name another file.
TEST(DeleteMatchingFiles, OverlongPathsAreSkippedNotCut)
{
    TempDir dir;
    std::string directory = dir.Path();
    while (directory.size() < 253) {
        const std::size_t segment = std::min<std::size_t>(40, 253 - directory.size());
        directory += std::string(segment, 'd');
        ASSERT_TRUE(CreateDirectoryA(directory.c_str(), nullptr)) << directory.size();
        if (directory.size() < 253)
            directory += '\\';
    }
    const std::string shortMatch = directory + "\\x.dll";
    ASSERT_EQ(259u, shortMatch.size());
    ASSERT_TRUE(WriteWholeFile(shortMatch, "x"));
    // Only the wide functions reach past MAX_PATH.
    std::wstring longMatch(L"\\\\?\\");
    for (char c : directory + "\\x.dllEXTRA")
        longMatch += static_cast<wchar_t>(static_cast<unsigned char>(c));
    HANDLE created = CreateFileW(longMatch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, created);
    CloseHandle(created);

    EXPECT_EQ(0, DeleteMatchingFiles(kNT351, directory.c_str(), "x.dllEXTRA", 0, 0));
    EXPECT_TRUE(PathExists(shortMatch));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(longMatch.c_str()));
    DeleteFileW(longMatch.c_str());
}

// Several names in one walk: every directory is read once.
TEST(DeleteListedFiles, ReadsEachDirectoryOnceForAllNames)
{
    Tree tree;
    ASSERT_TRUE(tree.dir.Write("a\\b\\other.ini", "x"));
    FileMatch match;
    match.AddName("X.dll");
    match.AddName("OTHER.INI");
    match.AddName("missing.dll");
    const unsigned long before = MatchingDirectoryReads();
    EXPECT_EQ(0, DeleteListedFiles(kNT351, tree.dir.Path().c_str(), match, 3, 0));
    EXPECT_EQ(5ul, MatchingDirectoryReads() - before) << "the tree, a, a\\b, a\\b\\c and e";
    for (const char* gone : {"x.dll", "a\\X.DLL", "a\\b\\x.dll", "a\\b\\c\\x.dll", "e\\x.dll", "a\\b\\other.ini"})
        EXPECT_FALSE(tree.Has(gone)) << gone;
    EXPECT_TRUE(tree.Has(".cache\\x.dll"));
    EXPECT_TRUE(tree.Has("keep.txt"));
}

// Files that other software still needs stay although their names are
// listed: by full path (any case or slash), or by bare name everywhere.
TEST(DeleteListedFiles, KeptPathsAndNamesStay)
{
    Tree tree;
    ASSERT_TRUE(tree.dir.Write("a\\shared.drv", "x"));
    ASSERT_TRUE(tree.dir.Write("e\\shared.drv", "x"));
    FileMatch match;
    match.AddName("x.dll");
    match.AddName("keep.txt");
    match.AddName("shared.drv");
    std::string kept = tree.dir.Join("A\\B\\X.DLL");
    std::replace(kept.begin(), kept.end(), '\\', '/');
    match.KeepPath(kept.c_str());
    match.KeepPath("KEEP.TXT");
    match.KeepPath(tree.dir.Join("e\\shared.drv").c_str());
    EXPECT_TRUE(match.Keeps(tree.dir.Join("a\\b\\x.dll").c_str()));
    EXPECT_FALSE(match.Keeps(tree.dir.Join("a\\x.dll").c_str()));
    EXPECT_EQ(0, DeleteListedFiles(kNT351, tree.dir.Path().c_str(), match, 3, 0));
    for (const char* stays : {"a\\b\\x.dll", "keep.txt", "e\\shared.drv"})
        EXPECT_TRUE(tree.Has(stays)) << stays;
    for (const char* gone : {"x.dll", "a\\X.DLL", "a\\b\\c\\x.dll", "e\\x.dll", "a\\shared.drv"})
        EXPECT_FALSE(tree.Has(gone)) << gone;
}

// A directory named like a listed file is walked like any other: it is no
// file, and scheduled it would go at the restart whenever it was empty.
TEST(DeleteListedFiles, DirectoryOfAListedNameIsWalkedNotDeleted)
{
    TempDir dir;
    ASSERT_TRUE(dir.Write("x.dll\\x.dll", "x"));
    ASSERT_TRUE(dir.Write("x.dll\\keep.txt", "x"));
    FileMatch match;
    match.AddName("x.dll");
    EXPECT_EQ(0, DeleteListedFiles(kWinXP, dir.Path().c_str(), match, 1, 1));
    EXPECT_TRUE(PathExists(dir.Join("x.dll\\keep.txt")));
    EXPECT_FALSE(PathExists(dir.Join("x.dll\\x.dll")));
    EXPECT_EQ(1, DeleteFileOrSchedule(kWinXP, dir.Join("x.dll").c_str()));
    EXPECT_TRUE(PathExists(dir.Join("x.dll\\keep.txt")));
}
