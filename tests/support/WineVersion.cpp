#include "WineVersion.h"

#include <windows.h>

namespace {

const char kAppDefaults[] = "Software\\Wine\\AppDefaults\\";

std::string FileNameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool SetEmulatedVersion(const std::string& exeFileName, const char* version)
{
    const std::string key = kAppDefaults + exeFileName;
    if (!version) {
        HKEY appDefaults = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_ALL_ACCESS, &appDefaults) == ERROR_SUCCESS) {
            RegDeleteValueA(appDefaults, "Version");
            RegCloseKey(appDefaults);
        }
        RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
        return true;
    }
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const LONG status = RegSetValueExA(handle, "Version", 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(version),
                                       static_cast<DWORD>(lstrlenA(version) + 1));
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
}

ChildResult RunUnderWindowsVersion(const std::string& exePath, const std::string& arguments,
                                   const char* version, unsigned long timeoutMs)
{
    ChildResult result;
    const std::string exeName = FileNameOf(exePath);
    if (!SetEmulatedVersion(exeName, version))
        return result;

    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        SetEmulatedVersion(exeName, nullptr);
        return result;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    PROCESS_INFORMATION process = {};
    result.started = CreateProcessA(exePath.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                    nullptr, &startup, &process) != FALSE;
    CloseHandle(writeEnd);
    if (result.started) {
        char chunk[512];
        DWORD read = 0;
        while (ReadFile(readEnd, chunk, sizeof(chunk), &read, nullptr) && read > 0)
            result.output.append(chunk, read);
        if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0)
            TerminateProcess(process.hProcess, 259);
        GetExitCodeProcess(process.hProcess, &result.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(readEnd);
    SetEmulatedVersion(exeName, nullptr);
    return result;
}
