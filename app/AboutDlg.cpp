#include "AboutDlg.h"

#include <vector>

#include "DirectoryPaths.h"
#include "OSInfo.h"
#include "TextUtil.h"
#include "WindowUtil.h"
#include "resource.h"

namespace {

// The stamp of this build, in the compiler's own format.
const char kBuildDate[] = __DATE__;
const char kBuildTime[] = __TIME__;

}  // namespace

void FormatFileVersion(DWORD mostSignificant, DWORD leastSignificant, char* out, std::size_t size)
{
    FormatText(out, size, "%u.%02u.%02u.%02u", static_cast<unsigned>(HIWORD(mostSignificant)),
                  static_cast<unsigned>(LOWORD(mostSignificant)), static_cast<unsigned>(HIWORD(leastSignificant)),
                  static_cast<unsigned>(LOWORD(leastSignificant)));
}

void ReadFileVersion(const char* path, char* out, std::size_t size)
{
    if (size == 0)
        return;
    out[0] = '\0';
    DWORD ignored = 0;
    const DWORD length = GetFileVersionInfoSizeA(path, &ignored);
    if (length == 0)
        return;
    std::vector<char> block(length);
    if (!GetFileVersionInfoA(path, 0, length, block.data()))
        return;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedLength = 0;
    if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedLength) || !fixed ||
        fixedLength < sizeof(VS_FIXEDFILEINFO))
        return;
    FormatFileVersion(fixed->dwFileVersionMS, fixed->dwFileVersionLS, out, size);
}

void FormatKilobytes(SIZE_T bytes, char* out, std::size_t size)
{
    FormatText(out, size, "%d kb", static_cast<int>(bytes >> 10));
}

const char* PlatformName(int platformKind)
{
    switch (platformKind) {
    case PLATFORM_WIN32S: return "Win32s";
    case PLATFORM_WIN9X: return "Win9x";
    case PLATFORM_NT: return "WinNT";
    default: return "Windows";
    }
}

bool CAboutDlg::OnInit()
{
    OnInitDialog(hwnd);
    return true;
}

bool CAboutDlg::OnCommand(int id, int, HWND)
{
    if (id != IDC_EXIT)
        return false;
    Close(1);
    return true;
}

void CAboutDlg::AddRow(const char* label, const char* value)
{
    const int row = list.InsertItem(label, -1, -1, 0);
    if (row >= 0)
        list.SetItemText(value, row, 1);
}

void CAboutDlg::OnInitDialog(HWND window)
{
    strings.SetInstance(GetWindowInstance(window));
    strings.SetWindowTextFromString(window, IDS_ABOUT_CAPTION);
    strings.SetDlgItemTextFromString(window, IDC_ABOUT_LEGAL, IDS_ABOUT_LEGAL);

    list.Bind(GetDlgItem(window, IDC_ABOUT_INFO));
    const char* headings[] = {".", ".."};
    for (int column = 0; column < 2; ++column) {
        LVCOLUMNA description = {};
        description.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        description.fmt = LVCFMT_LEFT;
        description.cx = 200;
        description.pszText = const_cast<char*>(headings[column]);
        description.iSubItem = column;
        list.InsertColumn(column, &description);
    }

    char value[kTextField];
    FileSpec program;
    program.Resolve(DIR_PROGRAM_FILE);
    ReadFileVersion(program.FullPath(), value, sizeof(value));
    AddRow(strings.GetString(IDS_ABOUT_VERSION), value);

    FormatText(value, sizeof(value), "%s %s", kBuildDate, kBuildTime);
    AddRow(strings.GetString(IDS_ABOUT_BUILD), value);

    AddRow(strings.GetString(IDS_ABOUT_PLATFORM), PlatformName(COSInfo().GetPlatformKind()));

    MEMORYSTATUS memory = {};
    memory.dwLength = sizeof(memory);
    GlobalMemoryStatus(&memory);
    FormatKilobytes(memory.dwAvailPhys, value, sizeof(value));
    AddRow("Free Physical RAM", value);
    FormatKilobytes(memory.dwAvailVirtual, value, sizeof(value));
    AddRow("Free Virtual RAM", value);
    FormatKilobytes(memory.dwTotalPageFile, value, sizeof(value));
    AddRow("Swap File Size", value);

    CenterWindow(window, nullptr);
    SendMessageA(list.Window(), LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
    SendMessageA(list.Window(), LVM_SETCOLUMNWIDTH, 1, LVSCW_AUTOSIZE_USEHEADER);
}
