#include "ScriptFormat.h"

#include <climits>
#include <cstring>

const char kScriptFileName[] = "VUNZ__08.unm";

const char kMfgsSection[] = "UnPrinterMfgs";
const char kDriversSection[] = "UnPrinterDrivers";
const char kCatchAllSection[] = "Unz_CatchAll";
const char kIgnoreSection[] = "Unx_Ignore";
const char kCommandlineParamSection[] = "CommandlineParam";
const char kScannerSection[] = "UnScannerDriver";

const StarterSection kStarterSections[4] = {
    {kMfgsSection, STARTER_MANUFACTURER, true},
    {kDriversSection, STARTER_DRIVER, false},
    {kCatchAllSection, STARTER_CATCH_ALL, false},
    {kIgnoreSection, STARTER_IGNORE, false},
};

const CategorySection kCategorySections[10] = {
    {"DeleteIni", LIST_DELETE_INI},
    {"DeleteLoadRun", LIST_DELETE_LOAD_RUN},
    {"UnSelfRegister", LIST_UN_SELF_REGISTER},
    {"PrintProcessors", LIST_PRINT_PROCESSORS},
    {"Monitors", LIST_MONITORS},
    {"Services", LIST_SERVICES},
    {"Hooks", LIST_HOOKS},
    {"Files", LIST_FILES},
    {"Shortcuts", LIST_SHORTCUTS},
    {"RegistryKeys", LIST_REGISTRY_KEYS},
};

const char* StarterSectionOf(const UninstallProfile& profile)
{
    if (profile.isManufacturer)
        return kMfgsSection;
    if (profile.isCatchAll)
        return kCatchAllSection;
    if (profile.isIgnore)
        return kIgnoreSection;
    return kDriversSection;
}

const CategorySection* FindCategoryOfSection(const char* sectionName, std::string* prefix)
{
    if (!sectionName)
        return nullptr;
    // The prefix may itself hold dots: the category follows the last one.
    const char* dot = std::strrchr(sectionName, '.');
    if (!dot)
        return nullptr;
    for (const CategorySection& category : kCategorySections) {
        if (TextEquals(dot + 1, category.name)) {
            if (prefix)
                prefix->assign(sectionName, dot);
            return &category;
        }
    }
    return nullptr;
}

StarterFields ParseStarterLine(const char* line)
{
    StarterFields fields;
    if (!line)
        return fields;
    const char* firstComma = std::strchr(line, ',');
    const char* nameEnd = firstComma ? firstComma : line + std::strlen(line);
    std::string name(line, nameEnd);
    std::size_t begin = 0;
    std::size_t end = name.size();
    while (begin < end && name[begin] == '"')
        ++begin;
    while (end > begin && name[end - 1] == '"')
        --end;
    fields.name = name.substr(begin, end - begin);
    if (!firstComma)
        return fields;
    const char* prefixBegin = firstComma + 1;
    const char* secondComma = std::strchr(prefixBegin, ',');
    if (!secondComma) {
        fields.prefix = prefixBegin;
        return fields;
    }
    fields.prefix.assign(prefixBegin, secondComma);
    const long number = ParseDecimal(secondComma + 1);
    fields.number = number > INT_MAX ? INT_MAX : number < INT_MIN ? INT_MIN : static_cast<int>(number);
    return fields;
}
