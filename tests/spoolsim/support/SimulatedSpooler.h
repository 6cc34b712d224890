// A simulator state file for one test: written to a fresh directory and
// named by SPOOLSIM_STATE while the object lives (child processes inherit
// it). Reads back the state and the journal the simulator wrote.
#pragma once
#include <string>
#include <vector>

#include "SimState.h"
#include "TempDir.h"

class SimulatedSpooler {
public:
    explicit SimulatedSpooler(const std::string& stateText = std::string());
    ~SimulatedSpooler();
    SimulatedSpooler(const SimulatedSpooler&) = delete;
    SimulatedSpooler& operator=(const SimulatedSpooler&) = delete;

    // Replaces the state and empties the journal.
    void Write(const std::string& stateText);
    // The state as the simulator left it; a state it cannot parse fails the test.
    spoolsim::State Read() const;
    std::string StateText() const;
    // Journal lines in call order.
    std::vector<std::string> Journal() const;

    const std::string& StatePath() const { return statePath; }
    const std::string& JournalPath() const { return journalPath; }

private:
    TempDir directory;
    std::string statePath;
    std::string journalPath;
};
