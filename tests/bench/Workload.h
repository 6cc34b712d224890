// The data the benchmark works on: uninstall scripts, printer records, a
// spooler with many printers and directory trees full of files, all made
// up from fixed seeds so every run and every machine gets the same.
#pragma once
#include <string>
#include <vector>

#include "UninstallDatabase.h"

// Deterministic pseudo-random numbers (xorshift).
class BenchRandom {
public:
    explicit BenchRandom(unsigned seed);
    unsigned Next();
    // Uniform in [0, 1).
    double Unit();
    unsigned Below(unsigned limit) { return Next() % limit; }

private:
    unsigned state;
};

struct ScriptShape {
    int scripts = 50;
    int profilesPerScript = 200;
    int maxItems = 300;
    // Distinct items per category across all scripts: profiles share them,
    // as the scripts of one package do.
    int vocabulary = 3000;
};

struct ScriptSetStats {
    long long bytes = 0;
    long long items = 0;
    int profiles = 0;
    int longestList = 0;
};

// Writes scripts\sNN\VUNZ__08.unm below directory (with a trailing
// backslash) and returns their full paths. Every profile has its own
// prefix and all ten category sections, each with 1 to maxItems items, most
// of them short; the first profile of each script has a list of maxItems.
// Each script declares manufacturer, driver, catch-all and ignore profiles,
// the first script also the add-on.
std::vector<std::string> WriteScripts(const std::string& directory, const ScriptShape& shape, ScriptSetStats& stats);

// Names the scripts give their profiles, for printers that use them.
std::string DriverProfileName(int script, int profile);
std::string ManufacturerProfileName(int script, int profile);
const int kManufacturerProfiles = 20;   // per script, the first ones
const int kCatchAllAndIgnore = 4;       // per script, the last ones

// count printer records for the database: most use a driver profile, some
// only a manufacturer profile, some none; every other one stays, every
// twentieth is a Pelled printer linked to the one before it.
void AddPrinterRecords(PrinterList& printers, int count, const ScriptShape& shape);

// A spooler simulator state with count printers: local ones and a few
// connections, most of the package, some Pelled, some of another maker.
std::string SpoolerStateWithPrinters(int count);

// Directory trees for the file step: three system directories, five
// printer directories holding 20,000 files in 2,000 subdirectories (two
// levels), two OEM directories holding 5,000 files (three levels), and the
// 300 file names the removal profile lists, each put in a few of them. The
// small trees have a tenth of the files in 200 and 30 directories.
struct FileTrees {
    std::vector<std::string> systemDirectories;  // each with a trailing backslash
    std::vector<std::string> printerDirectories;
    std::vector<std::string> oemPaths;
    TextList listed;
    std::vector<std::string> matches;  // the listed files laid down, by path
    std::vector<std::string> others;   // every other file
    int directories = 0;
};
enum TreeSize { LARGE_TREES, SMALL_TREES };
bool BuildFileTrees(const std::string& root, TreeSize size, FileTrees& trees);
// Lays the listed files down again after a run deleted them.
bool RestoreMatches(const FileTrees& trees);
