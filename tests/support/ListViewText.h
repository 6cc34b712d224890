// Reads a list view (SysListView32) of this process: its row count, a cell,
// the column headings, every row. The row count also works for a list view
// of another process; for its texts see UiDriver::ListViewRows.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

// Header-only, so that programs that take UiDriver.cpp alone have it too.
inline int ListViewRowCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }
std::string ListViewCell(HWND list, int row, int column);
std::vector<std::string> ListViewHeadings(HWND list);
// Every row, with as many cells as the list has headings.
std::vector<std::vector<std::string>> ListViewCells(HWND list);
