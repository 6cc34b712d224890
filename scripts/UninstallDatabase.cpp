#include "UninstallDatabase.h"

#include <algorithm>

#include "PathParts.h"
#include "ScriptFormat.h"

const char kAddOnProfileName[] = "Pellivance";
const char kAddOnExecutable[] = "PELLIV32.EXE";
const char kAddOnExecutableWin32s[] = "PELLIVAN.EXE";

namespace {

bool NameLess(const UninstallProfile& a, const UninstallProfile& b) { return TextLess(a.name, b.name); }

std::string FirstWord(const char* text)
{
    const std::string whole(text ? text : "");
    return whole.substr(0, whole.find(' '));
}

const char* ProfileName(const void* profiles, std::size_t position)
{
    return (*static_cast<const std::vector<UninstallProfile>*>(profiles))[position].name;
}

const char* WordAt(const void* words, std::size_t position)
{
    return (*static_cast<const std::vector<std::string>*>(words))[position].c_str();
}

// The profiles of many printers looked up at once, with the answers of
// FindProfileByName (the first of that name in list order) and, failing
// that, FindProfileByManufacturer (the last matching one in list order).
class PrinterProfileLookup {
public:
    explicit PrinterProfileLookup(const std::vector<UninstallProfile>& all)
        : profiles(all), byName(ProfileName), byWord(WordAt)
    {
        for (std::size_t i = 0; i < profiles.size(); ++i) {
            byName.Insert(&profiles, profiles[i].name, i);
            if (profiles[i].isManufacturer) {
                words.push_back(FirstWord(profiles[i].name));
                wordProfile.push_back(i);
            }
        }
        for (std::size_t w = 0; w < words.size(); ++w)
            byWord.Assign(&words, words[w].c_str(), w);
    }

    const UninstallProfile* Find(const char* driverName) const
    {
        const char* name = driverName ? driverName : "";
        const std::size_t named = byName.Find(&profiles, name);
        if (named != TextPositions::npos)
            return &profiles[named];
        const std::size_t word = byWord.Find(&words, FirstWord(name).c_str());
        return word == TextPositions::npos ? nullptr : &profiles[wordProfile[word]];
    }

private:
    const std::vector<UninstallProfile>& profiles;
    std::vector<std::string> words;
    std::vector<std::size_t> wordProfile;
    TextPositions byName;
    TextPositions byWord;
};

}  // namespace

void SortProfilesByName(std::vector<UninstallProfile>& profiles, ScriptProblemLog* problems)
{
    // Profiles are added a script at a time to a list already in order: the
    // positions after the ordered part are sorted and merged with it (a
    // stable sort of the whole), then each profile moves once.
    const std::size_t ordered =
        static_cast<std::size_t>(std::is_sorted_until(profiles.begin(), profiles.end(), NameLess) - profiles.begin());
    if (ordered < profiles.size()) {
        const auto byName = [&profiles](std::size_t a, std::size_t b) {
            return TextLess(profiles[a].name, profiles[b].name);
        };
        std::vector<std::size_t> added;
        for (std::size_t i = ordered; i < profiles.size(); ++i)
            added.push_back(i);
        std::stable_sort(added.begin(), added.end(), byName);
        std::vector<std::size_t> order;
        order.reserve(profiles.size());
        for (std::size_t i = 0, next = 0; i < ordered || next < added.size();) {
            // Of equal names the one already in order comes first.
            if (next == added.size() || (i < ordered && !byName(added[next], i)))
                order.push_back(i++);
            else
                order.push_back(added[next++]);
        }
        std::vector<UninstallProfile> sorted;
        sorted.reserve(profiles.size());
        for (std::size_t i : order)
            sorted.push_back(std::move(profiles[i]));
        profiles.swap(sorted);
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < profiles.size(); ++i) {
        UninstallProfile& profile = profiles[i];
        if (kept > 0 && TextEquals(profiles[kept - 1].name, profile.name)) {
            const UninstallProfile& winner = profiles[kept - 1];
            ReportProblem(problems, PROBLEM_PROFILE_DROPPED, profile.scriptPath,
                          std::string("profile \"") + profile.name + "\" of [" + StarterSectionOf(profile) +
                              "] dropped: [" + StarterSectionOf(winner) + "] of " + winner.scriptPath +
                              " declared \"" + winner.name + "\" first");
            continue;
        }
        if (kept != i)
            profiles[kept] = std::move(profile);
        ++kept;
    }
    profiles.erase(profiles.begin() + static_cast<std::ptrdiff_t>(kept), profiles.end());
}

UninstallDatabase::UninstallDatabase() : osInfo() { Initialise(); }

UninstallDatabase::UninstallDatabase(const COSInfo& system) : osInfo(system) { Initialise(); }

void UninstallDatabase::Initialise()
{
    isWin9x = osInfo.IsWin9x() ? 1 : 0;
    restartNeeded = 0;
    uninstallScanner = 0;
    pick = 1;
    removeOemInf = 0;
    removedPrinterCount = 0;
    keptPrinterCount = 0;
    addOnOnly = 0;
    utilityNotTargeted = 0;
    productGuid[0] = '\0';
    oemInfMatchLineNumber = 0;
    oemInfMatchLineString[0] = '\0';
    problems = nullptr;
}

bool UninstallDatabase::BuildFullProfile(UninstallProfile& target, const CommandLineSwitches& switches)
{
    SortAndUniqueAll();
    target.Clear();
    std::vector<const UninstallProfile*> merging;
    for (const UninstallProfile& profile : profiles) {
        if (!profile.isIgnore)
            merging.push_back(&profile);
    }
    target.MergeAll(merging);
    const bool merged = !merging.empty();
    UninstallProfile addOn;
    addOnOnly = 0;
    if (FindProfileByName(addOn, kAddOnProfileName)) {
        if (switches.SwitchValueCount("UNPELL") < 0) {
            target.Subtract(addOn);  // it goes only with the last printer
        } else {
            target.Assign(addOn);
            addOnOnly = 1;
        }
    }
    return merged;
}

bool UninstallDatabase::FindProfileByName(UninstallProfile& target, const char* name) const
{
    target.Clear();
    for (const UninstallProfile& profile : profiles) {
        if (TextEquals(profile.name, name)) {
            target.Assign(profile);
            return true;
        }
    }
    return false;
}

bool UninstallDatabase::FindProfileByManufacturer(UninstallProfile& target, const char* driverName) const
{
    target.Clear();
    const std::string word = FirstWord(driverName);
    bool found = false;
    for (const UninstallProfile& profile : profiles) {
        if (profile.isManufacturer && TextEquals(FirstWord(profile.name).c_str(), word.c_str())) {
            target.Assign(profile);
            found = true;
        }
    }
    return found;
}

bool UninstallDatabase::FindPrinterProfile(UninstallProfile& target, const InstalledPrinter& printer) const
{
    return FindProfileByName(target, printer.driverName) ||
           FindProfileByManufacturer(target, printer.driverName);
}

void UninstallDatabase::ApplyLinkRule()
{
    // Until nothing changes: a single pass would miss a Pelled printer
    // listed before the one that takes it along, and catch it on the next
    // build, so two builds of the same choice would differ.
    for (bool changed = true; changed;) {
        changed = false;
        for (const InstalledPrinter& chosen : printers) {
            if (chosen.foreign || chosen.removed || chosen.excluded)
                continue;
            for (InstalledPrinter& linked : printers) {
                if (linked.excluded && linked.pelledName[0] != '\0' &&
                    TextEquals(linked.pelledName, chosen.name)) {
                    linked.excluded = 0;
                    changed = true;
                }
            }
        }
    }
}

int UninstallDatabase::BuildRemovalProfile()
{
    keepProfile.Clear();
    removalProfile.Clear();
    removedPrinterCount = 0;
    keptPrinterCount = 0;
    ApplyLinkRule();
    // What stays is merged in one pass: the profiles of the printers that
    // stay, in printer order, then those kept whoever stays.
    std::vector<const UninstallProfile*> kept;
    const PrinterProfileLookup lookup(profiles);
    for (const InstalledPrinter& printer : printers) {
        if (printer.foreign || printer.removed)
            continue;
        if (!printer.excluded) {
            ++removedPrinterCount;
            continue;
        }
        ++keptPrinterCount;
        if (const UninstallProfile* profile = lookup.Find(printer.driverName))
            kept.push_back(profile);
    }
    // The final clean-up goes into this run's result only: added to
    // fullProfile it would outlive a later choice that keeps a printer.
    removalProfile.Assign(fullProfile);
    if (keptPrinterCount == 0)
        AddFinalCleanup(removalProfile);
    for (const UninstallProfile& profile : profiles) {
        // Catch-all items, and the add-on's unless it alone is removed, stay
        // as long as any printer of the package does.
        const bool staysWithPrinters =
            profile.isCatchAll || (!addOnOnly && TextEquals(profile.name, kAddOnProfileName));
        if (profile.isIgnore || (staysWithPrinters && keptPrinterCount > 0))
            kept.push_back(&profile);
    }
    keepProfile.MergeAll(kept);
    removalProfile.Subtract(keepProfile);
    // An item written differently ("a.dll=x", another path or letter case,
    // other quotes) may still name what stays.
    removalProfile.SubtractSameTargets(keepProfile);

    const char* executable = AddOnExecutable();
    utilityNotTargeted = 1;
    for (const std::string& file : removalProfile.files) {
        if (TextEquals(file.c_str(), executable))
            utilityNotTargeted = 0;
    }
    SortAndUniqueAll();
    return 1;
}

void UninstallDatabase::AddFinalCleanup(UninstallProfile& target)
{
    if (keptPrinterCount != 0)
        return;
    // In one pass per list, in the order one merge after another would
    // take them: the add-on, then each catch-all profile and each script's
    // file name in profile order. Of equal items the first met stays.
    std::vector<const UninstallProfile*> merging;
    UninstallProfile addOn;
    if (FindProfileByName(addOn, kAddOnProfileName))
        merging.push_back(&addOn);
    std::vector<TextList> scriptNames(profiles.size());
    std::vector<const TextList*> files;
    if (!merging.empty())
        files.push_back(&addOn.files);
    for (std::size_t i = 0; i < profiles.size(); ++i) {
        const UninstallProfile& profile = profiles[i];
        if (profile.isCatchAll) {
            merging.push_back(&profile);
            files.push_back(&profile.files);
        }
        PathParts parts;
        if (SplitPath(profile.scriptPath, parts) && TextEquals(parts.extension, ".unm")) {
            scriptNames[i].push_back(std::string(parts.baseName) + parts.extension);
            files.push_back(&scriptNames[i]);
        }
    }
    // The file names come between the profiles' files: that list is merged
    // on its own.
    TextList ownFiles;
    ownFiles.swap(target.files);
    target.MergeAll(merging);
    target.files.swap(ownFiles);
    if (!files.empty())
        MergeTextLists(target.files, files);
    target.AddRegistryLine("HKLM", "SOFTWARE\\VANTO\\OEM01", "", true);
    target.AddRegistryLine("HKLM", "SOFTWARE\\VANTO\\VSR32_08", "", true);
    target.AddRegistryLine("HKLM", "SOFTWARE\\VANTO\\Filters", "", true);
    target.AddRegistryLine("HKLM", "SOFTWARE\\VANTO", "", false);
}

void UninstallDatabase::SortAndUniqueAll()
{
    SortProfilesByName(profiles, nullptr);
    keepProfile.SortAll();
    keepProfile.UniqueAll();
    removalProfile.SortAll();
    removalProfile.UniqueAll();
}

int UninstallDatabase::ListedPrinterCount() const
{
    int count = 0;
    for (const InstalledPrinter& printer : printers) {
        if (printer.IsListed())
            ++count;
    }
    return count;
}

const char* UninstallDatabase::AddOnExecutable() const
{
    return osInfo.IsWin32s() ? kAddOnExecutableWin32s : kAddOnExecutable;
}
