#include <gtest/gtest.h>

#include "SimTestUtil.h"
#include "SimulatedSpooler.h"

TEST(SimEnumJobs, WindowOfTheQueueAtLevelOne)
{
    std::string state = "[Printer]\r\nName=Queue\r\nDatatype=RAW\r\n";
    for (int id = 1; id <= 150; ++id)
        state += "Job=" + std::to_string(id) + ",0,user" + std::to_string(id) + ",doc " + std::to_string(id) + "\r\n";
    SimulatedSpooler spooler(state);
    HANDLE queue = OpenForTest("Queue");
    ASSERT_NE(nullptr, queue);

    DWORD needed = 0;
    DWORD returned = kMarker;
    SetLastError(kMarker);
    EXPECT_FALSE(EnumJobsA(queue, 0, 100, 1, nullptr, 0, &needed, &returned));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(0u, returned);
    CallerBuffer buffer(needed);
    ASSERT_TRUE(EnumJobsA(queue, 0, 100, 1, buffer.data(), needed, &needed, &returned));
    ASSERT_EQ(100u, returned);
    EXPECT_TRUE(buffer.CanaryIntact());
    const JOB_INFO_1A* jobs = reinterpret_cast<const JOB_INFO_1A*>(buffer.data());
    EXPECT_EQ(1u, jobs[0].JobId);
    EXPECT_EQ(100u, jobs[99].JobId);
    EXPECT_EQ(100u, jobs[99].Position);
    EXPECT_STREQ("doc 100", jobs[99].pDocument);
    EXPECT_STREQ("user1", jobs[0].pUserName);
    EXPECT_STREQ("Queue", jobs[0].pPrinterName);
    EXPECT_TRUE(buffer.HoldsString(jobs[50].pDocument, 100 * sizeof(JOB_INFO_1A)));

    DWORD tailNeeded = 0;
    EnumJobsA(queue, 140, 100, 1, nullptr, 0, &tailNeeded, &returned);
    std::vector<BYTE> tail(tailNeeded);
    ASSERT_TRUE(EnumJobsA(queue, 140, 100, 1, tail.data(), tailNeeded, &tailNeeded, &returned));
    ASSERT_EQ(10u, returned);
    EXPECT_EQ(141u, reinterpret_cast<const JOB_INFO_1A*>(tail.data())[0].JobId);

    SetLastError(kMarker);
    EXPECT_FALSE(EnumJobsA(queue, 0, 100, 2, nullptr, 0, &needed, &returned));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_LEVEL), GetLastError());
    ClosePrinter(queue);
}

TEST(SimSetJob, CommandsOnQueuedJobs)
{
    SimulatedSpooler spooler("[Printer]\r\nName=Queue\r\nJob=7,0,u,a\r\nJob=8,0,u,b\r\n");
    HANDLE queue = OpenForTest("Queue");
    ASSERT_NE(nullptr, queue);
    EXPECT_TRUE(SetJobA(queue, 8, 0, nullptr, JOB_CONTROL_PAUSE));
    EXPECT_EQ(static_cast<unsigned long>(JOB_STATUS_PAUSED), spooler.Read().printers[0].jobs[1].status);
    EXPECT_TRUE(SetJobA(queue, 7, 0, nullptr, JOB_CONTROL_CANCEL));
    SetLastError(kMarker);
    EXPECT_FALSE(SetJobA(queue, 7, 0, nullptr, JOB_CONTROL_DELETE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    SetLastError(kMarker);
    EXPECT_FALSE(SetJobA(queue, 8, 0, nullptr, 99));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    ClosePrinter(queue);
    SetLastError(kMarker);
    EXPECT_FALSE(SetJobA(queue, 8, 0, nullptr, JOB_CONTROL_DELETE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());

    const spoolsim::State state = spooler.Read();
    ASSERT_EQ(1u, state.printers[0].jobs.size());
    EXPECT_EQ(8u, state.printers[0].jobs[0].id);
    const std::vector<std::string> expected = {
        "SetJobA|Queue|8|0|PAUSE|ok",
        "SetJobA|Queue|7|0|CANCEL|ok",
        "SetJobA|Queue|7|0|DELETE|error 87",
        "SetJobA|Queue|8|0|99|error 87",
        "SetJobA|(invalid handle)|8|0|DELETE|error 6",
    };
    EXPECT_EQ(expected, spooler.Journal());
}
