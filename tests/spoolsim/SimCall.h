// What every simulated spooler call shares: the state read for the call,
// failing the Windows way, the journal of mutating calls, environments.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "SimState.h"

namespace spoolsim {

// The state as the file holds it at the start of the call.
class Session {
public:
    Session();
    // False when the state file cannot be read or understood; the call then
    // fails with ERROR_INVALID_DATA.
    bool Loaded() const { return snapshot != nullptr; }
    // For reading only: the snapshot shared by calls that read the same text.
    const State& view() const { return copied ? current : *snapshot; }
    // For changing: the call's own copy, made on first use.
    State& state();
    void Save();

private:
    std::shared_ptr<const State> snapshot;
    State current;
    bool copied;
};

// The last error a spooler call leaves: the caller's own unless the call
// fails, whatever the simulator's file work and allocations did to it.
class CallOutcome {
public:
    CallOutcome();
    ~CallOutcome();
    CallOutcome(const CallOutcome&) = delete;
    CallOutcome& operator=(const CallOutcome&) = delete;
    // The FALSE of a failed call; the error is set when the call returns.
    BOOL Fail(DWORD error);

private:
    DWORD saved;
    DWORD error;
    bool failed;
};

// One journal line per mutating call: function|arg|...|ok or |error N.
class JournalEntry {
public:
    explicit JournalEntry(const char* function);
    JournalEntry& Arg(const char* text);
    JournalEntry& Arg(const std::string& text);
    JournalEntry& Arg(unsigned long number);
    BOOL Succeed();
    BOOL Fail(DWORD error);

private:
    CallOutcome outcome;
    std::string line;
};

// The printer behind an open handle, for a call that fills a buffer with
// records of recordSize bytes (0: a level the call does not know). The
// handle, the level, the buffer, the state and the printer are checked in
// the spooler's order; nullptr once the call has failed.
const Printer* PrinterToRead(CallOutcome& call, Session& session, HANDLE handle, std::size_t recordSize,
                             const void* buffer, DWORD size);

bool RunningOnWin9x();

// The environment a NULL environment stands for: the state's override,
// else "Windows 4.0" on the 9x family and "Windows NT x86" elsewhere.
std::string LocalEnvironment(const State& state);
// The environment a caller names, or false for one the spooler does not know.
bool ResolveEnvironment(const State& state, const char* requested, std::string& environment);
// Whether an item declared for itemEnvironment (empty: local) belongs to environment.
bool InEnvironment(const State& state, const std::string& itemEnvironment, const std::string& environment);
// Directory of that environment below the spooler's "drivers" or "prtprocs" directory.
const char* EnvironmentDirectory(const std::string& environment);

// GetPrinterDriverDirectoryA ("drivers") and GetPrintProcessorDirectoryA
// ("prtprocs"): the prefix's real directory for the environment.
// What an Enum...A call with these arguments fails with before it reads the
// state (the counts zeroed first), or 0 when they are usable.
DWORD EnumArgumentError(bool levelKnown, LPBYTE buffer, DWORD size, LPDWORD needed, LPDWORD returned);

BOOL SpoolDirectory(const char* kind, LPSTR environment, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed);

}  // namespace spoolsim
