#include "Layout.h"

#include <windows.h>
#include <shlobj.h>
#include <winspool.h>

namespace containment {

namespace {

std::string SpecialFolder(int csidl)
{
    char path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, csidl, TRUE))
        return std::string();
    return WithSlash(path);
}

std::string SpoolerDirectory(bool processor, const char* environment)
{
    char path[MAX_PATH] = {};
    DWORD needed = 0;
    const BOOL ok = processor ? GetPrintProcessorDirectoryA(nullptr, const_cast<char*>(environment), 1,
                                                            reinterpret_cast<BYTE*>(path), MAX_PATH, &needed)
                              : GetPrinterDriverDirectoryA(nullptr, const_cast<char*>(environment), 1,
                                                           reinterpret_cast<BYTE*>(path), MAX_PATH, &needed);
    return ok ? WithSlash(path) : std::string();
}

std::string ColorDirectory()
{
    typedef BOOL(WINAPI * GetColorDirectoryFn)(const char*, char*, DWORD*);
    std::string result;
    HMODULE mscms = LoadLibraryA("mscms.dll");
    if (!mscms)
        return result;
    auto get =
        reinterpret_cast<GetColorDirectoryFn>(reinterpret_cast<void*>(GetProcAddress(mscms, "GetColorDirectoryA")));
    char path[MAX_PATH] = {};
    DWORD size = sizeof(path);
    if (get && get(nullptr, path, &size))
        result = WithSlash(path);
    FreeLibrary(mscms);
    return result;
}

}  // namespace

std::string Lower(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool SameText(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

std::string WithSlash(std::string path)
{
    if (!path.empty() && path.back() != '\\')
        path += '\\';
    return path;
}

std::string ParentOf(const std::string& path)
{
    std::string trimmed = path;
    if (!trimmed.empty() && trimmed.back() == '\\')
        trimmed.pop_back();
    const std::size_t slash = trimmed.find_last_of('\\');
    return slash == std::string::npos ? std::string() : trimmed.substr(0, slash + 1);
}

std::string FileNameOf(const std::string& path)
{
    std::string trimmed = path;
    if (!trimmed.empty() && trimmed.back() == '\\')
        trimmed.pop_back();
    const std::size_t slash = trimmed.find_last_of('\\');
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

int LevelsBelow(const std::string& ancestor, const std::string& dir)
{
    const std::string a = Lower(ancestor);
    const std::string d = Lower(dir);
    if (a.empty() || d.compare(0, a.size(), a) != 0)
        return -1;
    int levels = 0;
    for (std::size_t i = a.size(); i < d.size(); ++i) {
        if (d[i] == '\\')
            ++levels;
    }
    return levels;
}

void MakeDirectories(const std::string& path)
{
    for (std::size_t i = 3; i < path.size(); ++i) {
        if (path[i] == '\\')
            CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
}

Layout Layout::Resolve()
{
    Layout layout;
    char path[MAX_PATH] = {};
    GetSystemDirectoryA(path, MAX_PATH);
    layout.system = WithSlash(path);
    GetWindowsDirectoryA(path, MAX_PATH);
    layout.windows = WithSlash(path);
    layout.color = ColorDirectory();
    layout.driver = SpoolerDirectory(false, nullptr);
    layout.driver40 = SpoolerDirectory(false, "Windows 4.0");
    layout.processor = SpoolerDirectory(true, nullptr);
    layout.processor40 = SpoolerDirectory(true, "Windows 4.0");
    layout.inf = layout.windows + "INF\\";
    layout.programs = SpecialFolder(CSIDL_PROGRAMS);
    layout.commonPrograms = SpecialFolder(CSIDL_COMMON_PROGRAMS);
    for (int csidl : {CSIDL_STARTUP, CSIDL_ALTSTARTUP, CSIDL_COMMON_STARTUP, CSIDL_COMMON_ALTSTARTUP}) {
        const std::string folder = SpecialFolder(csidl);
        if (!folder.empty())
            layout.startupFolders.push_back(folder);
    }
    const std::string drive = layout.windows.substr(0, 3);
    layout.oemRoot = drive + "Program Files\\Vanto Contain\\";
    layout.decoyRoot = drive + "vzdecoy\\";
    return layout;
}

std::vector<SearchedDirectory> Layout::SearchedDirectories() const
{
    std::vector<SearchedDirectory> searched;
    for (const std::string* flat : {&system, &windows, &color})
        searched.push_back({*flat, 0});
    for (const std::string* tree : {&driver, &driver40, &processor, &processor40, &inf})
        searched.push_back({*tree, 2});
    return searched;
}

}  // namespace containment
