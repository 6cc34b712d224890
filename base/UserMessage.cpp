#include "UserMessage.h"

namespace {

MessageBoxHandler g_handler = nullptr;

}  // namespace

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style)
{
    if (g_handler)
        return g_handler(owner, text, caption, style);
    return MessageBoxA(owner, text, caption, style);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    MessageBoxHandler previous = g_handler;
    g_handler = handler;
    return previous;
}
