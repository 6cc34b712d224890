#include <gtest/gtest.h>

#include <string>

#include "InstalledPrinter.h"
#include "PrinterList.h"
#include "SwitchFilter.h"

namespace {

InstalledPrinter Printer(const char* driver, const char* pelled = "")
{
    InstalledPrinter printer;
    printer.SetName("P");
    printer.SetDriverName(driver);
    printer.SetPelledName(pelled);
    printer.isHalvaprint = 1;
    return printer;
}

bool Passes(const char* commandLine, const InstalledPrinter& printer)
{
    CommandLineSwitches switches;
    switches.ParseText(commandLine);
    return PassesSwitchFilter(printer, switches);
}

}  // namespace

TEST(InstalledPrinter, TextsAreBoundedAndRecordsStayPut)
{
    InstalledPrinter printer;
    EXPECT_TRUE(printer.IsListed());
    EXPECT_FALSE(printer.SetDriverName(std::string(300, 'd').c_str()));
    EXPECT_EQ(259u, std::string(printer.driverName).size());

    PrinterList list;
    InstalledPrinter& first = list.Append(printer);
    for (int i = 0; i < 100; ++i)
        list.Append(Printer("more"));
    first.removed = 1;  // a reference stays valid as the list grows
    EXPECT_EQ(1, list.begin()->removed);
    EXPECT_FALSE(list.begin()->IsListed());
}

TEST(SwitchFilter, WithoutFilterSwitchesEveryPrinterPasses)
{
    EXPECT_TRUE(Passes("", Printer("Vanto LX")));
    EXPECT_TRUE(Passes("x /NOPICK", Printer("Vanto LX")));
}

TEST(SwitchFilter, ManufacturerValuesArePrefixesAndDriverValuesWholeNames)
{
    EXPECT_TRUE(Passes("x /MFG:vanto", Printer("Vanto LX")));
    EXPECT_TRUE(Passes("x /MFG:other,\"VANTO L\"", Printer("Vanto LX")));
    EXPECT_FALSE(Passes("x /MFG:Vantos", Printer("Vanto LX")));
    // Quotes are stripped before the comparison.
    EXPECT_TRUE(Passes("x /PRN:\"vanto lx\"", Printer("Vanto LX")));
    EXPECT_FALSE(Passes("x /PRN:\"Vanto\"", Printer("Vanto LX")));
    // Either switch may keep a printer.
    EXPECT_TRUE(Passes("x /MFG:Other /PRN:Vanto LX", Printer("Vanto")));
}

TEST(SwitchFilter, EmptyAndMissingValues)
{
    // A colon with nothing after it: one empty value, which every name begins with.
    EXPECT_TRUE(Passes("x /MFG:", Printer("Anything")));
    // No colon: present, no values, keeps nothing; only PRN values can.
    EXPECT_FALSE(Passes("x /MFG", Printer("Vanto LX")));
    EXPECT_TRUE(Passes("x /MFG /PRN:\"Vanto LX\"", Printer("Vanto LX")));
    EXPECT_TRUE(Passes("x /MFG /PRN:x,,Vanto", Printer("Vanto")));
}

TEST(SwitchFilter, ValueListsOf256BytesOrMoreKeepNothing)
{
    const std::string value254(254, 'v');  // 254 + NUL + final NUL = 256
    EXPECT_FALSE(Passes(("x /MFG:" + value254).c_str(), Printer(value254.c_str())));
    const std::string value253(253, 'v');
    EXPECT_TRUE(Passes(("x /MFG:" + value253).c_str(), Printer(value253.c_str())));
}

TEST(SwitchFilter, UnpellKeepsExactlyThePelledPrinters)
{
    EXPECT_TRUE(Passes("x /UNPELL /MFG:Other", Printer("Vanto", "Main")));
    EXPECT_FALSE(Passes("x /UNPELL /MFG:Vanto", Printer("Vanto")));

    CommandLineSwitches switches;
    switches.ParseText("x /MFG:Other");
    InstalledPrinter hidden = Printer("Vanto");
    ApplySwitchFilter(hidden, switches);
    EXPECT_EQ(0, hidden.listed);
    EXPECT_EQ(1, hidden.excluded);
    InstalledPrinter shown = Printer("Other X");
    ApplySwitchFilter(shown, switches);
    EXPECT_EQ(1, shown.listed);
    EXPECT_EQ(0, shown.excluded);
}
