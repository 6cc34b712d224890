#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "StringLoader.h"
#include "TestPaths.h"
#include "resource.h"

namespace {

class ProgramResources : public ::testing::Test {
protected:
    void SetUp() override
    {
        module = LoadLibraryExA(BesideTests("trelun08.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, module);
    }
    void TearDown() override
    {
        if (module)
            FreeLibrary(module);
    }
    std::string Resource(LPCSTR type, LPCSTR name)
    {
        HRSRC found = FindResourceA(module, name, type);
        if (!found)
            return std::string();
        HGLOBAL loaded = LoadResource(module, found);
        const char* bytes = static_cast<const char*>(LockResource(loaded));
        return bytes ? std::string(bytes, SizeofResource(module, found)) : std::string();
    }
    // The template names the main window class; a dialog made from the
    // resources of another module looks the class up for that module.
    void RegisterMainClassForModule()
    {
        WNDCLASSA dialogClass = {};
        ASSERT_TRUE(GetClassInfoA(nullptr, "#32770", &dialogClass));
        dialogClass.hInstance = module;
        dialogClass.lpszClassName = "KVQUninstallWindowClass__";
        RegisterClassA(&dialogClass);
    }
    HMODULE module = nullptr;
};

}  // namespace

TEST_F(ProgramResources, ManifestNamesTheProgramAndAsksForAdministrator)
{
    const std::string manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEA(1));
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(std::string::npos, manifest.find("name=\"trelun08\""));
    EXPECT_NE(std::string::npos, manifest.find("<description>Printer uninstall application</description>"));
    EXPECT_NE(std::string::npos, manifest.find("level=\"requireAdministrator\""));
}

TEST_F(ProgramResources, IconAndVersion)
{
    EXPECT_FALSE(Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_APP)).empty());
    const std::string path = BesideTests("trelun08.exe");
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::string block(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, &block[0]));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(&block[0], "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_NE(nullptr, fixed);
    EXPECT_EQ(VS_FFI_SIGNATURE, fixed->dwSignature);
    EXPECT_EQ(8u, HIWORD(fixed->dwFileVersionMS));
}

TEST_F(ProgramResources, StringTableIsComplete)
{
    const UINT ids[] = {51,  99,  100, 151, 152, 153, 156, 158, 159, 160, 161, 162, 163, 164, 165,
                        167, 168, 169, 170, 171, 172, 173, 174, 175, 176, 177, 178, 179, 180, 181,
                        182, 183, 184, 185, 186, 187, 188, 189, 195, 196, 197, 198, 199, 200, 201,
                        202, 206, 208, 209, 210, 214, 215, 216, 217, 220};
    StringLoader loader(module);
    for (UINT id : ids)
        EXPECT_STRNE("", loader.GetText(id)) << id;
    EXPECT_STREQ("@somefile.ini@sectionname@keyname", loader.GetText(IDS_INI_INDIRECTION_MODEL));
    EXPECT_STREQ("!!! Do not translate any values below 100 (from here up) !!!",
                 loader.GetText(IDS_TRANSLATION_FENCE));
    EXPECT_STREQ("La impresora predeterminada se ha eliminado.\nLa nueva impresora predeterminada es '%s'",
                 loader.GetText(IDS_DEFAULT_REMOVED_NEW));
    EXPECT_STREQ("Eliminar procesadores de impresi\xF3n", loader.GetText(IDS_STEP_PROCESSORS));
    EXPECT_STREQ("\xBF" "Desea detener la desinstalaci\xF3n?", loader.GetText(IDS_STOP_QUESTION));
}

namespace {

int ChildCount(HWND parent)
{
    int count = 0;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ++count;
    return count;
}

// A control's rectangle in the dialog units of its dialog.
RECT DialogUnitsOf(HWND dialog, int id)
{
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    RECT unit = {0, 0, 4, 8};
    MapDialogRect(dialog, &unit);
    RECT out = {MulDiv(rect.left, 4, unit.right), MulDiv(rect.top, 8, unit.bottom),
                MulDiv(rect.right - rect.left, 4, unit.right), MulDiv(rect.bottom - rect.top, 8, unit.bottom)};
    return out;
}

}  // namespace

TEST_F(ProgramResources, MainWindowTemplateNamesItsClass)
{
    RegisterMainClassForModule();
    HWND main = CreateDialogParamA(module, "IDD_MAIN_NOBMP", nullptr, nullptr, 0);
    ASSERT_NE(nullptr, main);
    char className[64] = {};
    GetClassNameA(main, className, sizeof(className));
    EXPECT_STREQ("KVQUninstallWindowClass__", className);
    EXPECT_EQ(main, FindWindowA("KVQUninstallWindowClass__", nullptr));
    EXPECT_EQ(4, ChildCount(main));
    const RECT exit = DialogUnitsOf(main, IDC_EXIT);
    EXPECT_NEAR(173, exit.left, 1);
    EXPECT_NEAR(165, exit.top, 1);
    EXPECT_TRUE(GetWindowLongA(main, GWL_STYLE) & WS_MINIMIZEBOX);
    DestroyWindow(main);
}

TEST_F(ProgramResources, RemovalPageHasNineRowsOfLabelAndIcon)
{
    HWND parent = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr);
    HWND page = CreateDialogParamA(module, "IDD_REMOVE", parent, nullptr, 0);
    ASSERT_NE(nullptr, page);
    EXPECT_EQ(18, ChildCount(page));
    for (int row = 0; row < STEP_ROW_COUNT; ++row) {
        const RECT label = DialogUnitsOf(page, IDC_STEP_LABEL_FIRST + row);
        const RECT icon = DialogUnitsOf(page, IDC_STEP_ICON_FIRST + row);
        EXPECT_NEAR(24, label.left, 1) << row;
        EXPECT_NEAR(6 + 15 * row, label.top, 1) << row;
        EXPECT_NEAR(209, label.right, 1) << row;
        EXPECT_NEAR(7, icon.left, 1) << row;
        EXPECT_NEAR(5 + 15 * row, icon.top, 1) << row;
    }
    DestroyWindow(parent);
}

TEST_F(ProgramResources, SelectionPageAndLoadingDialog)
{
    HWND parent = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr);
    HWND page = CreateDialogParamA(module, "IDD_SELECT", parent, nullptr, 0);
    ASSERT_NE(nullptr, page);
    HWND list = GetDlgItem(page, IDC_PRINTER_LIST);
    char className[64] = {};
    GetClassNameA(list, className, sizeof(className));
    EXPECT_STREQ("SysListView32", className);
    EXPECT_EQ(static_cast<LONG>(LVS_REPORT), GetWindowLongA(list, GWL_STYLE) & LVS_TYPEMASK);
    EXPECT_TRUE(GetDlgItem(page, IDC_SELECT_PROMPT) && GetDlgItem(page, IDC_SELECT_WARNING));
    DestroyWindow(parent);

    HWND loading = CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_LOADING), nullptr, nullptr, 0);
    ASSERT_NE(nullptr, loading);
    EXPECT_FALSE(GetWindowLongA(loading, GWL_STYLE) & WS_SYSMENU);
    for (int id : {IDC_LOADING_ICON, IDC_LOADING_MESSAGE, IDC_LOADING_PROGRESS, IDC_LOADING_STATUS})
        EXPECT_NE(nullptr, GetDlgItem(loading, id)) << id;
    DestroyWindow(loading);
}

TEST_F(ProgramResources, ContextMenuItemsInOrder)
{
    HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(IDM_SELECT_CONTEXT));
    ASSERT_NE(nullptr, menu);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(nullptr, popup);
    const UINT ids[] = {40009, 0, 40004, 40005, 40006, 40007, 0, 40010, 0, 40012};
    ASSERT_EQ(10, GetMenuItemCount(popup));
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(ids[i], GetMenuItemID(popup, i)) << i;
    EXPECT_TRUE(GetMenuState(popup, 0, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(popup, 9, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(popup, 2, MF_BYPOSITION) & MF_GRAYED);
    char text[64] = {};
    GetMenuStringA(popup, 3, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ("Iconos peque\xF1os", text);
    DestroyMenu(menu);
}

TEST_F(ProgramResources, BitmapStripsHoldTheirImages)
{
    const struct {
        int id, width, height;
    } strips[] = {{IDB_PRINTERS_SMALL, 8 * 18, 18}, {IDB_PRINTERS_LARGE, 8 * 32, 32}, {IDB_CHECKMARKS, 3 * 16, 16}};
    for (const auto& strip : strips) {
        HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(strip.id), IMAGE_BITMAP, 0, 0, 0));
        ASSERT_NE(nullptr, bitmap) << strip.id;
        BITMAP info = {};
        GetObjectA(bitmap, sizeof(info), &info);
        EXPECT_EQ(strip.width, info.bmWidth) << strip.id;
        EXPECT_EQ(strip.height, info.bmHeight) << strip.id;
        DeleteObject(bitmap);
    }
    // Magenta is the transparent colour: the corner of every strip is magenta.
    HBITMAP checks = static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(IDB_CHECKMARKS), IMAGE_BITMAP, 0, 0, 0));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, checks);
    EXPECT_EQ(RGB(255, 0, 255), GetPixel(dc, 0, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(checks);
}
