#include "SystemChecks.h"

#include <vector>

#include "ServiceApi.h"

namespace {

struct CompanionWindow {
    const char* windowClass;
    LPARAM lParam;
};

const CompanionWindow kCompanions[] = {
    {"SdStatusWindowClass_", 0}, {"KVQStatusClass_01", 0},    {"KVQInstallClass__", 0},
    {"ZbridgeWClass01", 0},      {"VSPL3208Class", 0},        {"ZMsgPopClass01", 0},
    {"PELLIVANCEDLGCLASS01", 0}, {"ZPSD01", 1},               {"KVQPSMCClass01", 0},
};

const char kSpoolerService[] = "Spooler";

// Companion programs get this long to close; one that hangs is left behind.
const UINT kCloseTimeoutMs = 5000;

bool TokenHoldsGroup(HANDLE token, PSID group)
{
    // A domain account can be in hundreds of groups: the size is asked first.
    DWORD length = 0;
    if (GetTokenInformation(token, TokenGroups, nullptr, 0, &length) ||
        GetLastError() != ERROR_INSUFFICIENT_BUFFER || length == 0)
        return false;
    // DWORD-aligned storage for the TOKEN_GROUPS record.
    std::vector<DWORD> buffer((length + sizeof(DWORD) - 1) / sizeof(DWORD));
    if (!GetTokenInformation(token, TokenGroups, buffer.data(), static_cast<DWORD>(buffer.size() * sizeof(DWORD)),
                             &length))
        return false;
    const TOKEN_GROUPS* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    for (DWORD i = 0; i < groups->GroupCount; ++i) {
        if (EqualSid(groups->Groups[i].Sid, group))
            return true;
    }
    return false;
}

// Opens the manager and the spooler service, runs the action, closes both.
template <typename Action> int WithSpoolerService(Action action)
{
    const ServiceHandle manager(ServiceOpenManager(SC_MANAGER_ALL_ACCESS));
    if (!manager.Valid())
        return 0;
    const ServiceHandle service(ServiceOpen(manager.Get(), kSpoolerService, SERVICE_ALL_ACCESS));
    return service.Valid() ? action(service.Get()) : 0;
}

}  // namespace

int IsAdministrator(const COSInfo& os)
{
    if (!os.IsNT())
        return 1;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_READ, &token))
        return 0;
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                  0, 0, &administrators)) {
        CloseHandle(token);
        return 0;
    }
    const bool member = TokenHoldsGroup(token, administrators);
    FreeSid(administrators);
    CloseHandle(token);
    return member ? 1 : 0;
}

int SendCloseToClass(const char* windowClass, WPARAM wParam, LPARAM lParam)
{
    if (!windowClass || !*windowClass)
        return 0;
    HWND window = FindWindowA(windowClass, nullptr);
    if (!window)
        return 0;
    DWORD_PTR result = 1;
    if (!SendMessageTimeoutA(window, WM_CLOSE, wParam, lParam, SMTO_ABORTIFHUNG, kCloseTimeoutMs, &result))
        return 0;
    return result == 0 ? 1 : 0;
}

int CloseCompanionPrograms()
{
    for (const CompanionWindow& companion : kCompanions)
        SendCloseToClass(companion.windowClass, 0, companion.lParam);
    const UINT closeMessage = RegisterWindowMessageA("KUninstClose01");
    if (closeMessage)
        PostMessageA(HWND_BROADCAST, closeMessage, 0, 0);
    return 1;
}

int StopSpooler()
{
    return WithSpoolerService([](SC_HANDLE service) {
        SERVICE_STATUS status = {};
        return ServiceControl(service, SERVICE_CONTROL_STOP, &status) ? 1 : 0;
    });
}

namespace {

int StartOrFindRunning(SC_HANDLE service)
{
    if (ServiceStart(service))
        return 1;
    if (GetLastError() != ERROR_SERVICE_ALREADY_RUNNING)
        return 0;
    SERVICE_STATUS status = {};
    return ServiceQueryStatus(service, &status) &&
                   (status.dwCurrentState == SERVICE_RUNNING || status.dwCurrentState == SERVICE_START_PENDING)
               ? 1
               : 0;
}

}  // namespace

int StartSpooler()
{
    return WithSpoolerService(StartOrFindRunning);
}

int StartSpoolerWhenStopped(DWORD timeoutMs)
{
    return WithSpoolerService([timeoutMs](SC_HANDLE service) {
        for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
            SERVICE_STATUS status = {};
            if (!ServiceQueryStatus(service, &status) || status.dwCurrentState != SERVICE_STOP_PENDING)
                break;
            Sleep(50);
        }
        return StartOrFindRunning(service);
    });
}

int CloseWin95Spooler()
{
    HWND spooler = FindWindowA("SpoolProcessClass", nullptr);
    if (!spooler)
        return 0;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(spooler, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, kCloseTimeoutMs, &result);
    Sleep(1000);
    return 1;
}
