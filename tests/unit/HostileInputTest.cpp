// Overlong and malformed input where the program reads it: scripts, the
// command line, INI files of the system, names of 259, 260 and 5,000
// characters. Defined outcomes only: no crash, nothing cut into another name.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "CommandLineSwitches.h"
#include "IniDocument.h"
#include "PathParts.h"
#include "RegistryLine.h"
#include "StartupModes.h"
#include "TempDir.h"
#include "TestPaths.h"
#include "UninstallDatabase.h"

namespace {

std::string Name(std::size_t length, char fill = 'n') { return std::string(length, fill); }

int LoadScriptText(UninstallDatabase& database, const TempDir& dir, const std::string& text)
{
    EXPECT_TRUE(dir.Write("VUNZ__08.unm", text));
    return database.LoadScript(dir.Join("VUNZ__08.unm").c_str());
}

}  // namespace

TEST(HostileScripts, NulBytesByteOrderMarkAndOnlyComments)
{
    TempDir dir;
    UninstallDatabase withNul;
    const std::string nul("[UnPrinterDrivers]\r\n\"VANTO A\",VA,1\r\n\"VAN\0TO B\",VB,2\r\n\"VANTO C\",VC,3\r\n", 70);
    EXPECT_EQ(1, LoadScriptText(withNul, dir, nul));
    ASSERT_EQ(1u, withNul.profiles.size());  // the NUL ends the text
    EXPECT_STREQ("VANTO A", withNul.profiles[0].name);

    UninstallDatabase withBom;
    EXPECT_EQ(0, LoadScriptText(withBom, dir, "\xEF\xBB\xBF[UnPrinterDrivers]\r\n\"VANTO A\",VA,1\r\n"));
    EXPECT_TRUE(withBom.profiles.empty());

    UninstallDatabase comments;
    EXPECT_EQ(0, LoadScriptText(comments, dir, ";[UnPrinterDrivers]\r\n; \"VANTO A\",VA,1\r\n   [x]\r\n"));
    EXPECT_TRUE(comments.profiles.empty());
}

TEST(HostileScripts, HundredThousandLines)
{
    TempDir dir;
    std::string text = "[UnPrinterDrivers]\r\n\"VANTO A\",VA,1\r\n[VA.Files]\r\n";
    for (int i = 0; i < 100000; ++i)
        text += "file" + std::to_string(i % 5000) + ".dll\r\n";
    UninstallDatabase database;
    const DWORD start = GetTickCount();
    ASSERT_EQ(1, LoadScriptText(database, dir, text));
    ASSERT_EQ(1u, database.profiles.size());
    EXPECT_EQ(5000u, database.profiles[0].files.size());  // sorted, duplicates gone
    EXPECT_LT(GetTickCount() - start, 20000u);
}

TEST(HostileScripts, OverlongNamesAndItemsAreSkippedNotCut)
{
    TempDir dir;
    // A starter line is one INI key: with its quotes, prefix and number it
    // must fit 259 characters, so the longest name that can be declared is
    // a little shorter.
    const std::string longest = Name(240);
    const std::string text = "[UnPrinterDrivers]\r\n\"" + longest + "\",VA,1\r\n\"" + Name(260) + "\",VB,2\r\n\"" +
                             Name(5000) + "\",VC,3\r\n\"VANTO D\"," + Name(5000, 'p') + ",4\r\n\"VANTO E\",VE,5\r\n" +
                             "[VA.Files]\r\n" + Name(259, 'f') + "\r\n" + Name(260, 'g') + "\r\n" + Name(5000, 'h') +
                             "\r\nok.dll\r\n[VA.RegistryKeys]\r\nHKLM,,,1\r\nHKXX,SOFTWARE\\VANTO,,1\r\nHKLM\r\n";
    UninstallDatabase database;
    ASSERT_EQ(1, LoadScriptText(database, dir, text));
    std::vector<std::string> names;
    for (const UninstallProfile& profile : database.profiles) {
        names.push_back(profile.name);
        for (int list = 0; list < PROFILE_LIST_COUNT; ++list) {
            for (const std::string& item : profile.List(list))
                EXPECT_LT(item.size(), 260u);
        }
    }
    // The overlong ones are gone whole; nothing carries a cut name.
    EXPECT_EQ((std::vector<std::string>{longest, "VANTO E"}), names);
    EXPECT_EQ((TextList{Name(259, 'f'), "ok.dll"}), database.profiles[0].files);
    // Registry lines with an empty key or an unknown root never reach the removal.
    for (const char* line : {"HKLM,,,1", "HKXX,SOFTWARE\\VANTO,,1", "HKLM", "HKLM,\"\",\"\",0"}) {
        RegistryLine parsed;
        EXPECT_NE(REGLINE_OK, ParseRegistryLine(line, parsed)) << line;
    }
}

TEST(HostileCommandLine, TenThousandCharacters)
{
    std::string line = "\"C:\\trelun08.exe\" /MFG:";
    while (line.size() < 10000)
        line += "VANTO" + std::to_string(line.size()) + ",";
    line += " /PRN:\"" + Name(5000, 'q') + "\" /UNPELL /NOPICK";
    CommandLineSwitches switches;
    EXPECT_EQ(1, switches.ParseText(line.c_str()));
    EXPECT_GT(switches.SwitchValueCount("MFG"), 1000);
    // A value too long for a text field is dropped, never cut.
    EXPECT_EQ(0, switches.SwitchValueCount("PRN"));
    EXPECT_EQ(0, switches.SwitchValueCount("UNPELL"));
    char small[256];
    int size = sizeof(small);
    EXPECT_EQ(0, switches.GetSwitchValues("MFG", small, &size));  // does not fit: nothing copied
    EXPECT_GT(size, 256);
    EXPECT_EQ(MODE_NORMAL, ChooseStartupMode(line.c_str()));
}

TEST(HostileIni, RemovingFromAFileWithLongAndBrokenLines)
{
    TempDir dir;
    const std::string text = "[windows]\r\n" + Name(5000, 'x') + "=1\r\nload=" + Name(300, 'l') + "\r\n[broken\r\nDevice=1\r\n";
    ASSERT_TRUE(dir.Write("win.ini", text));
    const std::string path = dir.Join("win.ini");
    // A cut key is another key: nothing is removed.
    EXPECT_FALSE(RemoveEntryLine(path.c_str(), "windows", Name(5000, 'x').substr(0, 259).c_str()));
    // A line opening with "[" ends the section for the raw edit, as for the
    // raw lookup: the key after it is not touched.
    EXPECT_FALSE(RemoveEntryLine(path.c_str(), "windows", "Device"));
    EXPECT_EQ(text, ReadWholeFile(path));
    IniDocument document;
    ASSERT_TRUE(document.Load(path.c_str()));
    // The two long lines are refused; "[broken" makes no section, so Device
    // stays in [windows] for the reader.
    EXPECT_EQ(1, document.CountEntries("windows"));

    PathParts parts;
    EXPECT_FALSE(SplitPath(("C:\\" + Name(5000, 'd') + "\\x.dll").c_str(), parts));
}
