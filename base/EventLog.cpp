#include "EventLog.h"

#include <windows.h>

#include "TextUtil.h"

namespace {

std::string g_path;

// The line is written with one WriteFile on a handle opened for appending,
// so that lines of another writer never interleave inside a line.
void AppendLine(const std::string& body)
{
    if (g_path.empty())
        return;
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    std::string line = FormatLogTimestamp(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
                                          now.wMilliseconds);
    line += ' ';
    for (char c : body)
        line += (c == '\r' || c == '\n') ? ' ' : c;
    line += "\r\n";
    const DWORD lastError = GetLastError();
    HANDLE file = CreateFileA(g_path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        SetFilePointer(file, 0, nullptr, FILE_END);
        DWORD written = 0;
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(file);
    }
    // Callers read GetLastError after the call they log.
    SetLastError(lastError);
}

std::string Text(const char* text) { return text ? std::string(text) : std::string(); }

}  // namespace

std::string FormatLogTimestamp(int year, int month, int day, int hour, int minute, int second, int millis)
{
    char stamp[40];
    FormatText(stamp, sizeof(stamp), "%04d-%02d-%02d %02d:%02d:%02d.%03d", year, month, day, hour, minute, second,
                  millis);
    return stamp;
}

bool OpenEventLog(const char* path)
{
    g_path.clear();
    std::string value = Text(path);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    if (value.empty() || value.size() >= MAX_PATH)
        return false;
    g_path = value;
    return true;
}

bool EventLogEnabled() { return !g_path.empty(); }

const std::string& EventLogPath() { return g_path; }

void LogEvent(const char* event, const char* target, unsigned long result)
{
    if (g_path.empty())
        return;
    char code[24];
    FormatText(code, sizeof(code), " result=%lu", result);
    AppendLine(Text(event) + ' ' + Text(target) + code);
}

void LogText(const char* event, const char* text)
{
    if (g_path.empty())
        return;
    AppendLine(Text(event) + ' ' + Text(text));
}

void TraceText(const char* event, const char* text)
{
    OutputDebugStringA((Text(event) + ' ' + Text(text) + '\n').c_str());
    LogText(event, text);
}
