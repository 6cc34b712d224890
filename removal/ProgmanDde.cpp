#include "ProgmanDde.h"

#include <windows.h>
#include <ddeml.h>

#include <cstring>
#include <string>

namespace {

const DWORD kTimeoutMs = 5000;
// Commands longer than this are refused: Program Manager's own limit for
// group and item names keeps real ones far below it.
const std::size_t kMaxCommand = 512;

HDDEDATA CALLBACK IgnoreEverything(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

bool UsableName(const char* name)
{
    return name && name[0] && std::strpbrk(name, "[]") == nullptr && std::strlen(name) < kMaxCommand;
}

}  // namespace

ProgmanCommandSender progmanSend = progmanExecute;

int progmanExecute(const char* command)
{
    if (!command || std::string(command).size() >= kMaxCommand)
        return 0;
    DWORD instance = 0;
    if (DdeInitializeA(&instance, IgnoreEverything, APPCMD_CLIENTONLY | CBF_SKIP_ALLNOTIFICATIONS, 0) !=
        DMLERR_NO_ERROR)
        return 0;
    int result = 0;
    HSZ progman = DdeCreateStringHandleA(instance, "PROGMAN", CP_WINANSI);
    HCONV conversation = progman ? DdeConnect(instance, progman, progman, nullptr) : nullptr;
    if (conversation) {
        std::string text = command;
        HDDEDATA data = DdeClientTransaction(reinterpret_cast<BYTE*>(&text[0]), static_cast<DWORD>(text.size() + 1),
                                             conversation, nullptr, CF_TEXT, XTYP_EXECUTE, kTimeoutMs, nullptr);
        result = data ? 1 : 0;
        DdeDisconnect(conversation);
    }
    if (progman)
        DdeFreeStringHandle(instance, progman);
    DdeUninitialize(instance);
    return result;
}

int progmanDeleteItem(const char* group, const char* item)
{
    if (!UsableName(group) || !UsableName(item))
        return 0;
    const std::string show = std::string("[ShowGroup(") + group + ",1)]";
    const std::string remove = std::string("[DeleteItem(") + item + ")]";
    if (show.size() >= kMaxCommand || remove.size() >= kMaxCommand)
        return 0;
    if (!progmanSend(show.c_str()))
        return 0;
    return progmanSend(remove.c_str());
}
