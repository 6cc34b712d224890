#include "ScriptReader.h"

#include <string>
#include <utility>

namespace {

// What older uninstallers read of a starter and of a category section.
constexpr std::size_t kStarterBuffer = 260;
constexpr std::size_t kCategoryBuffer = 4096;

std::string Excerpt(const std::string& item)
{
    return item.size() <= 40 ? item : item.substr(0, 40) + "...";
}

void CheckBufferSize(const IniSection& section, bool withValues, ScriptProblemLog* problems,
                     const char* scriptPath)
{
    if (!problems)
        return;
    std::size_t total = 0;
    for (const IniEntry& entry : section.entries) {
        total += entry.key.size() + 1;
        if (withValues && !entry.value.empty())
            total += entry.value.size() + 1;
    }
    const bool starter = FindCategoryOfSection(section.name.c_str(), nullptr) == nullptr;
    const std::size_t limit = starter ? kStarterBuffer : kCategoryBuffer;
    if (total >= limit) {
        ReportProblem(problems, PROBLEM_SECTION_OVER_BUFFER, scriptPath,
                      "[" + section.name + "] holds " + std::to_string(total) +
                          " bytes of items; uninstallers that read only " + std::to_string(limit) +
                          " bytes of it leave the rest behind");
    }
}

}  // namespace

std::vector<std::string> ReadSectionItems(const IniDocument& script, const char* sectionName,
                                          bool withValues, ScriptProblemLog* problems)
{
    std::vector<std::string> items;
    const IniSection* section = script.FindSection(sectionName);
    if (!section)
        return items;
    CheckBufferSize(*section, withValues, problems, script.GetPath());
    for (const IniEntry& entry : section->entries) {
        std::string item = entry.key;
        if (withValues && !entry.value.empty())
            item += "=" + entry.value;
        if (item.empty())
            continue;
        if (!FitsField(item.c_str())) {
            ReportProblem(problems, PROBLEM_ITEM_TOO_LONG, script.GetPath(),
                          "[" + section->name + "] item \"" + Excerpt(item) + "\" has " +
                              std::to_string(item.size()) + " characters (at most 259): skipped");
            continue;
        }
        items.push_back(std::move(item));
    }
    return items;
}

void BuildProfile(UninstallProfile& profile, const IniDocument& script, const char* starterLine,
                  ScriptProblemLog* problems)
{
    const StarterFields fields = ParseStarterLine(starterLine);
    // The starter line fits a field, so its parts do as well.
    CopyText(profile.name, fields.name.c_str());
    CopyText(profile.prefix, fields.prefix.c_str());
    profile.number = fields.number;
    for (const CategorySection& category : kCategorySections) {
        TextList items;
        if (ReadCategory(script, profile.prefix, category.name, items, problems))
            profile.List(category.list) = std::move(items);
    }
}

int ReadCategory(const IniDocument& script, const char* prefix, const char* category, TextList& list,
                 ScriptProblemLog* problems)
{
    list.clear();
    const std::string sectionName = std::string(prefix ? prefix : "") + "." + (category ? category : "");
    list = ReadSectionItems(script, sectionName.c_str(), true, problems);
    if (list.empty())
        return 0;
    SortTextList(list);
    UniqueTextList(list);
    return 1;
}
