#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "CommandLineSwitches.h"
#include "DialogDriver.h"
#include "PrinterEnumeration.h"
#include "ProductText.h"
#include "SimulatedSpooler.h"
#include "StringLoader.h"
#include "TestPaths.h"
#include "VersionRecords.h"
#include "WineVersion.h"
#include "resource.h"

namespace {

// Five printers: one of the package (default by attribute), one Pelled, one
// with both entries (its content is not looked at), a foreign one, and a
// connection. The spooler lists local printers before connections.
const char kMixed[] =
    "[Printer]\nName=\\\\HOST\\Vanto Red\nServer=\\\\HOST\nShare=red\nDriver=VANTO Laser PCL\n"
    "Data.VantoDriver08=1\n"
    "[Printer]\nName=Vanto Oficina\nDriver=VANTO Laser PCL\nAttributes=0x44\nData.VantoDriver08=1\n"
    "[Printer]\nName=Vanto Enlace\nDriver=VANTO Laser PS\nData.PellPrinter=Vanto Oficina\n"
    "[Printer]\nName=Vanto Doble\nDriver=Otro Ink\nData.VantoDriver08=0\nData.PellPrinter=Vanto Oficina\n"
    "[Printer]\nName=Ajena\nDriver=Generic\n";

// name|driver|pelled|server|halvaprint|default|excluded|foreign|removed|listed
std::string Line(const InstalledPrinter& p)
{
    char text[1200];
    std::snprintf(text, sizeof(text), "%s|%s|%s|%s|%d|%d|%d|%d|%d|%d", p.name, p.driverName, p.pelledName, p.serverName,
              p.isHalvaprint, p.isDefault, p.excluded, p.foreign, p.removed, p.listed);
    return text;
}

std::vector<std::string> Lines(const PrinterList& printers)
{
    std::vector<std::string> lines;
    for (const InstalledPrinter& printer : printers)
        lines.push_back(Line(printer));
    return lines;
}

using versions::kWinXP;

struct Enumeration {
    int result = -1;
    PrinterList printers;
};

// One enumeration with the switches of the command line, no dialog.
int Enumerate(PrinterList& printers, const COSInfo& os, const char* commandLine = "trelun08.exe")
{
    CommandLineSwitches switches;
    switches.ParseText(commandLine);
    StringLoader strings(GetModuleHandleA(nullptr));
    return BuildListOfInstalledPrinters(printers, os, switches, nullptr, strings);
}

Enumeration Enumerate(const COSInfo& os, const char* commandLine = "trelun08.exe")
{
    Enumeration run;
    run.result = Enumerate(run.printers, os, commandLine);
    return run;
}

std::string ComputerName()
{
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof(name);
    GetComputerNameA(name, &size);
    return name;
}

// Stands for the loading dialog: ends with 0 only when the enumeration ends
// it, else with 7 at the message the test posts after the enumeration.
class StandInDialog : public CDialogBase {
public:
    static const UINT kFinish = WM_APP + 1;
    INT_PTR OnMessage(HWND window, UINT message, WPARAM, LPARAM) override
    {
        if (message == WM_INITDIALOG)
            return 1;
        if (message == kFinish)
            EndDialog(window, 7);
        return 0;
    }
};

struct DialogRun {
    int result = -1;
    INT_PTR dialogResult = -1;
    PrinterList printers;
};

DialogRun EnumerateInsideDialog()
{
    DialogRun run;
    StandInDialog dialog;
    StringLoader strings(GetModuleHandleA(nullptr));
    CommandLineSwitches switches;
    run.dialogResult = RunModalDialog(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LOADING), nullptr, &dialog,
                                      [&](HWND window) {
                                          run.result = BuildListOfInstalledPrinters(run.printers, kWinXP,
                                                                                    switches, window, strings);
                                          PostMessageA(window, StandInDialog::kFinish, 0, 0);
                                      });
    return run;
}

std::string LoadedString(UINT id)
{
    StringLoader strings(GetModuleHandleA(nullptr));
    return strings.GetString(id);
}

// The WIN.INI default device of the prefix, put back afterwards.
class DefaultDevice {
public:
    DefaultDevice()
    {
        char value[256] = {};
        GetProfileStringA("windows", "device", "", value, sizeof(value));
        saved = value;
    }
    ~DefaultDevice() { WriteProfileStringA("windows", "device", saved.empty() ? nullptr : saved.c_str()); }
    void Set(const char* device) { WriteProfileStringA("windows", "device", device); }

private:
    std::string saved;
};

// The default printer's name in WIN.INI is shared by every program of the
// prefix (the removal rewrites it), and every record shows whether its
// printer is the default: these tests set it and run alone.
class SerialPrinterEnumeration : public ::testing::Test {
protected:
    SerialPrinterEnumeration() { device.Set("Ninguna,winspool,Ne00:"); }
    DefaultDevice device;
};

}  // namespace

TEST_F(SerialPrinterEnumeration, RecordsOfThePackageForeignAndConnections)
{
    SimulatedSpooler spooler(kMixed);
    const std::vector<std::string> expected = {
        "Vanto Oficina|VANTO Laser PCL|||1|1|0|0|0|1",
        "Vanto Enlace|VANTO Laser PS|Vanto Oficina||0|0|0|0|0|1",
        "Vanto Doble|Otro Ink|Vanto Oficina||1|0|0|0|0|1",
        "Ajena|Generic|||0|0|0|1|0|1",
        // Backslashes make the server name differ from the computer name.
        "\\\\HOST\\Vanto Red|VANTO Laser PCL||\\\\HOST|1|0|0|0|0|1",
    };
    Enumeration nt = Enumerate(kWinXP);
    EXPECT_EQ(5, nt.result);
    EXPECT_EQ(expected, Lines(nt.printers));

    // Windows 98 asks at level 5, with entries of another size.
    Enumeration win9x = Enumerate(versions::kWin98);
    EXPECT_EQ(5, win9x.result);
    EXPECT_EQ(expected, Lines(win9x.printers));
}

TEST_F(SerialPrinterEnumeration, Win32sCountsEveryPrinterAsThePackagesAndKeepsNoServer)
{
    SimulatedSpooler spooler(kMixed);
    Enumeration run = Enumerate(versions::kWin32s);
    EXPECT_EQ(5, run.result);
    EXPECT_EQ((std::vector<std::string>{
                  "Vanto Oficina|VANTO Laser PCL|||1|1|0|0|0|1",
                  "Vanto Enlace|VANTO Laser PS|Vanto Oficina||1|0|0|0|0|1",
                  "Vanto Doble|Otro Ink|Vanto Oficina||1|0|0|0|0|1",
                  "Ajena|Generic|||1|0|0|0|0|1",
                  "\\\\HOST\\Vanto Red|VANTO Laser PCL|||1|0|0|0|0|1",
              }),
              Lines(run.printers));
}

// The levels as the simulator answers them under Wine's emulation: level 4
// does not exist on the 9x family, so a wrong choice there finds nothing.
TEST_F(SerialPrinterEnumeration, UnderEmulatedWindows98AndWin32s)
{
    SimulatedSpooler spooler(kMixed);
    const std::string probe = BesideTests("inventory_probe.exe");

    const ChildResult win98 = RunUnderWindowsVersion(probe, "", "win98");
    ASSERT_TRUE(win98.started);
    EXPECT_EQ("platform=2 result=5\r\n"
              "Vanto Oficina|VANTO Laser PCL|||1|1|0|0|0|1\r\n"
              "Vanto Enlace|VANTO Laser PS|Vanto Oficina||0|0|0|0|0|1\r\n"
              "Vanto Doble|Otro Ink|Vanto Oficina||1|0|0|0|0|1\r\n"
              "Ajena|Generic|||0|0|0|1|0|1\r\n"
              "\\\\HOST\\Vanto Red|VANTO Laser PCL||\\\\HOST|1|0|0|0|0|1\r\n",
              win98.output);

    const ChildResult win31 = RunUnderWindowsVersion(probe, "/MFG:vanto", "win31");
    ASSERT_TRUE(win31.started);
    EXPECT_EQ("platform=1 result=5\r\n"
              "Vanto Oficina|VANTO Laser PCL|||1|1|0|0|0|1\r\n"
              "Vanto Enlace|VANTO Laser PS|Vanto Oficina||1|0|0|0|0|1\r\n"
              "Vanto Doble|Otro Ink|Vanto Oficina||1|0|1|0|0|0\r\n"
              "Ajena|Generic|||1|0|1|0|0|0\r\n"
              "\\\\HOST\\Vanto Red|VANTO Laser PCL|||1|0|0|0|0|1\r\n",
              win31.output);
}

TEST(PrinterEnumeration, ServerNameKeptOnlyWhenItIsNotThisComputer)
{
    const std::string computer = ComputerName();
    ASSERT_FALSE(computer.empty());
    std::string lower = computer;
    CharLowerA(&lower[0]);
    SimulatedSpooler spooler("[Printer]\nName=\\\\" + computer + "\\a\nServer=" + lower +
                             "\nDriver=D\nData.VantoDriver08=1\n"
                             "[Printer]\nName=\\\\" + computer + "\\b\nServer=\\\\" + computer +
                             "\nDriver=D\nData.VantoDriver08=1\n"
                             "[Printer]\nName=\\\\OTRO\\c\nServer=OTRO\nDriver=D\nData.VantoDriver08=1\n");
    Enumeration run = Enumerate(kWinXP);
    ASSERT_EQ(3, run.result);
    std::vector<std::string> servers;
    for (const InstalledPrinter& printer : run.printers)
        servers.push_back(printer.serverName);
    EXPECT_EQ((std::vector<std::string>{"", "\\\\" + computer, "OTRO"}), servers);
}

// The switches applied to what the spooler gives; the filter's own rules
// are tested on their own.
TEST(PrinterEnumeration, SwitchesMarkThePrintersTheyHide)
{
    SimulatedSpooler spooler(kMixed);
    struct Case {
        const char* commandLine;
        const char* listed;  // listed flag of each printer in enumeration order
    };
    const Case cases[] = {
        {"trelun08.exe /NOPICK", "11111"},
        {"trelun08.exe /mfg:vanto", "11001"},
        {"trelun08.exe -PRN:\"vanto laser ps\"", "01000"},
        {"trelun08.exe /PRN:\"VANTO Laser PS\" /MFG:Otro", "01100"},
        {"trelun08.exe /MFG", "00000"},
        {"trelun08.exe /MFG:", "11111"},
        {"trelun08.exe /UNPELL /MFG:Generic", "01100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commandLine);
        Enumeration run = Enumerate(kWinXP, c.commandLine);
        EXPECT_EQ(5, run.result);
        std::string listed;
        for (const InstalledPrinter& printer : run.printers) {
            listed += printer.listed ? '1' : '0';
            // A hidden printer stays on the computer.
            EXPECT_EQ(printer.listed ? 0 : 1, printer.excluded) << printer.name;
        }
        EXPECT_EQ(c.listed, listed);
    }
}

TEST(PrinterEnumeration, SpoolerNotAnsweringShowsMessage206AndEndsTheLoading)
{
    SimulatedSpooler spooler("[Spooler]\nEnumPrintersError=1722\n" + std::string(kMixed));
    MessageBoxRecorder boxes;
    DialogRun run = EnumerateInsideDialog();
    EXPECT_EQ(0, run.result);
    EXPECT_EQ(0, run.dialogResult);
    EXPECT_TRUE(run.printers.IsEmpty());
    ASSERT_EQ(1u, boxes.Messages().size());
    EXPECT_EQ(LoadedString(IDS_SPOOLER_NOT_RESPONDING), boxes.Messages()[0].text);
    EXPECT_EQ(0u, boxes.Messages()[0].text.find("El subsistema del spooler de impresi\xF3n no responde."));
    EXPECT_EQ(ProductText(IDS_CAPTION), boxes.Messages()[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.Messages()[0].style & MB_ICONMASK);
}

// Nothing installed, or an enumeration that fails otherwise: 0, quietly, and
// the loading dialog goes on.
TEST(PrinterEnumeration, OtherEmptyOrFailedEnumerationsAreQuiet)
{
    const char* states[] = {"", "[Spooler]\nEnumPrintersError=1726\n[Printer]\nName=A\nDriver=D\n",
                            "[Spooler]\nEnumPrintersDataError=1726\n[Printer]\nName=A\nDriver=D\n"};
    for (const char* state : states) {
        SCOPED_TRACE(state);
        SimulatedSpooler spooler(state);
        MessageBoxRecorder boxes;
        DialogRun run = EnumerateInsideDialog();
        EXPECT_EQ(0, run.result);
        EXPECT_EQ(7, run.dialogResult);
        EXPECT_TRUE(run.printers.IsEmpty());
        EXPECT_TRUE(boxes.Messages().empty());
    }
}

// Not opened: skipped and not counted. Opened but without level-2 data
// (no size, or a size and then a failure): recorded as staying and hidden,
// with the driver the spooler names for it, and the enumeration goes on. A
// printer left out would be treated as gone: what it needs, and with the
// last one the package's shared items, would be removed.
TEST_F(SerialPrinterEnumeration, PrintersThatCannotBeReadFullyStay)
{
    SimulatedSpooler spooler("[Printer]\nName=Sin Datos\nDriver=D\nLevel2SizeError=1726\nData.VantoDriver08=1\n"
                             "[Printer]\nName=Cerrada\nDriver=D\nOpenError=5\nData.VantoDriver08=1\n"
                             "[Printer]\nName=Fallida\nDriver=Sin Controlador\nLevel2Error=1784\n"
                             "Data.PellPrinter=Buena\n"
                             "[Printer]\nName=Ajena Fallida\nDriver=Generic\nLevel2Error=1784\n"
                             "[Printer]\nName=Buena\nDriver=D\nData.VantoDriver08=1\n"
                             "[Driver]\nName=D\nDriverPath=C:\\d.dll\n");
    Enumeration run = Enumerate(kWinXP);
    EXPECT_EQ(4, run.result);
    EXPECT_EQ((std::vector<std::string>{"Sin Datos|D|||1|0|1|0|0|0", "Fallida||Buena||0|0|1|0|0|0",
                                        "Ajena Fallida||||0|0|1|1|0|0", "Buena|D|||1|0|0|0|0|1"}),
              Lines(run.printers));
}

// The loading sequence enumerates a second time after a result of 0. A
// printer recorded twice would keep its second record unselectable, so it
// would be removed although the user kept it.
TEST_F(SerialPrinterEnumeration, ASecondRunRecordsNoPrinterTwice)
{
    SimulatedSpooler spooler("[Printer]\nName=Primera\nDriver=D\nData.VantoDriver08=1\n"
                             "[Printer]\nName=Segunda\nDriver=D\nData.VantoDriver08=1\n");
    PrinterList printers;
    EXPECT_EQ(2, Enumerate(printers, kWinXP));

    spooler.Write("[Printer]\nName=PRIMERA\nDriver=D\nData.VantoDriver08=1\n"
                  "[Printer]\nName=Segunda\nDriver=D\nData.VantoDriver08=1\n"
                  "[Printer]\nName=Tercera\nDriver=D\nData.VantoDriver08=1\n");
    EXPECT_EQ(3, Enumerate(printers, kWinXP));
    EXPECT_EQ((std::vector<std::string>{"Primera|D|||1|0|0|0|0|1", "Segunda|D|||1|0|0|0|0|1",
                                        "Tercera|D|||1|0|0|0|0|1"}),
              Lines(printers));
}

// Default by attribute, or by the WIN.INI name compared with its case.
TEST_F(SerialPrinterEnumeration, DefaultByAttributeOrExactWinIniName)
{
    SimulatedSpooler spooler("[Printer]\nName=Vanto Oficina\nDriver=D\nData.VantoDriver08=1\n"
                             "[Printer]\nName=Vanto Enlace\nDriver=D\nAttributes=0x44\nData.PellPrinter=x\n"
                             "[Printer]\nName=Vanto\nDriver=D\nData.VantoDriver08=1\n");
    struct Case {
        const char* device;
        const char* defaults;
    };
    const Case cases[] = {
        {"Vanto Oficina,winspool,Ne00:", "110"},
        {"Vanto Oficina", "110"},
        {"vanto oficina,winspool,Ne00:", "010"},
        {"", "010"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device);
        device.Set(c.device);
        Enumeration run = Enumerate(kWinXP);
        std::string defaults;
        for (const InstalledPrinter& printer : run.printers)
            defaults += printer.isDefault ? '1' : '0';
        EXPECT_EQ(c.defaults, defaults);
    }
}
