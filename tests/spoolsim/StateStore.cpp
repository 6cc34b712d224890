#include "StateStore.h"

#include <windows.h>

#include <vector>


namespace spoolsim {

namespace {

HMODULE SimulatorModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&SimulatorModule), &module);
    return module;
}

std::string Environment(const char* name)
{
    const DWORD length = GetEnvironmentVariableA(name, nullptr, 0);
    if (length == 0)
        return std::string();
    std::vector<char> value(length + 1);
    const DWORD written = GetEnvironmentVariableA(name, value.data(), length + 1);
    return written > 0 && written <= length ? std::string(value.data(), written) : std::string();
}

bool ReadFileText(const std::string& path, std::string& text, bool& missing)
{
    text.clear();
    missing = false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return false;
    }
    char chunk[4096];
    DWORD read = 0;
    BOOL ok = TRUE;
    while ((ok = ReadFile(file, chunk, sizeof(chunk), &read, nullptr)) && read > 0)
        text.append(chunk, read);
    CloseHandle(file);
    return ok != FALSE;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes, DWORD disposition)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    if (disposition == OPEN_ALWAYS)
        SetFilePointer(file, 0, nullptr, FILE_END);
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

}  // namespace

std::string StatePath()
{
    const std::string configured = Environment("SPOOLSIM_STATE");
    if (!configured.empty())
        return configured;
    char module[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(SimulatorModule(), module, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return "spoolsim.ini";
    std::string path(module, length);
    return path.substr(0, path.find_last_of('\\') + 1) + "spoolsim.ini";
}

std::string JournalPath()
{
    const std::string state = StatePath();
    const std::size_t slash = state.find_last_of("\\/");
    const std::size_t dot = state.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? state.substr(0, dot) : state) + ".journal";
}

bool LoadState(State& state, std::string& error)
{
    std::string text;
    bool missing = false;
    if (!ReadFileText(StatePath(), text, missing)) {
        if (missing) {
            state = State();
            return true;
        }
        error = "cannot read " + StatePath();
        return false;
    }
    return ParseState(text, state, error);
}

bool SaveState(const State& state)
{
    return WriteFileBytes(StatePath(), FormatState(state), CREATE_ALWAYS);
}

void AppendJournal(const std::string& line)
{
    WriteFileBytes(JournalPath(), line + "\r\n", OPEN_ALWAYS);
}

}  // namespace spoolsim
