#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "ListViewCtl.h"

namespace {

class ListViewCtlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        parent = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
        HWND window = CreateWindowA(WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 400, 300, parent, nullptr,
                                    nullptr, nullptr);
        ASSERT_NE(nullptr, window);
        list.Bind(window);
    }
    void TearDown() override { DestroyWindow(parent); }

    void AddColumn(int index, const char* heading)
    {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.cx = 100;
        column.pszText = const_cast<char*>(heading);
        column.iSubItem = index;
        ASSERT_EQ(index, list.InsertColumn(index, &column));
    }

    HWND parent = nullptr;
    ListViewCtl list;
};

}  // namespace

TEST(ListViewCtlUnbound, EveryOperationFailsQuietly)
{
    ListViewCtl list;
    LVCOLUMNA column = {};
    char buffer[8] = "x";
    EXPECT_EQ(-1, list.InsertColumn(0, &column));
    EXPECT_EQ(-1, list.InsertItem("a", -1, 0, 0));
    EXPECT_FALSE(list.SetItemText("a", 0, 0));
    EXPECT_FALSE(list.GetItemText(0, 0, buffer, sizeof(buffer)));
    EXPECT_FALSE(list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED));
    EXPECT_EQ(-1, list.ViewMode());
    EXPECT_EQ(-1, list.ItemCount());
    list.SetViewMode(1);
    list.ShowSelectionAlways(true);
    EXPECT_EQ(0, list.ColumnCount());
}

TEST_F(ListViewCtlTest, ColumnsRowsAndTexts)
{
    AddColumn(0, "Nombre");
    AddColumn(1, "Controlador");
    EXPECT_EQ(-1, list.InsertColumn(-1, nullptr));
    EXPECT_EQ(2, list.ColumnCount());

    EXPECT_EQ(0, list.InsertItem("Corvel", -1, 2, 7));
    EXPECT_EQ(1, list.InsertItem("", -1, -1, 8));
    EXPECT_EQ(2, list.ItemCount());
    EXPECT_TRUE(list.SetItemText("VANTO PCL", 0, 1));

    char text[8] = {};
    EXPECT_TRUE(list.GetItemText(0, 1, text, sizeof(text)));
    EXPECT_STREQ("VANTO P", text);  // cut to the capacity, terminated
    EXPECT_FALSE(list.GetItemText(1, 0, text, sizeof(text)));
    EXPECT_STREQ("", text);
    EXPECT_FALSE(list.GetItemText(-1, 0, text, sizeof(text)));
    EXPECT_FALSE(list.GetItemText(0, 0, text, 0));

    LVITEMA item = {};
    item.mask = LVIF_IMAGE | LVIF_PARAM;
    item.iItem = 0;
    ASSERT_TRUE(SendMessageA(list.Window(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(2, item.iImage);
    EXPECT_EQ(7, item.lParam);
}

TEST_F(ListViewCtlTest, SelectionStateAndViewModes)
{
    AddColumn(0, "Nombre");
    list.InsertItem("a", -1, -1, 0);
    list.InsertItem("b", -1, -1, 0);
    EXPECT_TRUE(list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED));
    EXPECT_FALSE(list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED));
    EXPECT_EQ(1, list.SelectedCount());

    EXPECT_EQ(1, list.ViewMode());
    for (int mode : {3, 0, 2, 1}) {
        list.SetViewMode(mode);
        EXPECT_EQ(mode, list.ViewMode());
    }
    list.ShowSelectionAlways(true);
    EXPECT_TRUE(GetWindowLongA(list.Window(), GWL_STYLE) & LVS_SHOWSELALWAYS);
    list.ShowSelectionAlways(false);
    EXPECT_FALSE(GetWindowLongA(list.Window(), GWL_STYLE) & LVS_SHOWSELALWAYS);
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(0, list.ItemCount());
}
