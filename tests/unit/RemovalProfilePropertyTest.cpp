// Random script sets and printer lists against the invariants of the
// removal profile.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "ScriptFormat.h"
#include "TempDir.h"
#include "UninstallDatabase.h"

namespace {

const char* const kDrivers[] = {"Vanto A", "Vanto B", "vanto b", "Vanto C", "Other D", "Pellivance"};
const char* const kManufacturers[] = {"Vanto Mfg", "VANTO Other", "Other Maker"};
const char* const kPrinterDrivers[] = {"Vanto A", "Vanto B", "Vanto C", "Vanto Z", "Other D",
                                       "Other E", "Pellivance", "Foreign F"};
const char* const kPrefixes[] = {"p0", "p1", "P1", "p2", "p3"};
const char* const kFinalKeys[4] = {
    "HKLM,\"SOFTWARE\\VANTO\\OEM01\",\"\",1", "HKLM,\"SOFTWARE\\VANTO\\VSR32_08\",\"\",1",
    "HKLM,\"SOFTWARE\\VANTO\\Filters\",\"\",1", "HKLM,\"SOFTWARE\\VANTO\",\"\""};

template <typename T, std::size_t N> const T& Pick(std::mt19937& random, const T (&choices)[N])
{
    return choices[std::uniform_int_distribution<std::size_t>(0, N - 1)(random)];
}

bool Chance(std::mt19937& random, int percent)
{
    return std::uniform_int_distribution<int>(1, 100)(random) <= percent;
}

// Items from a small pool, so that profiles share many of them, in random
// letter case; now and then an item the final clean-up also adds.
std::string RandomItem(std::mt19937& random, const CategorySection& category)
{
    std::string item;
    if (category.list == LIST_REGISTRY_KEYS) {
        item = Chance(random, 10) ? Pick(random, kFinalKeys)
                                  : "HKLM,\"SOFTWARE\\VANTO\\K" + std::to_string(random() % 6) + "\",\"\",1";
    } else if (category.list == LIST_FILES && Chance(random, 10)) {
        item = Chance(random, 50) ? kScriptFileName : "PELLIV32.EXE";
    } else {
        item = std::string(category.name) + "_" + std::to_string(random() % 6) + ".x";
    }
    for (char& c : item) {
        if (Chance(random, 20))
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    }
    return item;
}

std::string RandomScript(std::mt19937& random)
{
    std::string text;
    for (const StarterSection& section : kStarterSections) {
        if (Chance(random, 30))
            continue;
        text += std::string("[") + section.name + "]\r\n";
        const int lines = static_cast<int>(random() % 3);
        for (int i = 0; i < lines; ++i) {
            const char* name = section.kind == STARTER_MANUFACTURER ? Pick(random, kManufacturers)
                                                                      : Pick(random, kDrivers);
            text += std::string("\"") + name + "\"," + Pick(random, kPrefixes) + "," + std::to_string(i) + "\r\n";
        }
    }
    for (const char* prefix : kPrefixes) {
        for (const CategorySection& category : kCategorySections) {
            if (!Chance(random, 25))
                continue;
            text += std::string("[") + prefix + "." + category.name + "]\r\n";
            const int items = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < items; ++i)
                text += RandomItem(random, category) + "\r\n";
        }
    }
    return text;
}

void AddRandomPrinters(std::mt19937& random, PrinterList& printers)
{
    const int count = static_cast<int>(random() % 6);
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back("Printer " + std::to_string(i));
    for (int i = 0; i < count; ++i) {
        InstalledPrinter printer;
        printer.SetName(names[i].c_str());
        printer.SetDriverName(Pick(random, kPrinterDrivers));
        if (Chance(random, 25))
            printer.SetPelledName(names[random() % count].c_str());
        printer.isHalvaprint = Chance(random, 80) ? 1 : 0;
        printer.foreign = !printer.isHalvaprint && printer.pelledName[0] == '\0';
        printer.excluded = Chance(random, 50) ? 1 : 0;
        if (Chance(random, 15)) {
            printer.listed = 0;
            printer.excluded = 1;
        }
        printer.removed = Chance(random, 5) ? 1 : 0;
        printers.Append(printer);
    }
}

bool Names(const TextList& list, const std::string& item)
{
    return std::any_of(list.begin(), list.end(),
                       [&item](const std::string& entry) { return TextEquals(entry.c_str(), item.c_str()); });
}

bool IsFinalCleanupItem(int list, const std::string& item, const UninstallProfile* addOn)
{
    if (list == LIST_FILES && TextEquals(item.c_str(), kScriptFileName))
        return true;
    if (list == LIST_REGISTRY_KEYS) {
        for (const char* key : kFinalKeys) {
            if (TextEquals(item.c_str(), key))
                return true;
        }
    }
    return addOn && Names(addOn->List(list), item);
}

void CheckInvariants(UninstallDatabase& database, bool unpell)
{
    const UninstallProfile& removal = database.removalProfile;
    UninstallProfile addOnProfile;
    const bool hasAddOn = database.FindProfileByName(addOnProfile, kAddOnProfileName);
    const UninstallProfile* addOn = hasAddOn ? &addOnProfile : nullptr;

    // The profiles whose items must stay.
    std::vector<UninstallProfile> keepers;
    int kept = 0;
    int removed = 0;
    const std::vector<bool> goes = database.PrintersThatGo();
    std::size_t index = 0;
    for (const InstalledPrinter& printer : database.printers) {
        const bool printerGoes = goes[index++];
        if (printer.foreign || printer.removed)
            continue;
        if (printerGoes) {
            ++removed;
            continue;
        }
        ++kept;
        UninstallProfile profile;
        if (database.FindPrinterProfile(profile, printer))
            keepers.push_back(profile);
    }
    ASSERT_EQ(kept, database.keptPrinterCount);
    ASSERT_EQ(removed, database.removedPrinterCount);
    for (const UninstallProfile& profile : database.profiles) {
        if (profile.isIgnore || (profile.isCatchAll && kept > 0))
            keepers.push_back(profile);
    }

    for (int list = 0; list < PROFILE_LIST_COUNT; ++list) {
        const TextList& items = removal.List(list);
        for (std::size_t i = 1; i < items.size(); ++i)
            ASSERT_TRUE(TextLess(items[i - 1].c_str(), items[i].c_str())) << ProfileListName(list);
        for (const std::string& item : items) {
            SCOPED_TRACE(std::string(ProfileListName(list)) + ": " + item);
            ASSERT_LT(item.size(), 260u);
            for (const UninstallProfile& keeper : keepers)
                ASSERT_FALSE(Names(keeper.List(list), item)) << "still needed by " << keeper.name;
            bool named = kept == 0 && IsFinalCleanupItem(list, item, addOn);
            for (const UninstallProfile& profile : database.profiles)
                named = named || (!profile.isIgnore && Names(profile.List(list), item));
            ASSERT_TRUE(named);
        }
    }

    if (kept == 0)
        return;
    // With a printer staying, the clean-up's items are only removed when a
    // profile names them itself; the add-on's never, unless asked for.
    for (int list = 0; list < PROFILE_LIST_COUNT; ++list) {
        for (const std::string& item : removal.List(list)) {
            if (!IsFinalCleanupItem(list, item, addOn))
                continue;
            SCOPED_TRACE(std::string(ProfileListName(list)) + ": " + item);
            ASSERT_TRUE(unpell || !addOn || !Names(addOn->List(list), item));
            bool namedByScript = false;
            for (const UninstallProfile& profile : database.profiles) {
                namedByScript = namedByScript ||
                                (!profile.isIgnore && !TextEquals(profile.name, kAddOnProfileName) &&
                                 Names(profile.List(list), item));
            }
            ASSERT_TRUE(unpell || namedByScript);
        }
    }
}

}  // namespace

TEST(RemovalProfileProperty, InvariantsHoldForRandomScriptsAndPrinters)
{
    TempDir dir;
    int withPrinterStaying = 0;
    int withNoneStaying = 0;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        UninstallDatabase database;
        const int scripts = 1 + static_cast<int>(random() % 3);
        for (int i = 0; i < scripts; ++i) {
            const std::string relative = std::to_string(seed) + "\\" + std::to_string(i) + "\\VUNZ__08.unm";
            ASSERT_TRUE(dir.Write(relative, RandomScript(random)));
            database.LoadScript(dir.Join(relative).c_str());
        }
        const bool unpell = Chance(random, 15);
        CommandLineSwitches switches;
        switches.ParseText(unpell ? "trelun08.exe /UNPELL" : "trelun08.exe");
        database.BuildFullProfile(database.fullProfile, switches);
        AddRandomPrinters(random, database.printers);

        // First everything chosen, as a preview might; then the real choice.
        std::vector<int> choice;
        for (InstalledPrinter& printer : database.printers) {
            choice.push_back(printer.excluded);
            if (printer.listed)
                printer.excluded = 0;
        }
        database.BuildRemovalProfile();
        ASSERT_NO_FATAL_FAILURE(CheckInvariants(database, unpell));
        std::size_t at = 0;
        for (InstalledPrinter& printer : database.printers)
            printer.excluded = choice[at++];

        database.BuildRemovalProfile();
        ASSERT_NO_FATAL_FAILURE(CheckInvariants(database, unpell));
        (database.keptPrinterCount > 0 ? withPrinterStaying : withNoneStaying) += 1;
        const UninstallProfile first = database.removalProfile;
        database.BuildRemovalProfile();
        for (int list = 0; list < PROFILE_LIST_COUNT; ++list)
            ASSERT_EQ(first.List(list), database.removalProfile.List(list)) << ProfileListName(list);
    }
    // Both sides of the final clean-up were exercised.
    EXPECT_GT(withPrinterStaying, 50);
    EXPECT_GT(withNoneStaying, 50);
}
