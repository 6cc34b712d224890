// Steps 4 to 6: drivers (who still needs them, the registry lines, the OEM
// INF), port monitors and print processors, per spooler environment.
#include "RemovalFixture.h"

#include "TestPaths.h"

namespace {

const char kNtDrivers[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\";

std::vector<std::string> NtLines(const std::string& environment, const std::string& driver)
{
    std::vector<std::string> lines;
    for (int version = 0; version < 4; ++version)
        lines.push_back("HKLM,\"" + std::string(kNtDrivers) + environment + "\\Drivers\\Version-" +
                        std::to_string(version) + "\\" + driver + "\",\"\",0");
    return lines;
}

TextList Sorted(TextList list)
{
    SortTextList(list);
    return list;
}

TextList Joined(std::initializer_list<std::vector<std::string>> parts)
{
    TextList all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return Sorted(all);
}

}  // namespace

// Chosen printers A (driver Uno) and B (Dos) are gone; C stays and shares
// Dos; the foreign F uses Ajeno, which the profile names too.
TEST_F(RemovalTest, DriversStillUsedByAPrinterThatStaysAreSpared)
{
    spooler.Write("[Printer]\nName=C\nDriver=TRELUN Dos\n[Printer]\nName=F\nDriver=TRELUN Ajeno\n"
                  "[Driver]\nName=TRELUN Uno\n[Driver]\nName=TRELUN Dos\n[Driver]\nName=TRELUN Ajeno\n"
                  "[Driver]\nName=TRELUN Perfil\n[Driver]\nName=TRELUN Suelto\n");
    AddRecord("A", "TRELUN Uno", true).removed = 1;
    AddRecord("B", "TRELUN Dos", true).removed = 1;
    AddRecord("C", "TRELUN Dos", false);
    AddRecord("F", "TRELUN Ajeno", true).foreign = 1;
    database.removalProfile.drivers = {"TRELUN Ajeno", "TRELUN Perfil"};
    removal.removeDrivers(nullptr);

    EXPECT_EQ((std::vector<std::string>{"DeletePrinterDriverA|(null)|(null)|TRELUN Uno|ok",
                                        "DeletePrinterDriverA|(null)|(null)|TRELUN Perfil|ok"}),
              Journal());
    EXPECT_EQ(Joined({NtLines("Windows NT x86", "TRELUN Uno"), NtLines("Windows NT x86", "TRELUN Perfil")}),
              Sorted(database.removalProfile.registryKeys));
}

// A chosen printer whose deletion failed is still installed: its driver
// keeps its registry keys.
TEST_F(RemovalTest, DriverOfAChosenPrinterThatCouldNotBeDeletedIsSpared)
{
    spooler.Write("[Printer]\nName=Terca\nDriver=TRELUN Terco\n[Driver]\nName=TRELUN Terco\n");
    AddRecord("Terca", "TRELUN Terco", true);
    database.removalProfile.drivers = {"TRELUN Terco"};
    removal.removeDrivers(nullptr);
    EXPECT_TRUE(Journal().empty());
    EXPECT_TRUE(database.removalProfile.registryKeys.empty());
}

// The printer was deleted but still drains a job: the spooler refuses the
// driver, which then keeps its keys; where it went, its keys go.
TEST_F(RemovalTest, DriverTheSpoolerRefusesKeepsItsLines)
{
    spooler.Write("[Printer]\nName=Vaciando\nDriver=TRELUN Uno\nPendingDeletion=1\nJob=7,0,ana,x\n"
                  "[Driver]\nName=TRELUN Uno\n[Driver]\nName=TRELUN Uno\nEnvironment=Windows 4.0\nVersion=0\n");
    AddRecord("Vaciando", "TRELUN Uno", true).removed = 1;
    removal.removeDrivers(nullptr);
    removal.removeDrivers("Windows NT x86");
    removal.removeDrivers("Windows 4.0");
    EXPECT_EQ((std::vector<std::string>{"DeletePrinterDriverA|(null)|(null)|TRELUN Uno|error 3001",
                                        "DeletePrinterDriverA|(null)|Windows NT x86|TRELUN Uno|error 3001",
                                        "DeletePrinterDriverA|(null)|Windows 4.0|TRELUN Uno|ok"}),
              Journal());
    TextList lines = database.removalProfile.registryKeys;
    SortTextList(lines);
    EXPECT_EQ(NtLines("Windows 4.0", "TRELUN Uno"), lines);
}

TEST_F(RemovalTest, Windows9xQueuesOneDriverKey)
{
    UseSystem(kWin98);
    spooler.Write("[Spooler]\nEnvironment=Windows 4.0\n[Driver]\nName=TRELUN Uno\n");
    database.removalProfile.drivers = {"TRELUN Uno"};
    removal.removeDrivers(nullptr);
    EXPECT_EQ((TextList{"HKLM,\"System\\CurrentControlSet\\control\\Print\\Environments\\Windows 4.0\\Drivers\\"
                        "TRELUN Uno\",\"\",0"}),
              database.removalProfile.registryKeys);
}

// A comma in a driver name would split its line into other fields: the line
// could name another driver's key. The driver still goes.
TEST_F(RemovalTest, DriverNameWithACommaQueuesNoLines)
{
    spooler.Write("[Driver]\nName=TRELUN,\"\",0\n");
    database.removalProfile.drivers = {"TRELUN,\"\",0"};
    removal.removeDrivers(nullptr);
    EXPECT_EQ((std::vector<std::string>{"DeletePrinterDriverA|(null)|(null)|TRELUN,\"\",0|ok"}), Journal());
    EXPECT_TRUE(database.removalProfile.registryKeys.empty());
}

// "(PSCRIPT)" drivers go with the utility, unless a printer of that name
// exists; without the utility only the profile decides.
TEST_F(RemovalTest, PostScriptDriversGoOnlyWithTheUtility)
{
    const std::string state = "[Printer]\nName=Otro (PSCRIPT)\nDriver=TRELUN Dos\n"
                              "[Driver]\nName=Vanto (PSCRIPT)\n[Driver]\nName=Otro (PSCRIPT)\n"
                              "[Driver]\nName=Minus (pscript)\n[Driver]\nName=TRELUN Dos\n";
    spooler.Write(state);
    database.utilityNotTargeted = 1;
    removal.removeDrivers(nullptr);
    EXPECT_TRUE(Journal().empty());

    database.utilityNotTargeted = 0;
    removal.removeDrivers(nullptr);
    EXPECT_EQ((std::vector<std::string>{"DeletePrinterDriverA|(null)|(null)|Vanto (PSCRIPT)|ok"}), Journal());
}

namespace {

std::string InfDirectory() { return WindowsDirectory() + "inf\\"; }

class OemInfOfDrivers : public RemovalTest {
protected:
    void TearDown() override
    {
        for (const char* name : {"oem9301.inf", "oem9302.inf", "oem9303.inf"})
            DeleteFileA((InfDirectory() + name).c_str());
        RemovalTest::TearDown();
    }
    static void Inf(const char* name, const char* printerName)
    {
        ASSERT_TRUE(WriteWholeFile(InfDirectory() + name,
                                   std::string("[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\n"
                                               "[Strings]\r\nPrinterName1=\"") +
                                       printerName + "\"\r\n"));
    }
};

}  // namespace

TEST_F(OemInfOfDrivers, RemovedDriverTakesItsOwnInfOnceGoneEverywhere)
{
    Inf("oem9301.inf", "TRELUN Inf Uno");
    Inf("oem9302.inf", "TRELUN Inf Dos");
    Inf("oem9303.inf", "TRELUN Inf Uno PCL");  // another driver's
    spooler.Write("[Printer]\nName=Queda\nDriver=TRELUN Inf Dos\n"
                  "[Driver]\nName=TRELUN Inf Uno\n[Driver]\nName=TRELUN Inf Dos\n"
                  "[Driver]\nName=TRELUN Inf Uno\nEnvironment=Windows 4.0\nVersion=0\n");
    AddRecord("Queda", "TRELUN Inf Dos", false);
    database.removalProfile.drivers = {"TRELUN Inf Uno", "TRELUN Inf Dos"};
    removal.removeDrivers(nullptr);
    EXPECT_TRUE(PathExists(InfDirectory() + "oem9301.inf")) << "still installed for Windows 4.0";
    removal.removeDrivers("Windows 4.0");
    EXPECT_FALSE(PathExists(InfDirectory() + "oem9301.inf"));
    EXPECT_TRUE(PathExists(InfDirectory() + "oem9302.inf"));
    EXPECT_TRUE(PathExists(InfDirectory() + "oem9303.inf"));
}

namespace {

const char kMonitors[] = "System\\CurrentControlSet\\control\\Print\\Monitors\\";

// Serial: the tests share machine-wide registry keys.
class SerialMonitorKeys : public RemovalTest {
protected:
    void SetUp() override
    {
        RemovalTest::SetUp();
        ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, std::string(kMonitors) + "Trelun Mon"));
        ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, std::string(kMonitors) + "Trelun Mon Dos\\Ports"));
    }
    const ScopedKeys monitorKeys{HKEY_LOCAL_MACHINE,
                                 {std::string(kMonitors) + "Trelun Mon", std::string(kMonitors) + "Trelun Mon Dos"}};
};

}  // namespace

TEST_F(SerialMonitorKeys, MonitorsAndTheirKeysGoWithoutATestForUse)
{
    spooler.Write("[Monitor]\nName=Trelun Mon\n[Monitor]\nName=Trelun Mon Dos\n");
    database.removalProfile.monitors = {"Trelun Mon", "Trelun Mon Dos"};
    removal.removeMonitors(nullptr, "Windows 4.0");
    EXPECT_EQ((std::vector<std::string>{"DeleteMonitorA|(null)|Windows 4.0|Trelun Mon|ok",
                                        "DeleteMonitorA|(null)|Windows 4.0|Trelun Mon Dos|ok"}),
              Journal());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kMonitors) + "Trelun Mon"));
    // RegDeleteKeyA: a key with subkeys stays on NT.
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kMonitors) + "Trelun Mon Dos\\Ports"));
}

TEST_F(SerialMonitorKeys, Win32sLeavesTheRegistryAlone)
{
    UseSystem(kWin32s);
    database.removalProfile.monitors = {"Trelun Mon"};
    removal.removeMonitors(nullptr, nullptr);
    EXPECT_EQ((std::vector<std::string>{"DeleteMonitorA|(null)|(null)|Trelun Mon|error 3000"}), Journal());
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kMonitors) + "Trelun Mon"));
}

// A monitor name that is not a key name would delete another key.
TEST_F(SerialMonitorKeys, NamesThatAreNotKeyNamesLeaveTheKeysAlone)
{
    database.removalProfile.monitors = {"", "  ", "Trelun Mon Dos\\Ports", "\\"};
    removal.removeMonitors(nullptr, nullptr);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kMonitors) + "Trelun Mon Dos\\Ports"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kMonitors) + "Trelun Mon"));
}

namespace {

const char kProcessorsNT[] = "System\\CurrentControlSet\\control\\Print\\Environments\\Windows NT x86\\Print Processors\\";
const char kProcessors40[] = "System\\CurrentControlSet\\control\\Print\\Environments\\Windows 4.0\\Print Processors\\";

// Serial: the tests share machine-wide registry keys.
class SerialProcessorKeys : public RemovalTest {
protected:
    void SetUp() override
    {
        RemovalTest::SetUp();
        for (const char* base : {kProcessorsNT, kProcessors40}) {
            for (const char* name : {"Trelun ProcA", "Trelun ProcB", "Trelun ProcC"})
                ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, std::string(base) + name));
        }
    }
    void TearDown() override
    {
        for (const char* base : {kProcessorsNT, kProcessors40}) {
            for (const char* name : {"Trelun ProcA", "Trelun ProcB", "Trelun ProcC"})
                RemoveKeyTree(HKEY_LOCAL_MACHINE, std::string(base) + name);
        }
        RemovalTest::TearDown();
    }
    static std::string Printer(const spoolsim::State& state, const char* name)
    {
        for (const auto& printer : state.printers) {
            if (printer.name == name)
                return printer.printProcessor + "/" + printer.datatype;
        }
        return "(none)";
    }
};

}  // namespace

TEST_F(SerialProcessorKeys, ProcessorInUseIsSwitchedAwayFromOrSpared)
{
    spooler.Write("[Printer]\nName=Queda\nDriver=D\nPrintProcessor=Trelun ProcA\nDatatype=NT EMF 1.008\n"
                  "[Printer]\nName=Fija\nDriver=D\nPrintProcessor=Trelun ProcB\nSetError=5\n"
                  "[Printer]\nName=Libre\nDriver=D\n"
                  "[Driver]\nName=D\n[PrintProcessor]\nName=WinPrint\n[PrintProcessor]\nName=Trelun ProcA\n"
                  "[PrintProcessor]\nName=Trelun ProcB\n[PrintProcessor]\nName=Trelun ProcC\n");
    database.removalProfile.printProcessors = {"Trelun ProcA", "Trelun ProcB"};
    removal.removePrintProcessors(nullptr, nullptr);

    const spoolsim::State state = spooler.Read();
    EXPECT_EQ("WinPrint/RAW", Printer(state, "Queda"));
    EXPECT_EQ("Trelun ProcB/RAW", Printer(state, "Fija"));
    EXPECT_EQ((std::vector<std::string>{"DeletePrintProcessorA|(null)|(null)|Trelun ProcA|ok"}),
              JournalStarting("DeletePrintProcessorA"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kProcessorsNT) + "Trelun ProcA"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kProcessorsNT) + "Trelun ProcB"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kProcessorsNT) + "Trelun ProcC"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kProcessors40) + "Trelun ProcA"));
}

TEST_F(SerialProcessorKeys, KeyOfTheEnvironmentOfThePass)
{
    const std::string state = "[PrintProcessor]\nName=Trelun ProcA\nEnvironment=Windows 4.0\n"
                              "[PrintProcessor]\nName=Trelun ProcA\n";
    spooler.Write(state);
    database.removalProfile.printProcessors = {"Trelun ProcA"};
    removal.removePrintProcessors(nullptr, "Windows 4.0");
    EXPECT_EQ((std::vector<std::string>{"DeletePrintProcessorA|(null)|Windows 4.0|Trelun ProcA|ok"}), Journal());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kProcessors40) + "Trelun ProcA"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kProcessorsNT) + "Trelun ProcA"));

    // Windows 9x has one environment and one key.
    UseSystem(kWin98);
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, std::string(kProcessors40) + "Trelun ProcA"));
    spooler.Write(state);
    removal.removePrintProcessors(nullptr, nullptr);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kProcessors40) + "Trelun ProcA"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kProcessorsNT) + "Trelun ProcA"));
}
