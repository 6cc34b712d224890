// The one-pass merges, the indexed lookups and the incremental profile sort
// against the step-by-step forms they replace (one Merge after another,
// walks over the whole profile list): on random data full of spellings
// that differ only in letter case, the results must be the same to the
// letter, including which spelling of an item survives.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "FullProfileBuild.h"
#include "IniDocument.h"
#include "PathParts.h"
#include "RemovalProfileBuild.h"
#include "ScriptFormat.h"
#include "TempDir.h"
#include "UninstallDatabase.h"

namespace {

bool Chance(std::mt19937& random, int percent) { return static_cast<int>(random() % 100) < percent; }

std::string RandomCase(std::mt19937& random, std::string text)
{
    for (char& c : text) {
        if (Chance(random, 30))
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    return text;
}

// Items from a small pool in random spelling, so lists share many items
// written differently; the script file name turns up among the files.
std::string RandomItem(std::mt19937& random, int list)
{
    if (list == LIST_FILES && Chance(random, 10))
        return RandomCase(random, kScriptFileName);
    if (list == LIST_REGISTRY_KEYS)
        return RandomCase(random, "HKLM,\"SOFTWARE\\VANTO\\K" + std::to_string(random() % 8) + "\",\"\",1");
    return RandomCase(random, std::string(ProfileListName(list)) + "_" + std::to_string(random() % 12));
}

// Lists as scripts give them (sorted, unique) or as additions leave them
// (unsorted, with repeats).
void FillRandomLists(std::mt19937& random, UninstallProfile& profile)
{
    for (int list = 0; list < PROFILE_LIST_COUNT; ++list) {
        TextList& items = profile.List(list);
        if (Chance(random, 40))
            continue;
        const int count = 1 + static_cast<int>(random() % 6);
        for (int i = 0; i < count; ++i)
            items.push_back(RandomItem(random, list));
        if (Chance(random, 70)) {
            SortTextList(items);
            UniqueTextList(items);
        }
    }
}

UninstallProfile RandomProfile(std::mt19937& random)
{
    static const char* const kNames[] = {"Vanto A", "Vanto B", "Vanto B Plus", "Other C", "Pellivance", "Vanto"};
    static const char* const kScripts[] = {"C:\\d\\VUNZ__08.unm", "C:\\e\\vunz__08.UNM", "C:\\f\\other.ini", ""};
    UninstallProfile profile;
    CopyText(profile.name, RandomCase(random, kNames[random() % 6]).c_str());
    CopyText(profile.scriptPath, kScripts[random() % 4]);
    const unsigned kind = random() % 6;
    profile.isManufacturer = kind == 0 || kind == 1;
    profile.isCatchAll = kind == 2;
    profile.isIgnore = kind == 3;
    profile.number = static_cast<int>(random() % 100);
    FillRandomLists(random, profile);
    return profile;
}

void ExpectSameLists(const UninstallProfile& expected, const UninstallProfile& actual)
{
    for (int list = 0; list < PROFILE_LIST_COUNT; ++list)
        EXPECT_EQ(expected.List(list), actual.List(list)) << ProfileListName(list);
}

void ExpectSameProfiles(const std::vector<UninstallProfile>& expected, const std::vector<UninstallProfile>& actual)
{
    ASSERT_EQ(expected.size(), actual.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_STREQ(expected[i].name, actual[i].name);
        EXPECT_STREQ(expected[i].scriptPath, actual[i].scriptPath);
        EXPECT_EQ(expected[i].number, actual[i].number);
        ExpectSameLists(expected[i], actual[i]);
    }
}

// The step-by-step forms.

void SubtractOneByOne(UninstallProfile& profile, const UninstallProfile& other)
{
    for (int list = 0; list < PROFILE_LIST_COUNT; ++list) {
        TextList& mine = profile.List(list);
        if (mine.empty() || other.List(list).empty())
            continue;
        const TextList theirs = other.List(list);
        mine.erase(std::remove_if(mine.begin(), mine.end(),
                                  [&theirs](const std::string& item) {
                                      return std::any_of(theirs.begin(), theirs.end(), [&item](const std::string& t) {
                                          return TextEquals(t.c_str(), item.c_str());
                                      });
                                  }),
                   mine.end());
    }
}

void SortProfilesWhole(std::vector<UninstallProfile>& profiles, ScriptProblemLog* problems)
{
    std::stable_sort(profiles.begin(), profiles.end(),
                     [](const UninstallProfile& a, const UninstallProfile& b) { return TextLess(a.name, b.name); });
    std::vector<UninstallProfile> kept;
    for (UninstallProfile& profile : profiles) {
        if (!kept.empty() && TextEquals(kept.back().name, profile.name)) {
            const UninstallProfile& winner = kept.back();
            ReportProblem(problems, PROBLEM_PROFILE_DROPPED, profile.scriptPath,
                          std::string("profile \"") + profile.name + "\" of [" + StarterSectionOf(profile) +
                              "] dropped: [" + StarterSectionOf(winner) + "] of " + winner.scriptPath +
                              " declared \"" + winner.name + "\" first");
            continue;
        }
        kept.push_back(profile);
    }
    profiles.swap(kept);
}

bool FullProfileStepByStep(UninstallDatabase& database, const CommandLineSwitches& switches)
{
    SortProfilesWhole(database.profiles, nullptr);
    UninstallProfile& target = database.fullProfile;
    target.Clear();
    bool merged = false;
    for (const UninstallProfile& profile : database.profiles) {
        if (!profile.isIgnore) {
            target.Merge(profile);
            merged = true;
        }
    }
    UninstallProfile addOn;
    database.addOnOnly = 0;
    if (database.FindProfileByName(addOn, kAddOnProfileName)) {
        if (switches.SwitchValueCount("UNPELL") < 0) {
            SubtractOneByOne(target, addOn);
        } else {
            target.Assign(addOn);
            database.addOnOnly = 1;
        }
    }
    return merged;
}

void FinalCleanupStepByStep(UninstallDatabase& database, UninstallProfile& target)
{
    UninstallProfile addOn;
    if (database.FindProfileByName(addOn, kAddOnProfileName))
        target.Merge(addOn);
    for (const UninstallProfile& profile : database.profiles) {
        if (profile.isCatchAll)
            target.Merge(profile);
        PathParts parts;
        if (SplitPath(profile.scriptPath, parts) && TextEquals(parts.extension, ".unm"))
            target.files.push_back(std::string(parts.baseName) + parts.extension);
    }
    if (database.profiles.empty())
        return;
    target.AddRegistryLine("HKLM", "SOFTWARE\\VANTO\\OEM01", "", true);
    target.AddRegistryLine("HKLM", "SOFTWARE\\VANTO\\VSR32_08", "", true);
    target.AddRegistryLine("HKLM", "SOFTWARE\\VANTO\\Filters", "", true);
    target.registryKeys.push_back("HKLM,\"SOFTWARE\\VANTO\",\"\"");
}

void RemovalProfileStepByStep(UninstallDatabase& database)
{
    database.keepProfile.Clear();
    database.removalProfile.Clear();
    database.removedPrinterCount = 0;
    database.keptPrinterCount = 0;
    for (bool changed = true; changed;) {
        changed = false;
        for (const InstalledPrinter& chosen : database.printers) {
            if (chosen.foreign || chosen.removed || chosen.excluded)
                continue;
            for (InstalledPrinter& linked : database.printers) {
                if (linked.foreign || linked.removed || linked.unreadable)
                    continue;
                if (linked.excluded && linked.pelledName[0] != '\0' && TextEquals(linked.pelledName, chosen.name)) {
                    linked.excluded = 0;
                    changed = true;
                }
            }
        }
    }
    for (const InstalledPrinter& printer : database.printers) {
        if (printer.foreign || printer.removed)
            continue;
        if (!printer.excluded) {
            ++database.removedPrinterCount;
            continue;
        }
        ++database.keptPrinterCount;
        UninstallProfile profile;
        if (database.FindPrinterProfile(profile, printer))
            database.keepProfile.Merge(profile);
    }
    database.removalProfile.Assign(database.fullProfile);
    if (database.keptPrinterCount == 0)
        FinalCleanupStepByStep(database, database.removalProfile);
    for (const UninstallProfile& profile : database.profiles) {
        const bool staysWithPrinters =
            profile.isCatchAll || (!database.addOnOnly && TextEquals(profile.name, kAddOnProfileName));
        if (profile.isIgnore || (staysWithPrinters && database.keptPrinterCount > 0))
            database.keepProfile.Merge(profile);
    }
    SubtractOneByOne(database.removalProfile, database.keepProfile);
    database.removalProfile.SubtractSameTargets(database.keepProfile);
    database.utilityNotTargeted = 1;
    for (const std::string& file : database.removalProfile.files) {
        if (TextEquals(file.c_str(), database.AddOnExecutable()))
            database.utilityNotTargeted = 0;
    }
    SortProfilesWhole(database.profiles, nullptr);
    for (UninstallProfile* profile : {&database.keepProfile, &database.removalProfile}) {
        profile->SortAll();
        profile->UniqueAll();
    }
}

void AddRandomPrinters(std::mt19937& random, PrinterList& printers)
{
    static const char* const kDrivers[] = {"Vanto A", "VANTO B", "vanto b plus", "Vanto Z 9", "Other C",
                                           "Other", "Pellivance", "Foreign F", ""};
    const int count = static_cast<int>(random() % 10);
    for (int i = 0; i < count; ++i) {
        InstalledPrinter printer;
        printer.SetName(RandomCase(random, "Printer " + std::to_string(i)).c_str());
        printer.SetDriverName(RandomCase(random, kDrivers[random() % 9]).c_str());
        if (Chance(random, 25))
            printer.SetPelledName(("printer " + std::to_string(random() % count)).c_str());
        printer.isHalvaprint = 1;
        printer.foreign = Chance(random, 10);
        printer.removed = Chance(random, 5);
        printer.excluded = Chance(random, 50);
        printers.Append(printer);
    }
}

std::vector<int> Flags(const PrinterList& printers)
{
    std::vector<int> flags;
    for (const InstalledPrinter& printer : printers)
        flags.push_back(printer.excluded);
    return flags;
}

// The builds as the loading dialog and the removal page run them when a
// tick has no time to spare: one piece of work per call.
int g_slicedCalls = 0;

bool FullProfileInSlices(UninstallDatabase& database, const CommandLineSwitches& switches)
{
    FullProfileBuild build(database, database.fullProfile, switches);
    for (;;) {
        ++g_slicedCalls;
        WorkBudget none(0);
        if (build.Continue(none))
            return build.Merged();
    }
}

void RemovalProfileInSlices(UninstallDatabase& database)
{
    RemovalProfileBuild build(database);
    for (;;) {
        ++g_slicedCalls;
        WorkBudget none(0);
        if (build.Continue(none))
            return;
    }
}

}  // namespace

TEST(ProfileMergeEquivalence, MergeAllKeepsWhatOneMergeAfterAnotherKeeps)
{
    for (unsigned seed = 1; seed <= 400; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        UninstallProfile start = RandomProfile(random);
        std::vector<UninstallProfile> others;
        const int count = static_cast<int>(random() % 6);
        for (int i = 0; i < count; ++i)
            others.push_back(RandomProfile(random));

        UninstallProfile stepByStep = start;
        UninstallProfile onePass = start;
        std::vector<const UninstallProfile*> sources;
        for (const UninstallProfile& other : others) {
            stepByStep.Merge(other);
            sources.push_back(&other);
        }
        // Merging a profile into itself does nothing.
        if (Chance(random, 20)) {
            stepByStep.Merge(stepByStep);
            sources.push_back(&onePass);
        }
        onePass.MergeAll(sources);
        ExpectSameLists(stepByStep, onePass);
        EXPECT_STREQ(start.name, onePass.name);
    }
}

TEST(ProfileMergeEquivalence, SubtractTakesOutWhatTheOtherNamesInAnySpelling)
{
    for (unsigned seed = 1; seed <= 400; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        const UninstallProfile start = RandomProfile(random);
        const UninstallProfile other = RandomProfile(random);
        UninstallProfile expected = start;
        SubtractOneByOne(expected, other);
        UninstallProfile actual = start;
        actual.Subtract(other);
        ExpectSameLists(expected, actual);
    }
    UninstallProfile self;
    self.files = {"a.dll", "A.DLL"};
    self.Subtract(self);
    EXPECT_TRUE(self.files.empty());
}

TEST(ProfileMergeEquivalence, ProfilesSortedAScriptAtATimeAsIfSortedWhole)
{
    for (unsigned seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        std::vector<UninstallProfile> whole;
        std::vector<UninstallProfile> inTurn;
        ScriptProblemLog wholeLog;
        ScriptProblemLog inTurnLog;
        const int scripts = 1 + static_cast<int>(random() % 4);
        for (int s = 0; s < scripts; ++s) {
            const int count = static_cast<int>(random() % 8);
            for (int i = 0; i < count; ++i) {
                UninstallProfile profile = RandomProfile(random);
                CopyText(profile.scriptPath, ("C:\\s" + std::to_string(s) + "\\VUNZ__08.unm").c_str());
                whole.push_back(profile);
                inTurn.push_back(profile);
            }
            SortProfilesWhole(whole, &wholeLog);
            SortProfilesByName(inTurn, &inTurnLog);
            ExpectSameProfiles(whole, inTurn);
        }
        ASSERT_EQ(wholeLog.size(), inTurnLog.size());
        for (std::size_t i = 0; i < wholeLog.size(); ++i) {
            EXPECT_EQ(wholeLog[i].message, inTurnLog[i].message);
            EXPECT_EQ(wholeLog[i].scriptPath, inTurnLog[i].scriptPath);
        }
    }
}

TEST(ProfileMergeEquivalence, FullAndRemovalProfilesAsStepByStep)
{
    int noneStaying = 0;
    int someStaying = 0;
    g_slicedCalls = 0;
    for (unsigned seed = 1; seed <= 400; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        UninstallDatabase database;
        const int count = static_cast<int>(random() % 12);
        for (int i = 0; i < count; ++i)
            database.profiles.push_back(RandomProfile(random));
        AddRandomPrinters(random, database.printers);
        CommandLineSwitches switches;
        switches.ParseText(Chance(random, 20) ? "trelun08.exe /UNPELL" : "trelun08.exe");
        // Without a full profile built first, the lists and profiles come as
        // they are.
        const bool buildFull = Chance(random, 80);
        if (!buildFull)
            FillRandomLists(random, database.fullProfile);

        // Every other seed spreads the builds over as many calls as they
        // have pieces.
        const bool sliced = seed % 2 == 0;
        UninstallDatabase expected = database;
        if (buildFull) {
            const bool expectedMerged = FullProfileStepByStep(expected, switches);
            EXPECT_EQ(expectedMerged, sliced ? FullProfileInSlices(database, switches)
                                             : database.BuildFullProfile(database.fullProfile, switches));
            ExpectSameLists(expected.fullProfile, database.fullProfile);
            EXPECT_EQ(expected.addOnOnly, database.addOnOnly);
        }
        // Twice, as a preview and then the removal would; a build changes
        // no record, the removal then applies the link closure.
        const std::vector<int> chosenFlags = Flags(database.printers);
        for (int round = 0; round < 2; ++round) {
            RemovalProfileStepByStep(expected);
            if (sliced)
                RemovalProfileInSlices(database);
            else
                EXPECT_EQ(1, database.BuildRemovalProfile());
            ExpectSameLists(expected.keepProfile, database.keepProfile);
            ExpectSameLists(expected.removalProfile, database.removalProfile);
            ExpectSameProfiles(expected.profiles, database.profiles);
            EXPECT_EQ(expected.keptPrinterCount, database.keptPrinterCount);
            EXPECT_EQ(expected.removedPrinterCount, database.removedPrinterCount);
            EXPECT_EQ(expected.utilityNotTargeted, database.utilityNotTargeted);
            EXPECT_EQ(chosenFlags, Flags(database.printers));
        }
        database.ApplyLinkRule();
        EXPECT_EQ(Flags(expected.printers), Flags(database.printers));
        (database.keptPrinterCount == 0 ? noneStaying : someStaying) += 1;
    }
    // Both sides of the final clean-up were compared, and the sliced builds
    // took many calls each.
    EXPECT_GT(noneStaying, 50);
    EXPECT_GT(someStaying, 50);
    EXPECT_GT(g_slicedCalls, 200 * 6);
}

TEST(ProfileMergeEquivalence, SectionLookupFindsTheFirstOfThatNameInFileOrder)
{
    TempDir dir;
    for (unsigned seed = 1; seed <= 50; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        std::string text;
        std::vector<std::string> names;
        const int sections = static_cast<int>(random() % 40);
        for (int i = 0; i < sections; ++i) {
            const std::string name = RandomCase(random, "p" + std::to_string(random() % 9) + ".Files");
            names.push_back(name);
            text += "[" + name + "]\r\nkey" + std::to_string(i) + "=v\r\n";
        }
        const std::string path = dir.Join("s" + std::to_string(seed) + ".ini");
        ASSERT_TRUE(dir.Write("s" + std::to_string(seed) + ".ini", text));
        IniDocument document;
        ASSERT_EQ(sections > 0, document.Load(path.c_str()));
        for (int i = 0; i < 9; ++i) {
            const std::string wanted = RandomCase(random, "P" + std::to_string(i) + ".files");
            const IniSection* first = nullptr;
            for (const IniSection& section : document.Sections()) {
                if (!first && TextEquals(section.name.c_str(), wanted.c_str()))
                    first = &section;
            }
            EXPECT_EQ(first, document.FindSection(wanted.c_str())) << wanted;
        }
        EXPECT_EQ(nullptr, document.FindSection(""));
        EXPECT_EQ(nullptr, document.FindSection("p9.Files"));
    }
}

namespace {

const char* NameAt(const void* list, std::size_t position)
{
    return (*static_cast<const std::vector<std::string>*>(list))[position].c_str();
}

}  // namespace

TEST(ProfileMergeEquivalence, TextPositionsFindTheFirstOrTheLastOfEqualTexts)
{
    std::mt19937 random(7);
    std::vector<std::string> names;
    for (int i = 0; i < 500; ++i)
        names.push_back(RandomCase(random, "name " + std::to_string(random() % 150)));
    TextPositions first(NameAt);
    TextPositions last(NameAt);
    for (std::size_t i = 0; i < names.size(); ++i) {
        first.Insert(&names, names[i].c_str(), i);
        last.Assign(&names, names[i].c_str(), i);
    }
    for (int n = 0; n < 160; ++n) {
        const std::string wanted = RandomCase(random, "NAME " + std::to_string(n));
        std::size_t expectedFirst = TextPositions::npos;
        std::size_t expectedLast = TextPositions::npos;
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (TextEquals(names[i].c_str(), wanted.c_str())) {
                if (expectedFirst == TextPositions::npos)
                    expectedFirst = i;
                expectedLast = i;
            }
        }
        EXPECT_EQ(expectedFirst, first.Find(&names, wanted.c_str())) << wanted;
        EXPECT_EQ(expectedLast, last.Find(&names, wanted.c_str())) << wanted;
    }
    // Only A-Z fold: other bytes must match exactly.
    std::vector<std::string> accents = {"\xC9T\xC9", "a_b"};
    TextPositions positions(NameAt);
    positions.Insert(&accents, accents[0].c_str(), 0);
    positions.Insert(&accents, accents[1].c_str(), 1);
    EXPECT_EQ(0u, positions.Find(&accents, "\xC9t\xC9"));
    EXPECT_EQ(TextPositions::npos, positions.Find(&accents, "\xE9t\xE9"));
    EXPECT_EQ(TextPositions::npos, positions.Find(&accents, "A_\x42\x42"));
    EXPECT_EQ(1u, positions.Find(&accents, "A_B"));
}
