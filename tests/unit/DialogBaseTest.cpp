#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <vector>

#include "DialogBase.h"
#include "WindowUtil.h"

namespace {

// An in-memory dialog template: caption "probe", DS_SETFONT so WM_SETFONT
// arrives before WM_INITDIALOG, and two buttons with ids 1 and 2.
class DialogTemplate {
public:
    explicit DialogTemplate(DWORD style = WS_POPUP | WS_CAPTION | DS_MODALFRAME)
    {
        DLGTEMPLATE header = {};
        header.style = style | DS_SETFONT;
        header.cdit = 2;
        header.cx = 120;
        header.cy = 60;
        Append(&header, sizeof(header));
        Word(0);  // no menu
        Word(0);  // default class
        Text(L"probe");
        Word(8);
        Text(L"MS Sans Serif");
        Button(1, L"OK", 5);
        Button(2, L"Cancel", 60);
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes.data()); }

private:
    void Append(const void* data, std::size_t size)
    {
        const std::size_t at = bytes.size();
        bytes.resize(at + size);
        std::memcpy(&bytes[at], data, size);
    }
    void Word(WORD w) { Append(&w, sizeof(w)); }
    void Text(const wchar_t* text) { Append(text, (wcslen(text) + 1) * sizeof(wchar_t)); }
    void Align()
    {
        while (bytes.size() % 4)
            bytes.push_back(0);
    }
    void Button(WORD id, const wchar_t* text, short x)
    {
        Align();
        DLGITEMTEMPLATE item = {};
        item.style = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
        item.x = x;
        item.y = 40;
        item.cx = 50;
        item.cy = 14;
        item.id = id;
        Append(&item, sizeof(item));
        Word(0xFFFF);
        Word(0x0080);  // button class
        Text(text);
        Word(0);
    }
    std::vector<unsigned char> bytes;
};

class RecordingDialog : public CDialogBase {
public:
    INT_PTR OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM) override
    {
        seen.push_back(message);
        windowsMatch = windowsMatch && window == hwnd;
        if (message == WM_INITDIALOG)
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(77, 0), 0);
        if (message == WM_COMMAND && LOWORD(wParam) == 77) {
            EndDialog(window, 42);
            return 1;
        }
        return 0;
    }
    std::vector<UINT> seen;
    bool windowsMatch = true;
};

// Posts its commands once the dialog is up; command 5 throws.
class HandlerDialog : public CDialogBase {
public:
    explicit HandlerDialog(std::vector<WPARAM> commands) : commands(commands) {}
    bool OnInit() override
    {
        for (WPARAM command : commands)
            PostMessageA(hwnd, WM_COMMAND, command, 0);
        return true;
    }
    bool OnCommand(int id, int, HWND) override
    {
        if (id == 5)
            throw std::runtime_error("handler failed");
        return false;
    }
    std::vector<WPARAM> commands;
};

// Messages the timer posts into the modal loop of an object-less dialog.
std::vector<WPARAM> g_commands;

void CALLBACK PostCommands(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    HWND dialog = FindWindowA(nullptr, "probe");
    for (WPARAM command : g_commands)
        PostMessageA(dialog, WM_COMMAND, command, 0);
}

INT_PTR RunWithoutObject(std::vector<WPARAM> commands)
{
    g_commands = commands;
    SetTimer(nullptr, 0, 50, PostCommands);
    DialogTemplate dialog;
    return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialog.Get(), nullptr, DialogProc, 0);
}

}  // namespace

TEST(DialogProc, ForwardsFromInitDialogOnAndSetsTheWindow)
{
    RecordingDialog object;
    DialogTemplate dialog;
    const INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialog.Get(), nullptr, DialogProc,
                                                   reinterpret_cast<LPARAM>(&object));
    EXPECT_EQ(42, result);
    ASSERT_FALSE(object.seen.empty());
    // WM_SETFONT came before WM_INITDIALOG and was not forwarded.
    EXPECT_EQ(static_cast<UINT>(WM_INITDIALOG), object.seen.front());
    EXPECT_TRUE(object.windowsMatch);
    EXPECT_EQ(nullptr, object.hwnd) << "forgotten once the window is gone";
}

// A modal dialog ends with the button's id by default, survives a handler
// that throws, and forgets its window once the window is gone.
TEST(DialogProc, ModalDefaultsAndAThrowingHandler)
{
    const DialogTemplate dialog;
    for (WPARAM button : {static_cast<WPARAM>(IDOK), static_cast<WPARAM>(IDCANCEL)}) {
        HandlerDialog object({MAKEWPARAM(5, 0), button});
        EXPECT_EQ(static_cast<INT_PTR>(button),
                  DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialog.Get(), nullptr, DialogProc,
                                          reinterpret_cast<LPARAM>(&object)));
        EXPECT_EQ(nullptr, object.hwnd);
    }
}

// A page does not end itself: OK and Cancel go to the window it sits in.
TEST(DialogProc, PageHandsOkAndCancelToItsParent)
{
    HWND parent = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, parent);
    const DialogTemplate dialog(WS_CHILD | DS_CONTROL);
    HandlerDialog page({});
    HWND window = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dialog.Get(), parent, DialogProc,
                                             reinterpret_cast<LPARAM>(&page));
    ASSERT_NE(nullptr, window);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    MSG message = {};
    ASSERT_TRUE(PeekMessageA(&message, parent, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(static_cast<WPARAM>(IDCANCEL), message.wParam);
    EXPECT_TRUE(IsWindow(window));
    DestroyWindow(parent);
    EXPECT_EQ(nullptr, page.hwnd);
}

TEST(DialogProc, WithoutAnObjectOkAndCancelEndTheDialog)
{
    EXPECT_EQ(1, RunWithoutObject({MAKEWPARAM(IDOK, 0)}));
    EXPECT_EQ(0, RunWithoutObject({MAKEWPARAM(IDCANCEL, 0)}));
    // A notification other than a click leaves the dialog open.
    EXPECT_EQ(0, RunWithoutObject({MAKEWPARAM(IDOK, BN_SETFOCUS), MAKEWPARAM(IDCANCEL, 0)}));
    EXPECT_EQ(0, RunWithoutObject({MAKEWPARAM(3, 0), MAKEWPARAM(IDCANCEL, 0)}));
}

TEST(WindowUtil, CenterWindowNeverGoesNegative)
{
    const int screen = GetSystemMetrics(SM_CXSCREEN);
    HWND wide = CreateWindowA("STATIC", "", WS_POPUP, 10, 10, screen + 400, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, wide);
    EXPECT_TRUE(CenterWindow(wide, nullptr));
    RECT rect = {};
    GetWindowRect(wide, &rect);
    EXPECT_EQ(0, rect.left);
    EXPECT_GT(rect.top, 0);
    DestroyWindow(wide);
    EXPECT_FALSE(CenterWindow(nullptr, nullptr));
}

TEST(WindowUtil, CenterWindowOnAReference)
{
    HWND reference = CreateWindowA("STATIC", "", WS_POPUP, 101, 51, 301, 201, nullptr, nullptr, nullptr, nullptr);
    HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 100, 51, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(reference && window);
    EXPECT_TRUE(CenterWindow(window, reference));
    RECT rect = {};
    GetWindowRect(window, &rect);
    EXPECT_EQ(101 + (150 - 50), rect.left);
    EXPECT_EQ(51 + (100 - 25), rect.top);
    EXPECT_EQ(100, rect.right - rect.left);
    DestroyWindow(window);
    DestroyWindow(reference);
}

TEST(WindowUtil, FitPageToFrameInBothLayouts)
{
    for (DWORD exStyle : {0ul, static_cast<DWORD>(WS_EX_LAYOUTRTL)}) {
        HWND parent = CreateWindowExA(exStyle, "STATIC", "", WS_POPUP, 50, 50, 400, 300, nullptr, nullptr, nullptr,
                                      nullptr);
        HWND frame = CreateWindowA("STATIC", "", WS_CHILD, 10, 20, 200, 100, parent, nullptr, nullptr, nullptr);
        HWND page = CreateWindowA("STATIC", "", WS_CHILD, 0, 0, 5, 5, parent, nullptr, nullptr, nullptr);
        ASSERT_TRUE(parent && frame && page);
        FitPageToFrame(page, frame, parent);
        RECT framed = {}, fitted = {};
        GetWindowRect(frame, &framed);
        GetWindowRect(page, &fitted);
        EXPECT_EQ(framed.left, fitted.left) << exStyle;
        EXPECT_EQ(framed.top, fitted.top) << exStyle;
        EXPECT_EQ(framed.right, fitted.right) << exStyle;
        EXPECT_EQ(framed.bottom, fitted.bottom) << exStyle;
        DestroyWindow(parent);
    }
}

TEST(WindowUtil, RegisterDialogClassOnceAndFindTheWindow)
{
    EXPECT_FALSE(ActivatePreviousInstance("TrelunTestDialogClass", nullptr));
    EXPECT_TRUE(RegisterDialogClass("TrelunTestDialogClass"));
    EXPECT_FALSE(RegisterDialogClass("TrelunTestDialogClass"));
    HWND window = CreateWindowA("TrelunTestDialogClass", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(GetModuleHandleA(nullptr), GetWindowInstance(window));
    EXPECT_TRUE(ActivatePreviousInstance("TrelunTestDialogClass", nullptr));
    EXPECT_TRUE(IsWindowVisible(window));
    DestroyWindow(window);
}
