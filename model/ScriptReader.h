// Reading the profiles of one loaded uninstall script: the items of its
// starter sections, and for each starter line the category sections the
// line's prefix names.
#pragma once
#include <string>
#include <vector>

#include "IniDocument.h"
#include "ScriptFormat.h"
#include "ScriptProblems.h"
#include "UninstallProfile.h"

// Items of the first section of that name in file order: the key alone, or
// key=value when withValues and there is a value. Every item is read, however
// many; empty items are left out, and items over 259 characters are skipped
// (a cut name could name something else) and reported.
std::vector<std::string> ReadSectionItems(const IniDocument& script, const char* sectionName,
                                          bool withValues, ScriptProblemLog* problems);

// Fills an empty profile whose scriptPath and starter flag are set: name,
// prefix and number from the starter line, then every category list whose
// section has items.
void BuildProfile(UninstallProfile& profile, const IniDocument& script, const char* starterLine,
                  ScriptProblemLog* problems = nullptr);

// Fills the list from section prefix.category, sorted and without
// duplicates; 1 when the section had items, else 0 with the list empty.
int ReadCategory(const IniDocument& script, const char* prefix, const char* category, TextList& list,
                 ScriptProblemLog* problems = nullptr);
