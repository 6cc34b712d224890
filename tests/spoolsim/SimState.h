// What the simulated spooler holds: printers with their data and jobs,
// drivers, monitors and print processors, and the faults to inject. Parsed
// from and formatted to the state file's text (see README.md). Pure code.
#pragma once
#include <string>
#include <vector>

namespace spoolsim {

// The spooler's own environment on the NT family for this build, as Wine's
// spooler and the simulator give it.
constexpr const char* kNativeEnvironment = sizeof(void*) == 8 ? "Windows x64" : "Windows NT x86";

struct Job {
    unsigned long id = 0;
    std::string user;
    std::string document;
    unsigned long status = 0;
};

struct PrinterValue {
    std::string name;
    std::string text;  // stored as REG_SZ
};

struct Printer {
    std::string name;
    std::string server;  // non-empty: a connection to that server
    std::string share;
    std::string port;
    std::string driver;
    std::string comment;
    std::string location;
    std::string printProcessor = "WinPrint";
    std::string datatype = "RAW";
    unsigned long attributes = 0;
    unsigned long priority = 1;
    unsigned long status = 0;
    bool pendingDeletion = false;
    std::vector<PrinterValue> data;
    std::vector<Job> jobs;

    // Injected faults: the error code the operation fails with, 0 for none.
    unsigned long openError = 0;
    unsigned long level2Error = 0;      // size query answers, the data call fails
    unsigned long level2SizeError = 0;  // every level-2 call fails, no size reported
    unsigned long setError = 0;
    unsigned long deleteError = 0;

    bool IsConnection() const { return !server.empty(); }
    const PrinterValue* FindValue(const char* valueName) const;
};

struct Driver {
    std::string name;
    std::string environment;  // empty: the local environment
    unsigned long version = 3;
    std::string driverPath;
    std::string dataFile;
    std::string configFile;
    std::string helpFile;
    std::string dependentFiles;  // comma-separated
    unsigned long deleteError = 0;
};

struct Monitor {
    std::string name;
    std::string dll;
    unsigned long deleteError = 0;
};

struct PrintProcessor {
    std::string name;
    std::string environment;  // empty: the local environment
    std::string dll;
    unsigned long deleteError = 0;
};

struct State {
    std::string environment;  // overrides the local environment chosen by platform
    unsigned long enumPrintersError = 0;      // every EnumPrintersA fails, no size
    unsigned long enumPrintersDataError = 0;  // size query answers, the data call fails
    std::vector<Printer> printers;
    std::vector<Driver> drivers;
    std::vector<Monitor> monitors;
    std::vector<PrintProcessor> processors;

    Printer* FindPrinter(const char* name);
    const Printer* FindPrinter(const char* name) const;
    // Removes the printer when it is marked for deletion and has no jobs left.
    void DropIfDeleted(const std::string& name);
};

// Comparison of names as the spooler does it: letters A-Z without case.
bool SameName(const std::string& a, const char* b);

// False, with a message naming the line, for text that is not understood:
// an unknown section or key, a malformed number, a section without Name.
bool ParseState(const std::string& text, State& state, std::string& error);
std::string FormatState(const State& state);

}  // namespace spoolsim
