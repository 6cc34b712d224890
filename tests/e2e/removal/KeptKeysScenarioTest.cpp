// Key trees deleted around keys that must stay, on the NT family and on the
// 9x family, whose RegDeleteKeyA takes a key's subkeys with it.
#include "RemovalScenario.h"

namespace {

const char kState[] =
    "[Printer]\nName=Corvel Oficina\nPort=LPT1:\nDriver=TRELUN Corvel PCL\nData.VantoDriver08=1\n"
    "[Printer]\nName=Corvel Sala\nPort=LPT2:\nDriver=TRELUN Corvel PS\nData.VantoDriver08=1\n"
    "[Driver]\nName=TRELUN Corvel PCL\n[Driver]\nName=TRELUN Corvel PS\n";

const char kShared[] = "SOFTWARE\\VANTO\\TrelunShared";

const char kScript[] =
    "[UnPrinterDrivers]\r\n"
    "\"TRELUN Corvel PCL\",VCP,1\r\n"
    "\"TRELUN Corvel PS\",VCS,2\r\n"
    "[VCP.RegistryKeys]\r\n"
    "HKLM,\"SOFTWARE\\VANTO\\TrelunShared\",\"\",1\r\n"
    "[VCS.RegistryKeys]\r\n"
    "HKLM,\"SOFTWARE\\VANTO\\TrelunShared\\PSKeep\",\"\",1\r\n";

class KeptKeysScenario : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kShared, "SharedValue", "1"));
        ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, std::string(kShared) + "\\Other\\Deep", "x", "1"));
        ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, std::string(kShared) + "\\PSKeep\\Sub", "y", "1"));
        ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\ScanSuite\\Settings", "z", "1"));
        ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\OEM01\\ProgramGroups", "g", "1"));
    }
    RemovalOutcome Remove(const std::vector<std::string>& chosen)
    {
        ProgramSandbox sandbox(kState, kScript);
        RemovalRun run;
        run.version = GetParam();
        run.chosen = chosen;
        run.closingAnswer = IDNO;  // 9x asks to restart
        return RunRemoval(sandbox, run);
    }
    const ScopedKeys keys{HKEY_LOCAL_MACHINE,
                          {kShared, "SOFTWARE\\VANTO\\ScanSuite", "SOFTWARE\\VANTO\\OEM01"},
                          "SOFTWARE\\VANTO"};
};

}  // namespace

// The printer that stays names a key inside the tree the chosen one's
// profile deletes: the key stays with its subkeys; the rest of the tree
// goes. The maker's other products and the group key are not touched
// while a printer of the package stays.
TEST_P(KeptKeysScenario, AKeptKeyInsideADeletedTreeStaysWithItsSubkeys)
{
    const RemovalOutcome outcome = Remove({"Corvel Oficina"});
    ASSERT_TRUE(outcome.started);
    EXPECT_EQ(1u, outcome.exitCode);
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, std::string(kShared) + "\\PSKeep\\Sub", "y"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kShared) + "\\Other"));
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kShared, "SharedValue"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\ScanSuite\\Settings"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\OEM01\\ProgramGroups"));
}

// The final clean-up takes the package's keys, and the maker's key only
// once nothing of another product is left in it.
TEST_P(KeptKeysScenario, TheFinalCleanUpLeavesTheMakersOtherProducts)
{
    const RemovalOutcome outcome = Remove({});
    ASSERT_TRUE(outcome.started);
    EXPECT_EQ(1u, outcome.exitCode);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kShared));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\OEM01"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\ScanSuite\\Settings"));
}

INSTANTIATE_TEST_SUITE_P(Families, KeptKeysScenario, ::testing::Values("winxp", "win98"));
