#include "SelectPage.h"

#include "PrivateMessages.h"
#include "UninstallDatabase.h"
#include "WindowUtil.h"
#include "resource.h"

namespace {

const int kColumnCount = 6;
const UINT kColumnHeadings[kColumnCount] = {IDS_COL_NAME,    IDS_COL_DRIVER,     IDS_COL_LOCATION,
                                            IDS_COL_DEFAULT, IDS_COL_HALVAPRINT, IDS_COL_PELLED};
const COLORREF kMaskColour = RGB(255, 0, 255);
const char kMenuSwitchKey[] = "SOFTWARE\\VANTO\\TRELUN08";

// Menu positions of "Otros detalles...", its separator and beyond, deleted
// from the last one down when the registry switch is off.
const int kExtraInfoPositions[] = {10, 9, 8};

// The menu's view commands and the list-view modes they choose.
struct ViewModeCommand {
    int id;
    int mode;
};
const ViewModeCommand kViewModeCommands[] = {
    {IDM_LARGE_ICONS, 0}, {IDM_DETAILS, 1}, {IDM_SMALL_ICONS, 2}, {IDM_LIST, 3}};

}  // namespace

int PrinterImageIndex(const InstalledPrinter& printer)
{
    return (printer.isDefault == 1 ? 1 : 0) | (printer.serverName[0] ? 2 : 0) | (printer.pelledName[0] ? 4 : 0);
}

SelectPage::SelectPage()
    : shown(0), selectedCount(0), database(nullptr), list(), smallImages(nullptr), largeImages(nullptr),
      menu(nullptr), popup(nullptr), strings(nullptr)
{
}

SelectPage::~SelectPage()
{
    if (smallImages)
        ImageList_Destroy(smallImages);
    if (largeImages)
        ImageList_Destroy(largeImages);
    if (menu)
        DestroyMenu(menu);
}

bool SelectPage::OnInit()
{
    OnInitDialog(hwnd);
    return true;
}

INT_PTR SelectPage::OnOtherMessage(UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_SHOWWINDOW)
        shown = wParam ? 1 : 0;
    return 0;
}

INT_PTR SelectPage::OnNotify(int id, NMHDR* header)
{
    if (id == IDC_PRINTER_LIST)
        OnListNotify(header);
    return 0;
}

bool SelectPage::OnCommand(int id, int, HWND)
{
    // OK and Cancel belong to the main window's buttons.
    if (id == IDOK || id == IDCANCEL)
        return false;
    OnMenuCommand(id);
    return true;
}

void SelectPage::OnInitDialog(HWND window)
{
    strings.SetInstance(GetWindowInstance(window));
    list.Bind(GetDlgItem(window, IDC_PRINTER_LIST));
    InsertColumns();
    list.DeleteAllItems();
    list.InsertItem(strings.GetString(IDS_LOADING_ROW), 0, -1, 0);
    LoadImageLists();
    list.ShowSelectionAlways(true);
    strings.SetDlgItemTextFromString(window, IDC_SELECT_PROMPT, IDS_SELECT_PROMPT);
    strings.SetDlgItemTextFromString(window, IDC_SELECT_WARNING, IDS_SELECT_WARNING);
}

void SelectPage::InsertColumns()
{
    for (int column = 0; column < kColumnCount; ++column) {
        LVCOLUMNA description = {};
        description.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        description.fmt = LVCFMT_LEFT;
        description.cx = 100;
        description.pszText = const_cast<char*>(strings.GetString(kColumnHeadings[column]));
        description.iSubItem = column;
        list.InsertColumn(column, &description);
    }
}

void SelectPage::LoadImageLists()
{
    HINSTANCE instance = GetWindowInstance(hwnd);
    if (smallImages)
        ImageList_Destroy(smallImages);
    if (largeImages)
        ImageList_Destroy(largeImages);
    smallImages = ImageList_LoadImageA(instance, MAKEINTRESOURCEA(IDB_PRINTERS_SMALL), 18, 10, kMaskColour,
                                       IMAGE_BITMAP, 0);
    largeImages = ImageList_LoadImageA(instance, MAKEINTRESOURCEA(IDB_PRINTERS_LARGE), 32, 10, kMaskColour,
                                       IMAGE_BITMAP, 0);
    if (list.Window()) {
        SendMessageA(list.Window(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(smallImages));
        SendMessageA(list.Window(), LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(largeImages));
    }
}

void SelectPage::AddPrinterRow(const InstalledPrinter& printer)
{
    const int row = list.InsertItem(printer.name, -1, PrinterImageIndex(printer), 0);
    if (row < 0)
        return;
    list.SetItemText(printer.driverName, row, 1);
    list.SetItemText(printer.serverName[0] ? printer.serverName : strings.GetString(IDS_LOCAL), row, 2);
    list.SetItemText(strings.GetString(printer.isDefault == 1 ? IDS_YES : IDS_NO), row, 3);
    list.SetItemText(strings.GetString(printer.isHalvaprint == 1 ? IDS_YES : IDS_NO), row, 4);
    list.SetItemText(printer.pelledName[0] ? printer.pelledName : strings.GetString(IDS_NOT_APPLICABLE), row, 5);
}

void SelectPage::FillPrinterList()
{
    WaitCursor wait;
    list.SetViewMode(1);
    list.DeleteAllItems();
    if (!database || database->ListedPrinterCount() == 0)
        return;
    for (const InstalledPrinter& printer : database->printers) {
        if (printer.IsListed())
            AddPrinterRow(printer);
    }
    for (int column = 0; column < kColumnCount; ++column)
        SendMessageA(list.Window(), LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE_USEHEADER);
    list.SetViewMode(3);
    SetFocus(list.Window());
    list.SetItemState(0, LVIS_FOCUSED, LVIS_FOCUSED);
    PostMessageA(MainWindow(), UM_ENABLE_UNINSTALL, 0, 0);
}

void SelectPage::CollectSelection()
{
    selectedCount = 0;
    if (!database)
        return;
    const int rows = list.ItemCount();
    for (int row = 0; row < rows; ++row) {
        // The whole name field: a row whose name was cut would match no
        // printer, which would then be removed although not chosen.
        char name[kTextField] = {};
        if (!list.GetItemText(row, 0, name, sizeof(name)))
            continue;
        const bool selected =
            (SendMessageA(list.Window(), LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
        for (InstalledPrinter& printer : database->printers) {
            if (TextEquals(printer.name, name)) {
                printer.excluded = selected ? 0 : 1;
                break;
            }
        }
        if (selected)
            ++selectedCount;
    }
}

void SelectPage::OnListNotify(const NMHDR* header)
{
    if (header->code == LVN_ITEMCHANGED) {
        if (list.SelectedCount() > 0)
            PostMessageA(MainWindow(), UM_ENABLE_UNINSTALL, 1, 0);
    } else if (header->code == NM_RCLICK) {
        ShowContextMenu();
    }
}

bool SelectPage::PrepareContextMenu()
{
    if (!menu) {
        menu = LoadMenuA(GetWindowInstance(hwnd), MAKEINTRESOURCEA(IDM_SELECT_CONTEXT));
        popup = menu ? GetSubMenu(menu, 0) : nullptr;
        if (popup) {
            char value[64] = {};
            LONG size = sizeof(value);
            const bool on = RegQueryValueA(HKEY_CURRENT_USER, kMenuSwitchKey, value, &size) == ERROR_SUCCESS &&
                            value[0] != '\0';
            if (!on) {
                for (int position : kExtraInfoPositions)
                    DeleteMenu(popup, position, MF_BYPOSITION);
            }
        }
    }
    if (!popup)
        return false;
    const int mode = list.ViewMode();
    const UINT modeItems[] = {IDM_LARGE_ICONS, IDM_DETAILS, IDM_SMALL_ICONS, IDM_LIST};
    for (int i = 0; i < 4; ++i)
        CheckMenuItem(popup, modeItems[i], MF_BYCOMMAND | (i == mode ? MF_CHECKED : MF_UNCHECKED));
    const UINT state = list.SelectedCount() > 0 ? MF_ENABLED : (MF_GRAYED | MF_DISABLED);
    EnableMenuItem(popup, IDM_REMOVE_PRINTERS, MF_BYCOMMAND | state);
    EnableMenuItem(popup, IDM_EXTRA_INFO, MF_BYCOMMAND | state);
    SetMenuDefaultItem(popup, IDM_REMOVE_PRINTERS, FALSE);
    return true;
}

void SelectPage::ShowContextMenu()
{
    const DWORD position = GetMessagePos();
    if (PrepareContextMenu())
        TrackPopupMenu(popup, TPM_RIGHTBUTTON, static_cast<short>(LOWORD(position)),
                       static_cast<short>(HIWORD(position)), 0, hwnd, nullptr);
}

void SelectPage::SelectAll()
{
    for (int row = static_cast<int>(SendMessageA(list.Window(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_ALL));
         row >= 0; row = static_cast<int>(SendMessageA(list.Window(), LVM_GETNEXTITEM, row, LVNI_ALL)))
        list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
}

void SelectPage::RunExtraInfo()
{
    // The main window owns the inspection dialog; the page only says how
    // many rows are chosen.
    CollectSelection();
    SendMessageA(MainWindow(), UM_SHOW_EXTRA_INFO, static_cast<WPARAM>(selectedCount), 0);
}

void SelectPage::OnMenuCommand(int id)
{
    WaitCursor wait;
    for (const ViewModeCommand& command : kViewModeCommands) {
        if (command.id == id) {
            list.SetViewMode(command.mode);
            return;
        }
    }
    switch (id) {
    case IDM_REMOVE_PRINTERS:
        CollectSelection();
        PostMessageA(MainWindow(), UM_START_REMOVAL, 0, 0);
        break;
    case IDM_SELECT_ALL:
        SelectAll();
        break;
    case IDM_EXTRA_INFO:
        RunExtraInfo();
        break;
    default:
        break;
    }
}
