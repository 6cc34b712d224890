#include "StateStore.h"

#include <windows.h>

#include <mutex>
#include <vector>

namespace spoolsim {

namespace {

// The state text parsed last and what it gave. Every call still reads the
// file afresh; an unchanged text only skips the parse, which with thousands
// of printers is most of a call's time.
struct LastParse {
    std::mutex lock;
    std::string text;
    std::shared_ptr<const State> state;
};

LastParse& Parsed()
{
    static LastParse last;
    return last;
}

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
    // Large reads: a state of thousands of printers is read on every call.
    std::vector<char> chunk(64 * 1024);
    DWORD read = 0;
    BOOL ok = TRUE;
    while ((ok = ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr)) && read > 0)
        text.append(chunk.data(), read);
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

std::shared_ptr<const State> LoadState(std::string& error)
{
    std::string text;
    bool missing = false;
    if (!ReadFileText(StatePath(), text, missing)) {
        if (missing)
            return std::make_shared<const State>();
        error = "cannot read " + StatePath();
        return nullptr;
    }
    LastParse& last = Parsed();
    std::lock_guard<std::mutex> hold(last.lock);
    if (last.state && last.text == text)
        return last.state;
    auto parsed = std::make_shared<State>();
    if (!ParseState(text, *parsed, error))
        return nullptr;
    last.text.swap(text);
    last.state = parsed;
    return parsed;
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
