#include "UninstallDatabase.h"

#include <algorithm>

#include "FullProfileBuild.h"
#include "PathParts.h"
#include "PrinterProfileLookup.h"
#include "RemovalProfileBuild.h"
#include "ScriptFormat.h"

const char kAddOnProfileName[] = "Pellivance";
const char kAddOnExecutable[] = "PELLIV32.EXE";
const char kAddOnExecutableWin32s[] = "PELLIVAN.EXE";

namespace {

bool NameLess(const UninstallProfile& a, const UninstallProfile& b) { return TextLess(a.name, b.name); }

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
    FullProfileBuild build(*this, target, switches);
    WorkBudget unlimited(INFINITE);
    build.Continue(unlimited);
    return build.Merged();
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
    const std::string word = FirstWordOf(driverName);
    bool found = false;
    for (const UninstallProfile& profile : profiles) {
        if (profile.isManufacturer && TextEquals(FirstWordOf(profile.name).c_str(), word.c_str())) {
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

std::vector<bool> UninstallDatabase::PrintersThatGo() const
{
    std::vector<bool> goes;
    for (const InstalledPrinter& printer : printers)
        goes.push_back(!printer.foreign && !printer.removed && !printer.excluded);
    // Until nothing changes: a single pass would miss a Pelled printer
    // listed before the one that takes it along.
    for (bool changed = true; changed;) {
        changed = false;
        std::size_t chosenIndex = 0;
        for (const InstalledPrinter& chosen : printers) {
            if (!goes[chosenIndex++])
                continue;
            std::size_t linkedIndex = 0;
            for (const InstalledPrinter& linked : printers) {
                const std::size_t index = linkedIndex++;
                if (goes[index] || linked.foreign || linked.removed || linked.unreadable ||
                    linked.pelledName[0] == '\0' || !TextEquals(linked.pelledName, chosen.name))
                    continue;
                goes[index] = true;
                changed = true;
            }
        }
    }
    return goes;
}

void UninstallDatabase::ApplyLinkRule()
{
    const std::vector<bool> goes = PrintersThatGo();
    std::size_t index = 0;
    for (InstalledPrinter& printer : printers) {
        if (goes[index++])
            printer.excluded = 0;
    }
}

int UninstallDatabase::BuildRemovalProfile()
{
    RemovalProfileBuild build(*this);
    WorkBudget unlimited(INFINITE);
    build.Continue(unlimited);
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
    // Without a script nothing says the maker's keys are this package's.
    if (profiles.empty())
        return;
    target.AddRegistryLine("HKLM", "SOFTWARE\\VANTO\\OEM01", "", true);
    target.AddRegistryLine("HKLM", "SOFTWARE\\VANTO\\VSR32_08", "", true);
    target.AddRegistryLine("HKLM", "SOFTWARE\\VANTO\\Filters", "", true);
    // The maker's own key alone, not as a tree: it goes only once nothing
    // of its other products is left in it.
    target.registryKeys.push_back("HKLM,\"SOFTWARE\\VANTO\",\"\"");
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
