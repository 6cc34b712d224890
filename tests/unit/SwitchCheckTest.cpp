#include <gtest/gtest.h>

#include <string>

#include "SwitchCheck.h"

namespace {

std::string Check(const char* commandLine)
{
    CommandLineSwitches switches;
    switches.ParseText(commandLine);
    return UnusableSwitch(switches);
}

}  // namespace

TEST(UnusableSwitch, EveryKnownSwitchWithUsableValuesPasses)
{
    for (const char* line : {"trelun08.exe", "trelun08.exe /SILENT", "x -silent /mfg:Vanto,Corvel -UNPELL /NoPick",
                             "x /PRN:\"VANTO Corvel 4410 PCL\" /LOG:\"C:\\Logs\\a,b.log\"", "x RestartSpooler"})
        EXPECT_EQ("", Check(line)) << line;
}

// The first problem in command-line order is named.
TEST(UnusableSwitch, UnknownSwitchesAndUnusableValuesAreNamed)
{
    EXPECT_EQ("/FOO: unknown switch", Check("x /SILENT /WHATIF:C:\\r.txt /FOO"));
    EXPECT_EQ("/WHATIF: needs a path", Check("x /SILENT /WHATIF"));
    EXPECT_EQ("/SILNET: unknown switch", Check("x /SILNET"));
    EXPECT_EQ("/SILENT: takes no value", Check("x /SILENT:yes"));
    EXPECT_EQ("/MFG: needs a value", Check("x /SILENT /MFG"));
    EXPECT_EQ("/MFG: has an empty value", Check("x /MFG:Vanto,,Corvel"));
    EXPECT_EQ("/PRN: has an empty value", Check("x /PRN:\"\""));
    EXPECT_EQ("/LOG: needs a path", Check("x /LOG:"));
    // A value of a field or more never reaches the check; a path split at
    // its commas is measured whole.
    EXPECT_EQ("/LOG: needs a path", Check(("x /LOG:C:\\" + std::string(258, 'a')).c_str()));
    EXPECT_EQ("/LOG: path too long",
              Check(("x /LOG:C:\\" + std::string(200, 'a') + "," + std::string(60, 'b')).c_str()));
    EXPECT_EQ("", Check(("x /LOG:C:\\" + std::string(240, 'a')).c_str()));
}
