#include "Wow64HandOver.h"

#include <windows.h>

#include <vector>

#include "EventLog.h"
#include "SilentRun.h"
#include "StringLoader.h"
#include "SystemLibrary.h"
#include "TextUtil.h"
#include "UniqueHandle.h"
#include "UserMessage.h"
#include "resource.h"

bool RunningUnderWow64()
{
    typedef BOOL(WINAPI * IsWow64ProcessFn)(HANDLE, PBOOL);
    IsWow64ProcessFn isWow64 = nullptr;
    BOOL wow64 = FALSE;
    return BindSystemFunction(isWow64, "kernel32.dll", "IsWow64Process") && isWow64(GetCurrentProcess(), &wow64) &&
           wow64;
}

std::string Native64BitProgram()
{
    char own[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, own, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::string();
    std::string path = own;
    const std::size_t slash = path.find_last_of('\\');
    if (slash == std::string::npos)
        return std::string();
    path = path.substr(0, slash + 1) + "x64\\trelun08.exe";
    return path.size() < MAX_PATH ? path : std::string();
}

std::string HandOverCommandLine(const std::string& program, const char* arguments)
{
    std::string line = "\"" + program + "\"";
    if (arguments && *arguments)
        line += std::string(" ") + arguments;
    return line;
}

int HandOverTo64BitProgram(const char* arguments)
{
    const std::string program = Native64BitProgram();
    const DWORD attributes = program.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(program.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        LogEvent("Native64BitProgram", program.c_str(), ERROR_FILE_NOT_FOUND);
        StringLoader strings(GetModuleHandleA(nullptr));
        const std::string caption = strings.GetString(IDS_CAPTION);
        const std::string text = ReplaceFirstPlaceholder(strings.GetString(IDS_X64_MISSING), program.c_str());
        ShowMessageBox(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
        return IsSilentRun() ? static_cast<int>(SILENT_EXIT_FATAL) : 1;
    }
    std::string line = HandOverCommandLine(program, arguments);
    std::vector<char> writable(line.begin(), line.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        LogEvent("HandOver", line.c_str(), GetLastError());
        return IsSilentRun() ? static_cast<int>(SILENT_EXIT_FATAL) : 1;
    }
    const KernelHandle thread(process.hThread);
    const KernelHandle child(process.hProcess);
    LogEvent("HandOver", line.c_str(), ERROR_SUCCESS);
    WaitForSingleObject(child.Get(), INFINITE);
    DWORD exitCode = SILENT_EXIT_FATAL;
    if (!GetExitCodeProcess(child.Get(), &exitCode))
        exitCode = SILENT_EXIT_FATAL;
    return static_cast<int>(exitCode);
}
