// The what-if run over random installations: it changes nothing, and the
// removal that follows it removes what its report listed, no more and no
// less.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "ContainmentCheck.h"
#include "Installation.h"
#include "LookOnly.h"
#include "PrefixGuard.h"
#include "RemovalHarness.h"
#include "SimulatedSpooler.h"

namespace {

using namespace containment;
typedef std::set<std::string> Names;

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool Within(const std::string& path, const std::string& ancestor)
{
    return path == ancestor ||
           (path.size() > ancestor.size() && path.compare(0, ancestor.size(), ancestor) == 0 && path[ancestor.size()] == '\\');
}

bool WithinAny(const std::string& path, const Names& ancestors)
{
    for (const std::string& ancestor : ancestors) {
        if (Within(path, ancestor))
            return true;
    }
    return false;
}

// The report's targets of these actions that would go now.
Names Reported(const WhatIfRecord& record, std::initializer_list<const char*> actions)
{
    Names targets;
    for (const LookedAction& action : record.Actions()) {
        for (const char* name : actions) {
            if (action.action == name && action.result == LookResult::kFound)
                targets.insert(Lower(action.target));
        }
    }
    return targets;
}

// What the real removal took from the spooler, as the report names it.
Names SpoolerRemoved(const spoolsim::State& before, const spoolsim::State& after, const char* kind)
{
    Names was;
    Names is;
    const auto collect = [&](const spoolsim::State& state, Names& into) {
        const std::string kindName = kind;
        if (kindName == "printer") {
            for (const spoolsim::Printer& printer : state.printers)
                into.insert(Lower(printer.name));
        } else if (kindName == "driver") {
            for (const spoolsim::Driver& driver : state.drivers)
                into.insert(Lower(SpoolerTarget(driver.environment.empty() ? nullptr : driver.environment.c_str(),
                                                driver.name)));
        } else if (kindName == "monitor") {
            for (const spoolsim::Monitor& monitor : state.monitors)
                into.insert(Lower(monitor.name));
        } else {
            for (const spoolsim::PrintProcessor& processor : state.processors)
                into.insert(Lower(SpoolerTarget(
                    processor.environment.empty() ? nullptr : processor.environment.c_str(), processor.name)));
        }
    };
    collect(before, was);
    collect(after, is);
    Names removed;
    for (const std::string& name : was) {
        if (!is.count(name))
            removed.insert(name);
    }
    return removed;
}

// Of what the report names, what this test's snapshots recorded.
Names Recorded(const Names& reported, const Names& recorded)
{
    Names both;
    for (const std::string& name : reported) {
        if (recorded.count(name))
            both.insert(name);
    }
    return both;
}

void ExpectLookChangedNothing(const SystemState& before, const SystemState& looked)
{
    const FileDifference files = CompareFiles(before.files, looked.files);
    EXPECT_TRUE(files.removed.empty() && files.changed.empty())
        << files.removed.size() << " file(s) removed, " << files.changed.size() << " changed";
    const RegistryDifference registry = CompareRegistry(before.registry, looked.registry);
    EXPECT_TRUE(registry.removedKeys.empty() && registry.values.empty())
        << registry.removedKeys.size() << " key(s) removed, " << registry.values.size() << " value(s) changed";
    EXPECT_EQ(before.services, looked.services);
    EXPECT_EQ(spoolsim::FormatState(before.spooler), spoolsim::FormatState(looked.spooler));
}

void ExpectReportIsTheRemoval(const WhatIfRecord& record, const SystemState& before, const SystemState& after)
{
    // Files and directories, as far as the snapshots record them.
    Names files;
    Names directories;
    Names changedFiles;
    Names recordedFiles;
    for (const auto& entry : before.files)
        recordedFiles.insert(entry.first);
    const FileDifference fileDifference = CompareFiles(before.files, after.files);
    for (const FileRecord& removed : fileDifference.removed)
        (removed.directory ? directories : files).insert(Lower(removed.path));
    for (const FileRecord& changed : fileDifference.changed)
        changedFiles.insert(Lower(changed.path));
    EXPECT_EQ(Recorded(Reported(record, {"DeleteFile", "UninstallOemInf"}), recordedFiles), files);
    EXPECT_EQ(Recorded(Reported(record, {"RemoveDirectory"}), recordedFiles), directories);
    Names iniFiles;
    for (const std::string& entry : Reported(record, {"DeleteIniEntry"}))
        iniFiles.insert(entry.substr(0, entry.find(" [")));
    EXPECT_EQ(Recorded(iniFiles, recordedFiles), changedFiles);

    // Keys: each one gone is one the report names or lies in a tree it names;
    // each named one is gone unless the report says what in it stays.
    Names keys = Reported(record, {"DeleteRegistryKey"});
    // A service deleted takes its key.
    for (const std::string& service : Reported(record, {"DeleteService"}))
        keys.insert("hklm\\system\\currentcontrolset\\services\\" + service);
    const Names trees = Reported(record, {"DeleteRegistryTree"});
    Names staying;
    for (const StayingItem& item : record.Staying())
        staying.insert(Lower(item.target));
    const RegistryDifference registry = CompareRegistry(before.registry, after.registry);
    Names removedKeys;
    for (const std::string& key : registry.removedKeys) {
        removedKeys.insert(Lower(key));
        EXPECT_TRUE(keys.count(Lower(key)) || WithinAny(Lower(key), trees)) << "unreported: " << key;
    }
    for (const std::string& key : keys) {
        EXPECT_TRUE(!before.registry.count(key) || removedKeys.count(key)) << "reported, still there: " << key;
    }
    for (const std::string& tree : trees) {
        bool holdsStaying = false;
        for (const std::string& kept : staying)
            holdsStaying = holdsStaying || Within(kept, tree);
        EXPECT_TRUE(!before.registry.count(tree) || holdsStaying || removedKeys.count(tree))
            << "reported, still there: " << tree;
    }
    const Names values = Reported(record, {"DeleteRegistryValue"});
    const bool defaultChanged = !Reported(record, {"SetDefaultPrinter"}).empty();
    for (const RegistryDifference::Value& value : registry.values) {
        const std::string key = Lower(value.key);
        const std::string named = key + "," + Lower(value.value.name);
        const bool covered = values.count(named) || keys.count(key) || WithinAny(key, trees) ||
                             (!value.removed && defaultChanged);
        EXPECT_TRUE(covered) << "unreported value: " << value.key << "," << value.value.name;
    }

    // Services and the spooler.
    Names services;
    Names recordedServices;
    for (const std::string& name : before.services) {
        recordedServices.insert(Lower(name));
        if (!after.services.count(name))
            services.insert(Lower(name));
    }
    EXPECT_EQ(Recorded(Reported(record, {"DeleteService"}), recordedServices), services);
    EXPECT_EQ(Reported(record, {"DeletePrinter", "DeletePrinterConnection"}),
              SpoolerRemoved(before.spooler, after.spooler, "printer"));
    EXPECT_EQ(Reported(record, {"DeletePrinterDriver"}), SpoolerRemoved(before.spooler, after.spooler, "driver"));
    EXPECT_EQ(Reported(record, {"DeleteMonitor"}), SpoolerRemoved(before.spooler, after.spooler, "monitor"));
    EXPECT_EQ(Reported(record, {"DeletePrintProcessor"}), SpoolerRemoved(before.spooler, after.spooler, "processor"));
}

void LookThenRemove(unsigned seed, const PrefixGuard& guard)
{
    SCOPED_TRACE("seed " + std::to_string(seed));
    const Layout& layout = guard.GetLayout();
    InstalledSeed installed(seed, layout);
    if (::testing::Test::HasFatalFailure())
        return;
    const Installation& installation = installed.installation;
    SimulatedSpooler& spooler = installed.spooler;

    const SystemState before = CaptureState(layout, installation, spooler.Read());
    const std::size_t journalBefore = spooler.Journal().size();
    WhatIfRecord record;
    {
        UninstallDatabase database;
        ASSERT_TRUE(LoadDatabase(database, installation.scriptPaths, installation.unpell));
        ChoosePrinters(seed, database);
        const LookOnlyScope lookOnly(record);
        ASSERT_TRUE(RunFullRemoval(database).finished);
    }
    ExpectLookChangedNothing(before, CaptureState(layout, installation, spooler.Read()));
    EXPECT_EQ(journalBefore, spooler.Journal().size()) << "the look made a changing spooler call";

    UninstallDatabase database;
    ASSERT_TRUE(LoadDatabase(database, installation.scriptPaths, installation.unpell));
    ChoosePrinters(seed, database);
    ASSERT_TRUE(RunFullRemoval(database).finished);
    ExpectReportIsTheRemoval(record, before, CaptureState(layout, installation, spooler.Read()));
    std::printf("[ seed %2u ] %d found, %d at the next restart, %d not found, %d stay\n", seed,
                record.Count(LookResult::kFound), record.Count(LookResult::kAtNextRestart),
                record.Count(LookResult::kNotFound), static_cast<int>(record.Staying().size()));
}

}  // namespace

TEST(SerialWhatIf, ReportIsExactlyTheRemovalThatFollowsIt)
{
    PrefixGuard guard;
    for (unsigned seed = 101; seed < 111; ++seed) {
        LookThenRemove(seed, guard);
        guard.Sweep();
        if (HasFatalFailure())
            break;
    }
}
