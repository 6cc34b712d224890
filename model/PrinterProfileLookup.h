// The profiles of many printers looked up at once, with the answers of
// FindProfileByName (the first of that name in list order) and, failing
// that, FindProfileByManufacturer (the last matching one in list order).
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "TextUtil.h"
#include "UninstallProfile.h"

// The text up to its first blank: how a manufacturer profile names the
// drivers it covers.
std::string FirstWordOf(const char* text);

class PrinterProfileLookup {
public:
    // The profiles must stay in place while the lookup is used.
    explicit PrinterProfileLookup(const std::vector<UninstallProfile>& all);

    const UninstallProfile* Find(const char* driverName) const;

private:
    const std::vector<UninstallProfile>& profiles;
    std::vector<std::string> words;
    std::vector<std::size_t> wordProfile;
    TextPositions byName;
    TextPositions byWord;
};
