// The package on 64-bit Windows, installed for both architectures, removed
// as deployed: the 32-bit trelun08.exe is started and hands the run to
// x64\trelun08.exe, which works with the 64-bit simulator.
#include "RemovalScenario.h"
#include "TestDevices.h"
#include "resource.h"

namespace {

const char kState[] =
    "[Printer]\nName=Corvel Oficina\nPort=LPT1:\nDriver=VANTO Corvel PCL\nData.VantoDriver08=1\n"
    "[Printer]\nName=Corvel Pasillo\nPort=LPT3:\nDriver=VANTO Corvel PS\nData.VantoDriver08=1\n"
    "[Printer]\nName=Ajena\nPort=LPT2:\nDriver=Otro\n"
    "[Driver]\nName=VANTO Corvel PCL\n[Driver]\nName=VANTO Corvel PCL\nEnvironment=Windows NT x86\n"
    "[Driver]\nName=VANTO Corvel PS\n[Driver]\nName=VANTO Corvel PS\nEnvironment=Windows NT x86\n"
    "[Driver]\nName=Otro\n[Driver]\nName=Otro\nEnvironment=Windows NT x86\n";

const char kScript[] =
    "[UnPrinterDrivers]\r\n\"VANTO Corvel PCL\",VCP,1\r\n\"VANTO Corvel PS\",VCS,2\r\n"
    "[VCP.Files]\r\nvwow_pcl.dll\r\nvwow_common.dll\r\n"
    "[VCS.Files]\r\nvwow_ps.dll\r\nvwow_common.dll\r\n"
    "[VCP.RegistryKeys]\r\nHKLM,\"SOFTWARE\\VantoWow\\PCL\",\"\",1\r\nHKLM,\"SOFTWARE\\VantoWow\\Common\",\"\",1\r\n"
    "[VCS.RegistryKeys]\r\nHKLM,\"SOFTWARE\\VantoWow\\PS\",\"\",1\r\nHKLM,\"SOFTWARE\\VantoWow\\Common\",\"\",1\r\n"
    "[Strings]\r\nHARDWARE_ID_1=USB\\VID_1A2B&PID_6464\r\nUSB_VID=6699\r\nUSB_PID=25700\r\n";

const char* const kPackageFiles[] = {"vwow_pcl.dll", "vwow_ps.dll", "vwow_common.dll"};
const char kForeignFile[] = "otro_wow.dll";
const char* const kPackageKeys[] = {"VantoWow\\PCL", "VantoWow\\PS", "VantoWow\\Common"};
const char kForeignKey[] = "OtroFabricanteWow";
const char* const kDevices[] = {"USB\\VID_1A2B&PID_6464", "USB\\VID_1A2B&PID_9999"};

// Both system directories and both drivers' directories of the spooler.
std::vector<std::string> PackageDirectories()
{
    const std::string system = SystemDirectory();
    char wow64[MAX_PATH] = {};
    const UINT length = GetSystemWow64DirectoryA(wow64, MAX_PATH);
    EXPECT_TRUE(length > 0 && length < MAX_PATH);
    return {system, std::string(wow64) + "\\", system + "spool\\drivers\\x64\\3\\",
            system + "spool\\drivers\\w32x86\\3\\"};
}

// HKLM\SOFTWARE in one registry view.
class SoftwareKey {
public:
    explicit SoftwareKey(REGSAM view)
    {
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_ALL_ACCESS | view, &key);
    }
    ~SoftwareKey()
    {
        if (key)
            RegCloseKey(key);
    }
    SoftwareKey(const SoftwareKey&) = delete;
    SoftwareKey& operator=(const SoftwareKey&) = delete;
    HKEY Handle() const { return key; }

private:
    HKEY key = nullptr;
};

class Wow64Scenario : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, view64.Handle());
        ASSERT_NE(nullptr, view32.Handle());
        CleanUp();
        for (const std::string& directory : PackageDirectories()) {
            for (const char* file : kPackageFiles)
                ASSERT_TRUE(PutFile(directory + file)) << directory << file;
            ASSERT_TRUE(PutFile(directory + kForeignFile));
        }
        for (const SoftwareKey* view : {&view64, &view32}) {
            for (const char* key : kPackageKeys)
                ASSERT_TRUE(SetText(view->Handle(), key, "v", "1"));
            ASSERT_TRUE(SetText(view->Handle(), kForeignKey, "v", "1"));
        }
        for (const char* device : kDevices)
            ASSERT_TRUE(CreateTestDevice(device)) << device;
        // The premise: each view has keys of its own.
        ASSERT_TRUE(MakeKey(view64.Handle(), "VantoWow\\Only64"));
        ASSERT_FALSE(KeyExists(view32.Handle(), "VantoWow\\Only64"));
        RemoveKeyTree(view64.Handle(), "VantoWow\\Only64");
    }
    void TearDown() override { CleanUp(); }
    void CleanUp()
    {
        for (const std::string& directory : PackageDirectories()) {
            for (const char* file : kPackageFiles)
                DeleteFileA((directory + file).c_str());
            DeleteFileA((directory + kForeignFile).c_str());
        }
        for (const SoftwareKey* view : {&view64, &view32}) {
            RemoveKeyTree(view->Handle(), "VantoWow");
            RemoveKeyTree(view->Handle(), kForeignKey);
        }
        for (const char* device : kDevices)
            CountTestDevices(device, true);
    }
    static std::vector<std::string> Environments(const spoolsim::State& state, const std::string& driver)
    {
        std::vector<std::string> environments;
        for (const auto& d : state.drivers) {
            if (d.name == driver)
                environments.push_back(d.environment.empty() ? "Windows x64" : d.environment);
        }
        return environments;
    }

    SoftwareKey view64{KEY_WOW64_64KEY};
    SoftwareKey view32{KEY_WOW64_32KEY};
};

}  // namespace

// One printer of two goes: its x64 and x86 drivers, the files and keys only
// it needs in both system and driver directories and both registry views,
// the package's USB node (removed natively: the 32-bit Setup API may not);
// what the printer that stays needs stays everywhere, and nothing of the
// other maker changes. The interactive run's exit code, 1, comes back
// through the hand-over.
TEST_F(Wow64Scenario, ThirtyTwoBitEntryRemovesBothArchitecturesAndKeepsWhatAStayingPrinterNeeds)
{
    ProgramSandbox sandbox(kState, kScript);
    RemovalRun run;
    run.version = nullptr;
    run.chosen = {"Corvel Oficina"};
    run.screenshotName = "wow64_removal";
    const RemovalOutcome outcome = RunRemoval(sandbox, run);
    ASSERT_TRUE(outcome.started);
    EXPECT_EQ((std::vector<std::string>{kFinishedText}), Texts(outcome));
    EXPECT_EQ(1u, outcome.exitCode);

    const spoolsim::State state = sandbox.Spooler().Read();
    EXPECT_EQ((std::vector<std::string>{"Corvel Pasillo", "Ajena"}), PrinterNames(state));
    EXPECT_TRUE(Environments(state, "VANTO Corvel PCL").empty());
    const std::vector<std::string> both = {"Windows x64", "Windows NT x86"};
    EXPECT_EQ(both, Environments(state, "VANTO Corvel PS"));
    EXPECT_EQ(both, Environments(state, "Otro"));

    for (const std::string& directory : PackageDirectories()) {
        EXPECT_FALSE(PathExists(directory + "vwow_pcl.dll")) << directory;
        EXPECT_TRUE(PathExists(directory + "vwow_ps.dll")) << directory;
        EXPECT_TRUE(PathExists(directory + "vwow_common.dll")) << directory;
        EXPECT_TRUE(PathExists(directory + kForeignFile)) << directory;
    }
    for (const SoftwareKey* view : {&view64, &view32}) {
        const char* name = view == &view64 ? "64-bit view" : "32-bit view";
        EXPECT_FALSE(KeyExists(view->Handle(), "VantoWow\\PCL")) << name;
        EXPECT_TRUE(ValueExists(view->Handle(), "VantoWow\\PS", "v")) << name;
        EXPECT_TRUE(ValueExists(view->Handle(), "VantoWow\\Common", "v")) << name;
        EXPECT_TRUE(ValueExists(view->Handle(), kForeignKey, "v")) << name;
    }
    EXPECT_EQ(0, CountTestDevices(kDevices[0]));
    EXPECT_EQ(1, CountTestDevices(kDevices[1]));
}

// A second start through the 32-bit program finds the 64-bit one already
// running: it brings that window forward and ends with 0. Closing the
// first ends it with 1, passed through its own 32-bit program.
TEST(Wow64Program, SecondStartThroughTheEntryPointFindsTheRunningCopy)
{
    ProgramSandbox first(kState, kScript);
    ASSERT_TRUE(first.Start());
    HWND main = first.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(main) != FALSE; }, 5000));

    ProgramSandbox second(kState, kScript);
    ASSERT_TRUE(second.Start());
    EXPECT_EQ(0u, second.Driver().WaitForExit(30000));
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(main) && IsWindowVisible(main); }, 5000));

    UiDriver::Click(main, IDC_EXIT);
    EXPECT_EQ(1u, first.Driver().WaitForExit(10000));
    EXPECT_EQ(3u, first.Spooler().Read().printers.size());
}
