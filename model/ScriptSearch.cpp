#include "ScriptSearch.h"

#include <windows.h>

#include "DirectoryPaths.h"
#include "ScriptFormat.h"
#include "UninstallDatabase.h"
#include "UniqueHandle.h"
#include "resource.h"

void FindScripts(std::vector<std::string>& paths, const char* directory, const char* pattern)
{
    if (IsEmptyText(directory) || IsEmptyText(pattern))
        return;
    // A full pattern rather than a change of the current directory.
    std::string base(directory);
    if (base.back() != '\\' && base.back() != '/')
        base += '\\';
    const std::string search = base + pattern;
    if (!FitsField(search.c_str()))
        return;
    WIN32_FIND_DATAA found;
    const FindHandle find(FindFirstFileA(search.c_str(), &found));
    if (!find.Valid())
        return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const std::string path = base + found.cFileName;
        if (FitsField(path.c_str()))
            paths.push_back(path);
    } while (FindNextFileA(find.Get(), &found));
}

std::vector<std::string> ScriptDirectories()
{
    std::vector<std::string> directories;
    FileSpec spec;
    spec.Resolve(DIR_PRINTER_DRIVER);
    const std::string driverDirectory = spec.DirectoryPath();
    directories.push_back(driverDirectory);
    directories.push_back(driverDirectory.empty() ? std::string() : spec.AppendSubdirectory("3"));
    spec.Resolve(DIR_PROGRAM);
    directories.push_back(spec.DirectoryPath());
    spec.Resolve(DIR_SYSTEM);
    directories.push_back(spec.DirectoryPath());
    return directories;
}

std::vector<std::string> CollectScripts(const std::vector<std::string>& directories)
{
    std::vector<std::string> paths;
    for (const std::string& directory : directories)
        FindScripts(paths, directory.c_str(), kScriptFileName);
    SortTextList(paths);
    UniqueTextList(paths);
    return paths;
}

std::vector<std::string> FindAllScripts() { return CollectScripts(ScriptDirectories()); }

int LoadScripts(UninstallDatabase& database, const std::vector<std::string>& paths, MessageSink& messages)
{
    if (paths.empty()) {
        messages.Show(IDS_NO_SCRIPTS, IDS_CAPTION, MB_OK | MB_ICONERROR);
        return 0;
    }
    int loaded = 0;
    for (const std::string& path : paths)
        loaded += database.LoadScript(path.c_str());
    return loaded;
}
