// Everything besides the spooler that a removal profile names, removed by
// the real program on each family of Windows: registry lines with every
// version flag, INI keys, Run values, shortcuts and groups, files at every
// depth (one in use), OEM INF files and the USB device node.
#include "RemovalScenario.h"

#include <shlobj.h>

#include <ostream>

#include "TempDir.h"
#include "TestDevices.h"
#include "TestPaths.h"

namespace {

struct Platform {
    const char* version;
    bool is9x;
    const char* flagThatDeletes;  // the version flag of this system
};

void PrintTo(const Platform& platform, std::ostream* out) { *out << platform.version; }

const char kKeys[] = "Software\\TrelunE2E";
const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kGroup[] = "Trelun E2E Grupo";
const char kUsbId[] = "USB\\VID_0ACE&PID_0E2E";
const char kMarker[] = "; TRELUN E2E package";

const char kWinIni[] =
    "; for 16-bit app support\r\n[fonts]\r\n[extensions]\r\n[mci extensions]\r\n[files]\r\n[Mail]\r\nMAPI=1\r\n"
    "[windows]\r\nload=\r\n;VantoMon=vmon.exe\r\nrun=\r\nVantoMon=vmon.exe\r\nNullPort=None\r\n"
    "[Vanto]\r\nVantoMon=stays\r\n";
const char kSystemIni[] = "[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\ndevice=*vpd\r\nVantoVxd=vvxd.386\r\n"
                          ";VantoVxd=old.386\r\n[drivers]\r\nwave=mmdrv.dll\r\n";

std::string ReplaceFirst(std::string text, const std::string& from, const std::string& to)
{
    return text.replace(text.find(from), from.size(), to);
}

std::string ShellFolder(int csidl)
{
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, 0, path)))
        return std::string();
    std::string folder = path;
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return folder;
}

std::string DriverDirectory40() { return SystemDirectory() + "spool\\drivers\\win40\\"; }

const char kScript[] =
    "[UnPrinterDrivers]\r\n"
    "\"TRELUN Limpia PCL\",VLP,1\r\n"
    "[CommandlineParam]\r\n"
    "RemoveOEMInf=1\r\n"
    "OEMInfMatchLineNumber=2\r\n"
    "OEMInfMatchLineString=; TRELUN E2E package\r\n"
    "[Strings]\r\n"
    "HARDWARE_ID_1=USB\\VID_0ACE&PID_0E2E\r\n"
    "USB_VID=2766\r\n"
    "USB_PID=3630\r\n"
    "[VLP.Files]\r\n"
    "trelun_e2e_deep.dll\r\n"
    "trelun_e2e_busy.dll\r\n"
    "[VLP.RegistryKeys]\r\n"
    "HKCU,\"Software\\TrelunE2E\\Values\",\"Gone\",0\r\n"
    "HKCU,\"Software\\TrelunE2E\\Plain\",\"\"\r\n"
    "HKCU,\"Software\\TrelunE2E\\Tree\",\"\",1\r\n"
    "HKCU,\"Software\\TrelunE2E\\F2\",\"\",2\r\n"
    "HKCU,\"Software\\TrelunE2E\\F3\",\"\",3\r\n"
    "HKCU,\"Software\\TrelunE2E\\F4\",\"\",4\r\n"
    "HKCU,\"Software\\TrelunE2E\\F5\",\"\",5\r\n"
    "[VLP.DeleteIni]\r\n"
    "trelun_e2e_win.ini,windows,VantoMon\r\n"
    "C:\\Somewhere\\trelun_e2e_system.ini,386Enh,VantoVxd\r\n"
    "[VLP.DeleteLoadRun]\r\n"
    "\"Trelun E2E Monitor\",\"vmon.exe\"\r\n"
    "[VLP.Shortcuts]\r\n"
    "Trelun E2E Grupo,Vanto Monitor,\r\n"
    "Trelun E2E Grupo,Vanto E2E Inicio,STARTUP\r\n"
    "Trelun E2E Grupo,,\r\n";

class CleanupScenario : public ::testing::TestWithParam<Platform> {
protected:
    void SetUp() override
    {
        wininit = ReadWholeFile(WindowsDirectory() + "WININIT.INI");
        hadWininit = PathExists(WindowsDirectory() + "WININIT.INI");
        userPrograms = ShellFolder(CSIDL_PROGRAMS);
        commonPrograms = ShellFolder(CSIDL_COMMON_PROGRAMS);
        userStartup = ShellFolder(CSIDL_STARTUP);
        commonStartup = ShellFolder(CSIDL_COMMON_STARTUP);
        ASSERT_FALSE(userPrograms.empty() || commonPrograms.empty() || userStartup.empty() || commonStartup.empty());
        oem = folders.Join("Vanto\\");
        outside = folders.Join("outside\\");
        Clean();
    }
    void TearDown() override
    {
        Clean();
        if (hadWininit)
            WriteWholeFile(WindowsDirectory() + "WININIT.INI", wininit);
        else
            DeleteFileA((WindowsDirectory() + "WININIT.INI").c_str());
        ForgetPendingRenames("trelun_e2e_busy.dll");
    }
    void Clean()
    {
        HKEY run = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_ALL_ACCESS, &run) == ERROR_SUCCESS) {
            RegDeleteValueA(run, "Trelun E2E Monitor");
            RegDeleteValueA(run, "Trelun E2E Other");
            RegCloseKey(run);
        }
        for (const char* name : {"trelun_e2e_win.ini", "trelun_e2e_system.ini"})
            DeleteFileA((WindowsDirectory() + name).c_str());
        for (const std::string& folder : {userPrograms, commonPrograms})
            RemoveTree(folder + kGroup);
        for (const std::string& folder : {userStartup, commonStartup})
            DeleteFileA((folder + "Vanto E2E Inicio.lnk").c_str());
        RemoveTree(DriverDirectory40() + "trelun_a");
        for (const char* name : {"trelun_e2e_busy.dll", "ZRESTART.EXE"})
            DeleteFileA((SystemDirectory() + name).c_str());
        for (const char* name : {"oem9501.inf", "oem9501.PNF", "oem9502.inf", "oem9502.PNF", "oem9503.inf", "oem9504.inf"})
            DeleteFileA((WindowsDirectory() + "inf\\" + name).c_str());
        CountTestDevices(kUsbId, true);
    }
    std::string Key(const char* relative) const { return std::string(kKeys) + "\\" + relative; }

    const ScopedKeys userKeys{HKEY_CURRENT_USER, {kKeys}};
    const ScopedKeys makerKeys{HKEY_LOCAL_MACHINE, {"SOFTWARE\\VANTO"}};
    TempDir folders;
    std::string oem, outside;
    std::string userPrograms, commonPrograms, userStartup, commonStartup;
    std::string wininit;
    bool hadWininit = false;
};

}  // namespace

TEST_P(CleanupScenario, EverythingTheProfileNamesAndNothingElse)
{
    const Platform platform = GetParam();
    // Registry lines.
    ASSERT_TRUE(SetText(HKEY_CURRENT_USER, Key("Values"), "Gone", "x"));
    ASSERT_TRUE(SetText(HKEY_CURRENT_USER, Key("Values"), "Stays", "x"));
    ASSERT_TRUE(SetText(HKEY_CURRENT_USER, Key("Plain\\Sub"), "x", "x"));
    for (const char* tree : {"Tree", "F2", "F3", "F4", "F5"})
        ASSERT_TRUE(SetText(HKEY_CURRENT_USER, Key(tree) + "\\a\\b", "x", "x"));
    // INI keys, Run values.
    ASSERT_TRUE(WriteWholeFile(WindowsDirectory() + "trelun_e2e_win.ini", kWinIni));
    ASSERT_TRUE(WriteWholeFile(WindowsDirectory() + "trelun_e2e_system.ini", kSystemIni));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kRunKey, "Trelun E2E Monitor", "C:\\Vanto\\vmon.exe"));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kRunKey, "Trelun E2E Other", "C:\\Other\\other.exe"));
    // Shortcuts.
    for (const std::string& folder : {userPrograms, commonPrograms}) {
        ASSERT_TRUE(PutFile(folder + kGroup + "\\Vanto Monitor.lnk"));
        ASSERT_TRUE(PutFile(folder + kGroup + "\\Vanto E2E Inicio.lnk"));
    }
    ASSERT_TRUE(PutFile(userPrograms + kGroup + "\\Otro.lnk"));
    for (const std::string& folder : {userStartup, commonStartup})
        ASSERT_TRUE(PutFile(folder + "Vanto E2E Inicio.lnk"));
    // Files: two levels below a printer directory, three below an OEM
    // directory, in use in the system directory, and outside them all.
    const std::string printerDeep = DriverDirectory40() + "trelun_a\\trelun_b\\";
    ASSERT_TRUE(PutFile(printerDeep + "trelun_e2e_deep.dll"));
    ASSERT_TRUE(PutFile(printerDeep + "trelun_c\\trelun_e2e_deep.dll"));
    ASSERT_TRUE(PutFile(oem + "x\\y\\z\\trelun_e2e_deep.dll"));
    ASSERT_TRUE(PutFile(folders.Join("trelun_e2e_deep.dll")));
    ASSERT_TRUE(PutFile(outside + "trelun_e2e_deep.dll"));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\OEM01\\OEMPaths", "Limpia", oem));
    ASSERT_TRUE(PutFile(SystemDirectory() + "ZRESTART.EXE"));
    HANDLE busy = CreateFileA((SystemDirectory() + "trelun_e2e_busy.dll").c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, busy);
    // OEM INF files: by the removed driver's name, by the marker line.
    const std::string inf = WindowsDirectory() + "inf\\";
    ASSERT_TRUE(PutFile(inf + "oem9501.inf", "[Version]\r\nSignature=\"$Windows NT$\"\r\n[Strings]\r\n"
                                            "PrinterName1=\"TRELUN Limpia PCL\"\r\n"));
    ASSERT_TRUE(PutFile(inf + "oem9502.inf", std::string("[Version]\r\n") + kMarker + " 08\r\n"));
    ASSERT_TRUE(PutFile(inf + "oem9502.PNF", "pnf"));
    ASSERT_TRUE(PutFile(inf + "oem9503.inf", std::string("[Version]\r\nSignature=x\r\n") + kMarker + "\r\n"));
    ASSERT_TRUE(PutFile(inf + "oem9504.inf", "[Version]\r\n[Strings]\r\nPrinterName1=\"Otro Fabricante\"\r\n"));
    // The USB device node.
    ASSERT_TRUE(CreateTestDevice(kUsbId));
    ASSERT_EQ(1, CountTestDevices(kUsbId));

    ProgramSandbox sandbox("[Printer]\nName=Limpia Uno\nPort=USB001\nDriver=TRELUN Limpia PCL\nData.VantoDriver08=1\n"
                           "[Printer]\nName=Ajena\nPort=LPT2:\nDriver=Otro Fabricante\n"
                           "[Driver]\nName=TRELUN Limpia PCL\n[Driver]\nName=Otro Fabricante\n",
                           kScript);
    RemovalRun run;
    run.version = platform.version;
    run.closingAnswer = IDNO;
    run.screenshotName = std::string("removal_cleanup_") + platform.version;
    const RemovalOutcome outcome = RunRemoval(sandbox, run);
    CloseHandle(busy);
    ASSERT_TRUE(outcome.started);
    EXPECT_EQ((std::vector<std::string>{platform.is9x ? kRestartQuestionText : kFinishedText}), Texts(outcome));
    EXPECT_EQ("GGGGGGGGG", outcome.marks);
    EXPECT_EQ((std::vector<std::string>{"Ajena"}), PrinterNames(sandbox.Spooler().Read()));

    // Registry lines: the value alone; the key alone (kept on every system
    // while it has a subkey); trees; the versioned trees on their own system only.
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, Key("Values"), "Gone"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, Key("Values"), "Stays"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Key("Plain\\Sub")));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Key("Tree")));
    for (const char* flag : {"2", "3", "4", "5"}) {
        const bool gone = std::string(flag) == platform.flagThatDeletes;
        EXPECT_EQ(!gone, KeyExists(HKEY_CURRENT_USER, Key((std::string("F") + flag).c_str()))) << flag;
    }
    // INI keys: the one line each, every other byte the same.
    EXPECT_EQ(ReplaceFirst(kWinIni, "run=\r\nVantoMon=vmon.exe\r\n", "run=\r\n"),
              ReadWholeFile(WindowsDirectory() + "trelun_e2e_win.ini"));
    EXPECT_EQ(ReplaceFirst(kSystemIni, "*vpd\r\nVantoVxd=vvxd.386\r\n", "*vpd\r\n"),
              ReadWholeFile(WindowsDirectory() + "trelun_e2e_system.ini"));
    // Run values.
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kRunKey, "Trelun E2E Monitor"));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kRunKey, "Trelun E2E Other"));
    // Shortcuts: items from both groups and both Startup folders; the group
    // folder of the family (common on NT, the user's on 9x) once empty.
    for (const std::string& folder : {userPrograms, commonPrograms}) {
        EXPECT_FALSE(PathExists(folder + kGroup + "\\Vanto Monitor.lnk")) << folder;
        EXPECT_FALSE(PathExists(folder + kGroup + "\\Vanto E2E Inicio.lnk")) << folder;
    }
    EXPECT_TRUE(PathExists(userPrograms + kGroup + "\\Otro.lnk"));
    EXPECT_EQ(platform.is9x, PathExists(commonPrograms + kGroup));
    for (const std::string& folder : {userStartup, commonStartup})
        EXPECT_FALSE(PathExists(folder + "Vanto E2E Inicio.lnk")) << folder;
    // Files.
    EXPECT_FALSE(PathExists(printerDeep + "trelun_e2e_deep.dll"));
    EXPECT_TRUE(PathExists(printerDeep + "trelun_c\\trelun_e2e_deep.dll"));
    EXPECT_FALSE(PathExists(oem + "x\\y\\z\\trelun_e2e_deep.dll"));
    EXPECT_FALSE(PathExists(oem));
    EXPECT_TRUE(PathExists(folders.Join("trelun_e2e_deep.dll")));
    EXPECT_TRUE(PathExists(outside + "trelun_e2e_deep.dll"));
    // The file in use waits for the restart, which keeps the restart helper.
    const std::string busyPath = SystemDirectory() + "trelun_e2e_busy.dll";
    if (platform.is9x) {
        // By its short name: 9x reads the list before long names exist.
        char shortPath[MAX_PATH] = {};
        ASSERT_NE(0u, GetShortPathNameA(busyPath.c_str(), shortPath, MAX_PATH));
        EXPECT_NE(std::string(shortPath), busyPath);
        EXPECT_NE(std::string::npos,
                  ReadWholeFile(WindowsDirectory() + "WININIT.INI").find(std::string("NUL=") + shortPath + "\r\n"));
    } else
        EXPECT_NE(std::string::npos, PendingRenames().find(busyPath.substr(2)));
    EXPECT_TRUE(PathExists(busyPath));
    EXPECT_TRUE(PathExists(SystemDirectory() + "ZRESTART.EXE"));
    // OEM INF files.
    EXPECT_FALSE(PathExists(inf + "oem9501.inf"));
    EXPECT_FALSE(PathExists(inf + "oem9502.inf"));
    EXPECT_FALSE(PathExists(inf + "oem9502.PNF"));
    EXPECT_TRUE(PathExists(inf + "oem9503.inf"));
    EXPECT_TRUE(PathExists(inf + "oem9504.inf"));
    // The USB device node.
    EXPECT_EQ(0, CountTestDevices(kUsbId));
    // No printer of the package is left: the maker's keys go too.
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO"));
}

INSTANTIATE_TEST_SUITE_P(Families, CleanupScenario,
                         ::testing::Values(Platform{"winxp", false, ""}, Platform{"nt40", false, "4"},
                                           Platform{"win2k", false, "5"}, Platform{"win98", true, "2"},
                                           Platform{"winme", true, "3"}),
                         [](const ::testing::TestParamInfo<Platform>& info) { return std::string(info.param.version); });
