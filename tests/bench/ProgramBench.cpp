// The whole program, from its start to its exit, against the floor its
// pacing sets: the loading dialog's 400 ms ticks, the removal page's 200 ms
// ticks and the waits the program makes on purpose. Each run installs the
// package afresh, starts the program unattended with a log, and reads the
// log's timestamps to count the ticks that depend on the machine (the
// utility's run, the hook libraries' unload wait).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "BenchReport.h"
#include "TestPaths.h"

namespace {

const double kLoadingTickMs = 400;
const double kRemovalTickMs = 200;
// Ticks of one loading pass: steps 0 to 10, step 3 waiting nine ticks and
// step 5 four; a retry after an empty enumeration runs steps 1 to 10 once
// more, each in one tick.
const int kLoadingTicks = 22;
const int kRetryTicks = 10;
const int kRemovalTicks = 18;
// The removal page resolves each directory twice, 100 ms apart: five on
// every system, seven on the NT family.
const double kDirectoryWaitMs = 100;
// A hook library stays loaded this long after its function returned.
const double kHookWaitMs = 1000;
const double kOverheadTarget = 5;

struct LogLine {
    double ms;  // since midnight
    std::string event;
    std::string rest;
};

std::vector<LogLine> ReadLog(const std::string& path)
{
    std::vector<LogLine> lines;
    const std::string text = ReadWholeFile(path);
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        int year, month, day, hour, minute, second, millis;
        char event[64] = {};
        if (std::sscanf(line.c_str(), "%d-%d-%d %d:%d:%d.%d %63s", &year, &month, &day, &hour, &minute, &second,
                        &millis, event) != 8)
            continue;
        const std::size_t restAt = line.find(event, 24);
        lines.push_back(LogLine{((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millis, event,
                                restAt == std::string::npos ? "" : line.substr(restAt + std::string(event).size())});
    }
    return lines;
}

const LogLine* First(const std::vector<LogLine>& log, std::initializer_list<const char*> events, double after = -1)
{
    for (const LogLine& line : log) {
        if (line.ms < after)
            continue;
        for (const char* event : events) {
            if (line.event == event)
                return &line;
        }
    }
    return nullptr;
}

struct ProgramRun {
    bool ok = false;
    double elapsedMs = 0;
    double floorMs = 0;
    unsigned long exitCode = 0;
    int loadingTicks = 0;
    int removalTicks = 0;
    int directoryWaits = 0;
    int hookWaits = 0;
};

// quiet: the program's output is dropped (the installer reports each run).
bool RunAndWait(const std::string& commandLine, const char* directory, bool quiet, unsigned long& exitCode,
                double& elapsedMs)
{
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    SECURITY_ATTRIBUTES inherited = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE nul = quiet ? CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                     OPEN_EXISTING, 0, nullptr)
                       : INVALID_HANDLE_VALUE;
    if (nul != INVALID_HANDLE_VALUE) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = nul;
        startup.hStdError = nul;
    }
    PROCESS_INFORMATION process = {};
    Stopwatch watch;
    const BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, nul != INVALID_HANDLE_VALUE, 0,
                                        nullptr, directory, &startup, &process);
    if (nul != INVALID_HANDLE_VALUE)
        CloseHandle(nul);
    if (!started)
        return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    elapsedMs = watch.ElapsedMs();
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    exitCode = code;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

ProgramRun RunProgram(const char* installer, const char* program, const char* arguments, const char* logPath)
{
    ProgramRun run;
    unsigned long installed = 0;
    double ignored = 0;
    if (!RunAndWait(installer, nullptr, true, installed, ignored) || installed != 0) {
        std::printf("  the package could not be installed (%lu)\n", installed);
        return run;
    }
    DeleteFileA(logPath);
    std::string directory = program;
    directory = directory.substr(0, directory.find_last_of('\\') + 1);
    if (!RunAndWait("\"" + std::string(program) + "\" " + arguments, directory.c_str(), false, run.exitCode,
                    run.elapsedMs)) {
        std::printf("  %s could not be started\n", program);
        return run;
    }
    const std::vector<LogLine> log = ReadLog(logPath);
    const LogLine* start = First(log, {"Start"});
    const LogLine* windows = First(log, {"Windows"});
    const LogLine* profile = First(log, {"RemovalProfile"});
    const LogLine* exit = First(log, {"Exit"});
    if (!start || !windows || !profile || !exit) {
        std::printf("  the log %s lacks the start, the removal or the exit\n", logPath);
        return run;
    }
    run.loadingTicks = kLoadingTicks + (First(log, {"PrinterEnumeration"}) ? kRetryTicks : 0);
    run.directoryWaits = windows->rest.find("platform=2") != std::string::npos ? 7 : 5;
    // Step 1 repeats while the utility runs: the printers go in step 3, two
    // ticks after the utility's last one.
    const LogLine* printers = First(log, {"DeletePrinter", "DeletePrinterConnection", "OpenPrinter"}, profile->ms);
    int utilityTicks = 1;
    if (printers)
        utilityTicks = std::max(1, static_cast<int>((printers->ms - profile->ms) / kRemovalTickMs + 0.5) - 2);
    run.removalTicks = kRemovalTicks + utilityTicks - 1;
    // The hooks run in step 5, after the monitors; step 6 removes the print
    // processors once the libraries have been unloaded.
    const LogLine* monitors = First(log, {"DeleteMonitor"}, profile->ms);
    const LogLine* processors = First(log, {"DeletePrintProcessor"}, profile->ms);
    if (monitors && processors)
        run.hookWaits = static_cast<int>((processors->ms - monitors->ms) / kHookWaitMs + 0.5);
    run.floorMs = run.loadingTicks * kLoadingTickMs + run.directoryWaits * kDirectoryWaitMs +
                  (run.removalTicks - (run.hookWaits > 0 ? 1 : 0)) * kRemovalTickMs + run.hookWaits * kHookWaitMs;
    run.ok = true;
    return run;
}

}  // namespace

int BenchProgram(int runs, const char* installer, const char* program, const char* arguments, const char* logPath)
{
    std::printf("(d) The whole program, start to exit: %s %s\n", program, arguments);
    std::vector<ProgramRun> results;
    for (int i = 0; i < runs; ++i) {
        results.push_back(RunProgram(installer, program, arguments, logPath));
        if (!results.back().ok)
            return 1;
    }
    const ProgramRun& first = results[0];
    ReportNote("floor: " + std::to_string(first.loadingTicks) + " loading ticks x 400 ms, " +
               std::to_string(first.removalTicks) + " removal ticks x 200 ms (step 1 waiting for the utility " +
               std::to_string(first.removalTicks - kRemovalTicks + 1) + "), " + std::to_string(first.directoryWaits) +
               " directory waits x 100 ms, " + std::to_string(first.hookWaits) +
               " hook unload waits x 1,000 ms; exit code " + std::to_string(first.exitCode));
    std::vector<double> elapsed, floors, overheads;
    for (const ProgramRun& run : results) {
        elapsed.push_back(run.elapsedMs);
        floors.push_back(run.floorMs);
        overheads.push_back((run.elapsedMs / run.floorMs - 1) * 100);
    }
    ReportValue("start to exit", elapsed, "ms");
    ReportValue("pacing floor", floors, "ms");
    ReportAtMost("above the floor", overheads, kOverheadTarget, "%");
    return 0;
}
