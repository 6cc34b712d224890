#include "ListViewText.h"

std::string ListViewCell(HWND list, int row, int column)
{
    char text[260] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

std::vector<std::string> ListViewHeadings(HWND list)
{
    std::vector<std::string> headings;
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int column = 0; column < columns; ++column) {
        char text[64] = {};
        LVCOLUMNA description = {};
        description.mask = LVCF_TEXT;
        description.pszText = text;
        description.cchTextMax = sizeof(text);
        SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&description));
        headings.push_back(text);
    }
    return headings;
}

std::vector<std::vector<std::string>> ListViewCells(HWND list)
{
    const int columns = static_cast<int>(ListViewHeadings(list).size());
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < ListViewRowCount(list); ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column < columns; ++column)
            cells.push_back(ListViewCell(list, row, column));
        rows.push_back(cells);
    }
    return rows;
}
