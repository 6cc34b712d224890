// Steps 10 and 14: shortcuts and program groups (Program Manager on Win32s),
// and the files of the removal profile wherever the package may have put
// them.
#include "RemovalFixture.h"

#include "DirectoryPaths.h"
#include "ProgmanDde.h"
#include "ScopedOverride.h"
#include "TempDir.h"
#include "TestPaths.h"

namespace {

std::string Folder(int id)
{
    FileSpec spec;
    spec.Resolve(id);
    return spec.DirectoryPath();
}

bool Touch(const std::string& path)
{
    for (std::size_t i = 3; i < path.size(); ++i) {
        if (path[i] == '\\')
            CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
    return WriteWholeFile(path, "x");
}

const char kGroup[] = "Trelun Grupo Prueba";

class Shortcuts : public RemovalTest {
protected:
    void SetUp() override
    {
        RemovalTest::SetUp();
        userPrograms = Folder(DIR_PROGRAMS);
        commonPrograms = Folder(DIR_COMMON_PROGRAMS);
        userStartup = Folder(DIR_STARTUP);
        commonStartup = Folder(DIR_COMMON_STARTUP);
        ASSERT_FALSE(userPrograms.empty());
        ASSERT_FALSE(commonPrograms.empty());
        ASSERT_FALSE(userStartup.empty());
        ASSERT_FALSE(commonStartup.empty());
        ASSERT_NE(userPrograms, commonPrograms);
        Clean();
    }
    void TearDown() override
    {
        Clean();
        RemovalTest::TearDown();
    }
    void Clean()
    {
        RemoveTree(userPrograms + kGroup);
        RemoveTree(commonPrograms + kGroup);
        RemoveTree(userPrograms + "..\\Trelun Fuera");
        for (const std::string& folder : {userStartup, commonStartup, userPrograms}) {
            for (const char* name : {"Vanto Inicio.lnk", "Vanto Inicio.PIF", "Trelun Raiz.lnk"})
                DeleteFileA((folder + name).c_str());
        }
    }
    std::string userPrograms, commonPrograms, userStartup, commonStartup;
};

}  // namespace

TEST_F(Shortcuts, ItemsGoFromBothProgramsGroupsAndTheStartupFolders)
{
    const std::string userGroup = userPrograms + kGroup + "\\";
    const std::string commonGroup = commonPrograms + kGroup + "\\";
    for (const char* name : {"Vanto Monitor", "Vanto Monitor.lnk", "Vanto Monitor.PIF", "Vanto Inicio.lnk"}) {
        ASSERT_TRUE(Touch(userGroup + name));
        ASSERT_TRUE(Touch(commonGroup + name));
    }
    ASSERT_TRUE(Touch(userGroup + "Otro.lnk"));
    ASSERT_TRUE(Touch(userGroup + "Vanto Monitor.txt"));
    for (const std::string& folder : {userStartup, commonStartup})
        ASSERT_TRUE(Touch(folder + "Vanto Inicio.lnk"));
    // A startup item with the group's folder name is not looked for there.
    ASSERT_TRUE(Touch(userPrograms + "Vanto Inicio.PIF"));

    database.removalProfile.shortcuts = {
        std::string(kGroup) + ",,",
        std::string(kGroup) + ",Vanto Monitor,",
        std::string(kGroup) + ",Vanto Inicio.exe,\"startup\"",
        ",Vanto Monitor,",
    };
    removal.removeShortcuts();

    for (const std::string& group : {userGroup, commonGroup}) {
        for (const char* name : {"Vanto Monitor", "Vanto Monitor.lnk", "Vanto Monitor.PIF", "Vanto Inicio.lnk"})
            EXPECT_FALSE(PathExists(group + name)) << group << name;
    }
    EXPECT_TRUE(PathExists(userGroup + "Otro.lnk"));
    EXPECT_TRUE(PathExists(userGroup + "Vanto Monitor.txt"));
    EXPECT_FALSE(PathExists(userStartup + "Vanto Inicio.lnk"));
    EXPECT_FALSE(PathExists(commonStartup + "Vanto Inicio.lnk"));
    EXPECT_TRUE(PathExists(userPrograms + "Vanto Inicio.PIF"));
    // On NT the group entry is the common group, gone once empty; the
    // user's group still holds a shortcut and would stay anyway.
    EXPECT_FALSE(DirectoryExists(commonGroup));
    EXPECT_TRUE(DirectoryExists(userGroup));
}

TEST_F(Shortcuts, GroupFolderGoesOnlyWhenEmpty)
{
    UseSystem(kWin98);
    const std::string userGroup = userPrograms + kGroup + "\\";
    ASSERT_TRUE(Touch(userGroup + "Otro.lnk"));
    ASSERT_TRUE(CreateDirectoryA((commonPrograms + kGroup).c_str(), nullptr));
    database.removalProfile.shortcuts = {std::string(kGroup) + ",,"};
    removal.removeShortcuts();
    EXPECT_TRUE(PathExists(userGroup + "Otro.lnk"));
    EXPECT_TRUE(DirectoryExists(commonPrograms + kGroup));  // 9x looks at the user's Programs only

    DeleteFileA((userGroup + "Otro.lnk").c_str());
    removal.removeShortcuts();
    EXPECT_FALSE(DirectoryExists(userGroup));
}

// A group name that leaves the Programs folder, or that does not fit a path,
// would make the item deletion reach other folders.
TEST_F(Shortcuts, GroupNamesOutsideTheProgramsFolderAreRefused)
{
    ASSERT_TRUE(Touch(userPrograms + "..\\Trelun Fuera\\Trelun Raiz.lnk"));
    ASSERT_TRUE(Touch(userPrograms + "Trelun Raiz.lnk"));
    database.removalProfile.shortcuts = {
        "..\\Trelun Fuera,Trelun Raiz,",
        std::string(300, 'G') + ",Trelun Raiz,",
        "C:\\Trelun Fuera,Trelun Raiz,",
        "  ,Trelun Raiz,",
        "..\\Trelun Fuera,,",
    };
    removal.removeShortcuts();
    EXPECT_TRUE(PathExists(userPrograms + "..\\Trelun Fuera\\Trelun Raiz.lnk"));
    EXPECT_TRUE(PathExists(userPrograms + "Trelun Raiz.lnk"));
}

// Item names are single shortcuts: a pattern would take every match.
TEST_F(Shortcuts, ItemNamesWithWildcardsOrDotsAreRefused)
{
    const std::string userGroup = userPrograms + kGroup + "\\";
    ASSERT_TRUE(Touch(userGroup + "Otro.lnk"));
    ASSERT_TRUE(Touch(userGroup + "Vanto Monitor.lnk"));
    database.removalProfile.shortcuts = {std::string(kGroup) + ",*,", std::string(kGroup) + ",Vanto ?onitor,",
                                         std::string(kGroup) + ",*.lnk,", std::string(kGroup) + ",.,",
                                         std::string(kGroup) + ",..,"};
    removal.removeShortcuts();
    EXPECT_TRUE(PathExists(userGroup + "Otro.lnk"));
    EXPECT_TRUE(PathExists(userGroup + "Vanto Monitor.lnk"));
    EXPECT_TRUE(DirectoryExists(userGroup));
}

namespace {

std::vector<std::string> g_progmanCommands;

int RecordProgmanCommand(const char* command)
{
    g_progmanCommands.push_back(command);
    return 1;
}

}  // namespace

TEST_F(Shortcuts, Win32sAsksProgramManager)
{
    UseSystem(kWin32s);
    g_progmanCommands.clear();
    const ScopedOverride<ProgmanCommandSender> recorded(progmanSend, RecordProgmanCommand);
    const std::string longGroup(300, 'g');
    database.removalProfile.shortcuts = {
        std::string(kGroup) + ",Vanto Monitor,",
        longGroup + ",Vanto,",
        std::string(600, 'h') + ",Vanto,",
        "Grupo,1)][DeleteGroup(Accesorios)][ShowGroup(Grupo,Vanto,",
        "Grupo,Vanto)][DeleteGroup(Accesorios),",
    };
    removal.removeShortcuts();
    // Entries go in descending order; names that would not fit a command or
    // would add commands of their own are refused.
    EXPECT_EQ((std::vector<std::string>{
                  std::string("[ShowGroup(") + kGroup + ",1)]",
                  "[DeleteItem(Vanto Monitor)]",
                  "[ShowGroup(" + longGroup + ",1)]",
                  "[DeleteItem(Vanto)]",
              }),
              g_progmanCommands);
}

// Wine's shell answers as Program Manager: a command it carries out is
// accepted, one it does not know is not.
TEST_F(RemovalTest, ProgramManagerCommandsAreAcceptedOrNot)
{
    EXPECT_EQ(1, progmanExecute("[ExitProgman(0)]"));
    EXPECT_EQ(0, progmanExecute("[TrelunNoSuchCommand(1)]"));
    EXPECT_EQ(0, progmanExecute(std::string(600, 'x').c_str()));
}

namespace {

// A tree of directories standing in for the system, Windows, printer and
// OEM directories.
class Files : public RemovalTest {
protected:
    void SetUp() override
    {
        RemovalTest::SetUp();
        removal.systemDirectories = {root.Join("sys\\"), root.Join("win\\")};
        removal.printerDirectories = {root.Join("drv\\")};
        database.removalProfile.oemPaths = {root.Join("oem\\Vanto")};
        database.keptPrinterCount = 1;
    }
    void TearDown() override
    {
        ForgetPendingRenames(root.Path());
        RemovalTest::TearDown();
    }
    bool Put(const std::string& relative) { return root.Write(relative, "x"); }
    bool There(const std::string& relative) { return PathExists(root.Join(relative)); }
    TempDir root;
};

}  // namespace

TEST_F(Files, ListedNameIsFoundInEveryPlaceItsDepthAllows)
{
    for (const char* path : {"sys\\vcorvel.dll", "win\\VCORVEL.DLL", "drv\\vcorvel.dll", "drv\\3\\vcorvel.dll",
                             "drv\\3\\old\\vcorvel.dll", "drv\\a\\b\\c\\vcorvel.dll", "oem\\Vanto\\vcorvel.dll",
                             "oem\\Vanto\\x\\y\\z\\vcorvel.dll", "oem\\Vanto\\p\\q\\r\\s\\vcorvel.dll",
                             "oem\\vcorvel.dll", "otro\\vcorvel.dll", "sys\\sub\\vcorvel.dll", "drv\\.x\\vcorvel.dll",
                             "oem\\Vanto\\keep\\other.dll", "sys\\vcorvel.dll.bak"})
        ASSERT_TRUE(Put(path)) << path;
    database.removalProfile.files = {"vcorvel.dll=1", "=x", "VCORVEL.DLL"};
    removal.removeFiles();

    for (const char* gone : {"sys\\vcorvel.dll", "win\\VCORVEL.DLL", "drv\\vcorvel.dll", "drv\\3\\vcorvel.dll",
                             "drv\\3\\old\\vcorvel.dll", "oem\\Vanto\\vcorvel.dll", "oem\\Vanto\\x\\y\\z\\vcorvel.dll"})
        EXPECT_FALSE(There(gone)) << gone;
    // Too deep, beside the OEM directory, elsewhere, below a system
    // directory, in a hidden directory, or another name.
    for (const char* kept : {"drv\\a\\b\\c\\vcorvel.dll", "oem\\Vanto\\p\\q\\r\\s\\vcorvel.dll", "oem\\vcorvel.dll",
                             "otro\\vcorvel.dll", "sys\\sub\\vcorvel.dll", "drv\\.x\\vcorvel.dll",
                             "oem\\Vanto\\keep\\other.dll", "sys\\vcorvel.dll.bak"})
        EXPECT_TRUE(There(kept)) << kept;
    // Below an OEM directory, emptied directories go; below the printer
    // directories they stay.
    EXPECT_FALSE(DirectoryExists(root.Join("oem\\Vanto\\x")));
    EXPECT_TRUE(DirectoryExists(root.Join("oem\\Vanto\\p\\q\\r\\s")));
    EXPECT_TRUE(DirectoryExists(root.Join("drv\\3\\old")));
    EXPECT_EQ(0, database.restartNeeded);
}

TEST_F(Files, EmptiedOemDirectoryGoesItself)
{
    ASSERT_TRUE(Put("oem\\Vanto\\bin\\vcorvel.dll"));
    database.removalProfile.files = {"vcorvel.dll"};
    removal.removeFiles();
    EXPECT_FALSE(DirectoryExists(root.Join("oem\\Vanto")));
    EXPECT_TRUE(DirectoryExists(root.Join("oem")));
}

// The delay list is shared by the whole prefix: run alone.
class SerialPendingFiles : public Files {
};

TEST_F(SerialPendingFiles, FileInUseIsScheduledAndAsksForTheRestart)
{
    ASSERT_TRUE(Put("drv\\3\\vbusy.dll"));
    ASSERT_TRUE(Put("sys\\vbusy.dll"));
    {
        HeldFile busy(root.Join("sys\\vbusy.dll"));
        ASSERT_TRUE(busy.Held());
        removal.removeFileEverywhere("vbusy.dll");
        EXPECT_TRUE(There("sys\\vbusy.dll"));
    }
    EXPECT_FALSE(There("drv\\3\\vbusy.dll"));
    EXPECT_EQ(1, database.restartNeeded);
    EXPECT_NE(std::string::npos, PendingRenames().find("sys\\vbusy.dll"));
}

TEST_F(Files, RestartHelperGoesOnlyWithTheLastPrinterAndNoRestartPending)
{
    ASSERT_TRUE(Put("sys\\ZRESTART.EXE"));
    removal.removeFiles();
    EXPECT_TRUE(There("sys\\ZRESTART.EXE"));
    database.keptPrinterCount = 0;
    database.restartNeeded = 1;
    removal.removeFiles();
    EXPECT_TRUE(There("sys\\ZRESTART.EXE"));
    database.restartNeeded = 0;
    removal.removeFiles();
    EXPECT_FALSE(There("sys\\ZRESTART.EXE"));
}

// An OEM path that is a drive root, a single directory, relative, or that
// climbs out with "..", would sweep other programs' folders three levels
// deep and remove their empty directories.
TEST_F(Files, OemPathsThatAreNotADirectoryOfTheirOwnAreRefused)
{
    ASSERT_TRUE(Put("cur\\rel\\dir\\vsweep.dll"));
    ASSERT_TRUE(Put("oem\\vsweep.dll"));
    ASSERT_TRUE(Put("oem\\empty\\keep.txt"));
    ASSERT_TRUE(root.MakeDirectory("oem\\hollow"));
    ASSERT_TRUE(SetCurrentDirectoryA(root.Join("cur").c_str()));
    const std::string driveRoot = root.Path().substr(0, 3);

    database.removalProfile.oemPaths = {
        driveRoot, driveRoot.substr(0, 2), "rel\\dir", ".\\rel\\dir", root.Join("oem\\Vanto\\.."),
        root.Join("oem\\.\\"), root.Join("oem\\Vanto\\..\\..\\.."), "", "   ",
        "\\\\server\\share", "\\\\server\\share\\",
    };
    removal.removeFileEverywhere("vsweep.dll");
    EXPECT_TRUE(There("cur\\rel\\dir\\vsweep.dll"));
    EXPECT_TRUE(There("oem\\vsweep.dll"));
    EXPECT_TRUE(DirectoryExists(root.Join("oem\\hollow")));
    SetCurrentDirectoryA(WindowsDirectory().c_str());
}

// A maker's folder right below a drive root is its own; Windows' system
// directories are never the maker's, whatever the registry says.
TEST_F(Files, OemPathsReachAMakersFolderButNotWindowsOwn)
{
    char system[MAX_PATH] = {};
    ASSERT_NE(0u, GetSystemDirectoryA(system, MAX_PATH));
    const std::string maker = WindowsDirectory().substr(0, 3) + "TrelunOemRaiz\\";
    const std::string inSystem = std::string(system) + "\\trelun_oem_sub\\";
    for (const std::string& directory : {maker, inSystem}) {
        CreateDirectoryA(directory.c_str(), nullptr);
        ASSERT_TRUE(WriteWholeFile(directory + "vsweep.dll", "x"));
    }
    database.removalProfile.oemPaths = {maker, system};
    removal.removeFileEverywhere("vsweep.dll");
    EXPECT_FALSE(PathExists(maker + "vsweep.dll"));
    EXPECT_TRUE(PathExists(inSystem + "vsweep.dll"));
    DeleteFileA((inSystem + "vsweep.dll").c_str());
    RemoveDirectoryA(inSystem.c_str());
    RemoveDirectoryA(maker.c_str());
}

// A file name is one file: wildcards, "." and ".." would name directories
// or many files, and schedule them for the restart.
TEST_F(Files, NamesThatAreNotOneFileAreRefused)
{
    ASSERT_TRUE(Put("sys\\one.dll"));
    ASSERT_TRUE(Put("drv\\3\\one.dll"));
    database.removalProfile.files = {"*.dll", "*", "one.*", "?ne.dll", ".", "..", "sub\\..", "  "};
    removal.removeFiles();
    EXPECT_TRUE(There("sys\\one.dll"));
    EXPECT_TRUE(There("drv\\3\\one.dll"));
    EXPECT_EQ(0, database.restartNeeded);
    EXPECT_EQ(std::string::npos, PendingRenames().find(root.Path().substr(3)));
}

TEST_F(Files, MarkedOemInfFilesGoWhenTheScriptsAskForItAndNoPrinterStays)
{
    const std::string inf = WindowsDirectory() + "inf\\";
    ASSERT_TRUE(WriteWholeFile(inf + "oem9401.inf", "[Version]\r\n; TRELUN marker\r\n"));
    ASSERT_TRUE(WriteWholeFile(inf + "oem9401.PNF", "pnf"));
    database.removeOemInf = 0;
    database.oemInfMatchLineNumber = 2;
    CopyText(database.oemInfMatchLineString, "; TRELUN marker");
    removal.removeFiles();
    EXPECT_TRUE(PathExists(inf + "oem9401.inf"));
    // Only when no printer of the package stays, like the final clean-up.
    database.removeOemInf = 1;
    removal.removeFiles();
    EXPECT_TRUE(PathExists(inf + "oem9401.inf"));
    database.keptPrinterCount = 0;
    removal.removeFiles();
    EXPECT_FALSE(PathExists(inf + "oem9401.inf"));
    EXPECT_FALSE(PathExists(inf + "oem9401.PNF"));
    DeleteFileA((inf + "oem9401.inf").c_str());
    DeleteFileA((inf + "oem9401.PNF").c_str());
}

TEST_F(Files, Win32sSchedulesItsRegistryIniThroughTheCompanion)
{
    UseSystem(kWin32s);
    const std::string companion = BesideTests("zwininit.exe");
    const std::string list = BesideTests("zwininit.ini");
    ASSERT_TRUE(WriteWholeFile(companion, "MZ"));
    DeleteFileA(list.c_str());
    database.keptPrinterCount = 0;
    database.removalProfile.files = {"zreg32s.ini"};
    removal.removeFiles();
    char value[64] = {};
    GetPrivateProfileStringA("RENAME", (WindowsDirectory() + "zreg32s.ini").c_str(), "", value, sizeof(value),
                             list.c_str());
    EXPECT_STREQ("NUL", value);
    DeleteFileA(companion.c_str());
    DeleteFileA(list.c_str());
}

TEST_F(RemovalTest, DirectoryListsPerFamily)
{
    FileSpec spec;
    const std::string system = Folder(DIR_SYSTEM);
    const std::string drivers = Folder(DIR_PRINTER_DRIVER);
    const std::string drivers40 = Folder(DIR_PRINTER_DRIVER_W40);
    const std::string processors = Folder(DIR_PRINT_PROCESSOR);
    const std::string inf = Folder(DIR_INF);
    ASSERT_NE(drivers, drivers40);
    removal.BuildDirectoryLists();
    TextList expected = {system, Folder(DIR_WINDOWS), Folder(DIR_COLOR)};
    SortTextList(expected);
    UniqueTextList(expected);
    EXPECT_EQ(expected, removal.systemDirectories);
    expected = {drivers, processors, inf, drivers40};
    SortTextList(expected);
    EXPECT_EQ(expected, removal.printerDirectories);

    UseSystem(kWin98);
    removal.BuildDirectoryLists();
    expected = {drivers, processors, inf};
    SortTextList(expected);
    EXPECT_EQ(expected, removal.printerDirectories);
}
