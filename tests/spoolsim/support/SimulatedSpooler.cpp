#include "SimulatedSpooler.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "TestPaths.h"

SimulatedSpooler::SimulatedSpooler(const std::string& stateText)
    : statePath(directory.Join("spooler.ini")), journalPath(directory.Join("spooler.journal"))
{
    SetEnvironmentVariableA("SPOOLSIM_STATE", statePath.c_str());
    Write(stateText);
}

SimulatedSpooler::~SimulatedSpooler() { SetEnvironmentVariableA("SPOOLSIM_STATE", nullptr); }

void SimulatedSpooler::Write(const std::string& stateText)
{
    EXPECT_TRUE(WriteWholeFile(statePath, stateText));
    DeleteFileA(journalPath.c_str());
}

spoolsim::State SimulatedSpooler::Read() const
{
    spoolsim::State state;
    std::string error;
    EXPECT_TRUE(spoolsim::ParseState(StateText(), state, error)) << error;
    return state;
}

std::string SimulatedSpooler::StateText() const { return ReadWholeFile(statePath); }

std::vector<std::string> SimulatedSpooler::Journal() const
{
    std::vector<std::string> lines;
    const std::string text = ReadWholeFile(journalPath);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}
