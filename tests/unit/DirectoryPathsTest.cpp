#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "DirectoryPaths.h"
#include "TempDir.h"
#include "TestPaths.h"

namespace {

std::string DirectoryOf(int id)
{
    FileSpec spec;
    EXPECT_TRUE(spec.Resolve(id));
    return spec.DirectoryPath();
}

std::string CurrentDirectory()
{
    char buffer[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, buffer);
    return buffer;
}

}  // namespace

TEST(FileSpec, ProgramFileAndDirectory)
{
    FileSpec program;
    program.Resolve(DIR_PROGRAM_FILE);
    EXPECT_STREQ("unit_tests", program.baseName);
    EXPECT_STREQ(".exe", program.extension);
    EXPECT_EQ(BinDirectory(), DirectoryOf(DIR_PROGRAM));
    FileSpec directory;
    directory.Resolve(DIR_PROGRAM);
    EXPECT_STREQ("", directory.baseName);
    EXPECT_STREQ("", directory.extension);
}

TEST(FileSpec, EveryResolvedDirectoryEndsWithOneBackslash)
{
    for (int id = 2; id <= DIR_SYSTEM_WOW64; ++id) {
        if (id == DIR_NEW_TEMP_FILE)
            continue;
        const std::string path = DirectoryOf(id);
        if (path.empty())
            continue;
        ASSERT_GE(path.size(), 2u) << id;
        EXPECT_EQ('\\', path.back()) << id;
        EXPECT_NE('\\', path[path.size() - 2]) << id;
    }
}

TEST(FileSpec, SystemDirectoriesMatchWindows)
{
    EXPECT_EQ(WindowsDirectory(), DirectoryOf(DIR_WINDOWS));
    EXPECT_EQ(WindowsDirectory() + "INF\\", DirectoryOf(DIR_INF));
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(std::string(system) + "\\", DirectoryOf(DIR_SYSTEM));
    EXPECT_EQ(CurrentDirectory() + (CurrentDirectory().back() == '\\' ? "" : "\\"), DirectoryOf(DIR_CURRENT));
    EXPECT_FALSE(DirectoryOf(DIR_PERSONAL).empty());
    EXPECT_FALSE(DirectoryOf(DIR_PROGRAMS).empty());
}

TEST(FileSpec, SpoolerDirectoriesComeThroughTheShim)
{
    const std::string driver = DirectoryOf(DIR_PRINTER_DRIVER);
    const std::string processor = DirectoryOf(DIR_PRINT_PROCESSOR);
    ASSERT_FALSE(driver.empty());
    ASSERT_FALSE(processor.empty());
    EXPECT_EQ(processor, DirectoryOf(DIR_PRINT_PROCESSOR_W40));
    EXPECT_NE(std::string::npos, driver.find("spool\\drivers\\")) << driver;
    EXPECT_FALSE(DirectoryOf(DIR_PRINTER_DRIVER_W40).empty());
    // The 32-bit environment's, by name: in this 32-bit prefix the local one.
    EXPECT_EQ(driver, DirectoryOf(DIR_PRINTER_DRIVER_X86));
    EXPECT_EQ(processor, DirectoryOf(DIR_PRINT_PROCESSOR_X86));
    // No SysWOW64 on 32-bit Windows.
    EXPECT_EQ("", DirectoryOf(DIR_SYSTEM_WOW64));
}

TEST(FileSpec, UnknownIdsAndVirtualFoldersAreEmpty)
{
    for (int id : {0, -1, DIR_SYSTEM_WOW64 + 1, 1000}) {
        FileSpec spec;
        EXPECT_TRUE(spec.Resolve(id));
        EXPECT_STREQ("", spec.FullPath()) << id;
    }
    EXPECT_EQ("", DirectoryOf(DIR_PRINTERS));
}

TEST(FileSpec, NewTempFileIsCreated)
{
    FileSpec first, second;
    first.Resolve(DIR_NEW_TEMP_FILE);
    second.Resolve(DIR_NEW_TEMP_FILE);
    EXPECT_EQ(0, std::strncmp(first.baseName, "~~", 2)) << first.baseName;
    const std::string a = first.FullPath();
    EXPECT_NE(a, std::string(second.FullPath()));
    EXPECT_TRUE(first.Exists());
    DeleteFileA(a.c_str());
    DeleteFileA(second.FullPath());
    EXPECT_FALSE(first.Exists());
}

TEST(FileSpec, ColorDirectoryExistsAndLeavesCurrentDirectory)
{
    const std::string before = CurrentDirectory();
    const std::string color = DirectoryOf(DIR_COLOR);
    ASSERT_FALSE(color.empty());
    EXPECT_TRUE(DirectoryExists(color.c_str()));
    EXPECT_EQ(before, CurrentDirectory());
}

TEST(FileSpec, AppendSubdirectory)
{
    FileSpec spec;
    spec.Resolve(DIR_PRINTER_DRIVER);
    const std::string base = spec.FullPath();
    EXPECT_EQ(base + "3\\", std::string(spec.AppendSubdirectory("3")));
    EXPECT_EQ(base + "3\\", std::string(spec.AppendSubdirectory("")));
    EXPECT_EQ(base + "3\\", std::string(spec.AppendSubdirectory(std::string(300, 'z').c_str())));
}

TEST(FileSpec, SearchOnPathAndExists)
{
    FileSpec spec;
    spec.Assign("notepad.exe");
    ASSERT_TRUE(spec.SearchOnPath(nullptr));
    EXPECT_STRNE("", spec.drive);
    EXPECT_TRUE(spec.Exists());

    TempDir dir;
    ASSERT_TRUE(dir.Write("only-here.txt", "x"));
    FileSpec local;
    local.Assign("only-here.txt");
    EXPECT_FALSE(local.SearchOnPath(nullptr));
    EXPECT_TRUE(local.SearchOnPath(dir.Path().c_str()));
    EXPECT_EQ(dir.Join("only-here.txt"), std::string(local.FullPath()));
}

TEST(FileSpec, DirectoryExists)
{
    TempDir dir;
    ASSERT_TRUE(dir.Write("file.txt", "x"));
    const std::string before = CurrentDirectory();
    EXPECT_TRUE(DirectoryExists(dir.Path().c_str()));
    EXPECT_FALSE(DirectoryExists(dir.Join("file.txt").c_str()));
    EXPECT_FALSE(DirectoryExists(dir.Join("missing").c_str()));
    EXPECT_FALSE(DirectoryExists(""));
    EXPECT_EQ(before, CurrentDirectory());
}

TEST(FileSpec, MasterScriptBesideProgram)
{
    SetMasterScriptBesideProgram();
    EXPECT_EQ(BinDirectory() + "VUNZ__08.unm", std::string(masterScriptBesideProgram));
}

TEST(FileSpec, NamedDirectoriesInDialogOrder)
{
    const char* expected[] = {"WINDIR", "SYSDIR", "COLORDIR", "PRINTPROCDIR", "PRINTPROCDIR_W40",
                              "PRINTDRIVERDIR", "PRINTDRIVERDIR_W40"};
    const int ids[] = {3, 4, 33, 28, 29, 26, 27};
    for (int i = 0; i < 7; ++i) {
        EXPECT_STREQ(expected[i], kNamedDirectories[i].name);
        EXPECT_EQ(ids[i], kNamedDirectories[i].id);
    }
}
