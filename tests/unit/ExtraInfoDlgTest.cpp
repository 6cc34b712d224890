#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "DatabaseBuilder.h"
#include "DialogDriver.h"
#include "ExtraInfoDlg.h"
#include "ListViewText.h"
#include "resource.h"

TEST(ExtraInfoSplit, ColumnsPerCategory)
{
    typedef std::vector<std::string> Fields;
    EXPECT_EQ((Fields{"win.ini", "windows", "load"}), SplitCategoryLine(1, "win.ini,windows,load,extra"));
    EXPECT_EQ((Fields{"Monitor", ""}), SplitCategoryLine(2, "Monitor"));
    EXPECT_EQ((Fields{"VANTO, Corvel"}), SplitCategoryLine(3, "VANTO, Corvel"));
    EXPECT_EQ((Fields{"hook.dll", "Unreg,Extra"}), SplitCategoryLine(5, "hook.dll,Unreg,Extra"));
    EXPECT_EQ((Fields{"HKLM", "\"SOFTWARE\\VANTO\"", "\"\"", "1"}),
              SplitCategoryLine(7, "HKLM,\"SOFTWARE\\VANTO\",\"\",1"));
    EXPECT_EQ((Fields{"Grupo", "Atajo", "STARTUP,x"}), SplitCategoryLine(10, "Grupo,Atajo,STARTUP,x"));
    EXPECT_TRUE(SplitCategoryLine(12, "x").empty());
    EXPECT_TRUE(SplitCategoryLine(0, "x").empty());
    EXPECT_EQ(259u, SplitCategoryLine(4, std::string(400, 'f'))[0].size());
}

namespace {

struct Seen {
    std::string caption;
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> rows;
    bool checkEnabled = false;
};

Seen Read(HWND dialog)
{
    Seen seen;
    seen.caption = WindowText(dialog);
    HWND list = GetDlgItem(dialog, IDC_EXTRA_LIST);
    seen.headers = ListViewHeadings(list);
    seen.rows = ListViewCells(list);
    seen.checkEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_EXTRA_PROFILE_ONLY)) != FALSE;
    return seen;
}

class ExtraInfoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitCommonControls();
        database.profiles.push_back(MakeDriverProfile("VANTO A", {"a.dll", "common.dll"}));
        database.profiles.push_back(MakeDriverProfile("VANTO B", {"b.dll"}));
        database.printers.Append(MakePrinter("Uno", "VANTO A"));
        database.printers.Append(MakePrinter("Dos", "VANTO B"));
        CommandLineSwitches none;
        database.BuildFullProfile(database.fullProfile, none);
    }

    // Runs the dialog; steps are commands posted one after another, the
    // dialog read after each.
    std::vector<Seen> Run(int selected, const std::vector<WPARAM>& commands)
    {
        std::vector<Seen> seen;
        CExtraInfoDlg dialog;
        dialog.database = &database;
        dialog.selectedCount = selected;
        RunModalDialog(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_EXTRA_INFO), nullptr, &dialog,
                       [&](HWND window) {
                           seen.push_back(Read(window));
                           for (WPARAM command : commands) {
                               if (LOWORD(command) == IDC_EXTRA_PROFILE_ONLY)
                                   CheckDlgButton(window, IDC_EXTRA_PROFILE_ONLY, BST_CHECKED);
                               SendMessageA(window, WM_COMMAND, command, 0);
                               seen.push_back(Read(window));
                           }
                           PostMessageA(window, WM_COMMAND, IDOK, 0);
                       });
        return seen;
    }
    UninstallDatabase database;
};

}  // namespace

TEST_F(ExtraInfoTest, TwoSelectedShowTheRemovalProfileOfTheSelection)
{
    const auto seen = Run(2, {MAKEWPARAM(1100, BN_CLICKED), MAKEWPARAM(1102, BN_CLICKED)});
    ASSERT_EQ(3u, seen.size());
    EXPECT_EQ("Extra Info - Multiple Printers", seen[0].caption);
    EXPECT_FALSE(seen[0].checkEnabled);
    EXPECT_EQ((std::vector<std::string>{"file", "section", "entry"}), seen[0].headers);
    ASSERT_EQ(1u, seen[0].rows.size());
    EXPECT_EQ("(empty)", seen[0].rows[0][0]);
    // Files: everything both printers' profiles name.
    ASSERT_EQ(3u, seen[1].rows.size());
    EXPECT_EQ("a.dll", seen[1].rows[0][0]);
    EXPECT_EQ("b.dll", seen[1].rows[1][0]);
    EXPECT_EQ("Monitor Name", seen[2].headers[0]);
}

TEST_F(ExtraInfoTest, OneSelectedCanShowItsOwnProfile)
{
    database.printers.begin()->excluded = 1;  // "Dos" is the selected one
    const auto seen = Run(1, {MAKEWPARAM(1100, BN_CLICKED), MAKEWPARAM(IDC_EXTRA_PROFILE_ONLY, BN_CLICKED),
                              MAKEWPARAM(1109, BN_CLICKED)});
    ASSERT_EQ(4u, seen.size());
    EXPECT_TRUE(seen[0].checkEnabled);
    ASSERT_EQ(1u, seen[1].rows.size());
    EXPECT_EQ("b.dll", seen[1].rows[0][0]);
    EXPECT_EQ("Extra Info - Printer: VANTO B", seen[2].caption);
    ASSERT_EQ(1u, seen[2].rows.size());
    // Directories: seven rows, each location ending with a backslash.
    ASSERT_EQ(7u, seen[3].rows.size());
    EXPECT_EQ("WINDIR", seen[3].rows[0][0]);
    EXPECT_EQ("PRINTDRIVERDIR_W40", seen[3].rows[6][0]);
    for (const auto& row : seen[3].rows)
        EXPECT_EQ('\\', row[1].back()) << row[0];
}
