// Reading the items of uninstall scripts and what the system records the
// way the removal reads them: registry lines and what they cover, shortcut
// entries, INI lines, pending deletions, journal lines.
#pragma once
#include <set>
#include <string>
#include <vector>

#include "Installation.h"
#include "Layout.h"
#include "Snapshot.h"
#include "UninstallProfile.h"

namespace containment {

extern const char kSessionManager[];
extern const char kWindowsKey[];  // WIN.INI's [windows] section on NT
extern const char kPendingRenames[];

// Registry line of a script: root, key, value and code, quotes removed.
struct ParsedLine {
    std::string root;
    std::string key;  // without surrounding backslashes
    std::string value;
    bool hasFlag = false;
    std::string flag;
};
bool ParseLine(const std::string& text, ParsedLine& line);


std::vector<ParsedLine> ParseLines(const TextList& lines);

// A registry key (isValue false) or a value, as a snapshot records it.
struct RegistryItem {
    std::string root;
    std::string key;
    bool isValue = false;
    std::string value;
};
RegistryItem ItemOfPath(const std::string& recordedPath);
// key is ancestor or lies below it.
bool IsUnder(const std::string& key, const std::string& ancestor);
// What a removal line deletes (applying version codes) or, for a line of a
// profile that stays, what it claims (whatever the code).
bool LineCovers(const ParsedLine& line, const RegistryItem& item, bool removal);

// Comma-separated fields, quotes removed; the last takes the rest.
std::vector<std::string> SplitFields(const std::string& text, std::size_t count);
std::set<std::string> LowerSet(const std::vector<std::string>& items);
bool Contains(const std::set<std::string>& set, const std::string& item);
// The name a file entry ("name" or "name=anything") stands for.
std::string FileNamePart(const std::string& entry);

// The maker's directories as recorded: each a directory of its own, at
// least two levels below a drive root, none of Windows' own.
std::vector<std::string> OemDirectories(const Installation& installation, const Layout& layout);

struct Shortcut {
    std::string group;
    std::string item;
    bool startup = false;
};
std::vector<Shortcut> Shortcuts(const TextList& entries);
// The files (lower case) a shortcut entry may take away.
std::vector<std::string> ShortcutPaths(const Layout& layout, const Shortcut& shortcut);

struct IniLine {
    std::string section;  // lower case
    std::string key;      // lower case; empty for headers, blanks and comments
    std::string text;
};
std::vector<IniLine> IniLines(const std::string& content);
// True when after is before with only lines of the named (section, key)
// pairs taken out.
bool OnlyNamedLinesRemoved(const std::string& before, const std::string& after,
                           const std::set<std::pair<std::string, std::string>>& named);

// Files (lower case) handed to the restart for deletion.
std::set<std::string> PendingDeletions(const RegistrySnapshot& registry);
std::vector<std::string> JournalFields(const std::string& line);

}  // namespace containment
