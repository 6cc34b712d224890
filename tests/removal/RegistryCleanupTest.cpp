// Steps 9, 12, 13 and 15: the maker's OEM paths, INI keys, start-up entries
// and the registry lines of the removal profile.
#include "RemovalFixture.h"

#include "TestPaths.h"

namespace {

const char kBase[] = "Software\\TrelunRegistryLines";

std::string Key(const std::string& relative) { return std::string(kBase) + "\\" + relative; }
std::string Line(const std::string& relative, const std::string& rest)
{
    return "HKCU,\"" + Key(relative) + "\"," + rest;
}

class RegistryLines : public RemovalTest {
protected:
    const ScopedKeys keys{HKEY_CURRENT_USER, {kBase}};
    void Apply(const TextList& lines)
    {
        database.removalProfile.registryKeys = lines;
        removal.applyRegistryLines();
    }
};

}  // namespace

TEST_F(RegistryLines, ValueLinesDeleteOnlyTheValueWhateverTheFlag)
{
    for (const char* key : {"V0", "V4", "VNone"}) {
        ASSERT_TRUE(SetText(HKEY_CURRENT_USER, Key(key), "Gone", "x"));
        ASSERT_TRUE(SetText(HKEY_CURRENT_USER, Key(key), "Stays", "x"));
    }
    Apply({Line("V0", "\"Gone\",0"), Line("V4", "\"Gone\",4"), Line("VNone", "Gone")});
    for (const char* key : {"V0", "V4", "VNone"}) {
        EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, Key(key), "Gone")) << key;
        EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, Key(key), "Stays")) << key;
    }
}

// Without a flag only the key itself is deleted (on NT not while it has
// subkeys); lines are applied in descending order, so a subkey's line comes
// before its parent's.
TEST_F(RegistryLines, KeyLinesWithoutAFlagDeleteTheKeyAloneSubkeysFirst)
{
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, Key("Parent\\Child")));
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, Key("Busy\\Other")));
    Apply({Line("Parent", "\"\""), Line("Parent\\Child", "\"\""), Line("Busy", "\"\""),
           Line("Parent\\Child", "\"\"")});
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Key("Parent")));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Key("Busy\\Other")));
}

TEST_F(RegistryLines, TreeLinesAndVersionFlags)
{
    struct Case {
        const COSInfo* os;
        const char* name;
        const char* deletedFlag;
    };
    const Case cases[] = {{&kWin98, "98", "2"},   {&kWinMe, "Me", "3"},  {&kNT4, "NT4", "4"},
                          {&kWin2000, "2000", "5"}, {&kWinXP, "XP", ""}, {&kWin95, "95", ""}};
    const char* const flags[] = {"0", "1", "", "x", "2", "3", "4", "5"};
    for (const Case& c : cases) {
        UseSystem(*c.os);
        TextList lines;
        for (const char* flag : flags) {
            ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, Key(std::string("T") + flag + "\\a\\b")));
            ASSERT_TRUE(SetText(HKEY_CURRENT_USER, Key(std::string("T") + flag + "\\a"), "v", "x"));
            lines.push_back(Line(std::string("T") + flag, std::string("\"\",") + flag));
        }
        Apply(lines);
        for (const char* flag : flags) {
            const bool versioned = flag[0] >= '2' && flag[0] <= '5';
            const bool gone = !versioned || std::string(flag) == c.deletedFlag;
            EXPECT_EQ(gone, !KeyExists(HKEY_CURRENT_USER, Key(std::string("T") + flag))) << c.name << " " << flag;
        }
        RemoveKeyTree(HKEY_CURRENT_USER, kBase);
    }
}

TEST_F(RegistryLines, LinesWithAnUnknownRootOrTooFewFieldsAreSkipped)
{
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, Key("K")));
    Apply({"HKXX,\"" + Key("K") + "\",\"\",1", "HKCU,\"" + Key("K") + "\"", "\"" + Key("K") + "\""});
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Key("K")));
}

// No package owns a top-level key of the user or machine hives, nor the root
// itself; a file type under HKEY_CLASSES_ROOT is a single key of its own.
TEST_F(RegistryLines, LinesThatWouldReachBeyondThePackageAreRefused)
{
    const char kTop[] = "TrelunTopLevel";
    const char kType[] = ".trelunext";
    const ScopedKeys top(HKEY_CURRENT_USER, {kTop});
    const ScopedKeys type(HKEY_CLASSES_ROOT, {kType});
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, kTop));
    ASSERT_TRUE(MakeKey(HKEY_CLASSES_ROOT, std::string(kType) + "\\ShellNew"));
    HKEY user = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, nullptr, 0, KEY_ALL_ACCESS, &user));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(user, "TrelunRootValue", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2));

    Apply({std::string("HKCU,\"") + kTop + "\",\"\",1", std::string("HKCU,\"\\") + kTop + "\\\\\",\"\",0",
           std::string("HKCU,\" ") + kTop + " \",\"\"", "HKCU,\"\\\",\"TrelunRootValue\",0",
           "HKCU,\"\",\"TrelunRootValue\",0", "HKCU,\" \\ \",\"\",1", "HKCU,\"\\\\\",\"\",1",
           std::string("HKCR,\"") + kType + "\",\"\",1"});
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kTop));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, "", "TrelunRootValue"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kType));

    RegDeleteValueA(user, "TrelunRootValue");
    RegCloseKey(user);
}

namespace {

const char kOemPaths[] = "SOFTWARE\\VANTO\\OEM01\\OEMPaths";
const char kProgramGroups[] = "SOFTWARE\\VANTO\\OEM01\\ProgramGroups";

// These use the maker's own keys, which the end-to-end runs use too.
class SerialMakerKeys : public RemovalTest {
protected:
    void SetUp() override
    {
        RemovalTest::SetUp();
        hadVanto = KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO");
    }
    void TearDown() override
    {
        RemoveKeyTree(HKEY_LOCAL_MACHINE, kOemPaths);
        RemoveKeyTree(HKEY_LOCAL_MACHINE, kProgramGroups);
        if (!hadVanto)
            RemoveKeyTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO");
        RemovalTest::TearDown();
    }
    bool hadVanto = false;
};

}  // namespace

TEST_F(SerialMakerKeys, OemPathsJoinTheProfileSortedAndOnce)
{
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kOemPaths, "a", "C:\\Vanto\\Alfa\\"));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kOemPaths, "b", "C:\\Vanto\\Corvel"));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kOemPaths, "c", "C:\\VANTO\\corvel"));
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kOemPaths, 0, KEY_ALL_ACCESS, &key));
    const DWORD number = 0x5C3A43;  // "C:\" as bytes: still not a path
    RegSetValueExA(key, "d", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
    RegCloseKey(key);
    database.removalProfile.oemPaths = {"D:\\Otro\\Sitio"};
    removal.collectOemPaths();
    EXPECT_EQ((TextList{"C:\\Vanto\\Alfa\\", "C:\\Vanto\\Corvel", "D:\\Otro\\Sitio"}),
              database.removalProfile.oemPaths);
}

// While printers of the package stay, their program groups are still listed.
TEST_F(SerialMakerKeys, ProgramGroupsKeyGoesOnlyWithTheFinalCleanUp)
{
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kProgramGroups, "Vanto", "x"));
    removal.applyRegistryLines();
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kProgramGroups));
    database.removalProfile.registryKeys = {"HKLM,\"SOFTWARE\\VANTO\\OEM01\",\"\",1"};
    removal.applyRegistryLines();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProgramGroups));
}

namespace {

const char kWinIni[] =
    "; for 16-bit app support\r\n"
    "[fonts]\r\n"
    "[extensions]\r\n"
    "[mci extensions]\r\n"
    "[files]\r\n"
    "[Mail]\r\n"
    "MAPI=1\r\n"
    "[windows]\r\n"
    "load=\r\n"
    ";VantoMon=vmon.exe\r\n"
    "run=VantoMon\r\n"
    "VantoMon = vmon.exe\r\n"
    "device=Corvel,winspool,LPT1:\r\n"
    "[Vanto]\r\n"
    "VantoMon=elsewhere\r\n"
    "Commented=1\r\n";

const char kSystemIni[] =
    "[boot]\r\n"
    "shell=Explorer.exe\r\n"
    "[386Enh]\r\n"
    "device=*vpd\r\n"
    "VantoVxd=vvxd.386\r\n"
    "[drivers]\r\n"
    "wave=mmdrv.dll\r\n";

std::string Without(const std::string& text, const std::string& line)
{
    std::string result = text;
    result.erase(result.find(line), line.size());
    return result;
}

class IniKeys : public RemovalTest {
protected:
    void SetUp() override
    {
        RemovalTest::SetUp();
        ASSERT_TRUE(WriteWholeFile(WindowsDirectory() + "trelun_win.ini", kWinIni));
        ASSERT_TRUE(WriteWholeFile(WindowsDirectory() + "trelun_system.ini", kSystemIni));
    }
    void TearDown() override
    {
        DeleteFileA((WindowsDirectory() + "trelun_win.ini").c_str());
        DeleteFileA((WindowsDirectory() + "trelun_system.ini").c_str());
        RemovalTest::TearDown();
    }
};

}  // namespace

TEST_F(IniKeys, OnlyTheKeyLineGoesAndEveryOtherByteStays)
{
    database.removalProfile.deleteIni = {
        "C:\\Elsewhere\\Dir\\trelun_win.ini,windows,VantoMon",
        "\"trelun_system.ini\",\"386Enh\",\"VantoVxd\",extra",
        "trelun_win.ini,windows,Commented",  // in another section only
        "trelun_win.ini,fonts,",             // no key
        ",windows,run",                      // no file
        "trelun_missing.ini,windows,run",
    };
    removal.removeIniEntries();
    EXPECT_EQ(Without(kWinIni, "VantoMon = vmon.exe\r\n"), ReadWholeFile(WindowsDirectory() + "trelun_win.ini"));
    EXPECT_EQ(Without(kSystemIni, "VantoVxd=vvxd.386\r\n"), ReadWholeFile(WindowsDirectory() + "trelun_system.ini"));
    EXPECT_FALSE(PathExists(WindowsDirectory() + "trelun_missing.ini"));

    // Only the commented-out twin is left: nothing more changes.
    removal.removeIniEntries();
    EXPECT_EQ(Without(kWinIni, "VantoMon = vmon.exe\r\n"), ReadWholeFile(WindowsDirectory() + "trelun_win.ini"));
}

namespace {

const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

}  // namespace

TEST_F(RemovalTest, RunValuesGoExceptOnWin32s)
{
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kRunKey, "Trelun Monitor", "C:\\Vanto\\vmon.exe"));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kRunKey, "Trelun Other", "C:\\Other\\other.exe"));
    UseSystem(kWin32s);
    EXPECT_EQ(0, removal.removeStartupEntry("Trelun Monitor", "zzzz_no_such_command.exe"));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kRunKey, "Trelun Monitor"));

    UseSystem(kWin98);
    database.removalProfile.deleteLoadRun = {"\"Trelun Monitor\",\"vmon.exe\"", "Trelun Other,", ",other.exe"};
    removal.removeStartupEntries();
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kRunKey, "Trelun Monitor"));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kRunKey, "Trelun Other"));
    EXPECT_EQ(0, removal.removeStartupEntry("Trelun Monitor", "vmon.exe"));

    HKEY run = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_ALL_ACCESS, &run));
    RegDeleteValueA(run, "Trelun Other");
    RegCloseKey(run);
}

namespace {

// Win32s keeps its start-up programs in WIN.INI [windows] "load".
class SerialLoadLine : public RemovalTest {
protected:
    void SetUp() override
    {
        RemovalTest::SetUp();
        UseSystem(kWin32s);
        saved = Load();
    }
    void TearDown() override
    {
        WriteProfileStringA("windows", "load", saved.c_str());
        RemovalTest::TearDown();
    }
    static std::string Load()
    {
        std::vector<char> buffer(65536);
        GetProfileStringA("windows", "load", "", buffer.data(), static_cast<DWORD>(buffer.size()));
        return buffer.data();
    }
    std::string saved;
};

}  // namespace

TEST_F(SerialLoadLine, MiddleWordGoesAndTheLineIsLowerCased)
{
    WriteProfileStringA("windows", "load", "C:\\Uno\\First.exe C:\\VANTO\\VMon.exe Third.EXE");
    EXPECT_EQ(1, removal.removeStartupEntry("Vanto Monitor", "c:\\vanto\\VMON.EXE"));
    EXPECT_EQ("c:\\uno\\first.exe third.exe", Load());
}

TEST_F(SerialLoadLine, PartOfAWordLeavesTheLineAlone)
{
    WriteProfileStringA("windows", "load", "myvmon.exe vmon.exe2 other.exe");
    EXPECT_EQ(0, removal.removeStartupEntry("Vanto Monitor", "vmon.exe"));
    EXPECT_EQ("myvmon.exe vmon.exe2 other.exe", Load());
}

// A line longer than the first read must not come back cut: the programs
// past the cut would no longer start.
TEST_F(SerialLoadLine, LongLineKeepsEveryOtherProgram)
{
    std::string line = "c:\\vanto\\vmon.exe ";
    for (int i = 0; i < 60; ++i)
        line += "c:\\progs\\prog" + std::to_string(100 + i) + ".exe ";
    line += "c:\\last\\last.exe";
    ASSERT_GT(line.size(), 1024u);
    WriteProfileStringA("windows", "load", line.c_str());
    EXPECT_EQ(1, removal.removeStartupEntry("Vanto Monitor", "C:\\Vanto\\vmon.exe"));
    EXPECT_EQ(Without(line, "c:\\vanto\\vmon.exe "), Load());

    // Far along the line it is found as well; the blank before it stays.
    const std::string rest = Without(line, "c:\\vanto\\vmon.exe ");
    WriteProfileStringA("windows", "load", (rest + " c:\\vanto\\vmon.exe").c_str());
    EXPECT_EQ(1, removal.removeStartupEntry("Vanto Monitor", "C:\\Vanto\\vmon.exe"));
    EXPECT_EQ(rest + " ", Load());
}
