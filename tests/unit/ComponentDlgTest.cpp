#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "ComponentDlg.h"
#include "DialogDriver.h"
#include "ProductText.h"
#include "TempDir.h"
#include "TestPaths.h"
#include "TestRegistry.h"
#include "resource.h"

namespace {

const char kGuid[] = "{7E57C0DE-0000-4000-8000-000000000001}";
const char kUninstall[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// The scanner's uninstall key, with the command when one is given.
class ScannerKey : public ScopedKeys {
public:
    explicit ScannerKey(const char* command) : ScopedKeys(HKEY_LOCAL_MACHINE, {std::string(kUninstall) + kGuid})
    {
        if (command)
            SetText(HKEY_LOCAL_MACHINE, std::string(kUninstall) + kGuid, "UninstallString", command);
        else
            MakeKey(HKEY_LOCAL_MACHINE, std::string(kUninstall) + kGuid);
    }
};

StringLoader& Strings()
{
    static StringLoader strings(GetModuleHandleA(nullptr));
    return strings;
}

}  // namespace

TEST(ComponentDialog, ConfirmsThePreselectedChoice)
{
    struct Case {
        int choice;
        WPARAM command;
        INT_PTR result;
        UINT message;
    };
    for (const Case& c : {Case{COMPONENT_BOTH, IDOK, 1, IDS_COMPONENT_BOTH_INFO},
                          Case{COMPONENT_PRINTER, IDOK, 1, IDS_COMPONENT_PRINTER_INFO},
                          Case{COMPONENT_PRINTER, IDCANCEL, 2, IDS_COMPONENT_PRINTER_INFO}}) {
        CComponentDlg dialog;
        dialog.choice = c.choice;
        std::string caption, message, both;
        bool radioHiddenAndDisabled = true, bothChecked = false;
        const INT_PTR result = RunModalDialog(
            GetModuleHandleA(nullptr), "IDD_COMPONENT", nullptr, &dialog, [&](HWND window) {
                caption = WindowText(window);
                message = ItemText(window, IDC_COMPONENT_MESSAGE);
                both = ItemText(window, IDC_COMPONENT_BOTH);
                for (int id : {IDC_COMPONENT_BOTH, IDC_COMPONENT_PRINTER, IDC_COMPONENT_SCANNER}) {
                    HWND radio = GetDlgItem(window, id);
                    radioHiddenAndDisabled = radioHiddenAndDisabled && !IsWindowVisible(radio) && !IsWindowEnabled(radio);
                }
                bothChecked = IsDlgButtonChecked(window, IDC_COMPONENT_BOTH) == BST_CHECKED;
                PostMessageA(window, WM_COMMAND, c.command, 0);
            });
        EXPECT_EQ(c.result, result);
        EXPECT_EQ(ProductText(IDS_COMPONENT_UNINSTALL), caption);
        EXPECT_EQ(Strings().GetString(c.message), message);
        EXPECT_EQ(ProductText(IDS_COMPONENT_BOTH), both);
        EXPECT_TRUE(radioHiddenAndDisabled);
        EXPECT_TRUE(bothChecked);
        EXPECT_EQ(c.choice, dialog.choice);  // the checked radio does not change it
    }
    EXPECT_NE(std::string(Strings().GetString(IDS_COMPONENT_PRINTER_INFO)), Strings().GetString(IDS_COMPONENT_BOTH_INFO));
}

TEST(ComponentDialog, RadioCommandsSetTheChoice)
{
    CComponentDlg dialog;
    EXPECT_EQ(COMPONENT_PRINTER, dialog.choice);
    RunModalDialog(GetModuleHandleA(nullptr), "IDD_COMPONENT", nullptr, &dialog, [](HWND window) {
        PostMessageA(window, WM_COMMAND, IDC_COMPONENT_SCANNER, 0);
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(COMPONENT_SCANNER, dialog.choice);
}

// The scanner tests share one uninstall key of the prefix: they run alone.
TEST(SerialScannerDriver, InstalledWhenItsUninstallKeyExists)
{
    EXPECT_FALSE(ScannerDriverInstalled(kGuid));
    {
        ScannerKey key(nullptr);
        EXPECT_TRUE(ScannerDriverInstalled(kGuid));
        EXPECT_FALSE(ScannerDriverInstalled(""));
    }
    EXPECT_FALSE(ScannerDriverInstalled(kGuid));
    EXPECT_FALSE(ScannerDriverInstalled(std::string(300, 'g').c_str()));
}

TEST(SerialScannerDriver, RunsTheRegisteredUninstallCommand)
{
    TempDir dir;
    const std::string marker = dir.Join("scanner-removed.txt");
    const std::string command = "cmd.exe /c echo hecho>\"" + marker + "\"";
    ScannerKey key(command.c_str());
    MessageBoxRecorder boxes;
    EXPECT_EQ(1, RunScannerUninstaller(nullptr, kGuid, Strings()));
    EXPECT_TRUE(boxes.Messages().empty());
    EXPECT_TRUE(WaitForPath(marker, 10000));
}

TEST(SerialScannerDriver, MissingProgramOrKeyIsReported)
{
    {
        ScannerKey key("C:\\no\\such\\uninstaller.exe /remove");
        MessageBoxRecorder boxes;
        EXPECT_EQ(0, RunScannerUninstaller(nullptr, kGuid, Strings()));
        ASSERT_EQ(1u, boxes.Messages().size());
        EXPECT_EQ(Strings().GetString(IDS_SCANNER_UNINSTALL_FAILED), boxes.Messages()[0].text);
        EXPECT_EQ(ProductText(IDS_ERROR_CAPTION), boxes.Messages()[0].caption);
        EXPECT_TRUE(boxes.Messages()[0].style & MB_ICONWARNING);
    }
    for (const char* guid : {kGuid, ""}) {
        MessageBoxRecorder boxes;
        EXPECT_EQ(0, RunScannerUninstaller(nullptr, guid, Strings()));
        ASSERT_EQ(1u, boxes.Messages().size()) << guid;
        EXPECT_EQ(Strings().GetString(IDS_FINISHED), boxes.Messages()[0].text);
        EXPECT_EQ(Strings().GetString(IDS_CAPTION), boxes.Messages()[0].caption);
    }
}
