// Well-known directories by number, and a path split into its parts.
#pragma once
#include "PathParts.h"
#include "TextUtil.h"

enum DirectoryId {
    DIR_PROGRAM_FILE = 1,
    DIR_PROGRAM = 2,
    DIR_WINDOWS = 3,
    DIR_SYSTEM = 4,
    DIR_TEMP = 5,
    DIR_DESKTOP = 6,
    DIR_FAVORITES = 7,
    DIR_NEW_TEMP_FILE = 8,
    DIR_APPDATA = 9,
    DIR_INTERNET_CACHE = 10,
    DIR_COOKIES = 11,
    DIR_FONTS = 12,
    DIR_HISTORY = 13,
    DIR_NETHOOD = 14,
    DIR_PERSONAL = 15,
    DIR_PRINTHOOD = 16,
    DIR_PROGRAMS = 17,
    DIR_RECENT = 18,
    DIR_SENDTO = 19,
    DIR_STARTMENU = 20,
    DIR_STARTUP = 21,
    DIR_ALTSTARTUP = 22,
    DIR_COMMON_STARTUP = 23,
    DIR_COMMON_ALTSTARTUP = 24,
    DIR_TEMPLATES = 25,
    DIR_PRINTER_DRIVER = 26,
    DIR_PRINTER_DRIVER_W40 = 27,
    DIR_PRINT_PROCESSOR = 28,
    DIR_PRINT_PROCESSOR_W40 = 29,
    DIR_PROGRAM_FILES = 30,
    DIR_PRINTERS = 31,
    DIR_COMMON_PROGRAMS = 32,
    DIR_COLOR = 33,
    DIR_CURRENT = 34,
    DIR_INF = 35,
    // For the 64-bit program: where the package put its 32-bit files.
    DIR_PRINTER_DRIVER_X86 = 36,
    DIR_PRINT_PROCESSOR_X86 = 37,
    DIR_SYSTEM_WOW64 = 38,
};

// The seven directories the profile inspection dialog names, in its order.
struct NamedDirectory {
    const char* name;
    int id;
};
extern const NamedDirectory kNamedDirectories[7];

struct FileSpec {
    char drive[kTextField];
    char directory[kTextField];
    char baseName[kTextField];
    char extension[kTextField];
    char path[kTextField];

    FileSpec();

    // Always true; an unknown id or a failed lookup leaves the parts empty.
    bool Resolve(int directoryId);
    // Replaces the four parts by those of a path; false (parts empty) when
    // the path is too long.
    bool Assign(const char* fullPath);

    // Composed into path and returned. A result that would not fit in 259
    // characters is given as an empty text rather than a cut one.
    const char* FullPath();
    const char* DirectoryPath();
    const char* FileName();

    const char* AppendSubdirectory(const char* name);
    bool SearchOnPath(const char* searchPath);
    bool Exists();

    void Clear();

private:
    const char* Compose(const char* d, const char* dir, const char* base, const char* ext);
    void AssignDirectory(const char* directoryPath);
};

// True when the path names an existing directory.
bool DirectoryExists(const char* path);

// Full path of "VUNZ__08.unm" beside the program.
extern char masterScriptBesideProgram[kTextField];
void SetMasterScriptBesideProgram();
