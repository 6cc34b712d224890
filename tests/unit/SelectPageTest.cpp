#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "DatabaseBuilder.h"
#include "DialogDriver.h"
#include "ListViewText.h"
#include "PrivateMessages.h"
#include "ProductText.h"
#include "SelectPage.h"
#include "TestRegistry.h"
#include "resource.h"

namespace {

class SelectPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitCommonControls();
        main = CreateWindowA("STATIC", "main", WS_POPUP, 0, 0, 500, 400, nullptr, nullptr, nullptr, nullptr);
        page.SetDatabase(&database);
        window = CreateDialogParamA(GetModuleHandleA(nullptr), "IDD_SELECT", main, DialogProc,
                                    reinterpret_cast<LPARAM>(&page));
        ASSERT_NE(nullptr, window);
        list = GetDlgItem(window, IDC_PRINTER_LIST);
        DrainMainMessages();
    }
    void TearDown() override
    {
        DestroyWindow(main);
    }
    const ScopedKeys menuSwitch{HKEY_CURRENT_USER, {"SOFTWARE\\VANTO\\TRELUN08"}};

    // The private messages posted to the main window, in order.
    std::vector<std::pair<UINT, WPARAM>> DrainMainMessages()
    {
        std::vector<std::pair<UINT, WPARAM>> seen;
        MSG message;
        while (PeekMessageA(&message, main, UM_ENABLE_UNINSTALL, UM_REMOVAL_DONE, PM_REMOVE))
            seen.push_back({message.message, message.wParam});
        return seen;
    }
    std::string Cell(int row, int column) { return ListViewCell(list, row, column); }
    int Rows() { return ListViewRowCount(list); }
    int Image(int row)
    {
        LVITEMA item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item.iImage;
    }
    void Select(int row, bool on)
    {
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED;
        item.state = on ? LVIS_SELECTED : 0;
        SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }

    HWND main = nullptr;
    HWND window = nullptr;
    HWND list = nullptr;
    UninstallDatabase database;
    SelectPage page;
};

}  // namespace

TEST_F(SelectPageTest, ShowsLoadingRowUntilFilled)
{
    ASSERT_EQ(1, Rows());
    EXPECT_EQ(ProductText(IDS_LOADING_ROW), Cell(0, 0));
    EXPECT_EQ(ProductText(IDS_SELECT_PROMPT), ItemText(window, IDC_SELECT_PROMPT));
    // No listed printer: the list is emptied and the main window hears nothing.
    page.FillPrinterList();
    EXPECT_EQ(0, Rows());
    EXPECT_TRUE(DrainMainMessages().empty());
}

TEST_F(SelectPageTest, ImageListsBelongToThePageNotToTheListView)
{
    HIMAGELIST small = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    HIMAGELIST large = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
    ASSERT_NE(nullptr, small);
    ASSERT_NE(nullptr, large);
    DestroyWindow(window);
    // Still whole: only the page's destructor destroys them, once.
    EXPECT_GT(ImageList_GetImageCount(small), 0);
    EXPECT_GT(ImageList_GetImageCount(large), 0);
}

TEST_F(SelectPageTest, ListsOnlyListedPrintersWithAllSixColumns)
{
    database.printers.Append(MakePrinter("Corvel Oficina", "VANTO Corvel PCL", "", "", 1));
    InstalledPrinter foreign = MakePrinter("Ajena", "Otro");
    foreign.foreign = 1;
    database.printers.Append(foreign);
    InstalledPrinter hidden = MakePrinter("Oculta", "VANTO Corvel PCL");
    hidden.listed = 0;
    database.printers.Append(hidden);
    database.printers.Append(MakePrinter("Corvel Red", "VANTO Corvel PS", "Corvel Oficina", "\\\\servidor"));

    page.FillPrinterList();
    ASSERT_EQ(2, Rows());
    EXPECT_EQ("Corvel Oficina", Cell(0, 0));
    EXPECT_EQ("VANTO Corvel PCL", Cell(0, 1));
    EXPECT_EQ("Local", Cell(0, 2));
    EXPECT_EQ("S\xED", Cell(0, 3));
    EXPECT_EQ("S\xED", Cell(0, 4));
    EXPECT_EQ("(n/a)", Cell(0, 5));
    EXPECT_EQ(1, Image(0));
    EXPECT_EQ("Corvel Red", Cell(1, 0));
    EXPECT_EQ("\\\\servidor", Cell(1, 2));
    EXPECT_EQ("No", Cell(1, 3));
    EXPECT_EQ("Corvel Oficina", Cell(1, 5));
    EXPECT_EQ(2 | 4, Image(1));

    EXPECT_EQ(LVS_LIST, GetWindowLongA(list, GWL_STYLE) & LVS_TYPEMASK);
    EXPECT_EQ(0, static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0)));
    const auto posted = DrainMainMessages();
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(UM_ENABLE_UNINSTALL, posted[0].first);
    EXPECT_EQ(0u, posted[0].second);
}

TEST_F(SelectPageTest, SelectionEnablesUninstallAndIsCollected)
{
    database.printers.Append(MakePrinter("Uno", "VANTO A"));
    database.printers.Append(MakePrinter("Dos", "VANTO B"));
    page.FillPrinterList();
    DrainMainMessages();

    Select(1, true);
    auto posted = DrainMainMessages();
    ASSERT_FALSE(posted.empty());
    EXPECT_EQ(UM_ENABLE_UNINSTALL, posted.back().first);
    EXPECT_EQ(1u, posted.back().second);

    page.CollectSelection();
    EXPECT_EQ(1, page.selectedCount);
    auto it = database.printers.begin();
    EXPECT_EQ(1, it->excluded);
    EXPECT_EQ(0, (++it)->excluded);

    // Deselecting everything tells the main window nothing.
    Select(1, false);
    EXPECT_TRUE(DrainMainMessages().empty());
    page.CollectSelection();
    EXPECT_EQ(0, page.selectedCount);
    for (const InstalledPrinter& printer : database.printers)
        EXPECT_EQ(1, printer.excluded);
}

// A printer whose name fills its whole field is still found from its row:
// left unselected, it stays.
TEST_F(SelectPageTest, LongestNamesAreCollectedToo)
{
    const std::string longName(259, 'L');
    database.printers.Append(MakePrinter(longName.c_str(), "VANTO A"));
    database.printers.Append(MakePrinter((longName.substr(0, 258) + "M").c_str(), "VANTO A"));
    page.FillPrinterList();
    Select(1, true);
    page.CollectSelection();
    EXPECT_EQ(1, page.selectedCount);
    auto it = database.printers.begin();
    EXPECT_EQ(1, it->excluded);
    EXPECT_EQ(0, (++it)->excluded);
}

TEST_F(SelectPageTest, MenuCommandsSelectAllAndStartRemoval)
{
    database.printers.Append(MakePrinter("Uno", "VANTO A"));
    database.printers.Append(MakePrinter("Dos", "VANTO B"));
    page.FillPrinterList();
    SendMessageA(window, WM_COMMAND, IDM_SELECT_ALL, 0);
    EXPECT_EQ(2, static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0)));
    DrainMainMessages();
    SendMessageA(window, WM_COMMAND, IDM_REMOVE_PRINTERS, 0);
    EXPECT_EQ(2, page.selectedCount);
    const auto posted = DrainMainMessages();
    ASSERT_FALSE(posted.empty());
    EXPECT_EQ(UM_START_REMOVAL, posted.back().first);
    SendMessageA(window, WM_COMMAND, IDM_DETAILS, 0);
    EXPECT_EQ(LVS_REPORT, GetWindowLongA(list, GWL_STYLE) & LVS_TYPEMASK);
}

// One test for both states of the switch: tests run in parallel and the
// switch is one registry value.
TEST_F(SelectPageTest, ContextMenuFollowsTheRegistrySwitch)
{
    RegDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\VANTO\\TRELUN08");
    database.printers.Append(MakePrinter("Uno", "VANTO A"));
    page.FillPrinterList();
    HMENU menu = page.PreparedContextMenu();
    ASSERT_NE(nullptr, menu);
    ASSERT_EQ(8, GetMenuItemCount(menu));
    EXPECT_EQ(static_cast<UINT>(IDM_SELECT_ALL), GetMenuItemID(menu, 7));
    EXPECT_TRUE(GetMenuState(menu, IDM_LIST, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(menu, IDM_DETAILS, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(menu, IDM_REMOVE_PRINTERS, MF_BYCOMMAND) & MF_GRAYED);
    Select(0, true);
    menu = page.PreparedContextMenu();
    EXPECT_FALSE(GetMenuState(menu, IDM_REMOVE_PRINTERS, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(static_cast<UINT>(IDM_REMOVE_PRINTERS), GetMenuDefaultItem(menu, FALSE, 0));

    // With the switch on, a new page keeps "Otros detalles...", grayed while
    // nothing is selected.
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueA(HKEY_CURRENT_USER, "SOFTWARE\\VANTO\\TRELUN08", REG_SZ, "1", 1));
    SelectPage second;
    second.SetDatabase(&database);
    HWND secondWindow = CreateDialogParamA(GetModuleHandleA(nullptr), "IDD_SELECT", main, DialogProc,
                                           reinterpret_cast<LPARAM>(&second));
    ASSERT_NE(nullptr, secondWindow);
    second.FillPrinterList();
    HMENU full = second.PreparedContextMenu();
    ASSERT_NE(nullptr, full);
    ASSERT_EQ(10, GetMenuItemCount(full));
    EXPECT_EQ(static_cast<UINT>(IDM_EXTRA_INFO), GetMenuItemID(full, 9));
    EXPECT_TRUE(GetMenuState(full, IDM_EXTRA_INFO, MF_BYCOMMAND) & MF_GRAYED);
}
