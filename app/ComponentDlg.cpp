#include "ComponentDlg.h"

#include <vector>

#include "DllSearch.h"
#include "EventLog.h"
#include "RegistryView.h"
#include "TextUtil.h"
#include "UniqueHandle.h"
#include "UserMessage.h"
#include "WindowUtil.h"
#include "resource.h"

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// Values above this are not command lines.
const DWORD kMaxCommand = 32 * 1024;

}  // namespace

bool CComponentDlg::OnInit()
{
    strings.SetInstance(GetWindowInstance(hwnd));
    strings.SetWindowTextFromString(hwnd, IDS_COMPONENT_UNINSTALL);
    strings.SetDlgItemTextFromString(hwnd, IDC_COMPONENT_BOTH, IDS_COMPONENT_BOTH);
    strings.SetDlgItemTextFromString(hwnd, IDC_COMPONENT_PRINTER, IDS_COMPONENT_PRINTER);
    strings.SetDlgItemTextFromString(hwnd, IDC_COMPONENT_SCANNER, IDS_COMPONENT_SCANNER);
    strings.SetDlgItemTextFromString(hwnd, IDC_COMPONENT_MESSAGE,
                                     choice == COMPONENT_BOTH ? IDS_COMPONENT_BOTH_INFO : IDS_COMPONENT_PRINTER_INFO);
    CheckDlgButton(hwnd, IDC_COMPONENT_BOTH, BST_CHECKED);
    return true;
}

bool CComponentDlg::OnCommand(int id, int, HWND)
{
    switch (id) {
    case IDC_COMPONENT_BOTH:
        choice = COMPONENT_BOTH;
        return true;
    case IDC_COMPONENT_PRINTER:
        choice = COMPONENT_PRINTER;
        return true;
    case IDC_COMPONENT_SCANNER:
        choice = COMPONENT_SCANNER;
        return true;
    default:
        return false;
    }
}

bool ScannerUninstallKey(const char* productGuid, char* out, std::size_t size)
{
    if (!CopyText(out, size, kUninstallKey))
        return false;
    if (IsEmptyText(productGuid))
        return true;
    if (AppendText(out, size, "\\") && AppendText(out, size, productGuid))
        return true;
    out[0] = '\0';
    return false;
}

namespace {

// The scanner's Uninstall key, in whichever registry view its installer
// wrote it.
bool OpenScannerKey(const char* path, RegistryKey& key)
{
    for (REGSAM view : ViewsOf(HKEY_LOCAL_MACHINE, path)) {
        const RegistryViewScope inView(view);
        if (OpenKeyExInView(HKEY_LOCAL_MACHINE, path, KEY_QUERY_VALUE, key.Receive()) == ERROR_SUCCESS)
            return true;
    }
    return false;
}

}  // namespace

bool ScannerDriverInstalled(const char* productGuid)
{
    char path[kTextField];
    if (IsEmptyText(productGuid) || !ScannerUninstallKey(productGuid, path, sizeof(path)))
        return false;
    RegistryKey key;
    return OpenScannerKey(path, key);
}

int RunScannerUninstaller(HWND owner, const char* productGuid, StringLoader& strings)
{
    char path[kTextField];
    RegistryKey key;
    if (ScannerUninstallKey(productGuid, path, sizeof(path)) && OpenScannerKey(path, key)) {
        DWORD size = 0;
        DWORD type = 0;
        const bool sized = RegQueryValueExA(key.Get(), "UninstallString", nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
        if (sized && size > 0 && size <= kMaxCommand) {
            // One more byte than asked for: a stored value need not end with NUL.
            std::vector<char> command(size + 1, '\0');
            DWORD read = size;
            bool haveCommand = RegQueryValueExA(key.Get(), "UninstallString", nullptr, &type,
                                                reinterpret_cast<BYTE*>(command.data()), &read) == ERROR_SUCCESS;
            haveCommand = haveCommand && command[0] != '\0';
            STARTUPINFOA startup = {};
            startup.cb = sizeof(startup);
            PROCESS_INFORMATION process = {};
            DefaultDllSearchForChild childSearch;
            const bool started = haveCommand && CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE,
                                                               NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                                                               &process);
            key.Reset();
            if (started) {
                CloseHandle(process.hThread);
                CloseHandle(process.hProcess);
                return 1;
            }
            TraceText("ScannerUninstall", "Failed to call the command from the registry uninstall string!");
            ShowMessageBox(owner, strings.GetString(IDS_SCANNER_UNINSTALL_FAILED), strings.GetString(IDS_ERROR_CAPTION),
                           MB_ICONWARNING | MB_SETFOREGROUND);
            return 0;
        }
    }
    ShowMessageBox(owner, strings.GetString(IDS_FINISHED), strings.GetString(IDS_CAPTION), MB_ICONINFORMATION);
    return 0;
}
