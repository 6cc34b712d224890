#include "DialogDriver.h"

#include "UserMessage.h"

namespace {

struct PendingAct {
    CDialogBase* object = nullptr;
    std::function<void(HWND)> act;
    bool done = false;
};

PendingAct* g_pending = nullptr;

BOOL CALLBACK FindObjectWindow(HWND window, LPARAM found)
{
    if (g_pending && GetWindowLongPtrA(window, DWLP_USER) == reinterpret_cast<LONG_PTR>(g_pending->object)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK ActWhenUp(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (!g_pending || g_pending->done) {
        KillTimer(nullptr, timer);
        return;
    }
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindObjectWindow, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog)
        return;
    KillTimer(nullptr, timer);
    g_pending->done = true;
    g_pending->act(dialog);
}

int g_answer = IDOK;
std::vector<RecordedMessage> g_messages;

int RecordMessage(HWND, const char* text, const char* caption, UINT style)
{
    g_messages.push_back(RecordedMessage{text ? text : "", caption ? caption : "", style});
    return g_answer;
}

}  // namespace

INT_PTR RunModalDialog(HINSTANCE module, LPCSTR templateName, HWND owner, CDialogBase* object,
                       const std::function<void(HWND)>& act)
{
    PendingAct pending;
    pending.object = object;
    pending.act = act;
    PendingAct* outer = g_pending;
    g_pending = &pending;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, ActWhenUp);
    const INT_PTR result =
        DialogBoxParamA(module, templateName, owner, DialogProc, reinterpret_cast<LPARAM>(object));
    if (!pending.done)
        KillTimer(nullptr, timer);
    g_pending = outer;
    return result;
}

MessageBoxRecorder::MessageBoxRecorder(int answer)
{
    g_answer = answer;
    g_messages.clear();
    SetMessageBoxHandler(RecordMessage);
}

MessageBoxRecorder::~MessageBoxRecorder() { SetMessageBoxHandler(nullptr); }

const std::vector<RecordedMessage>& MessageBoxRecorder::Messages() const { return g_messages; }

std::string WindowText(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }
