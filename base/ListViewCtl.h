// Thin wrapper of a list-view control. Every operation answers with its
// failure value (-1 for indexes, 0 otherwise) while no window is bound.
#pragma once
#include <windows.h>
#include <commctrl.h>

class ListViewCtl {
public:
    ListViewCtl() : window(nullptr), columnCount(0) {}

    void Bind(HWND listView) { window = listView; }
    HWND Window() const { return window; }
    int ColumnCount() const { return columnCount; }

    int InsertColumn(int index, const LVCOLUMNA* column);
    // Row -1 appends after the last row. The text is set only when non-empty,
    // the image only when it is not -1.
    int InsertItem(const char* text, int row, int image, LPARAM data);
    BOOL SetItemText(const char* text, int row, int column);
    BOOL GetItemText(int row, int column, char* buffer, int capacity);
    BOOL SetItemState(int row, UINT state, UINT mask);
    int ItemCount() const;
    int SelectedCount() const;
    BOOL DeleteAllItems();

    // 0 large icons, 1 details, 2 small icons, 3 list; -1 without a window.
    int ViewMode() const;
    void SetViewMode(int mode);
    void ShowSelectionAlways(bool on);

private:
    HWND window;
    int columnCount;
};
