#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "EventLog.h"
#include "MessageLog.h"
#include "SilentRun.h"
#include "TempDir.h"
#include "TestPaths.h"

namespace {

// Turns the log off again whatever the test did.
struct LogOff {
    ~LogOff()
    {
        OpenEventLog(nullptr);
        SetSilentRun(false);
    }
};

}  // namespace

TEST(EventLog, TimestampForm)
{
    EXPECT_EQ("2024-03-07 09:05:01.042", FormatLogTimestamp(2024, 3, 7, 9, 5, 1, 42));
}

TEST(EventLog, AppendsOneStampedLinePerEvent)
{
    LogOff off;
    TempDir dir;
    const std::string path = dir.Join("run.log");
    ASSERT_TRUE(WriteWholeFile(path, "kept\r\n"));
    ASSERT_TRUE(OpenEventLog(path.c_str()));
    LogEvent("DeletePrinter", "Oficina", 5);
    LogText("Note", "two\r\nlines");
    const std::string log = ReadWholeFile(path);
    ASSERT_EQ(0u, log.find("kept\r\n"));
    const std::string first = log.substr(6, log.find("\r\n", 6) - 6);
    EXPECT_EQ(" DeletePrinter Oficina result=5", first.substr(23)) << first;
    EXPECT_NE(std::string::npos, log.find(" Note two  lines\r\n")) << "a text never splits the line";
}

TEST(EventLog, QuotedPathAndRefusedPaths)
{
    LogOff off;
    TempDir dir;
    const std::string path = dir.Join("q.log");
    ASSERT_TRUE(OpenEventLog(("\"" + path + "\"").c_str()));
    EXPECT_EQ(path, EventLogPath());
    EXPECT_FALSE(OpenEventLog(std::string(300, 'a').c_str()));
    EXPECT_FALSE(EventLogEnabled());
    EXPECT_FALSE(OpenEventLog(""));
    LogEvent("Nothing", "", 0);  // off: no file anywhere, no crash
    EXPECT_EQ("", ReadWholeFile(path));
}

TEST(EventLog, AnUnwritablePathIsSkippedAndKeepsTheLastError)
{
    LogOff off;
    ASSERT_TRUE(OpenEventLog("Q:\\no\\such\\dir\\x.log"));
    SetLastError(1234);
    LogEvent("DeleteFile", "x", 0);
    EXPECT_EQ(1234u, GetLastError());
}

TEST(MessageLog, SilentAnswersAreTheSafeButtons)
{
    EXPECT_EQ(IDNO, SafeAnswer(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(IDNO, SafeAnswer(MB_YESNOCANCEL));
    EXPECT_EQ(IDOK, SafeAnswer(MB_OK));
    EXPECT_EQ(IDOK, SafeAnswer(MB_ICONERROR));
}

TEST(MessageLog, SilentMessageIsLoggedNotShown)
{
    LogOff off;
    TempDir dir;
    const std::string path = dir.Join("m.log");
    ASSERT_TRUE(OpenEventLog(path.c_str()));
    SetSilentRun(true);
    EXPECT_EQ(IDNO, LoggingMessageBoxHandler(nullptr, "Stop?", "Caption", MB_YESNO));
    EXPECT_NE(std::string::npos, ReadWholeFile(path).find(" MessageSuppressed string=0 Stop? result=7\r\n"));
}
