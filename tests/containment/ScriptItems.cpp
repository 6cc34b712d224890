#include "ScriptItems.h"

#include <windows.h>

#include <algorithm>

#include "VersionRecords.h"

namespace containment {

const char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const char kWindowsKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
const char kPendingRenames[] = "PendingFileRenameOperations";

namespace {

std::string TrimSlashes(const std::string& key)
{
    const std::size_t begin = key.find_first_not_of('\\');
    if (begin == std::string::npos)
        return std::string();
    return key.substr(begin, key.find_last_not_of('\\') - begin + 1);
}

std::string StripQuotes(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '"'), text.end());
    return text;
}

// Windows versions a code of 2 to 5 limits a tree deletion to.
bool FlagAppliesHere(char flag)
{
    const OSVERSIONINFOA version = RunningVersion();
    const bool nt = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    switch (flag) {
    case '2': return !nt && version.dwMajorVersion == 4 && version.dwMinorVersion == 10;
    case '3': return !nt && version.dwMajorVersion == 4 && version.dwMinorVersion == 90;
    case '4': return nt && version.dwMajorVersion == 4;
    case '5': return nt && version.dwMajorVersion == 5 && version.dwMinorVersion == 0;
    default: return true;
    }
}

}  // namespace

std::vector<std::string> SplitFields(const std::string& text, std::size_t count)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (fields.size() + 1 < count) {
        const std::size_t comma = text.find(',', start);
        if (comma == std::string::npos)
            break;
        fields.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    fields.push_back(text.substr(start));
    for (std::string& field : fields)
        field = StripQuotes(field);
    return fields;
}

bool IsUnder(const std::string& key, const std::string& ancestor)
{
    const std::string k = Lower(key);
    const std::string a = Lower(ancestor);
    return k == a || (k.size() > a.size() && k.compare(0, a.size(), a) == 0 && k[a.size()] == '\\');
}

RegistryItem ItemOfPath(const std::string& recordedPath)
{
    RegistryItem item;
    const std::size_t slash = recordedPath.find('\\');
    item.root = recordedPath.substr(0, slash);
    item.key = slash == std::string::npos ? std::string() : TrimSlashes(recordedPath.substr(slash + 1));
    return item;
}

// What a removal line deletes (applying version codes) or, for a kept
// line, what it claims (whatever the code).
bool LineCovers(const ParsedLine& line, const RegistryItem& item, bool removal)
{
    if (!SameText(line.root, item.root) || line.key.empty())
        return false;
    if (!line.value.empty())
        return item.isValue && SameText(line.key, item.key) && SameText(line.value, item.value);
    if (!line.hasFlag)
        return SameText(line.key, item.key);
    if (removal && !line.flag.empty() && !FlagAppliesHere(line.flag[0]))
        return false;
    return IsUnder(item.key, line.key);
}

std::vector<ParsedLine> ParseLines(const TextList& lines)
{
    std::vector<ParsedLine> parsed;
    for (const std::string& text : lines) {
        ParsedLine line;
        if (ParseLine(text, line))
            parsed.push_back(line);
    }
    return parsed;
}

std::set<std::string> LowerSet(const std::vector<std::string>& items)
{
    std::set<std::string> set;
    for (const std::string& item : items)
        set.insert(Lower(item));
    return set;
}

bool Contains(const std::set<std::string>& set, const std::string& item) { return set.count(Lower(item)) > 0; }

std::string FileNamePart(const std::string& entry) { return entry.substr(0, entry.find('=')); }

// The maker's directories as recorded: each a directory of its own, at
// least two levels below a drive root.
std::vector<std::string> OemDirectories(const Installation& installation, const Layout& layout)
{
    std::vector<std::string> directories;
    for (const std::string& value : installation.oemPathValues) {
        const std::string directory = WithSlash(value);
        int levels = 0;
        for (std::size_t i = 3; i < directory.size(); ++i)
            levels += directory[i] == '\\';
        // Windows' own directories are never the maker's.
        const bool windowsOwn = LevelsBelow(directory, layout.system) >= 0 ||
                                LevelsBelow(layout.system, directory) >= 0 || SameText(directory, layout.windows);
        if (directory.size() > 3 && directory[1] == ':' && levels >= 2 && !windowsOwn)
            directories.push_back(directory);
    }
    return directories;
}

std::vector<Shortcut> Shortcuts(const TextList& entries)
{
    std::vector<Shortcut> shortcuts;
    for (const std::string& entry : entries) {
        const std::vector<std::string> fields = SplitFields(entry, 3);
        Shortcut shortcut;
        shortcut.group = fields[0];
        shortcut.item = fields.size() > 1 ? fields[1] : std::string();
        shortcut.startup = fields.size() > 2 && SameText(fields[2], "STARTUP");
        if (!shortcut.group.empty())
            shortcuts.push_back(shortcut);
    }
    return shortcuts;
}

// The files a shortcut entry may take away.
std::vector<std::string> ShortcutPaths(const Layout& layout, const Shortcut& shortcut)
{
    std::vector<std::string> paths;
    if (shortcut.item.empty())
        return paths;
    std::vector<std::string> folders;
    for (const std::string* programs : {&layout.programs, &layout.commonPrograms}) {
        if (!programs->empty())
            folders.push_back(*programs + shortcut.group + "\\");
    }
    if (shortcut.startup)
        folders.insert(folders.end(), layout.startupFolders.begin(), layout.startupFolders.end());
    const std::string item = FileNameOf(shortcut.item);
    const std::size_t dot = item.find_last_of('.');
    const std::string base = dot == std::string::npos ? item : item.substr(0, dot);
    for (const std::string& folder : folders) {
        for (const std::string& name : {item, base + ".lnk", base + ".pif"})
            paths.push_back(Lower(folder + name));
    }
    return paths;
}

std::vector<IniLine> IniLines(const std::string& content)
{
    std::vector<IniLine> lines;
    std::string section;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::string text = content.substr(start, end - start);
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        IniLine line;
        line.text = text;
        const std::size_t first = text.find_first_not_of(" \t");
        if (first != std::string::npos && text[first] == '[') {
            section = Lower(text.substr(first + 1, text.find(']') - first - 1));
        } else if (first != std::string::npos && text[first] != ';' && text.find('=') != std::string::npos) {
            std::string key = text.substr(first, text.find('=') - first);
            key.erase(key.find_last_not_of(" \t") + 1);
            line.key = Lower(key);
        }
        line.section = section;
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// True when after is before with only lines of the named (section, key)
// pairs taken out.
bool OnlyNamedLinesRemoved(const std::string& before, const std::string& after,
                           const std::set<std::pair<std::string, std::string>>& named)
{
    const std::vector<IniLine> old = IniLines(before);
    const std::vector<IniLine> now = IniLines(after);
    std::size_t j = 0;
    for (std::size_t i = 0; i < old.size(); ++i) {
        if (j < now.size() && old[i].text == now[j].text) {
            ++j;
            continue;
        }
        if (old[i].key.empty() || !named.count({old[i].section, old[i].key}))
            return false;
    }
    return j == now.size();
}


// Files handed to the restart for deletion: "\\??\\path" followed by an
// empty target.
std::set<std::string> PendingDeletions(const RegistrySnapshot& registry)
{
    std::set<std::string> paths;
    const auto key = registry.find(Lower(std::string("HKLM\\") + kSessionManager));
    if (key == registry.end())
        return paths;
    const auto value = key->second.values.find(Lower(kPendingRenames));
    if (value == key->second.values.end())
        return paths;
    std::vector<std::string> strings;
    const std::string& data = value->second.data;
    for (std::size_t start = 0; start < data.size();) {
        const std::size_t end = data.find('\0', start);
        strings.push_back(data.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    for (std::size_t i = 0; i + 1 < strings.size(); i += 2) {
        if (strings[i].empty())
            break;
        std::string path = strings[i];
        if (path.compare(0, 4, "\\??\\") == 0)
            path = path.substr(4);
        if (strings[i + 1].empty())
            paths.insert(Lower(path));
    }
    return paths;
}

std::vector<std::string> JournalFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = line.find('|', start);
        fields.push_back(line.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    return fields;
}

bool ParseLine(const std::string& text, ParsedLine& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t comma = text.find(',', start);
        if (comma == std::string::npos)
            break;
        fields.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    if (fields.size() < 2)
        return false;
    line.hasFlag = fields.size() == 3;
    fields.push_back(text.substr(start));
    for (std::string& field : fields)
        field = StripQuotes(field);
    line.root = fields[0];
    line.key = TrimSlashes(fields[1]);
    line.value = fields[2];
    line.flag = line.hasFlag ? fields[3] : std::string();
    for (const char* known : {"HKLM", "HKCU", "HKCR", "HKU"}) {
        if (SameText(line.root, known)) {
            line.root = known;
            return true;
        }
    }
    return false;
}

}  // namespace containment
