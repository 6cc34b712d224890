// Quality-assurance view of what the uninstall would remove for the
// printers selected now, one category at a time.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "DialogBase.h"
#include "ListViewCtl.h"

class UninstallDatabase;
struct UninstallProfile;

class CExtraInfoDlg : public CDialogBase {
public:
    CExtraInfoDlg() : database(nullptr), selectedCount(0), list(), profileOnly(0), category(1) {}

    UninstallDatabase* database;
    int selectedCount;

private:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    // Cancel and Exit close the view as OK does.
    void OnCancel() override { Close(1); }
    void OnInitDialog(HWND window);
    void Refresh();
    const UninstallProfile* ChooseShownProfile(UninstallProfile& local);
    void FillCategory(const UninstallProfile* shown);

    ListViewCtl list;
    int profileOnly;
    int category;
};

// One list line cut into the columns of its category (1 to 11): the first
// fields at commas, the last column taking the rest of the line where the
// category says so.
std::vector<std::string> SplitCategoryLine(int category, const std::string& line);
