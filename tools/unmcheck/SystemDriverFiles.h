// File names that usually belong to Windows' own printer drivers. A script
// that lists one asks the uninstaller to delete a file other printers load.
#pragma once
#include "ScriptProblems.h"

class UninstallDatabase;

bool IsCommonSystemDriverFile(const char* fileName);

// One warning per profile that lists such a name in its files.
void WarnAboutSystemDriverFiles(const UninstallDatabase& database, ScriptProblemLog& problems);
