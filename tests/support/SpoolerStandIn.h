// The prefix's one Spooler service, for tests: its state, and a stand-in
// program that makes its start fail.
#pragma once
#include <windows.h>

#include <string>

#include "TestServices.h"

SERVICE_STATUS_PROCESS SpoolerStatus();
// Process id of the running Spooler service, 0 when it is not running.
DWORD SpoolerProcessId();
// Waits (up to 5 s unless told) for the service to reach the state.
bool WaitForSpooler(DWORD state, DWORD timeoutMs = 5000);

// Points the Spooler service at another program while it lives; always puts
// back Wine's own spoolsv.exe, even after an earlier run that did not.
class SpoolerProgram {
public:
    SpoolerProgram();
    ~SpoolerProgram();
    bool Set(const char* commandLine) const;
    void Restore() const;

private:
    std::string original;
};

// Starts the Spooler service (a running one stays as it is), or asks it to
// stop; neither waits.
void StartSpoolerService();
void StopSpoolerService();

// While it lives the Spooler service cannot start (a program that exits at
// once stands in for it); afterwards Wine's own is back and started.
class FailingSpoolerStart {
public:
    FailingSpoolerStart();
    ~FailingSpoolerStart();
    bool changed;

private:
    SpoolerProgram program;
};

// While it lives the Spooler service is a stand-in whose stop takes two
// seconds (build/bin/slow_spooler.exe), started; afterwards Wine's own is
// back and started.
class SlowStoppingSpooler {
public:
    explicit SlowStoppingSpooler(const std::string& standInPath);
    ~SlowStoppingSpooler();
    bool running;

private:
    SpoolerProgram program;
};
