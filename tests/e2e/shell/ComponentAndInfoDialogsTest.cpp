// The component choice with the scanner driver's uninstaller, the about
// box and the profile inspection dialog, through the real program.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "ProductText.h"
#include "ProgramSandbox.h"
#include "TestPaths.h"
#include "TestRegistry.h"
#include "resource.h"

namespace {

const char kGuid[] = "{0ACE4410-5CA7-4E11-9D08-0000000E2E08}";
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

const char kState[] =
    "[Printer]\nName=Corvel Uno\nPort=LPT1:\nDriver=VANTO Corvel PCL\nData.VantoDriver08=1\n"
    "[Printer]\nName=Corvel Dos\nPort=LPT2:\nDriver=VANTO Corvel PS\nData.VantoDriver08=1\n"
    "[Driver]\nName=VANTO Corvel PCL\n[Driver]\nName=VANTO Corvel PS\n";

std::string Script(bool scanner)
{
    std::string script =
        "[UnPrinterDrivers]\r\n\"VANTO Corvel PCL\",VCP,1\r\n\"VANTO Corvel PS\",VCS,2\r\n"
        "[VCP.Files]\r\nvcp.dll\r\n[VCP.RegistryKeys]\r\nHKLM,\"SOFTWARE\\VANTO\\E2E\",\"Valor\",0\r\n"
        "[VCS.Files]\r\nvcs.dll\r\n";
    if (scanner)
        script += std::string("[UnScannerDriver]\r\nUninstallScanner=1\r\nProductGUID=") + kGuid + "\r\n";
    return script;
}

// The scanner driver's uninstall entry, removed again afterwards.
class ScannerEntry : public ScopedKeys {
public:
    explicit ScannerEntry(const std::string& command)
        : ScopedKeys(HKEY_LOCAL_MACHINE, {std::string(kUninstallKey) + kGuid})
    {
        SetText(HKEY_LOCAL_MACHINE, std::string(kUninstallKey) + kGuid, "UninstallString", command);
    }
};

std::vector<std::string> Printers(ProgramSandbox& run)
{
    std::vector<std::string> names;
    for (const auto& printer : run.Spooler().Read().printers)
        names.push_back(printer.name);
    return names;
}

HWND WaitForComponentDialog(ProgramSandbox& run) { return run.Driver().WaitForWindow("#32770", ProductText(IDS_COMPONENT_UNINSTALL).c_str(), 60000); }

// Picks the printers whose rows hold these names and presses "Desinstalar".
void ChooseAndUninstall(ProgramSandbox& run, HWND main, const std::vector<std::string>& names)
{
    HWND list = run.SelectionList(main);
    ASSERT_NE(nullptr, list);
    ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(list) > 0; }, 10000));
    const auto rows = run.Driver().ListViewRows(list, 1);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (const std::string& name : names) {
            if (rows[row][0] == name)
                run.Driver().SetListViewSelection(list, static_cast<int>(row), true);
        }
    }
    ASSERT_TRUE(WaitUntil([&] { return UiDriver::IsEnabled(main, 1080); }, 5000));
    UiDriver::Click(main, 1080);
}

}  // namespace

TEST(ComponentChoice, ScannerInstalledGoesWithThePrinters)
{
    ProgramSandbox run(kState, Script(true));
    const std::string marker = run.Directory() + "scanner-uninstalled.txt";
    ScannerEntry entry("cmd.exe /c echo desinstalado>\"" + marker + "\"");
    ASSERT_TRUE(run.Start("", "winxp"));
    HWND dialog = WaitForComponentDialog(run);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(0u, UiDriver::Text(GetDlgItem(dialog, 1119))
                      .find("El dispositivo siguiente se quitar\xE1 como parte de esta desinstalaci\xF3n:"));
    EXPECT_NE(std::string::npos, UiDriver::Text(GetDlgItem(dialog, 1119)).find("y controlador del esc\xE1ner."));
    run.Screenshot(dialog, "component-dialog");
    UiDriver::Click(dialog, IDOK);

    HWND main = run.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    ChooseAndUninstall(run, main, {"Corvel Uno"});
    unsigned long exitCode = 0;
    const auto boxes = run.AnswerUntilExit(IDOK, 60000, &exitCode);
    EXPECT_TRUE(boxes.empty()) << boxes[0].text;  // no completion message before the scanner's uninstaller
    EXPECT_EQ(1u, exitCode);
    EXPECT_TRUE(WaitForPath(marker, 15000));
    EXPECT_EQ((std::vector<std::string>{"Corvel Dos"}), Printers(run));
}

TEST(ComponentChoice, ScannerAbsentRemovesThePrinterDriverOnly)
{
    ProgramSandbox run(kState, Script(true));
    ASSERT_TRUE(run.Start("", "winxp"));
    HWND dialog = WaitForComponentDialog(run);
    ASSERT_NE(nullptr, dialog);
    const std::string text = UiDriver::Text(GetDlgItem(dialog, 1119));
    EXPECT_NE(std::string::npos, text.find("controlador de la impresora."));
    EXPECT_EQ(std::string::npos, text.find("esc\xE1ner"));
    UiDriver::Click(dialog, IDOK);
    HWND main = run.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    ChooseAndUninstall(run, main, {"Corvel Dos"});
    unsigned long exitCode = 0;
    const auto boxes = run.AnswerUntilExit(IDOK, 60000, &exitCode);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(ProductText(IDS_FINISHED), boxes[0].text);
    EXPECT_EQ(1u, exitCode);
    EXPECT_EQ((std::vector<std::string>{"Corvel Uno"}), Printers(run));
}

TEST(ComponentChoice, CancelRemovesNothing)
{
    ProgramSandbox run(kState, Script(true));
    ASSERT_TRUE(run.Start("", "winxp"));
    HWND dialog = WaitForComponentDialog(run);
    ASSERT_NE(nullptr, dialog);
    UiDriver::Click(dialog, IDCANCEL);
    EXPECT_EQ(1u, run.Driver().WaitForExit(20000));
    EXPECT_EQ((std::vector<std::string>{"Corvel Uno", "Corvel Dos"}), Printers(run));
    EXPECT_TRUE(run.Spooler().Journal().empty());
}

TEST(ComponentChoice, MissingUninstallerIsReported)
{
    ProgramSandbox run(kState, Script(true));
    ScannerEntry entry("C:\\no\\such\\scanner-uninstall.exe /quitar");
    ASSERT_TRUE(run.Start("", "winxp"));
    HWND dialog = WaitForComponentDialog(run);
    ASSERT_NE(nullptr, dialog);
    UiDriver::Click(dialog, IDOK);
    HWND main = run.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    ChooseAndUninstall(run, main, {"Corvel Uno"});
    unsigned long exitCode = 0;
    const auto boxes = run.AnswerUntilExit(IDOK, 60000, &exitCode);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(ProductText(IDS_ERROR_CAPTION), boxes[0].caption);
    EXPECT_EQ(0u, boxes[0].text.find("No se puedo desinstalar el controlador de esc\xE1ner."));
    EXPECT_EQ(1u, exitCode);
}

namespace {

// Opens the about box from the system menu and reads its rows.
std::vector<std::vector<std::string>> AboutRows(ProgramSandbox& run, HWND main, const std::string& shot)
{
    PostMessageA(main, WM_SYSCOMMAND, 156, 0);
    HWND about = run.Driver().WaitForWindow("#32770", ProductText(IDS_ABOUT_CAPTION).c_str(), 10000);
    if (!about)
        return {};
    HWND list = GetDlgItem(about, 1020);
    WaitUntil([&] { return ListViewRowCount(list) == 6; }, 5000);
    const auto rows = run.Driver().ListViewRows(list, 2);
    run.Screenshot(about, shot);
    PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
    WaitUntil([&] { return !IsWindow(about); }, 5000);
    return rows;
}

}  // namespace

TEST(AboutBox, RowsUnderXpAnd98)
{
    for (const char* version : {"winxp", "win98"}) {
        ProgramSandbox run(kState, Script(false));
        ASSERT_TRUE(run.Start("", version));
        HWND main = run.WaitForMainWindow();
        ASSERT_NE(nullptr, main) << version;
        // The system menu holds the about item in a column of its own.
        const auto rows = AboutRows(run, main, std::string("about-") + version);
        ASSERT_EQ(6u, rows.size()) << version;
        EXPECT_EQ(ProductText(IDS_ABOUT_VERSION), rows[0][0]);
        EXPECT_EQ("8.01.00.00", rows[0][1]);
        EXPECT_EQ(ProductText(IDS_ABOUT_BUILD), rows[1][0]);
        EXPECT_EQ(ProductText(IDS_ABOUT_PLATFORM), rows[2][0]);
        EXPECT_EQ(std::string(version) == "winxp" ? "WinNT" : "Win9x", rows[2][1]);
        EXPECT_EQ("Free Physical RAM", rows[3][0]);
        EXPECT_NE(std::string::npos, rows[5][1].find(" kb"));
        UiDriver::Click(main, 1052);
        EXPECT_EQ(1u, run.Driver().WaitForExit(20000)) << version;
    }
}

namespace {

class MenuSwitch : public ScopedKeys {
public:
    MenuSwitch() : ScopedKeys(HKEY_CURRENT_USER, {"SOFTWARE\\VANTO\\TRELUN08"})
    {
        RegSetValueA(HKEY_CURRENT_USER, "SOFTWARE\\VANTO\\TRELUN08", REG_SZ, "1", 1);
    }
};

struct InfoView {
    std::string caption;
    bool checkEnabled = false;
    std::vector<std::vector<std::string>> rows;
};

InfoView ReadInfo(ProgramSandbox& run, HWND dialog, int columns)
{
    InfoView view;
    view.caption = UiDriver::Text(dialog);
    view.checkEnabled = UiDriver::IsEnabled(dialog, 1017);
    view.rows = run.Driver().ListViewRows(GetDlgItem(dialog, 1108), columns);
    return view;
}

void ClickCategory(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    Sleep(400);
}

}  // namespace

TEST(InspectionDialog, WhatTheSelectionWouldRemove)
{
    MenuSwitch on;
    ProgramSandbox run(kState, Script(false));
    ASSERT_TRUE(run.Start("", "winxp"));
    HWND main = run.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    HWND list = run.SelectionList(main);
    ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(list) == 2; }, 10000));
    run.Driver().SetListViewSelection(list, 0, true);
    run.Driver().SetListViewSelection(list, 1, true);
    HWND page = GetParent(list);
    PostMessageA(page, WM_COMMAND, 40012, 0);
    HWND dialog = run.Driver().WaitForWindow("#32770", "Extra Info - Multiple Printers", 10000);
    ASSERT_NE(nullptr, dialog);
    InfoView view = ReadInfo(run, dialog, 3);
    EXPECT_FALSE(view.checkEnabled);
    ASSERT_EQ(1u, view.rows.size());
    EXPECT_EQ("(empty)", view.rows[0][0]);  // DeleteIni
    ClickCategory(dialog, 1100);
    view = ReadInfo(run, dialog, 1);
    // With both printers going the final clean-up takes the script too.
    ASSERT_EQ(3u, view.rows.size());
    EXPECT_EQ("vcp.dll", view.rows[0][0]);
    EXPECT_EQ("vcs.dll", view.rows[1][0]);
    EXPECT_EQ("VUNZ__08.unm", view.rows[2][0]);
    ClickCategory(dialog, 1103);
    view = ReadInfo(run, dialog, 4);
    bool quoted = false;
    for (const auto& row : view.rows)
        quoted = quoted || (row[1] == "\"SOFTWARE\\VANTO\\E2E\"" && row[2] == "\"Valor\"");
    EXPECT_TRUE(quoted);
    ClickCategory(dialog, 1109);
    view = ReadInfo(run, dialog, 2);
    ASSERT_EQ(7u, view.rows.size());
    for (const auto& row : view.rows)
        EXPECT_EQ('\\', row[1].empty() ? ' ' : row[1].back()) << row[0];
    run.Screenshot(dialog, "inspection-directories");
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));

    // One printer: its own profile with the box checked.
    run.Driver().SetListViewSelection(list, 0, false);
    PostMessageA(page, WM_COMMAND, 40012, 0);
    dialog = run.Driver().WaitForWindow("#32770", "Extra Info - Multiple Printers", 10000);
    ASSERT_NE(nullptr, dialog);
    EXPECT_TRUE(UiDriver::IsEnabled(dialog, 1017));
    PostMessageA(GetDlgItem(dialog, 1017), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return UiDriver::Text(dialog).find("Extra Info - Printer: ") == 0; }, 5000));
    EXPECT_EQ("Extra Info - Printer: VANTO Corvel PS", UiDriver::Text(dialog));
    ClickCategory(dialog, 1100);
    view = ReadInfo(run, dialog, 1);
    ASSERT_EQ(1u, view.rows.size());
    EXPECT_EQ("vcs.dll", view.rows[0][0]);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
    UiDriver::Click(main, 1052);
    EXPECT_EQ(1u, run.Driver().WaitForExit(20000));
}
