#include "MessageLog.h"

#include <cstring>
#include <string>

#include "EventLog.h"
#include "SilentRun.h"
#include "TextUtil.h"

namespace {

const unsigned kFirstStringId = 150;
const unsigned kLastStringId = 220;

}  // namespace

int SafeAnswer(UINT style)
{
    switch (style & MB_TYPEMASK) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return IDNO;
    default:
        return IDOK;
    }
}

unsigned MessageStringId(HINSTANCE instance, const char* text)
{
    if (!text || !*text)
        return 0;
    for (unsigned id = kFirstStringId; id <= kLastStringId; ++id) {
        char candidate[1024] = {};
        if (LoadStringA(instance, id, candidate, sizeof(candidate)) > 0 && std::strcmp(candidate, text) == 0)
            return id;
    }
    return 0;
}

int LoggingMessageBoxHandler(HWND owner, const char* text, const char* caption, UINT style)
{
    char id[32];
    FormatText(id, sizeof(id), "string=%u ", MessageStringId(GetModuleHandleA(nullptr), text));
    const std::string entry = std::string(id) + (text ? text : "");
    if (IsSilentRun()) {
        const int answer = SafeAnswer(style);
        LogEvent("MessageSuppressed", entry.c_str(), static_cast<unsigned long>(answer));
        return answer;
    }
    const int answer = MessageBoxA(owner, text, caption, style);
    LogEvent("MessageShown", entry.c_str(), static_cast<unsigned long>(answer));
    return answer;
}
