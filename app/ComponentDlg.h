// Confirms which components go: the printer driver alone, or with the
// scanner driver when that is installed.
#pragma once
#include <windows.h>

#include <cstddef>

#include "DialogBase.h"
#include "StringLoader.h"

enum ComponentChoice {
    COMPONENT_BOTH = 0,
    COMPONENT_PRINTER = 1,
    COMPONENT_SCANNER = 2,
};

class CComponentDlg : public CDialogBase {
public:
    CComponentDlg() : choice(COMPONENT_PRINTER), strings(nullptr) {}

    int choice;

private:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;

    StringLoader strings;
};

// The scanner driver's uninstall key below HKLM, or "" when it does not fit.
bool ScannerUninstallKey(const char* productGuid, char* out, std::size_t size);
// True when the scanner driver's uninstall key exists (it is installed).
bool ScannerDriverInstalled(const char* productGuid);

// Starts the scanner driver's registered uninstall command without waiting
// for it. 1 when started; otherwise 0 after telling the user why (message
// 214 when the command cannot start, the completion message 199 when there
// is no command).
int RunScannerUninstaller(HWND owner, const char* productGuid, StringLoader& strings);
