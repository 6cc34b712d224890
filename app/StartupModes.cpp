#include "StartupModes.h"

#include <cstring>
#include <vector>

#include "DllSearch.h"
#include "ServiceApi.h"
#include "TextUtil.h"
#include "UniqueHandle.h"
#include "UserMessage.h"

namespace {

const char kRunOnceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char kRunOnceValue[] = "tintara3350MF";

// Starting the service while its stop is still pending fails, which would
// leave printing stopped; so the stop is awaited, within a bound.
const DWORD kStopWaitMs = 30000;

bool WaitUntilStopped(SC_HANDLE service)
{
    for (DWORD waited = 0;; waited += 100) {
        SERVICE_STATUS status = {};
        if (!ServiceQueryStatus(service, &status))
            return false;
        if (status.dwCurrentState == SERVICE_STOPPED)
            return true;
        if (waited >= kStopWaitMs)
            return false;
        Sleep(100);
    }
}

void RestartSpoolerService()
{
    const ServiceHandle manager(ServiceOpenManager(SC_MANAGER_ALL_ACCESS));
    if (!manager.Valid())
        return;
    const ServiceHandle spooler(
        ServiceOpen(manager.Get(), "Spooler", SERVICE_STOP | SERVICE_START | SERVICE_QUERY_STATUS));
    SERVICE_STATUS status = {};
    // A spooler that was not running is left alone.
    if (spooler.Valid() && ServiceControl(spooler.Get(), SERVICE_CONTROL_STOP, &status)) {
        WaitUntilStopped(spooler.Get());
        if (!ServiceStart(spooler.Get()))
            ShowMessageBox(nullptr, "Error starting Spooler Service.", "Fatal Error", MB_ICONERROR);
    }
}

}  // namespace

StartupMode ChooseStartupMode(const char* commandLine)
{
    if (!commandLine)
        return MODE_NORMAL;
    if (TextEquals(commandLine, "RestartSpooler"))
        return MODE_RESTART_SPOOLER;
    if (TextStartsWith(commandLine, kLaunchPrefix))
        return MODE_LAUNCH;
    return MODE_NORMAL;
}

HWND SplitLaunchArgument(char* argument)
{
    char* blank = argument ? std::strrchr(argument, ' ') : nullptr;
    if (!blank)
        return nullptr;
    *blank = '\0';
    // Window handles are 32-bit values written as signed decimals.
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(ParseDecimal(blank + 1)));
}

int RunRestartSpoolerMode()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    if (GetVersionExA(&version) && version.dwMajorVersion > 4)
        RestartSpoolerService();
    RegistryKey runOnce;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunOnceKey, 0, KEY_ALL_ACCESS, runOnce.Receive()) == ERROR_SUCCESS)
        RegDeleteValueA(runOnce.Get(), kRunOnceValue);
    return 0;
}

int RunLaunchMode(const char* argument)
{
    std::vector<char> command(argument, argument + std::strlen(argument) + 1);
    HWND waitFor = SplitLaunchArgument(command.data());
    while (waitFor && IsWindow(waitFor) && GetDlgItem(waitFor, kLaunchWaitControlId))
        Sleep(1000);
    if (command[0] == '\0')
        return 0;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    DefaultDllSearchForChild childSearch;
    if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    return 0;
}
