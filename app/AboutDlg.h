// The about box: product line, file version, build stamp, platform and
// memory figures for support staff.
#pragma once
#include <windows.h>

#include <cstddef>

#include "DialogBase.h"
#include "ListViewCtl.h"
#include "StringLoader.h"

class CAboutDlg : public CDialogBase {
public:
    CAboutDlg() : list(), strings(nullptr) {}

private:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    // Cancel and Exit close the box as OK does.
    void OnCancel() override { Close(1); }
    void OnInitDialog(HWND window);
    void AddRow(const char* label, const char* value);

    ListViewCtl list;
    StringLoader strings;
};

// "%u.%02u.%02u.%02u" of a fixed file version (most, least significant parts).
void FormatFileVersion(DWORD mostSignificant, DWORD leastSignificant, char* out, std::size_t size);
// The file version of a program file; empty without a version resource.
void ReadFileVersion(const char* path, char* out, std::size_t size);
// Memory in KiB, "%d kb".
void FormatKilobytes(SIZE_T bytes, char* out, std::size_t size);
// "Win32s", "Win9x", "WinNT" or "Windows" for a platform kind.
const char* PlatformName(int platformKind);
