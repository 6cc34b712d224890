// The text unmcheck prints: the problems met, then the removal profile as
// one INI-style section per list, then the counts.
#pragma once
#include <string>
#include <vector>

#include "ScriptProblems.h"
#include "UninstallDatabase.h"

// How a script is named in the report: as the user gave it.
struct ScriptName {
    std::string fullPath;
    std::string given;
};

std::string FormatPreviewReport(const ScriptProblemLog& problems, const UninstallDatabase& database,
                                const std::vector<ScriptName>& names);

// What the 64-bit program does beyond the list: the spooler environments it
// walks, the directories it searches for the files, and each registry line
// as it applies it, once per registry view.
std::string FormatX64Sections(const UninstallDatabase& database);
