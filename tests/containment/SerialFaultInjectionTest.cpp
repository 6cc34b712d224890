// Faults injected into a full removal: the spooler failing at each call the
// removal depends on, files in use or read-only, missing directories, keys
// and services that cannot be deleted. Each run must complete its sequence,
// end as the removal's rules say, and lose nothing else.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <memory>

#include "ContainmentCheck.h"
#include "Installation.h"
#include "PrefixGuard.h"
#include "RemovalHarness.h"
#include "SimulatedSpooler.h"
#include "StringLoader.h"
#include "TestRegistry.h"
#include "resource.h"

namespace {

using namespace containment;

const char kChosen[] = "VZ Impresora 0";
const char kKept[] = "VZ Impresora 1";
const char kForeign[] = "VZ Ajena 0";
const char kChosenDriver[] = "Vanto L1 PCL";
const char kKeptDriver[] = "Corvel M3";
const char kProcessor[] = "VantoContainProc0";
const char kDriverKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\";

spoolsim::Printer MakePrinter(const std::string& name, const std::string& driver, bool package)
{
    spoolsim::Printer printer;
    printer.name = name;
    printer.port = "LPT1:";
    printer.driver = driver;
    printer.attributes = 0x40;
    if (package)
        printer.data.push_back({"VantoDriver08", "1"});
    return printer;
}

// Two printers of the package, one chosen and one kept, both on the
// package's print processor, and a printer of another maker.
Installation BaseScenario(const Layout& layout)
{
    Installation installation;
    GeneratedProfile chosen;
    chosen.name = kChosenDriver;
    chosen.prefix = "P0";
    chosen.items["Files"] = {"vzf0.dll", "vzf1.dll", "vzf3.drv"};
    chosen.items["RegistryKeys"] = {"HKLM,SOFTWARE\\VANTO\\C0,,1"};
    chosen.items["Services"] = {"VantoContainSvc0", "VantoContainSvc1"};
    chosen.items["Monitors"] = {"Vanto Contain Monitor 0"};
    chosen.items["PrintProcessors"] = {kProcessor};
    GeneratedProfile kept;
    kept.name = kKeptDriver;
    kept.prefix = "P1";
    kept.items["Files"] = {"vzf2.dll"};
    kept.items["RegistryKeys"] = {"HKLM,SOFTWARE\\VANTO\\C1,,1"};
    installation.profiles = {chosen, kept};
    installation.scriptPaths = {layout.driver + "VUNZ__08.unm"};

    spoolsim::Printer first = MakePrinter(kChosen, kChosenDriver, true);
    first.printProcessor = kProcessor;
    first.attributes |= 0x4;
    first.jobs = {{1, "ana", "Informe", 0}, {2, "luis", "Factura", 0}};
    spoolsim::Printer second = MakePrinter(kKept, kKeptDriver, true);
    second.printProcessor = kProcessor;
    installation.spooler.printers = {first, second, MakePrinter(kForeign, "Otra Marca 9", false)};
    for (const char* name : {kChosenDriver, kKeptDriver, "Otra Marca 9"}) {
        spoolsim::Driver driver;
        driver.name = name;
        installation.spooler.drivers.push_back(driver);
        AddRegistryValue(installation.registry, HKEY_LOCAL_MACHINE, std::string(kDriverKey) + name, "Driver",
                         "vzdriver.dll");
    }
    installation.spooler.monitors.push_back({"Vanto Contain Monitor 0", "vzmon.dll", 0});
    spoolsim::PrintProcessor winPrint;
    winPrint.name = "WinPrint";
    spoolsim::PrintProcessor own;
    own.name = kProcessor;
    installation.spooler.processors = {winPrint, own};
    installation.foreignPrinters = {kForeign};
    installation.defaultDevice = std::string(kChosen) + ",winspool,LPT1:";

    for (const std::string& path : {layout.system + "vzf0.dll", layout.driver + "3\\vzf0.dll",
                                    layout.driver + "vzf1.dll", layout.system + "vzf2.dll"})
        installation.files.push_back({path, "package file\r\n"});
    for (const std::string& path : {layout.system + "vzdecoy\\vzf0.dll", layout.decoyRoot + "vzf1.dll"}) {
        installation.files.push_back({path, "decoy\r\n"});
        installation.decoyFiles.push_back(path);
    }
    AddRegistryValue(installation.registry, HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\C0", "Val0", "a");
    AddRegistryValue(installation.registry, HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\C1", "Val0", "b");
    AddRegistryValue(installation.decoyRegistry, HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTOX\\C0", "Val0", "decoy");
    for (const char* printer : {kChosen, kKept, kForeign})
        AddRegistryValue(installation.registry, HKEY_CURRENT_USER, kPerUserPrinterKeys[2], printer, "winspool,LPT1:");
    installation.services = {"VantoContainSvc0"};
    installation.decoyServices = {"OtraContainSvc"};
    return installation;
}

class SerialFaultInjection : public ::testing::Test {
protected:
    SerialFaultInjection() : layout(guard.GetLayout()), installation(BaseScenario(layout)) {}

    // Lays the package down, loads the database and chooses the first printer.
    void InstallAndLoad()
    {
        spooler.reset();  // its destructor clears the state's variable
        spooler.reset(new SimulatedSpooler(spoolsim::FormatState(installation.spooler)));
        Install(installation, layout, std::string());
        ASSERT_FALSE(HasFatalFailure());
        LoadDatabase(database, installation.scriptPaths, false);
        ASSERT_GT(database.printers.Count(), 0);
        for (InstalledPrinter& printer : database.printers)
            printer.excluded = TextEquals(printer.name, kChosen) ? 0 : 1;
        record.selected = {kChosen};
        database.BuildRemovalProfile();
        record.planned.Assign(database.removalProfile);
    }

    // Faults that would already stop the enumeration go in after loading.
    void ChangeSpooler(const std::function<void(spoolsim::State&)>& change)
    {
        spoolsim::State state = spooler->Read();
        change(state);
        spooler->Write(spoolsim::FormatState(state));
    }

    void Remove()
    {
        before = CaptureState(layout, installation, spooler->Read());
        outcome = RunFullRemoval(database);
        after = CaptureState(layout, installation, spooler->Read());
        record.journal = spooler->Journal();
    }

    // The sequence ran to its end and nothing outside the profile changed.
    void ExpectCompletedAndContained()
    {
        EXPECT_TRUE(outcome.finished);
        EXPECT_TRUE(outcome.closeBeforeFinish);
        ASSERT_FALSE(outcome.messages.empty());
        StringLoader strings(GetModuleHandleA(nullptr));
        EXPECT_EQ(strings.GetString(IDS_FINISHED), outcome.messages.back().text);
        const std::vector<std::string> violations =
            CheckContainment(installation, layout, database, record, before, after);
        std::string text;
        for (const std::string& line : violations)
            text += "  " + line + "\n";
        EXPECT_TRUE(violations.empty()) << text;
    }

    const spoolsim::Printer* PrinterAfter(const char* name) const
    {
        for (const spoolsim::Printer& printer : after.spooler.printers) {
            if (SameText(printer.name, name))
                return &printer;
        }
        return nullptr;
    }
    bool DriverAfter(const char* name) const
    {
        for (const spoolsim::Driver& driver : after.spooler.drivers) {
            if (SameText(driver.name, name))
                return true;
        }
        return false;
    }
    bool ProcessorAfter(const char* name) const
    {
        for (const spoolsim::PrintProcessor& processor : after.spooler.processors) {
            if (SameText(processor.name, name))
                return true;
        }
        return false;
    }
    int JournalCount(const std::string& prefix) const
    {
        int count = 0;
        for (const std::string& line : record.journal)
            count += line.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
        return count;
    }
    bool FileAfter(const std::string& path) const { return after.files.count(Lower(path)) > 0; }
    std::string DefaultMessage(const char* printer) const
    {
        StringLoader strings(GetModuleHandleA(nullptr));
        std::string text = strings.GetString(IDS_DEFAULT_REMOVED_NEW);
        const std::size_t mark = text.find("%s");
        return mark == std::string::npos ? text : text.replace(mark, 2, printer);
    }

    PrefixGuard guard;
    const Layout& layout;
    Installation installation;
    std::unique_ptr<SimulatedSpooler> spooler;
    UninstallDatabase database;
    RemovalRecord record;
    SystemState before;
    SystemState after;
    RemovalOutcome outcome;
};

}  // namespace

TEST_F(SerialFaultInjection, WithoutFaultsTheChosenPrinterGoesWithWhatOnlyItNeeded)
{
    InstallAndLoad();
    Remove();
    ExpectCompletedAndContained();
    EXPECT_EQ(nullptr, PrinterAfter(kChosen));
    ASSERT_NE(nullptr, PrinterAfter(kKept));
    EXPECT_EQ("WinPrint", PrinterAfter(kKept)->printProcessor);
    EXPECT_FALSE(ProcessorAfter(kProcessor));
    EXPECT_FALSE(DriverAfter(kChosenDriver));
    EXPECT_TRUE(DriverAfter(kKeptDriver));
    EXPECT_EQ(4, JournalCount("SetJobA|VZ Impresora 0|"));  // each job cancelled, then deleted
    EXPECT_FALSE(FileAfter(layout.system + "vzf0.dll"));
    EXPECT_TRUE(FileAfter(layout.system + "vzf2.dll"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\C0"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\C1"));
    EXPECT_EQ(1, database.restartNeeded);  // a service was marked for deletion
    ASSERT_EQ(2u, outcome.messages.size());
    EXPECT_EQ(DefaultMessage(kForeign), outcome.messages[0].text);
}

TEST_F(SerialFaultInjection, SpoolerNotAnsweringAtEnumerationEndsTheLoadingWithNothingRemoved)
{
    installation.spooler.enumPrintersError = 1722;
    spooler.reset();
    spooler.reset(new SimulatedSpooler(spoolsim::FormatState(installation.spooler)));
    Install(installation, layout, std::string());
    ASSERT_FALSE(HasFatalFailure());
    const SystemState installed = CaptureState(layout, installation, spooler->Read());
    MessageBoxRecorder messages;
    EXPECT_FALSE(LoadDatabase(database, installation.scriptPaths, false));
    EXPECT_EQ(0, database.printers.Count());
    ASSERT_EQ(1u, messages.Messages().size());
    StringLoader strings(GetModuleHandleA(nullptr));
    EXPECT_EQ(strings.GetString(IDS_SPOOLER_NOT_RESPONDING), messages.Messages()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), messages.Messages()[0].style & MB_ICONMASK);
    const SystemState now = CaptureState(layout, installation, spooler->Read());
    EXPECT_TRUE(CompareFiles(installed.files, now.files).removed.empty());
    EXPECT_TRUE(CompareRegistry(installed.registry, now.registry).removedKeys.empty());
    EXPECT_EQ(installed.spooler.printers.size(), now.spooler.printers.size());
    EXPECT_TRUE(spooler->Journal().empty());
}

// The print processor is then spared: nobody can tell whether a printer
// that stays still uses it.
TEST_F(SerialFaultInjection, EnumerationFailingDuringTheRemovalSparesAProcessorInUse)
{
    for (const unsigned long error : {1722ul, 1726ul}) {
        SCOPED_TRACE(error);
        InstallAndLoad();
        ChangeSpooler([error](spoolsim::State& state) {
            if (error == 1722)
                state.enumPrintersError = error;
            else
                state.enumPrintersDataError = error;
        });
        Remove();
        ExpectCompletedAndContained();
        EXPECT_EQ(nullptr, PrinterAfter(kChosen));
        EXPECT_TRUE(ProcessorAfter(kProcessor));
        ASSERT_NE(nullptr, PrinterAfter(kKept));
        EXPECT_EQ(kProcessor, PrinterAfter(kKept)->printProcessor);
        EXPECT_FALSE(DriverAfter(kChosenDriver));
        guard.Sweep();
        database = UninstallDatabase();
        record = RemovalRecord();
    }
}

TEST_F(SerialFaultInjection, ForeignPrinterWhoseLevel2DataFailsIsRecordedAndUntouched)
{
    installation.spooler.printers[2].level2Error = 1784;
    installation.spooler.printers[2].printProcessor = kProcessor;
    InstallAndLoad();
    ASSERT_EQ(3, database.printers.Count());
    const InstalledPrinter& foreign = *std::next(database.printers.begin(), 2);
    EXPECT_STREQ(kForeign, foreign.name);
    EXPECT_EQ(1, foreign.foreign);
    Remove();
    ExpectCompletedAndContained();
    EXPECT_EQ(nullptr, PrinterAfter(kChosen));
    // It cannot be switched away from the processor, so the processor stays.
    ASSERT_NE(nullptr, PrinterAfter(kForeign));
    EXPECT_EQ(kProcessor, PrinterAfter(kForeign)->printProcessor);
    EXPECT_TRUE(ProcessorAfter(kProcessor));
    // It stays, so as the last printer of the list it is the one named to
    // take over the default.
    EXPECT_EQ(DefaultMessage(kForeign), outcome.messages.front().text);
}

// Left out of the list, the kept printer would count as gone: its files and
// keys, and as the last printer of the package the shared items, would go.
TEST_F(SerialFaultInjection, PackagePrinterWhoseLevel2DataFailsStaysWithWhatItNeeds)
{
    installation.spooler.printers[1].level2Error = 1784;
    InstallAndLoad();
    ASSERT_EQ(3, database.printers.Count());
    const InstalledPrinter& kept = *std::next(database.printers.begin(), 1);
    EXPECT_STREQ(kKept, kept.name);
    EXPECT_STREQ(kKeptDriver, kept.driverName);
    EXPECT_EQ(1, kept.excluded);
    EXPECT_FALSE(kept.IsListed());
    EXPECT_EQ(1, database.keptPrinterCount);
    Remove();
    ExpectCompletedAndContained();
    EXPECT_EQ(nullptr, PrinterAfter(kChosen));
    ASSERT_NE(nullptr, PrinterAfter(kKept));
    EXPECT_TRUE(DriverAfter(kKeptDriver));
    EXPECT_TRUE(FileAfter(layout.system + "vzf2.dll"));
    EXPECT_FALSE(FileAfter(layout.system + "vzf0.dll"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\C1"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\C0"));
}

// A driver that stays loads a file whose name the package lists: that copy
// stays, the package's copies elsewhere go.
TEST_F(SerialFaultInjection, FileADriverThatStaysLoadsIsLeftWhateverTheScriptsList)
{
    const std::string shared = layout.driver + "3\\vzf0.dll";
    for (spoolsim::Driver& driver : installation.spooler.drivers) {
        if (driver.name == "Otra Marca 9") {
            driver.driverPath = layout.driver + "3\\otra9.dll";
            driver.dependentFiles = layout.driver + "3\\OTRA9.INI," + shared;
        }
    }
    InstallAndLoad();
    Remove();
    ExpectCompletedAndContained();
    EXPECT_TRUE(FileAfter(shared));
    EXPECT_FALSE(FileAfter(layout.system + "vzf0.dll"));
    EXPECT_FALSE(FileAfter(layout.driver + "vzf1.dll"));
    ASSERT_NE(nullptr, PrinterAfter(kForeign));
}

TEST_F(SerialFaultInjection, NewDefaultPrinterWhoseLevel2DataFailsIsStillAnnounced)
{
    InstallAndLoad();
    ChangeSpooler([](spoolsim::State& state) { state.FindPrinter(kForeign)->level2Error = 1784; });
    Remove();
    ExpectCompletedAndContained();
    EXPECT_EQ(nullptr, PrinterAfter(kChosen));
    for (const spoolsim::Printer& printer : after.spooler.printers)
        EXPECT_EQ(0ul, printer.attributes & 0x4) << printer.name;
    EXPECT_EQ(DefaultMessage(kForeign), outcome.messages.front().text);
    // Not made the default, so its record is not marked as one either.
    for (const InstalledPrinter& printer : database.printers) {
        if (TextEquals(printer.name, kForeign)) {
            EXPECT_EQ(0, printer.isDefault);
        }
    }
}

// A printer the spooler will not open or delete is still there: it stays
// with what it needs (its driver is not even asked for) and its keys.
TEST_F(SerialFaultInjection, PrinterThatCannotBeOpenedStaysWithItsQueueAndDriver)
{
    InstallAndLoad();
    ChangeSpooler([](spoolsim::State& state) { state.FindPrinter(kChosen)->openError = 5; });
    record.survivors = {Lower(kChosen)};
    Remove();
    ExpectCompletedAndContained();
    const spoolsim::Printer* printer = PrinterAfter(kChosen);
    ASSERT_NE(nullptr, printer);
    EXPECT_EQ(2u, printer->jobs.size());
    EXPECT_EQ(0, JournalCount("DeletePrinter|"));
    EXPECT_EQ(0, JournalCount("SetJobA|"));
    EXPECT_EQ(0, database.printers.begin()->removed);
    EXPECT_EQ(1, database.printers.begin()->excluded);
    // Not deleted, so the default stays where it was and nobody is told.
    EXPECT_EQ(1u, outcome.messages.size());
    EXPECT_TRUE(DriverAfter(kChosenDriver));
    EXPECT_EQ(0, JournalCount("DeletePrinterDriverA|(null)|(null)|Vanto L1 PCL|"));
}

TEST_F(SerialFaultInjection, PrinterTheSpoolerRefusesToDeleteStaysWithoutItsQueue)
{
    InstallAndLoad();
    ChangeSpooler([](spoolsim::State& state) { state.FindPrinter(kChosen)->deleteError = 5; });
    record.survivors = {Lower(kChosen)};
    Remove();
    ExpectCompletedAndContained();
    const spoolsim::Printer* printer = PrinterAfter(kChosen);
    ASSERT_NE(nullptr, printer);
    EXPECT_TRUE(printer->jobs.empty());
    EXPECT_EQ(1, JournalCount("DeletePrinter|VZ Impresora 0|error 5"));
    EXPECT_EQ(0, database.printers.begin()->removed);
    EXPECT_EQ(1u, outcome.messages.size());
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kPerUserPrinterKeys[2], kChosen)) << "still its own";
    EXPECT_TRUE(DriverAfter(kChosenDriver));
}

TEST_F(SerialFaultInjection, DriverTheSpoolerRefusesToDeleteStaysInstalled)
{
    installation.spooler.drivers[0].deleteError = 5;
    InstallAndLoad();
    Remove();
    ExpectCompletedAndContained();
    EXPECT_EQ(nullptr, PrinterAfter(kChosen));
    EXPECT_TRUE(DriverAfter(kChosenDriver));
    EXPECT_EQ(1, JournalCount("DeletePrinterDriverA|(null)|(null)|Vanto L1 PCL|error 5"));
    EXPECT_TRUE(DriverAfter(kKeptDriver));
}

TEST_F(SerialFaultInjection, FileInUseIsLeftForTheRestart)
{
    installation.profiles[0].items.erase("Services");  // they would ask for the restart too
    InstallAndLoad();
    EXPECT_EQ(0, database.restartNeeded);
    const std::string path = layout.driver + "vzf1.dll";
    HANDLE inUse =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, inUse);
    Remove();
    CloseHandle(inUse);
    ExpectCompletedAndContained();
    EXPECT_TRUE(FileAfter(path));
    EXPECT_FALSE(FileAfter(layout.system + "vzf0.dll"));
    EXPECT_EQ(1, database.restartNeeded);
    const std::string pending = ReadRegistryValue(
        HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", "PendingFileRenameOperations");
    EXPECT_NE(std::string::npos, Lower(pending).find(Lower(path)));
    EXPECT_EQ(0, outcome.restartRequests);
}

TEST_F(SerialFaultInjection, ReadOnlyFileIsLeftForTheRestart)
{
    installation.profiles[0].items.erase("Services");
    InstallAndLoad();
    const std::string path = layout.system + "vzf0.dll";
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    Remove();
    ExpectCompletedAndContained();
    EXPECT_TRUE(FileAfter(path));
    EXPECT_FALSE(FileAfter(layout.driver + "3\\vzf0.dll"));
    EXPECT_EQ(1, database.restartNeeded);
    const std::string pending = ReadRegistryValue(
        HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", "PendingFileRenameOperations");
    EXPECT_NE(std::string::npos, Lower(pending).find(Lower(path)));
}

TEST_F(SerialFaultInjection, MissingDirectoriesAreNoObstacle)
{
    const std::string missing = layout.oemRoot + "Missing";
    const std::string present = layout.oemRoot + "Drivers\\";
    installation.oemPathValues = {missing, present};
    for (std::size_t i = 0; i < installation.oemPathValues.size(); ++i)
        AddRegistryValue(installation.registry, HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\OEM01\\OEMPaths",
                         "Path" + std::to_string(i), installation.oemPathValues[i]);
    installation.files.push_back({present + "a\\vzf3.drv", "package file\r\n"});
    installation.profiles[0].items["Shortcuts"] = {"\"Vanto Contain G1\",\"VZItem0\",STARTUP", "\"Vanto Contain G1\","};
    InstallAndLoad();
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(missing.c_str()));
    Remove();
    ExpectCompletedAndContained();
    EXPECT_FALSE(FileAfter(present + "a\\vzf3.drv"));
    // Emptied, the package's own directory goes too.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(present.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(missing.c_str()));
}

TEST_F(SerialFaultInjection, KeysThatCannotBeDeletedStayWhileTheOtherLinesApply)
{
    // A key alone cannot be deleted while it has subkeys; a tree keeps the
    // key a printer that stays names, and with it its parent.
    installation.profiles[0].items["RegistryKeys"] = {"HKLM,SOFTWARE\\VANTO\\C2,", "HKLM,SOFTWARE\\VANTO\\C1,,1",
                                                      "HKLM,SOFTWARE\\VANTO\\C0,,1"};
    installation.profiles[1].items["RegistryKeys"] = {"HKLM,SOFTWARE\\VANTO\\C1\\Kept,,1"};
    AddRegistryValue(installation.registry, HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\C2", "Val0", "c");
    AddRegistryValue(installation.registry, HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\C2\\Sub", "Val0", "d");
    AddRegistryValue(installation.registry, HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\C1\\Kept", "Val0", "e");
    AddRegistryValue(installation.registry, HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\C1\\Other", "Val0", "f");
    InstallAndLoad();
    Remove();
    ExpectCompletedAndContained();
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\C2", "Val0"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\C2\\Sub"));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\C1\\Kept", "Val0"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\C1\\Other"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\C0"));
}

TEST_F(SerialFaultInjection, ServiceAlreadyMarkedForDeletionOrMissing)
{
    InstallAndLoad();
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    ASSERT_NE(nullptr, manager);
    SC_HANDLE held = OpenServiceA(manager, "VantoContainSvc0", SERVICE_ALL_ACCESS);
    ASSERT_NE(nullptr, held);
    ASSERT_TRUE(DeleteService(held));
    Remove();
    EXPECT_TRUE(SnapshotServices({"VantoContainSvc0"}).count("VantoContainSvc0"));
    CloseServiceHandle(held);
    CloseServiceHandle(manager);
    ExpectCompletedAndContained();
    // Marked for deletion counts as done, and asks for the restart.
    EXPECT_EQ(1, database.restartNeeded);
    // It goes once the last handle is closed.
    for (int i = 0; i < 100 && !SnapshotServices({"VantoContainSvc0"}).empty(); ++i)
        Sleep(20);
    EXPECT_TRUE(SnapshotServices({"VantoContainSvc0"}).empty());
    EXPECT_TRUE(SnapshotServices({"OtraContainSvc"}).count("OtraContainSvc"));
}
