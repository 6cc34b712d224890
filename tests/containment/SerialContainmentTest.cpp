// Random installations of the package, a random choice of printers, a full
// removal under Wine: everything that changed must be named by the removal
// profile, and nothing a printer that stays (or an ignore profile, or
// another package) needs may be gone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>

#include "ContainmentCheck.h"
#include "Installation.h"
#include "PrefixGuard.h"
#include "RemovalHarness.h"
#include "RemovalSequence.h"
#include "SimulatedSpooler.h"
#include "StringLoader.h"
#include "TempDir.h"
#include "TestPaths.h"
#include "UiDriver.h"
#include "WineVersion.h"
#include "resource.h"

namespace {

using namespace containment;

// The seeds of the test command; TRELUN_CONTAINMENT_SEEDS=<first>:<count>
// runs others by hand.
void SeedRange(unsigned& first, unsigned& count)
{
    first = 1;
    count = 25;
    char text[64] = {};
    if (GetEnvironmentVariableA("TRELUN_CONTAINMENT_SEEDS", text, sizeof(text)) > 0)
        std::sscanf(text, "%u:%u", &first, &count);
}

struct SeedSummary {
    int printers = 0;
    int chosen = 0;
    bool noneStays = false;
    bool sliced = false;
};

// In process the removal page runs in this test; through the program the
// shipped trelun08.exe runs unattended beside the simulator and removes
// every printer of the package it lists.
enum class Runner { InProcess, ShippedProgram };

std::vector<std::string> ChooseEveryListedPrinter(UninstallDatabase& database)
{
    std::vector<std::string> selected;
    for (InstalledPrinter& printer : database.printers) {
        printer.excluded = printer.IsListed() ? 0 : 1;
        if (printer.IsListed())
            selected.push_back(printer.name);
    }
    return selected;
}

// The registry lines the program applied, from its log ("<date> <time>
// <event> <line> result=<code>"): step 0's profile and what the removers
// appended to it, which the check then holds to its rules.
std::vector<std::string> AppliedRegistryLines(const std::string& log)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < log.size()) {
        std::size_t end = log.find("\r\n", start);
        if (end == std::string::npos)
            end = log.size();
        const std::string line = log.substr(start, end - start);
        start = end + 2;
        for (const char* event : {" RegDeleteKey ", " RegDeleteValue ", " DeleteRegistryTree "}) {
            const std::size_t at = line.find(event);
            const std::size_t result = line.rfind(" result=");
            if (at != std::string::npos && result != std::string::npos && result > at)
                lines.push_back(line.substr(at + std::strlen(event), result - at - std::strlen(event)));
        }
    }
    return lines;
}

// The shipped program from build/bin, copied beside the simulator; its log
// tells which registry lines it applied.
void RunShippedProgramSilently(bool unpell, const char* version, const std::string& filter,
                               std::vector<std::string>& appliedLines)
{
    TempDir directory;
    ASSERT_TRUE(CopyFileA((BinDirectory() + "..\\bin\\trelun08.exe").c_str(),
                          directory.Join("trelun08.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(BesideTests("VSPOOL08.dll").c_str(), directory.Join("VSPOOL08.dll").c_str(), FALSE));
    const std::string log = directory.Join("run.log");
    ASSERT_TRUE(SetEmulatedVersion("trelun08.exe", version));
    UiDriver program;
    ASSERT_TRUE(program.Start(directory.Join("trelun08.exe"),
                              std::string(unpell ? "/SILENT /UNPELL " : "/SILENT ") + filter + " /LOG:\"" + log + "\"",
                              directory.Path()));
    const DWORD exitCode = program.WaitForExit(120000);
    SetEmulatedVersion("trelun08.exe", nullptr);
    EXPECT_TRUE(exitCode == 0 || exitCode == 3010) << "exit code " << exitCode;
    appliedLines = AppliedRegistryLines(ReadWholeFile(log));
}

std::string Describe(const std::vector<std::string>& violations)
{
    std::string text;
    for (const std::string& line : violations)
        text += "  " + line + "\n";
    return text;
}

// Through the program, filter holds its switches that leave printers out.
void RemoveOneInstallation(unsigned seed, const PrefixGuard& guard, SeedSummary& summary,
                           Runner runner = Runner::InProcess, const char* version = "winxp",
                           const std::string& filter = std::string())
{
    SCOPED_TRACE("seed " + std::to_string(seed));
    const Layout& layout = guard.GetLayout();
    InstalledSeed installed(seed, layout);
    if (::testing::Test::HasFatalFailure())
        return;
    const Installation& installation = installed.installation;
    SimulatedSpooler& spooler = installed.spooler;

    UninstallDatabase database;
    ASSERT_TRUE(LoadDatabase(database, installation.scriptPaths, installation.unpell, filter));
    RemovalRecord record;
    record.selected = runner == Runner::InProcess ? ChoosePrinters(seed, database) : ChooseEveryListedPrinter(database);
    database.BuildRemovalProfile();
    record.planned.Assign(database.removalProfile);
    summary.printers = database.printers.Count();
    summary.chosen = static_cast<int>(ChosenPrinters(database, record.selected).size());
    summary.noneStays = database.keptPrinterCount == 0;

    const SystemState before = CaptureState(layout, installation, spooler.Read());
    if (runner == Runner::ShippedProgram) {
        std::vector<std::string> appliedLines;
        RunShippedProgramSilently(installation.unpell, version, filter, appliedLines);
        const SystemState after = CaptureState(layout, installation, spooler.Read());
        record.journal = spooler.Journal();
        TextList& lines = database.removalProfile.registryKeys;
        for (const std::string& line : appliedLines) {
            if (std::none_of(lines.begin(), lines.end(),
                             [&](const std::string& known) { return TextEquals(known.c_str(), line.c_str()); }))
                lines.push_back(line);
        }
        const std::vector<std::string> violations =
            CheckContainment(installation, layout, database, record, before, after);
        EXPECT_TRUE(violations.empty()) << violations.size() << " violation(s):\n" << Describe(violations);
        return;
    }
    // Every third installation is removed with no time to spare in a tick:
    // each step that can spread over ticks does one piece per tick.
    summary.sliced = seed % 3 == 0;
    RemovalSequence::tickWorkMs = summary.sliced ? 0 : kTickWorkMs;
    const RemovalOutcome outcome = RunFullRemoval(database);
    RemovalSequence::tickWorkMs = kTickWorkMs;
    const SystemState after = CaptureState(layout, installation, spooler.Read());
    record.journal = spooler.Journal();

    ASSERT_TRUE(outcome.finished) << "the removal did not report back within the time limit";
    EXPECT_TRUE(outcome.closeBeforeFinish);
    ASSERT_FALSE(outcome.messages.empty());
    StringLoader strings(GetModuleHandleA(nullptr));
    EXPECT_EQ(strings.GetString(IDS_FINISHED), outcome.messages.back().text);
    EXPECT_EQ(0, outcome.restartRequests);

    const std::vector<std::string> violations =
        CheckContainment(installation, layout, database, record, before, after);
    EXPECT_TRUE(violations.empty()) << violations.size() << " violation(s):\n"
                                    << Describe(violations) << "script:\n"
                                    << installation.ScriptText();
}

}  // namespace

TEST(SerialContainment, RandomInstallationsLoseNothingOutsideTheirProfile)
{
    unsigned first = 0;
    unsigned count = 0;
    SeedRange(first, count);
    PrefixGuard guard;
    unsigned checked = 0;
    int withNoneStaying = 0;
    const DWORD start = GetTickCount();
    for (unsigned seed = first; seed < first + count; ++seed) {
        SeedSummary summary;
        RemoveOneInstallation(seed, guard, summary);
        guard.Sweep();
        if (HasFatalFailure())
            break;
        ++checked;
        withNoneStaying += summary.noneStays ? 1 : 0;
        std::printf("[ seed %2u ] %d printers, %d removed%s%s\n", seed, summary.printers, summary.chosen,
                    summary.noneStays ? ", none of the package stays" : "",
                    summary.sliced ? ", one piece of work per tick" : "");
    }
    std::printf("[ containment ] %u random installations checked in %lu s (%d with no printer of the package "
                "staying)\n",
                checked, (GetTickCount() - start) / 1000, withNoneStaying);
    EXPECT_EQ(count, checked);
    if (count >= 10) {
        // Both kinds of run must occur, or a whole branch went unchecked.
        EXPECT_GT(withNoneStaying, 0);
        EXPECT_LT(withNoneStaying, static_cast<int>(checked));
    }
}

// Windows 98's registry deletes a key with its subkeys: what must stay
// inside a deleted tree is at stake there most.
TEST(SerialContainment, ShippedProgramRemovesUnattendedWithinItsProfile)
{
    PrefixGuard guard;
    // The filter leaves the other maker names' printers of the package in
    // place, so some stay.
    const struct {
        unsigned seed;
        const char* version;
        const char* filter;
    } runs[] = {{1, "winxp", ""}, {2, "win98", "/MFG:Vanto"}, {3, "winxp", "/MFG:Corvel"},
                {4, "win98", ""}, {5, "winme", "/MFG:Corvel"}, {6, "win98", "/MFG:Corvel"}};
    int withPrinterStaying = 0;
    for (const auto& run : runs) {
        SeedSummary summary;
        RemoveOneInstallation(run.seed, guard, summary, Runner::ShippedProgram, run.version, run.filter);
        guard.Sweep();
        if (HasFatalFailure())
            break;
        withPrinterStaying += summary.noneStays ? 0 : 1;
        std::printf("[ seed %2u ] %d printers, %d removed by trelun08.exe /SILENT %s under %s\n", run.seed,
                    summary.printers, summary.chosen, run.filter, run.version);
    }
    EXPECT_GT(withPrinterStaying, 0);
}
