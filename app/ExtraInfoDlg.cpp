#include "ExtraInfoDlg.h"

#include "DirectoryPaths.h"
#include "TextUtil.h"
#include "UninstallDatabase.h"
#include "WindowUtil.h"
#include "resource.h"

namespace {

struct Category {
    int buttonId;
    int list;  // ProfileListId, or -1 for the directories
    const char* columns[4];
    int columnCount;
    bool restInLastColumn;
};

const Category kCategories[12] = {
    {IDC_EXTRA_CATEGORY_FIRST, LIST_DELETE_INI, {"file", "section", "entry"}, 3, false},
    {IDC_EXTRA_CATEGORY_FIRST + 1, LIST_DELETE_LOAD_RUN, {"Display", "File Name"}, 2, false},
    {IDC_EXTRA_CATEGORY_FIRST + 2, LIST_DRIVERS, {"driver"}, 1, true},
    {IDC_EXTRA_CATEGORY_FIRST + 3, LIST_FILES, {"file"}, 1, true},
    {IDC_EXTRA_CATEGORY_FIRST + 4, LIST_HOOKS, {"file", "export"}, 2, true},
    {IDC_EXTRA_CATEGORY_FIRST + 5, LIST_MONITORS, {"Monitor Name"}, 1, true},
    {IDC_EXTRA_CATEGORY_FIRST + 6, LIST_REGISTRY_KEYS, {"Base Key", "Sub Key", "Value Name", "Deltree"}, 4, false},
    {IDC_EXTRA_CATEGORY_FIRST + 7, LIST_PRINT_PROCESSORS, {"Print Processor Name"}, 1, true},
    {IDC_EXTRA_CATEGORY_FIRST + 8, LIST_SERVICES, {"NT Service Name"}, 1, true},
    {IDC_EXTRA_CATEGORY_FIRST + 9, LIST_SHORTCUTS, {"Program Group", "Shortcut Description", "Special Location"}, 3,
     true},
    {IDC_EXTRA_CATEGORY_FIRST + 10, LIST_UN_SELF_REGISTER, {"FileName", "Function Export"}, 2, true},
    {IDC_EXTRA_DIRECTORIES, -1, {"Dir Variable", "Dir Location"}, 2, false},
};

const Category* CategoryOf(int category)
{
    return category >= 1 && category <= 12 ? &kCategories[category - 1] : nullptr;
}

}  // namespace

std::vector<std::string> SplitCategoryLine(int category, const std::string& line)
{
    std::vector<std::string> fields;
    const Category* info = CategoryOf(category);
    if (!info || info->list < 0)
        return fields;
    // Lines are shown as 259 characters at most, like every text field.
    const std::string text = line.substr(0, kTextField - 1);
    std::size_t start = 0;
    for (int column = 0; column < info->columnCount; ++column) {
        const bool last = column == info->columnCount - 1;
        if (last && info->restInLastColumn) {
            fields.push_back(start <= text.size() ? text.substr(start) : std::string());
            break;
        }
        const std::size_t comma = text.find(',', start);
        if (comma == std::string::npos) {
            fields.push_back(start <= text.size() ? text.substr(start) : std::string());
            start = text.size() + 1;
        } else {
            fields.push_back(text.substr(start, comma - start));
            start = comma + 1;
        }
    }
    return fields;
}

bool CExtraInfoDlg::OnInit()
{
    OnInitDialog(hwnd);
    return true;
}

bool CExtraInfoDlg::OnCommand(int id, int code, HWND)
{
    if (id == IDC_EXIT) {
        Close(1);
        return true;
    }
    if (id == IDC_EXTRA_PROFILE_ONLY) {
        profileOnly = IsDlgButtonChecked(hwnd, IDC_EXTRA_PROFILE_ONLY) == BST_CHECKED && selectedCount == 1 ? 1 : 0;
        Refresh();
        return true;
    }
    if (code != BN_CLICKED)
        return false;
    for (int i = 0; i < 12; ++i) {
        if (kCategories[i].buttonId == id) {
            category = i + 1;
            Refresh();
            return true;
        }
    }
    return false;
}

void CExtraInfoDlg::OnInitDialog(HWND window)
{
    list.Bind(GetDlgItem(window, IDC_EXTRA_LIST));
    CheckRadioButton(window, IDC_EXTRA_CATEGORY_FIRST, IDC_EXTRA_DIRECTORIES, IDC_EXTRA_CATEGORY_FIRST);
    category = 1;
    Refresh();
    EnableWindow(GetDlgItem(window, IDC_EXTRA_PROFILE_ONLY), selectedCount == 1);
    CenterWindow(window, nullptr);
}

const UninstallProfile* CExtraInfoDlg::ChooseShownProfile(UninstallProfile& local)
{
    if (!database)
        return nullptr;
    const UninstallProfile* shown = &database->removalProfile;
    const char* caption = "Extra Info - Multiple Printers";
    char text[kTextField + 32];
    if (profileOnly == 1) {
        const InstalledPrinter* last = nullptr;
        for (const InstalledPrinter& printer : database->printers) {
            if (printer.excluded == 0)
                last = &printer;
        }
        caption = "Extra Info - EMPTY AND UNKNOWN SETTINGS!!!";
        if (last && database->FindProfileByName(local, last->driverName)) {
            shown = &local;
            FormatText(text, sizeof(text), "Extra Info - Printer: %s", local.name);
            caption = text;
        } else if (last && database->FindProfileByManufacturer(local, last->driverName)) {
            shown = &local;
            FormatText(text, sizeof(text), "Extra Info - Mfg: %s", local.name);
            caption = text;
        }
    }
    SetWindowTextA(hwnd, caption);
    return shown;
}

void CExtraInfoDlg::FillCategory(const UninstallProfile* shown)
{
    const Category* info = CategoryOf(category);
    if (!info)
        return;
    for (int column = 0; column < info->columnCount; ++column) {
        LVCOLUMNA description = {};
        description.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        description.fmt = LVCFMT_LEFT;
        description.cx = 200;
        description.pszText = const_cast<char*>(info->columns[column]);
        description.iSubItem = column;
        list.InsertColumn(column, &description);
    }
    if (info->list < 0) {
        for (const NamedDirectory& named : kNamedDirectories) {
            FileSpec directory;
            directory.Resolve(named.id);
            const int row = list.InsertItem(named.name, -1, -1, 0);
            list.SetItemText(directory.DirectoryPath(), row, 1);
        }
    } else if (shown) {
        const TextList& lines = shown->List(info->list);
        for (const std::string& line : lines) {
            const std::vector<std::string> fields = SplitCategoryLine(category, line);
            const int row = list.InsertItem(fields.empty() ? "" : fields[0].c_str(), -1, -1, 0);
            for (std::size_t column = 1; column < fields.size(); ++column)
                list.SetItemText(fields[column].c_str(), row, static_cast<int>(column));
        }
        if (lines.empty())
            list.InsertItem("(empty)", -1, -1, 0);
    }
    for (int column = 0; column < info->columnCount; ++column)
        SendMessageA(list.Window(), LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE_USEHEADER);
}

void CExtraInfoDlg::Refresh()
{
    WaitCursor wait;
    while (SendMessageA(list.Window(), LVM_DELETECOLUMN, 0, 0))
        ;
    if (database)
        database->BuildRemovalProfile();
    list.DeleteAllItems();
    UninstallProfile local;
    FillCategory(ChooseShownProfile(local));
}
