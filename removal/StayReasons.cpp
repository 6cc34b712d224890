#include "StayReasons.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "LookOnly.h"
#include "PrinterProfileLookup.h"
#include "UninstallDatabase.h"

namespace {

typedef std::pair<const UninstallProfile*, std::string> Claim;

// The profiles that keep their items, each with the reason it gives.
std::vector<Claim> KeptProfiles(const UninstallDatabase& database)
{
    std::vector<Claim> claims;
    const std::vector<bool> goes = database.PrintersThatGo();
    const PrinterProfileLookup lookup(database.profiles);
    std::size_t index = 0;
    for (const InstalledPrinter& printer : database.printers) {
        const bool printerGoes = goes[index++];
        if (printer.foreign || printer.removed || printerGoes)
            continue;
        if (const UninstallProfile* profile = lookup.Find(printer.driverName))
            claims.push_back(Claim(profile, std::string("the printer ") + printer.name + " stays and needs it"));
    }
    for (const UninstallProfile& profile : database.profiles) {
        const bool shared = profile.isCatchAll || (!database.addOnOnly && TextEquals(profile.name, kAddOnProfileName));
        if (profile.isIgnore)
            claims.push_back(Claim(&profile, std::string("the ignore profile ") + profile.name + " shares it"));
        else if (shared && database.keptPrinterCount > 0)
            claims.push_back(Claim(&profile, std::string("the package's shared part ") + profile.name +
                                                 " stays with its printers"));
    }
    return claims;
}

bool SharesTarget(const std::vector<std::string>& targets, const std::set<std::string>& others)
{
    for (const std::string& target : targets) {
        if (others.count(target))
            return true;
    }
    return false;
}

std::set<std::string> TargetsOf(int list, const TextList& items)
{
    std::set<std::string> targets;
    for (const std::string& item : items) {
        for (const std::string& target : ItemTargets(list, item))
            targets.insert(target);
    }
    return targets;
}

}  // namespace

void NoteWhatStays(const UninstallDatabase& database, WhatIfRecord& record)
{
    const std::vector<Claim> claims = KeptProfiles(database);
    for (int list = 0; list < PROFILE_LIST_COUNT; ++list) {
        const std::set<std::string> going = TargetsOf(list, database.removalProfile.List(list));
        std::vector<std::set<std::string>> claimed;
        for (const Claim& claim : claims)
            claimed.push_back(TargetsOf(list, claim.first->List(list)));
        for (const std::string& item : database.fullProfile.List(list)) {
            const std::vector<std::string> targets = ItemTargets(list, item);
            if (SharesTarget(targets, going))
                continue;
            for (std::size_t i = 0; i < claims.size(); ++i) {
                if (SharesTarget(targets, claimed[i])) {
                    record.Stays(claims[i].second.c_str(), std::string(ProfileListName(list)) + " " + item);
                    break;
                }
            }
        }
    }
}
