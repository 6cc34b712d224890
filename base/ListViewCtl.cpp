#include "ListViewCtl.h"

int ListViewCtl::InsertColumn(int index, const LVCOLUMNA* column)
{
    if (!window || index < 0 || !column)
        return -1;
    const int inserted = static_cast<int>(
        SendMessageA(window, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(column)));
    if (inserted >= 0)
        ++columnCount;
    return inserted;
}

int ListViewCtl::InsertItem(const char* text, int row, int image, LPARAM data)
{
    if (!window)
        return -1;
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row == -1 ? ItemCount() : row;
    item.lParam = data;
    if (text && text[0]) {
        item.mask |= LVIF_TEXT;
        item.pszText = const_cast<char*>(text);
    }
    if (image != -1) {
        item.mask |= LVIF_IMAGE;
        item.iImage = image;
    }
    return static_cast<int>(SendMessageA(window, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL ListViewCtl::SetItemText(const char* text, int row, int column)
{
    if (!window)
        return FALSE;
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text ? text : "");
    return static_cast<BOOL>(SendMessageA(window, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL ListViewCtl::GetItemText(int row, int column, char* buffer, int capacity)
{
    if (!window || row < 0 || !buffer || capacity < 1)
        return FALSE;
    buffer[0] = '\0';
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = capacity;
    const LRESULT copied = SendMessageA(window, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    buffer[capacity - 1] = '\0';
    return copied > 0;
}

BOOL ListViewCtl::SetItemState(int row, UINT state, UINT mask)
{
    if (!window || row < 0)
        return FALSE;
    LVITEMA item = {};
    item.state = state;
    item.stateMask = mask;
    return SendMessageA(window, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item)) != 0;
}

int ListViewCtl::ItemCount() const
{
    return window ? static_cast<int>(SendMessageA(window, LVM_GETITEMCOUNT, 0, 0)) : -1;
}

int ListViewCtl::SelectedCount() const
{
    return window ? static_cast<int>(SendMessageA(window, LVM_GETSELECTEDCOUNT, 0, 0)) : -1;
}

BOOL ListViewCtl::DeleteAllItems()
{
    return window ? static_cast<BOOL>(SendMessageA(window, LVM_DELETEALLITEMS, 0, 0)) : FALSE;
}

int ListViewCtl::ViewMode() const
{
    return window ? static_cast<int>(GetWindowLongA(window, GWL_STYLE) & LVS_TYPEMASK) : -1;
}

void ListViewCtl::SetViewMode(int mode)
{
    if (!window || mode < 0 || mode > 3)
        return;
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    if ((style & LVS_TYPEMASK) != mode)
        SetWindowLongA(window, GWL_STYLE, (style & ~LVS_TYPEMASK) | mode);
}

void ListViewCtl::ShowSelectionAlways(bool on)
{
    if (!window)
        return;
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    SetWindowLongA(window, GWL_STYLE, on ? (style | LVS_SHOWSELALWAYS) : (style & ~LVS_SHOWSELALWAYS));
}
