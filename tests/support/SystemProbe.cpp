// Runs one system check the way the tests cannot in their own process, and
// prints what happened:
//   system_probe is-admin                   IsAdministrator of the running system,
//                                           and how often a process token was opened
//   system_probe is-admin-many-groups       IsAdministrator with a token whose groups
//                                           need more than 8 KB
//   system_probe restart-without-privilege  RestartWithPrivilege after the shutdown
//                                           privilege was removed from the token
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "OSInfo.h"
#include "SystemChecks.h"
#include "SystemRestart.h"

namespace {

int tokenOpens = 0;
decltype(&OpenProcessToken) realOpenProcessToken = nullptr;

BOOL WINAPI CountingOpenProcessToken(HANDLE process, DWORD access, PHANDLE token)
{
    ++tokenOpens;
    return realOpenProcessToken(process, access, token);
}

// A token in many groups: every buffer smaller than the groups plus 8 KB is
// too small, as for a domain account in hundreds of groups.
decltype(&GetTokenInformation) realGetTokenInformation = nullptr;

BOOL WINAPI ManyGroupsGetTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kind, LPVOID buffer, DWORD size,
                                          PDWORD length)
{
    DWORD real = 0;
    realGetTokenInformation(token, kind, nullptr, 0, &real);
    if (size < real + 8192) {
        *length = real + 8192;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    return realGetTokenInformation(token, kind, buffer, size, length);
}

// Redirects this program's import of dll!function.
bool HookImport(const char* dll, const char* function, void* replacement, void** original)
{
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const IMAGE_NT_HEADERS* headers =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (const IMAGE_IMPORT_DESCRIPTOR* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         d->Name; ++d) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), dll) != 0)
            continue;
        const IMAGE_THUNK_DATA* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        IMAGE_THUNK_DATA* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const IMAGE_IMPORT_BY_NAME* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0)
                continue;
            DWORD protection = 0;
            VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &protection);
            *original = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), protection, &protection);
            return true;
        }
    }
    return false;
}

int restartRequests = 0;

BOOL WINAPI RecordRestart(UINT, DWORD)
{
    ++restartRequests;
    return TRUE;
}

bool RemoveShutdownPrivilege()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_REMOVED;
    LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid);
    SetLastError(ERROR_SUCCESS);
    const bool removed = AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
                         GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    return removed;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "is-admin") == 0) {
        void* original = nullptr;
        const bool hooked = HookImport("advapi32.dll", "OpenProcessToken",
                                       reinterpret_cast<void*>(&CountingOpenProcessToken), &original);
        realOpenProcessToken = reinterpret_cast<decltype(&OpenProcessToken)>(original);
        const COSInfo os;
        const int admin = IsAdministrator(os);
        std::printf("hooked=%d platform=%d admin=%d tokens=%d\n", hooked ? 1 : 0, os.GetPlatformKind(), admin,
                    tokenOpens);
    } else if (argc == 2 && std::strcmp(argv[1], "is-admin-many-groups") == 0) {
        void* original = nullptr;
        const bool hooked = HookImport("advapi32.dll", "GetTokenInformation",
                                       reinterpret_cast<void*>(&ManyGroupsGetTokenInformation), &original);
        realGetTokenInformation = reinterpret_cast<decltype(&GetTokenInformation)>(original);
        std::printf("hooked=%d admin=%d\n", hooked ? 1 : 0, IsAdministrator(COSInfo()));
    } else if (argc == 2 && std::strcmp(argv[1], "restart-without-privilege") == 0) {
        const bool removed = RemoveShutdownPrivilege();
        const int result = RestartWithPrivilege(RecordRestart);
        std::printf("removed=%d result=%d requests=%d\n", removed ? 1 : 0, result, restartRequests);
    } else {
        return 2;
    }
    std::fflush(stdout);
    return 0;
}
