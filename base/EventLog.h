// The plain-text log of a run ("/LOG:<path>"): one line per event with a
// local timestamp, appended. Writing never fails the caller: a log that
// cannot be opened or written is skipped.
#pragma once
#include <string>

// Sets the log file; nullptr or "" turns logging off. Surrounding double
// quotes are dropped. False (and no log) for a path of 260 characters or more.
bool OpenEventLog(const char* path);
bool EventLogEnabled();
const std::string& EventLogPath();

// "<timestamp> <event> <target> result=<code>"
void LogEvent(const char* event, const char* target, unsigned long result);
// "<timestamp> <event> <text>"
void LogText(const char* event, const char* text);
// LogText, and the text handed to a debugger as well.
void TraceText(const char* event, const char* text);

// The timestamp form used in every line: "YYYY-MM-DD hh:mm:ss.mmm".
std::string FormatLogTimestamp(int year, int month, int day, int hour, int minute, int second, int millis);
