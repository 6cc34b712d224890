#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CommandLineSwitches.h"

namespace {

std::vector<std::string> Names(const CommandLineSwitches& switches)
{
    std::vector<std::string> names;
    for (const CommandLineSwitches::Switch& entry : switches.Switches())
        names.push_back(entry.name);
    return names;
}

}  // namespace

TEST(CommandLineSwitches, TokensSplitAtSpacesOutsideQuotes)
{
    CommandLineSwitches switches;
    EXPECT_EQ(1, switches.ParseText("\"C:\\Program Files\\x -y\\trelun08.exe\"  /MFG:\"Vanto Inc\",Alpha"
                                    "   -prn:\"a,b\":c /UNPELL notaswitch /"));
    ASSERT_EQ((std::vector<std::string>{"MFG", "prn", "UNPELL", ""}), Names(switches));
    const std::vector<CommandLineSwitches::Switch>& parsed = switches.Switches();
    EXPECT_EQ((std::vector<std::string>{"\"Vanto Inc\"", "Alpha"}), parsed[0].values);
    // Only the first colon outside quotes ends the name; quotes stay.
    EXPECT_EQ((std::vector<std::string>{"\"a,b\":c"}), parsed[1].values);
    EXPECT_TRUE(parsed[2].values.empty());

    EXPECT_EQ(0, switches.ParseText("program.exe plain words"));
    EXPECT_TRUE(switches.Switches().empty());
    EXPECT_EQ(0, switches.ParseText(""));
    EXPECT_EQ(0, switches.ParseText(nullptr));
}

TEST(CommandLineSwitches, ValueCountIsThatOfTheLastSwitchOfTheName)
{
    CommandLineSwitches switches;
    switches.ParseText("x /MFG:a,b,c /mfg /PRN: /NOPICK /Q:a,,b");
    EXPECT_EQ(0, switches.SwitchValueCount("MFG"));
    EXPECT_EQ(1, switches.SwitchValueCount("prn"));  // a colon and nothing: one empty value
    EXPECT_EQ(0, switches.SwitchValueCount("NOPICK"));
    EXPECT_EQ(3, switches.SwitchValueCount("Q"));
    EXPECT_EQ(-1, switches.SwitchValueCount("UNPELL"));
    EXPECT_EQ(-1, switches.SwitchValueCount(nullptr));
    EXPECT_TRUE(switches.HasSwitch("nopick"));
}

TEST(CommandLineSwitches, GetSwitchValuesGathersEverySwitchOfTheName)
{
    CommandLineSwitches switches;
    switches.ParseText("x /MFG:ab,c /PRN:z /mfg /MFG:d");
    char buffer[16];
    std::memset(buffer, 'x', sizeof(buffer));
    int size = sizeof(buffer);
    EXPECT_EQ(1, switches.GetSwitchValues("MFG", buffer, &size));
    EXPECT_EQ(8, size);
    EXPECT_EQ(0, std::memcmp("ab\0c\0d\0\0", buffer, 8));
    EXPECT_EQ('x', buffer[8]);

    // Length query, and a buffer exactly as long as the list: nothing copied.
    size = 0;
    EXPECT_EQ(0, switches.GetSwitchValues("MFG", nullptr, &size));
    EXPECT_EQ(8, size);
    std::memset(buffer, 'x', sizeof(buffer));
    size = 8;
    EXPECT_EQ(0, switches.GetSwitchValues("MFG", buffer, &size));
    EXPECT_EQ(8, size);
    EXPECT_EQ('x', buffer[0]);
    size = 9;
    EXPECT_EQ(1, switches.GetSwitchValues("MFG", buffer, &size));

    // No values: success with an empty length, nothing copied.
    switches.ParseText("x /UNPELL");
    size = sizeof(buffer);
    buffer[0] = 'x';
    EXPECT_EQ(1, switches.GetSwitchValues("UNPELL", buffer, &size));
    EXPECT_EQ(0, size);
    EXPECT_EQ('x', buffer[0]);
    size = 5;
    EXPECT_EQ(0, switches.GetSwitchValues("UNPELL", nullptr, &size));
    EXPECT_EQ(0, size);

    // A missing name or size changes nothing.
    size = 5;
    EXPECT_EQ(0, switches.GetSwitchValues("", buffer, &size));
    EXPECT_EQ(0, switches.GetSwitchValues(nullptr, buffer, &size));
    EXPECT_EQ(5, size);
    EXPECT_EQ(0, switches.GetSwitchValues("UNPELL", buffer, nullptr));
}

TEST(CommandLineSwitches, OverlongTextsAreDroppedNotCut)
{
    const std::string value259(259, 'v');
    const std::string value260(260, 'w');
    CommandLineSwitches switches;
    switches.ParseText(("x /MFG:" + value259 + "," + value260 + ",ok /" + std::string(260, 'N') + ":a")
                           .c_str());
    ASSERT_EQ(1u, switches.Switches().size());
    EXPECT_EQ((std::vector<std::string>{value259, "ok"}), switches.SwitchValues("MFG"));

    // A command line far beyond 4096 characters is read to its end.
    std::string longLine = "x";
    for (int i = 0; i < 1000; ++i)
        longLine += " /PRN:driver" + std::to_string(i);
    switches.ParseText(longLine.c_str());
    EXPECT_EQ(1000u, switches.SwitchValues("PRN").size());
    EXPECT_EQ("driver999", switches.SwitchValues("PRN").back());
}
