#include "DirectoryPaths.h"

#include <windows.h>
#include <shlobj.h>
#include <winspool.h>

#include <cstring>

#include "OSInfo.h"

const NamedDirectory kNamedDirectories[7] = {
    {"WINDIR", DIR_WINDOWS},
    {"SYSDIR", DIR_SYSTEM},
    {"COLORDIR", DIR_COLOR},
    {"PRINTPROCDIR", DIR_PRINT_PROCESSOR},
    {"PRINTPROCDIR_W40", DIR_PRINT_PROCESSOR_W40},
    {"PRINTDRIVERDIR", DIR_PRINTER_DRIVER},
    {"PRINTDRIVERDIR_W40", DIR_PRINTER_DRIVER_W40},
};

char masterScriptBesideProgram[kTextField];

namespace {

const char kScriptName[] = "VUNZ__08.unm";

// Shell folder of each directory id (ids 6 to 32), or -1.
int ShellFolderOf(int id)
{
    switch (id) {
    case DIR_DESKTOP: return CSIDL_DESKTOP;
    case DIR_FAVORITES: return CSIDL_FAVORITES;
    case DIR_APPDATA: return CSIDL_APPDATA;
    case DIR_INTERNET_CACHE: return CSIDL_INTERNET_CACHE;
    case DIR_COOKIES: return CSIDL_COOKIES;
    case DIR_FONTS: return CSIDL_FONTS;
    case DIR_HISTORY: return CSIDL_HISTORY;
    case DIR_NETHOOD: return CSIDL_NETHOOD;
    case DIR_PERSONAL: return CSIDL_PERSONAL;
    case DIR_PRINTHOOD: return CSIDL_PRINTHOOD;
    case DIR_PROGRAMS: return CSIDL_PROGRAMS;
    case DIR_RECENT: return CSIDL_RECENT;
    case DIR_SENDTO: return CSIDL_SENDTO;
    case DIR_STARTMENU: return CSIDL_STARTMENU;
    case DIR_STARTUP: return CSIDL_STARTUP;
    case DIR_ALTSTARTUP: return CSIDL_ALTSTARTUP;
    case DIR_COMMON_STARTUP: return CSIDL_COMMON_STARTUP;
    case DIR_COMMON_ALTSTARTUP: return CSIDL_COMMON_ALTSTARTUP;
    case DIR_TEMPLATES: return CSIDL_TEMPLATES;
    case DIR_PROGRAM_FILES: return CSIDL_PROGRAM_FILES;
    case DIR_PRINTERS: return CSIDL_PRINTERS;
    case DIR_COMMON_PROGRAMS: return CSIDL_COMMON_PROGRAMS;
    default: return -1;
    }
}

// A length from a Windows "fill this buffer" call counts only when it is
// non-zero and left room for the terminator.
bool Filled(UINT length) { return length > 0 && length < kTextField; }

bool ModuleFile(char (&out)[kTextField])
{
    out[0] = '\0';
    const DWORD length = GetModuleFileNameA(nullptr, out, kTextField);
    if (!Filled(length)) {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool IsFileSystemPath(const char* path)
{
    const char drive = FoldChar(path[0]);
    const bool hasDrive = drive >= 'a' && drive <= 'z' && path[1] == ':' && path[2] == '\\';
    return hasDrive || (path[0] == '\\' && path[1] == '\\');
}

bool ShellFolder(int csidl, char (&out)[kTextField])
{
    out[0] = '\0';
    if (COSInfo().IsWin32s())
        return false;
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)) || !allocator)
        return false;
    bool found = false;
    LPITEMIDLIST items = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) && items) {
        char buffer[MAX_PATH * 2] = {};
        // Wine answers virtual folders with a "::{GUID}" name; only a real
        // file-system path counts.
        if (SHGetPathFromIDListA(items, buffer) && IsFileSystemPath(buffer) && FitsField(buffer))
            found = CopyText(out, buffer);
        allocator->Free(items);
    }
    allocator->Release();
    if (!found)
        out[0] = '\0';
    return found;
}

bool ColorDirectory(char (&out)[kTextField])
{
    out[0] = '\0';
    char system[kTextField] = {};
    if (!Filled(GetSystemDirectoryA(system, kTextField)))
        return false;
    if (!COSInfo().IsWin32s()) {
        // A full path, so no other directory can supply the library.
        char library[kTextField] = {};
        CopyText(library, system);
        EnsureTrailingBackslash(library);
        if (AppendText(library, "mscms.dll")) {
            HMODULE mscms = LoadLibraryA(library);
            if (mscms) {
                typedef BOOL(WINAPI * GetColorDirectoryFn)(const char*, char*, DWORD*);
                GetColorDirectoryFn getColorDirectory = reinterpret_cast<GetColorDirectoryFn>(
                    reinterpret_cast<void*>(GetProcAddress(mscms, "GetColorDirectoryA")));
                bool ok = false;
                if (getColorDirectory) {
                    char buffer[kTextField] = {};
                    DWORD size = kTextField;
                    ok = getColorDirectory(nullptr, buffer, &size) && buffer[kTextField - 1] == '\0' &&
                         buffer[0] != '\0';
                    if (ok)
                        CopyText(out, buffer);
                }
                FreeLibrary(mscms);
                if (ok)
                    return true;
            }
        }
    }
    CopyText(out, system);
    EnsureTrailingBackslash(out);
    if (!AppendText(out, "Color")) {
        out[0] = '\0';
        return false;
    }
    if (!DirectoryExists(out))
        CreateDirectoryA(out, nullptr);
    return true;
}

// SysWOW64 on 64-bit Windows; GetSystemWow64DirectoryA is looked up, as
// systems before XP lack it.
bool SystemWow64Directory(char (&out)[kTextField])
{
    typedef UINT(WINAPI * GetSystemWow64DirectoryFn)(LPSTR, UINT);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const GetSystemWow64DirectoryFn get = kernel ? reinterpret_cast<GetSystemWow64DirectoryFn>(
                                                       reinterpret_cast<void*>(GetProcAddress(kernel, "GetSystemWow64DirectoryA")))
                                                 : nullptr;
    return get && Filled(get(out, kTextField));
}

bool SpoolerDirectory(int id, char (&out)[kTextField])
{
    out[0] = '\0';
    char buffer[kTextField] = {};
    DWORD needed = 0;
    BOOL ok;
    char w40[] = "Windows 4.0";
    char x86[] = "Windows NT x86";
    char* environment = id == DIR_PRINTER_DRIVER_W40 ? w40 : nullptr;
    if (id == DIR_PRINTER_DRIVER_X86 || id == DIR_PRINT_PROCESSOR_X86)
        environment = x86;
    if (id == DIR_PRINTER_DRIVER || id == DIR_PRINTER_DRIVER_W40 || id == DIR_PRINTER_DRIVER_X86) {
        ok = GetPrinterDriverDirectoryA(nullptr, environment, 1, reinterpret_cast<LPBYTE>(buffer), kTextField,
                                        &needed);
    } else {
        ok = GetPrintProcessorDirectoryA(nullptr, environment, 1, reinterpret_cast<LPBYTE>(buffer), kTextField,
                                         &needed);
    }
    if (!ok || buffer[0] == '\0' || !FitsField(buffer))
        return false;
    return CopyText(out, buffer);
}

// Looks a directory id up; false when there is nothing.
bool LookUp(int id, char (&out)[kTextField], bool& isDirectory)
{
    out[0] = '\0';
    isDirectory = true;
    switch (id) {
    case DIR_PROGRAM_FILE:
        isDirectory = false;
        return ModuleFile(out);
    case DIR_PROGRAM: {
        if (!ModuleFile(out))
            return false;
        char* slash = std::strrchr(out, '\\');
        if (slash)
            slash[1] = '\0';
        // The 64-bit program is the package's uninstaller from its x64
        // folder: its scripts and hooks are where the 32-bit one is.
        const std::size_t length = std::strlen(out);
        if (sizeof(void*) == 8 && length > 5 && TextEquals(out + length - 5, "\\x64\\"))
            out[length - 4] = '\0';
        return true;
    }
    case DIR_WINDOWS:
        return Filled(GetWindowsDirectoryA(out, kTextField));
    case DIR_SYSTEM:
        return Filled(GetSystemDirectoryA(out, kTextField));
    case DIR_TEMP:
        return Filled(GetTempPathA(kTextField, out));
    case DIR_CURRENT:
        return Filled(GetCurrentDirectoryA(kTextField, out));
    case DIR_NEW_TEMP_FILE: {
        isDirectory = false;
        char temp[kTextField] = {};
        if (!Filled(GetTempPathA(kTextField, temp)))
            return false;
        // GetTempFileNameA writes up to MAX_PATH characters.
        char name[MAX_PATH] = {};
        return GetTempFileNameA(temp, "~~", 0, name) != 0 && CopyText(out, name);
    }
    case DIR_INF:
        return Filled(GetWindowsDirectoryA(out, kTextField)) && EnsureTrailingBackslash(out) &&
               AppendText(out, "INF\\");
    case DIR_PRINTER_DRIVER:
    case DIR_PRINTER_DRIVER_W40:
    case DIR_PRINTER_DRIVER_X86:
    case DIR_PRINT_PROCESSOR:
    case DIR_PRINT_PROCESSOR_W40:
    case DIR_PRINT_PROCESSOR_X86:
        return SpoolerDirectory(id, out);
    case DIR_SYSTEM_WOW64:
        return SystemWow64Directory(out);
    case DIR_COLOR:
        return ColorDirectory(out);
    default: {
        const int csidl = ShellFolderOf(id);
        return csidl >= 0 && ShellFolder(csidl, out);
    }
    }
}

}  // namespace

FileSpec::FileSpec() { Clear(); }

void FileSpec::Clear()
{
    drive[0] = directory[0] = baseName[0] = extension[0] = path[0] = '\0';
}

bool FileSpec::Resolve(int directoryId)
{
    Clear();
    char found[kTextField];
    bool isDirectory = true;
    if (!LookUp(directoryId, found, isDirectory))
        return true;
    if (isDirectory) {
        AssignDirectory(found);
    } else {
        Assign(found);
    }
    return true;
}

void FileSpec::AssignDirectory(const char* directoryPath)
{
    char withSlash[kTextField];
    if (!CopyText(withSlash, directoryPath) || !EnsureTrailingBackslash(withSlash)) {
        Clear();
        return;
    }
    Assign(withSlash);
}

bool FileSpec::Assign(const char* fullPath)
{
    PathParts parts;
    const bool ok = SplitPath(fullPath, parts);
    CopyText(drive, parts.drive);
    CopyText(directory, parts.directory);
    CopyText(baseName, parts.baseName);
    CopyText(extension, parts.extension);
    return ok;
}

const char* FileSpec::Compose(const char* d, const char* dir, const char* base, const char* ext)
{
    if (!ComposePath(path, kTextField, d, dir, base, ext))
        path[0] = '\0';
    return path;
}

const char* FileSpec::FullPath() { return Compose(drive, directory, baseName, extension); }
const char* FileSpec::DirectoryPath() { return Compose(drive, directory, "", ""); }
const char* FileSpec::FileName() { return Compose("", "", baseName, extension); }

const char* FileSpec::AppendSubdirectory(const char* name)
{
    if (!IsEmptyText(name)) {
        char longer[kTextField];
        CopyText(longer, directory);
        const bool fits = EnsureTrailingBackslash(longer) && AppendText(longer, name) &&
                          EnsureTrailingBackslash(longer);
        // A cut name would point somewhere else; keep the directory as it was.
        if (fits)
            CopyText(directory, longer);
    }
    return FullPath();
}

bool FileSpec::SearchOnPath(const char* searchPath)
{
    char name[kTextField];
    if (!ComposePath(name, kTextField, "", "", baseName, extension) || name[0] == '\0')
        return false;
    char found[MAX_PATH] = {};
    char* filePart = nullptr;
    const DWORD length = SearchPathA(searchPath, name, nullptr, MAX_PATH, found, &filePart);
    if (!Filled(length))
        return false;
    return Assign(found);
}

bool FileSpec::Exists()
{
    const char* full = FullPath();
    if (full[0] == '\0')
        return false;
    HANDLE file = CreateFileA(full, 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

bool DirectoryExists(const char* path)
{
    // The attribute query answers without touching the current directory.
    if (IsEmptyText(path) || !FitsField(path))
        return false;
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void SetMasterScriptBesideProgram()
{
    FileSpec program;
    program.Resolve(DIR_PROGRAM);
    char script[kTextField];
    if (ComposePath(script, kTextField, program.drive, program.directory, kScriptName, ""))
        CopyText(masterScriptBesideProgram, script);
    else
        masterScriptBesideProgram[0] = '\0';
}
