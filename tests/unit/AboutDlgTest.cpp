#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "AboutDlg.h"
#include "DialogDriver.h"
#include "ListViewText.h"
#include "OSInfo.h"
#include "ProductText.h"
#include "resource.h"

TEST(AboutFormat, VersionMemoryAndPlatform)
{
    char text[64];
    FormatFileVersion(MAKELONG(1, 2), MAKELONG(0, 0), text, sizeof(text));
    EXPECT_STREQ("2.01.00.00", text);
    FormatFileVersion(MAKELONG(99, 10), MAKELONG(7, 3), text, sizeof(text));
    EXPECT_STREQ("10.99.03.07", text);
    FormatKilobytes(static_cast<SIZE_T>(512) * 1024 * 1024, text, sizeof(text));
    EXPECT_STREQ("524288 kb", text);
    EXPECT_STREQ("Win32s", PlatformName(PLATFORM_WIN32S));
    EXPECT_STREQ("Win9x", PlatformName(PLATFORM_WIN9X));
    EXPECT_STREQ("WinNT", PlatformName(PLATFORM_NT));
    EXPECT_STREQ("Windows", PlatformName(PLATFORM_UNKNOWN));
    ReadFileVersion("C:\\no\\such\\file.exe", text, sizeof(text));
    EXPECT_STREQ("", text);
}

TEST(AboutDialog, ShowsSixRowsAndClosesWithOkEnterEscapeOrExit)
{
    for (WPARAM command : {static_cast<WPARAM>(IDOK), static_cast<WPARAM>(IDCANCEL), static_cast<WPARAM>(IDC_EXIT)}) {
        CAboutDlg about;
        std::string caption, version, build, platform, physical;
        int rows = 0;
        const INT_PTR result = RunModalDialog(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), nullptr, &about,
                                              [&](HWND dialog) {
                                                  caption = WindowText(dialog);
                                                  HWND list = GetDlgItem(dialog, IDC_ABOUT_INFO);
                                                  rows = ListViewRowCount(list);
                                                  version = ListViewCell(list, 0, 0) + "=" + ListViewCell(list, 0, 1);
                                                  build = ListViewCell(list, 1, 1);
                                                  platform = ListViewCell(list, 2, 1);
                                                  physical = ListViewCell(list, 3, 0) + "=" + ListViewCell(list, 3, 1);
                                                  PostMessageA(dialog, WM_COMMAND, command, 0);
                                              });
        EXPECT_EQ(1, result) << command;
        EXPECT_EQ(ProductText(IDS_ABOUT_CAPTION), caption);
        EXPECT_EQ(6, rows);
        EXPECT_EQ(ProductText(IDS_ABOUT_VERSION) + "=8.01.00.00", version);
        EXPECT_EQ(std::string(__DATE__).size() + 1 + std::string(__TIME__).size(), build.size()) << build;
        EXPECT_EQ("WinNT", platform);
        EXPECT_EQ(0u, physical.find("Free Physical RAM="));
        EXPECT_NE(std::string::npos, physical.find(" kb"));
    }
}
