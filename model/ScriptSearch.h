// Finding the uninstall scripts the package's installer left behind, and
// loading them into the database in the order of their paths.
#pragma once
#include <string>
#include <vector>

#include "MessageSink.h"

class UninstallDatabase;

// Appends the full path of every entry of the directory that matches the
// file name or pattern and is not a directory. Paths over 259 characters
// are left out.
void FindScripts(std::vector<std::string>& paths, const char* directory, const char* pattern);

// The printer-driver directory, its subdirectory "3", the program's
// directory and the system directory, in that order.
std::vector<std::string> ScriptDirectories();

// "VUNZ__08.unm" of each directory, sorted ignoring case, the same path
// found twice (in whatever letter case) kept once.
std::vector<std::string> CollectScripts(const std::vector<std::string>& directories);

// CollectScripts of the script directories.
std::vector<std::string> FindAllScripts();

// Loads each script in order; with none at all, tells the user once
// (message 158, an error box) and goes on without profiles. Returns the
// number of scripts read.
int LoadScripts(UninstallDatabase& database, const std::vector<std::string>& paths, MessageSink& messages);
