// The page on which the user picks the printers to uninstall.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "DialogBase.h"
#include "ListViewCtl.h"
#include "StringLoader.h"

class UninstallDatabase;
struct InstalledPrinter;

class SelectPage : public CDialogBase {
public:
    SelectPage();
    ~SelectPage() override;

    void SetDatabase(UninstallDatabase* value) { database = value; }
    void FillPrinterList();
    // Copies the selection into the printers' excluded flags.
    void CollectSelection();
    // The context menu as it would be shown now (loaded on first use).
    HMENU PreparedContextMenu() { return PrepareContextMenu() ? popup : nullptr; }

    int shown;
    int selectedCount;

private:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    INT_PTR OnNotify(int id, NMHDR* header) override;
    INT_PTR OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnInitDialog(HWND window);
    void InsertColumns();
    void LoadImageLists();
    void AddPrinterRow(const InstalledPrinter& printer);
    void OnListNotify(const NMHDR* header);
    void ShowContextMenu();
    bool PrepareContextMenu();
    void OnMenuCommand(int id);
    void SelectAll();
    void RunExtraInfo();
    HWND MainWindow() const { return GetParent(hwnd); }

    UninstallDatabase* database;
    ListViewCtl list;
    HIMAGELIST smallImages;
    HIMAGELIST largeImages;
    HMENU menu;
    HMENU popup;
    StringLoader strings;
};

// Image of a printer row: bit 0 default, bit 1 connection, bit 2 Pelled.
int PrinterImageIndex(const InstalledPrinter& printer);
