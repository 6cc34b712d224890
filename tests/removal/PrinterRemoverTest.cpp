// The printer step: connections, local printers with their jobs, the
// class-key clean-up, per-user values, queued registry lines, the USB device
// of the package and the default-printer messages.
#include "RemovalFixture.h"

#include <winspool.h>

#include <algorithm>

#include "DirectoryPaths.h"
#include "ProductText.h"
#include "TempDir.h"
#include "TestDevices.h"
#include "TestPaths.h"
#include "resource.h"

namespace {

const std::string kCaption = ProductText(IDS_CAPTION);
const std::string kNoPrinterLeft = ProductText(IDS_DEFAULT_REMOVED_NONE);

std::string NewDefaultText(const std::string& name) { return ProductText(IDS_DEFAULT_REMOVED_NEW, name); }

std::string JobLines(int count, int firstId)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "Job=" + std::to_string(firstId + i) + ",0,ana,Doc " + std::to_string(i) + "\n";
    return text;
}

const char* const kPerUserKeys[] = {
    "Printers\\DevModes2",
    "Printers\\Settings",
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Devices",
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\PrinterPorts",
};

void DeletePerUserValue(const char* printer)
{
    for (const char* path : kPerUserKeys) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, printer);
            RegCloseKey(key);
        }
    }
}

}  // namespace

TEST_F(RemovalTest, ConnectionIsDeletedAsAConnectionOnly)
{
    spooler.Write("[Printer]\nName=\\\\HOST\\Tinta\nServer=\\\\HOST\nDriver=VANTO Tinta\n"
                  "[Printer]\nName=\\\\HOST\\Roto\nServer=\\\\HOST\nDriver=VANTO Tinta\nDeleteError=5\n");
    InstalledPrinter& ink = AddRecord("\\\\HOST\\Tinta", "VANTO Tinta", true, "\\\\HOST");
    InstalledPrinter& broken = AddRecord("\\\\HOST\\Roto", "VANTO Tinta", true, "\\\\HOST");
    MessageBoxRecorder boxes;
    removal.removePrinters();

    EXPECT_EQ((std::vector<std::string>{"DeletePrinterConnectionA|\\\\HOST\\Tinta|ok",
                                        "DeletePrinterConnectionA|\\\\HOST\\Roto|error 5"}),
              Journal());
    EXPECT_EQ(1, ink.removed);
    EXPECT_EQ(0, broken.removed);
    EXPECT_TRUE(database.removalProfile.registryKeys.empty());
    EXPECT_TRUE(boxes.Messages().empty());
}

TEST_F(RemovalTest, QueuedJobsAreCancelledAndDeletedBeforeThePrinter)
{
    spooler.Write("[Printer]\nName=Corvel Diez\nPort=LPT1:\nDriver=VANTO Corvel\n" + JobLines(10, 40) +
                  "[Printer]\nName=Corvel Lleno\nPort=LPT2:\nDriver=VANTO Corvel\n" + JobLines(103, 500));
    InstalledPrinter& ten = AddRecord("Corvel Diez", "VANTO Corvel", true);
    InstalledPrinter& full = AddRecord("Corvel Lleno", "VANTO Corvel", true);
    removal.removePrinters();

    std::vector<std::string> expected;
    for (int id = 40; id < 50; ++id) {
        expected.push_back("SetJobA|Corvel Diez|" + std::to_string(id) + "|0|CANCEL|ok");
        expected.push_back("SetJobA|Corvel Diez|" + std::to_string(id) + "|0|DELETE|error 87");
    }
    expected.push_back("DeletePrinter|Corvel Diez|ok");
    const std::vector<std::string> journal = Journal();
    ASSERT_GE(journal.size(), expected.size());
    EXPECT_EQ(expected, std::vector<std::string>(journal.begin(), journal.begin() + expected.size()));
    EXPECT_EQ(1, ten.removed);

    // Only the first hundred jobs of a queue are handled: the printer is
    // marked for deletion and goes when its last three jobs are gone.
    EXPECT_EQ(100u, JournalStarting("SetJobA|Corvel Lleno|").size() / 2);
    EXPECT_EQ("DeletePrinter|Corvel Lleno|ok", journal.back());
    EXPECT_EQ(1, full.removed);
    const spoolsim::State state = spooler.Read();
    ASSERT_EQ(1u, state.printers.size());
    EXPECT_EQ("Corvel Lleno", state.printers[0].name);
    EXPECT_TRUE(state.printers[0].pendingDeletion);
    EXPECT_EQ(3u, state.printers[0].jobs.size());
}

// A printer the spooler will not open or delete is still there: it keeps
// its keys and counts as staying, so what it needs stays too. One the
// spooler does not know is gone already.
TEST_F(RemovalTest, PrinterThatCannotBeOpenedOrDeletedStays)
{
    spooler.Write("[Printer]\nName=Cerrada\nDriver=VANTO Corvel\nOpenError=5\n"
                  "[Printer]\nName=Terca\nDriver=VANTO Corvel\nDeleteError=5\n"
                  "[Printer]\nName=Ida\nDriver=VANTO Corvel\nOpenError=1801\n");
    InstalledPrinter& closed = AddRecord("Cerrada", "VANTO Corvel", true);
    InstalledPrinter& stubborn = AddRecord("Terca", "VANTO Corvel", true);
    InstalledPrinter& gone = AddRecord("Ida", "VANTO Corvel", true);
    removal.removePrinters();
    EXPECT_EQ((std::vector<std::string>{"DeletePrinter|Terca|error 5"}), Journal());
    for (const InstalledPrinter* printer : {&closed, &stubborn}) {
        EXPECT_EQ(0, printer->removed) << printer->name;
        EXPECT_EQ(1, printer->excluded) << printer->name;
    }
    EXPECT_EQ(1, gone.removed);
    EXPECT_EQ(2, database.keptPrinterCount);
    EXPECT_EQ((TextList{"HKCU,\"SOFTWARE\\VANTO\\Ida,\"\""}), database.removalProfile.registryKeys);
}

TEST_F(RemovalTest, KeptAndForeignPrintersAreLeftAlone)
{
    spooler.Write("[Printer]\nName=Queda\nDriver=VANTO Corvel\n" + JobLines(2, 1) +
                  "[Printer]\nName=Ajena\nDriver=Otro\n" + JobLines(1, 9));
    AddRecord("Queda", "VANTO Corvel", false);
    AddRecord("Ajena", "Otro", true).foreign = 1;
    removal.removePrinters();
    EXPECT_TRUE(Journal().empty());
    EXPECT_EQ(2u, spooler.Read().printers.size());
    EXPECT_TRUE(database.removalProfile.registryKeys.empty());
}

TEST_F(RemovalTest, PerUserValuesGoOnNtAndBecomeRegistryLinesOn9x)
{
    spooler.Write("[Printer]\nName=Trelun Usuario\nDriver=VANTO Corvel\n"
                  "[Printer]\nName=Trelun Vecina\nDriver=VANTO Corvel\n");
    for (const char* path : kPerUserKeys) {
        ASSERT_TRUE(SetText(HKEY_CURRENT_USER, path, "Trelun Usuario", "winspool,LPT1:"));
        ASSERT_TRUE(SetText(HKEY_CURRENT_USER, path, "Trelun Vecina", "winspool,LPT2:"));
    }
    AddRecord("Trelun Usuario", "VANTO Corvel", true);
    AddRecord("Trelun Vecina", "VANTO Corvel", false);
    removal.removePrinters();
    for (const char* path : kPerUserKeys) {
        EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, path, "Trelun Usuario")) << path;
        EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, path, "Trelun Vecina")) << path;
    }
    EXPECT_EQ((TextList{"HKCU,\"SOFTWARE\\VANTO\\Trelun Usuario,\"\""}), database.removalProfile.registryKeys);
    DeletePerUserValue("Trelun Usuario");
    DeletePerUserValue("Trelun Vecina");
}

TEST_F(RemovalTest, Windows9xQueuesThePrinterKeysInsteadOfDeletingValues)
{
    UseSystem(kWin98);
    spooler.Write("[Printer]\nName=Trelun Nueve\nDriver=VANTO Corvel\n");
    for (const char* path : kPerUserKeys)
        ASSERT_TRUE(SetText(HKEY_CURRENT_USER, path, "Trelun Nueve", "x"));
    AddRecord("Trelun Nueve", "VANTO Corvel", true);
    removal.removePrinters();
    for (const char* path : kPerUserKeys)
        EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, path, "Trelun Nueve")) << path;
    EXPECT_EQ((TextList{
                  "HKLM,\"System\\CurrentControlSet\\control\\Print\\Printers\\Trelun Nueve\\PrinterDriverData,\"\"",
                  "HKLM,\"System\\CurrentControlSet\\control\\Print\\Printers\\Trelun Nueve,\"\"",
                  "HKCU,\"SOFTWARE\\VANTO\\Trelun Nueve,\"\"",
              }),
              database.removalProfile.registryKeys);
    DeletePerUserValue("Trelun Nueve");
}

// A name that is not a single key name would make those lines name a parent
// key: on 9x the registry step deletes a key with all its subkeys, so an
// empty name would take every printer's keys, or all of HKCU\SOFTWARE\VANTO.
TEST_F(RemovalTest, NamesThatAreNotKeyNamesQueueNoRegistryLines)
{
    UseSystem(kWin98);
    spooler.Write("");
    // A record without a name is not a printer: nothing is done for it.
    InstalledPrinter& nameless = AddRecord("", "VANTO Corvel", true);
    AddRecord("   ", "VANTO Corvel", true);
    AddRecord("Fuera\\..", "VANTO Corvel", true);
    AddRecord("Coma, \"\",0", "VANTO Corvel", true);
    removal.removePrinters();
    EXPECT_TRUE(database.removalProfile.registryKeys.empty());
    EXPECT_TRUE(Journal().empty());
    EXPECT_EQ(0, nameless.removed);
    for (const InstalledPrinter& printer : database.printers)
        EXPECT_EQ(printer.name[0] ? 1 : 0, printer.removed) << printer.name;

    UseSystem(kWinXP);
    const std::string devices = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Devices";
    ASSERT_TRUE(SetText(HKEY_CURRENT_USER, devices, "", "kept"));
    for (InstalledPrinter& printer : database.printers)
        printer.removed = 0;
    removal.removePrinters();
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, devices, ""));
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, devices.c_str(), 0, KEY_ALL_ACCESS, &key));
    RegDeleteValueA(key, "");
    RegCloseKey(key);
}

namespace {

const char kClassId[] = "TrelunUniqueId.Test";

class UniqueIdTest : public RemovalTest {
protected:
    void SetUp() override
    {
        RemovalTest::SetUp();
        ASSERT_TRUE(MakeKey(HKEY_CLASSES_ROOT, std::string(kClassId) + "\\a"));
        ASSERT_TRUE(MakeKey(HKEY_CLASSES_ROOT, std::string(kClassId) + "\\b\\deeper"));
        ASSERT_TRUE(MakeKey(HKEY_CLASSES_ROOT, std::string(kClassId) + "\\c"));
    }
    const ScopedKeys classKeys{HKEY_CLASSES_ROOT, {kClassId}};
    const ScopedKeys printerKey{HKEY_LOCAL_MACHINE, {"System\\CurrentControlSet\\control\\Print\\Printers\\Trelun Uid"}};
};

}  // namespace

TEST_F(UniqueIdTest, ClassKeysGoUntilOneCannotBeDeleted)
{
    spooler.Write(std::string("[Printer]\nName=Trelun Uid\nDriver=VANTO Corvel\nData.UniqueID=") + kClassId + "\n");
    AddRecord("Trelun Uid", "VANTO Corvel", true);
    removal.removePrinters();
    // "b" has a subkey of its own, so on NT it cannot go: the loop stops
    // there instead of retrying it for ever, and the key itself stays.
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::string(kClassId) + "\\a"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::string(kClassId) + "\\b\\deeper"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::string(kClassId) + "\\c"));

    RemoveKeyTree(HKEY_CLASSES_ROOT, std::string(kClassId) + "\\b");
    spooler.Write(std::string("[Printer]\nName=Trelun Uid\nDriver=VANTO Corvel\nData.UniqueID=") + kClassId + "\n");
    database.printers.begin()->removed = 0;
    removal.removePrinters();
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassId));
}

TEST_F(UniqueIdTest, Windows9xReadsTheIdentifierFromThePrinterKey)
{
    UseSystem(kWin98);
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE,
                        "System\\CurrentControlSet\\control\\Print\\Printers\\Trelun Uid\\PrinterDriverData",
                        "UniqueID", kClassId));
    RemoveKeyTree(HKEY_CLASSES_ROOT, std::string(kClassId) + "\\b");
    // The spooler's printer data says something else: on 9x it is not asked.
    spooler.Write("[Printer]\nName=Trelun Uid\nDriver=VANTO Corvel\nData.UniqueID=Nothing.Here\n");
    AddRecord("Trelun Uid", "VANTO Corvel", true);
    removal.removePrinters();
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassId));
}

// An identifier that is empty, blank or a path names HKEY_CLASSES_ROOT itself
// or keys of other programs: nothing there is touched.
TEST_F(UniqueIdTest, IdentifiersThatAreNotKeyNamesTouchNothing)
{
    // Sorts first below the root, so a clean-up of the root would take it.
    const char kFirst[] = "!TrelunFirstKey";
    const ScopedKeys first(HKEY_CLASSES_ROOT, {kFirst});
    ASSERT_TRUE(MakeKey(HKEY_CLASSES_ROOT, kFirst));
    const DWORD rootKeys = SubkeyCount(HKEY_CLASSES_ROOT, "");
    ASSERT_GT(rootKeys, 0u);
    for (const std::string& id : {std::string(""), std::string("   "), std::string(kClassId) + "\\a",
                                  std::string("\\") + kClassId}) {
        spooler.Write("[Printer]\nName=Trelun Uid\nDriver=VANTO Corvel\nData.UniqueID=" + id + "\n");
        database.printers = PrinterList();
        AddRecord("Trelun Uid", "VANTO Corvel", true);
        removal.removePrinters();
        EXPECT_EQ(1, database.printers.begin()->removed) << id;
        EXPECT_EQ(rootKeys, SubkeyCount(HKEY_CLASSES_ROOT, "")) << id;
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::string(kClassId) + "\\a")) << id;
        EXPECT_EQ(3u, SubkeyCount(HKEY_CLASSES_ROOT, kClassId)) << id;
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kFirst)) << id;
    }
}

// Default printer: the messages, and which printer takes over.
class SerialDefaultPrinter : public RemovalTest {
protected:
    void SetUp() override
    {
        RemovalTest::SetUp();
        GetProfileStringA("windows", "device", "", savedDevice, sizeof(savedDevice));
        WriteProfileStringA("windows", "device", "Antes,winspool,LPT9:");
    }
    void TearDown() override
    {
        WriteProfileStringA("windows", "device", savedDevice[0] ? savedDevice : nullptr);
        RemovalTest::TearDown();
    }
    static std::string Device()
    {
        char device[512] = {};
        GetProfileStringA("windows", "device", "", device, sizeof(device));
        return device;
    }
    char savedDevice[512] = {};
};

TEST_F(SerialDefaultPrinter, LastPrinterGoneShowsTheNoPrinterWarning)
{
    spooler.Write("[Printer]\nName=Corvel Uno\nDriver=VANTO Corvel\nAttributes=0x44\n"
                  "[Printer]\nName=\\\\HOST\\Tinta\nServer=\\\\HOST\nDriver=VANTO Tinta\n");
    AddRecord("Corvel Uno", "VANTO Corvel", true, "", 1);
    AddRecord("\\\\HOST\\Tinta", "VANTO Tinta", true, "\\\\HOST");
    MessageBoxRecorder boxes;
    removal.removePrinters();
    ASSERT_EQ(1u, boxes.Messages().size());
    EXPECT_EQ(kNoPrinterLeft, boxes.Messages()[0].text);
    EXPECT_EQ(kCaption, boxes.Messages()[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK), boxes.Messages()[0].style);
    EXPECT_TRUE(spooler.Read().printers.empty());
    EXPECT_EQ("Antes,winspool,LPT9:", Device());
}

TEST_F(SerialDefaultPrinter, LastRemainingPrinterInListOrderTakesOver)
{
    spooler.Write("[Printer]\nName=Queda\nPort=LPT2:\nDriver=VANTO Corvel\n"
                  "[Printer]\nName=Corvel Uno\nPort=LPT1:\nDriver=VANTO Corvel\nAttributes=0x44\n"
                  "[Printer]\nName=Ajena 50%s\nPort=COM1:\nDriver=Otro\n"
                  "[Printer]\nName=Corvel Dos\nPort=LPT3:\nDriver=VANTO Corvel\n");
    InstalledPrinter& kept = AddRecord("Queda", "VANTO Corvel", false);
    AddRecord("Corvel Uno", "VANTO Corvel", true, "", 1);
    InstalledPrinter& foreign = AddRecord("Ajena 50%s", "Otro", true);
    foreign.foreign = 1;
    AddRecord("Corvel Dos", "VANTO Corvel", true);
    MessageBoxRecorder boxes;
    removal.removePrinters();

    ASSERT_EQ(1u, boxes.Messages().size());
    EXPECT_EQ(NewDefaultText("Ajena 50%s"), boxes.Messages()[0].text);
    EXPECT_EQ(kCaption, boxes.Messages()[0].caption);
    EXPECT_EQ(1, foreign.isDefault);
    EXPECT_EQ(0, kept.isDefault);
    for (const auto& printer : spooler.Read().printers)
        EXPECT_EQ(printer.name == "Ajena 50%s", (printer.attributes & PRINTER_ATTRIBUTE_DEFAULT) != 0) << printer.name;
    EXPECT_EQ("Ajena 50%s,winspool,COM1:", Device());
}

// A printer an earlier pass removed is gone: it cannot take over, and with
// nothing else left the warning says so.
TEST_F(SerialDefaultPrinter, PrinterRemovedByAnEarlierPassDoesNotTakeOver)
{
    spooler.Write("[Printer]\nName=Corvel Dos\nPort=LPT3:\nDriver=VANTO Corvel\nAttributes=0x44\n");
    AddRecord("Corvel Uno", "VANTO Corvel", true).removed = 1;
    AddRecord("Corvel Dos", "VANTO Corvel", true, "", 1);
    MessageBoxRecorder boxes;
    removal.removePrinters();
    ASSERT_EQ(1u, boxes.Messages().size());
    EXPECT_EQ(kNoPrinterLeft, boxes.Messages()[0].text);
}

TEST_F(SerialDefaultPrinter, TakeOverThatFailsIsStillAnnounced)
{
    spooler.Write("[Printer]\nName=Corvel Uno\nDriver=VANTO Corvel\nAttributes=0x44\n"
                  "[Printer]\nName=Queda\nDriver=VANTO Corvel\nOpenError=5\n");
    AddRecord("Corvel Uno", "VANTO Corvel", true, "", 1);
    InstalledPrinter& kept = AddRecord("Queda", "VANTO Corvel", false);
    MessageBoxRecorder boxes;
    removal.removePrinters();
    ASSERT_EQ(1u, boxes.Messages().size());
    EXPECT_EQ(NewDefaultText("Queda"), boxes.Messages()[0].text);
    EXPECT_EQ(0, kept.isDefault);
    EXPECT_EQ(1, database.printers.begin()->isDefault);
    EXPECT_EQ("Antes,winspool,LPT9:", Device());
}

TEST_F(SerialDefaultPrinter, DeviceLinePerPlatform)
{
    const std::string state =
        "[Printer]\nName=Laser Sala\nPort=LPT1:\nDriver=VANTO Corvel\nPrintProcessor=VProc\n"
        "[Printer]\nName=Otra\nPort=LPT2:\nDriver=VANTO Corvel\nAttributes=0x44\n"
        "[Driver]\nName=VANTO Corvel\nDriverPath=C:\\windows\\system32\\spool\\drivers\\w32x86\\3\\VCORVEL.DLL\n";
    spooler.Write(state);
    char name[kTextField] = "Laser Sala";
    EXPECT_EQ(1, removal.setDefaultPrinter(name));
    EXPECT_EQ("Laser Sala,winspool,LPT1:", Device());
    EXPECT_EQ((std::vector<std::string>{"SetPrinterA|Laser Sala|2|0|PrintProcessor=VProc;Datatype=RAW;"
                                        "Attributes=0x00000044|ok"}),
              Journal());

    // Windows 9x reads the default from the spooler only.
    UseSystem(kWin98);
    spooler.Write(state);
    WriteProfileStringA("windows", "device", "Antes,winspool,LPT9:");
    EXPECT_EQ(1, removal.setDefaultPrinter(name));
    EXPECT_EQ("Antes,winspool,LPT9:", Device());
    EXPECT_NE(0u, spooler.Read().printers[0].attributes & PRINTER_ATTRIBUTE_DEFAULT);

    // Win32s names the driver file.
    UseSystem(kWin32s);
    spooler.Write(state);
    EXPECT_EQ(1, removal.setDefaultPrinter(name));
    EXPECT_EQ("Laser Sala,VCORVEL,LPT1:", Device());
}

TEST_F(SerialDefaultPrinter, EmptyNamePicksTheFirstPrinterAndUnknownOnesFail)
{
    spooler.Write("[Printer]\nName=Primera\nPort=LPT1:\nDriver=D\n[Printer]\nName=Segunda\nPort=LPT2:\nDriver=D\n");
    char name[kTextField] = "";
    EXPECT_EQ(1, removal.setDefaultPrinter(name));
    EXPECT_STREQ("Primera", name);
    EXPECT_EQ("Primera,winspool,LPT1:", Device());

    WriteProfileStringA("windows", "device", "Antes,winspool,LPT9:");
    char unknown[kTextField] = "Nadie";
    EXPECT_EQ(0, removal.setDefaultPrinter(unknown));
    EXPECT_EQ("Antes,winspool,LPT9:", Device());
}

// Without the printer's data there is no port for the line: nothing is
// written rather than a line pointing applications at nothing.
TEST_F(SerialDefaultPrinter, UnreadablePrinterWritesNoDeviceLine)
{
    spooler.Write("[Printer]\nName=Muda\nPort=LPT1:\nDriver=D\nLevel2SizeError=1726\n");
    char name[kTextField] = "Muda";
    EXPECT_EQ(0, removal.setDefaultPrinter(name));
    EXPECT_EQ("Antes,winspool,LPT9:", Device());
    UseSystem(kWin98);
    EXPECT_EQ(0, removal.setDefaultPrinter(name));
}

namespace {

const char kUsbId[] = "USB\\VID_0ACE&PID_0077";

class UsbOfThePackage : public RemovalTest {
protected:
    void SetUp() override
    {
        RemovalTest::SetUp();
        CountTestDevices(kUsbId, true);
        CopyText(savedScript, masterScriptBesideProgram);
        CopyText(masterScriptBesideProgram, scripts.Join("VUNZ__08.unm").c_str());
    }
    void TearDown() override
    {
        CopyText(masterScriptBesideProgram, savedScript);
        CountTestDevices(kUsbId, true);
        RemovalTest::TearDown();
    }
    // Removes one printer with the master script's [Strings] as given; a
    // second printer on stayingPort stays when one is given.
    int DevicesAfterRemovalWith(const std::string& strings, const char* stayingPort = nullptr, bool foreign = false)
    {
        if (!CreateTestDevice(kUsbId) || CountTestDevices(kUsbId) != 1)
            return -1;
        scripts.Write("VUNZ__08.unm", "[UnPrinterDrivers]\r\nVANTO Corvel,VC,1\r\n[Strings]\r\n" + strings);
        spooler.Write("[Printer]\nName=Corvel USB\nPort=USB001\nDriver=VANTO Corvel\n"
                      "[Printer]\nName=Corvel Queda\nDriver=VANTO Corvel\n");
        database.printers = PrinterList();
        AddRecord("Corvel USB", "VANTO Corvel", true);
        if (stayingPort) {
            InstalledPrinter& staying = AddRecord("Corvel Queda", "VANTO Corvel", false);
            staying.SetPortName(stayingPort);
            staying.foreign = foreign ? 1 : 0;
        }
        removal.removePrinters();
        return CountTestDevices(kUsbId);
    }
    TempDir scripts;
    char savedScript[kTextField] = {};
};

}  // namespace

// One test: the device id is machine-wide, and tests of one program may
// run side by side.
TEST_F(UsbOfThePackage, DeviceNamedByTheMasterScriptGoesWhenNoPrinterThatStaysMayUseIt)
{
    // 2766 = 0x0ACE, 119 = 0x0077.
    EXPECT_EQ(1, DevicesAfterRemovalWith("USB_VID=2766\r\nUSB_PID=119\r\n"));
    CountTestDevices(kUsbId, true);
    EXPECT_EQ(1, DevicesAfterRemovalWith("HARDWARE_ID_1=USB\\VID_0ACE&PID_0077\r\nUSB_VID=2766\r\nUSB_PID=0\r\n"));
    CountTestDevices(kUsbId, true);
    const std::string strings = "HARDWARE_ID_1=USB\\VID_0ACE&PID_0077\r\nUSB_VID=2766\r\nUSB_PID=119\r\n";
    EXPECT_EQ(0, DevicesAfterRemovalWith(strings));
    // An id that matches nothing falls back to vendor and product.
    EXPECT_EQ(0, DevicesAfterRemovalWith("HARDWARE_ID_1=USBPRINT\\NOSUCHTHING\r\nUSB_VID=2766\r\nUSB_PID=119\r\n"));

    // The node is the package's: a printer of the package that stays and
    // may print through USB (or whose port is not known) still needs it.
    EXPECT_EQ(1, DevicesAfterRemovalWith(strings, "USB002"));
    CountTestDevices(kUsbId, true);
    EXPECT_EQ(1, DevicesAfterRemovalWith(strings, ""));
    CountTestDevices(kUsbId, true);
    EXPECT_EQ(0, DevicesAfterRemovalWith(strings, "LPT1:"));
    EXPECT_EQ(0, DevicesAfterRemovalWith(strings, "USB003", true)) << "another maker's printer";
}
