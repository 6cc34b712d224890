// The layout of an uninstall script: its starter, setting and category
// sections, and the starter line "name",prefix,number. Pure code.
#pragma once
#include <string>

#include "UninstallProfile.h"

extern const char kScriptFileName[];  // "VUNZ__08.unm"

extern const char kMfgsSection[];
extern const char kDriversSection[];
extern const char kCatchAllSection[];
extern const char kIgnoreSection[];
extern const char kCommandlineParamSection[];
extern const char kScannerSection[];

enum StarterKind { STARTER_MANUFACTURER, STARTER_DRIVER, STARTER_CATCH_ALL, STARTER_IGNORE };

// The four starter sections in loading order; the first loaded profile of a
// name wins, so this order is also their precedence within one script.
struct StarterSection {
    const char* name;
    StarterKind kind;
    bool wholeItem;  // the line's value belongs to the name ([UnPrinterMfgs])
};
extern const StarterSection kStarterSections[4];

// The section a profile of the given flags was declared in.
const char* StarterSectionOf(const UninstallProfile& profile);

// Category sections are named prefix + "." + category.
struct CategorySection {
    const char* name;
    ProfileListId list;
};
extern const CategorySection kCategorySections[10];
const CategorySection* FindCategoryOfSection(const char* sectionName, std::string* prefix);

struct StarterFields {
    std::string name;    // first field, leading and trailing double quotes gone
    std::string prefix;  // second field exactly as written
    int number = 0;      // third field as a signed decimal, 0 when none
};

// Splits at the first two commas; missing fields are empty (number 0).
StarterFields ParseStarterLine(const char* line);
