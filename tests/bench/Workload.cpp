#include "Workload.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "ScriptFormat.h"
#include "TestPaths.h"

namespace {

std::string Format(const char* format, int a, int b = 0, int c = 0)
{
    char text[300];
    std::snprintf(text, sizeof(text), format, a, b, c);
    return text;
}

// The n-th item of a category, written as package scripts write them.
std::string Item(int category, int n)
{
    switch (kCategorySections[category].list) {
    case LIST_DELETE_INI: return Format("vz%03d.ini,Bandeja%d,Clave%d", n / 100, n % 100, n % 7);
    case LIST_DELETE_LOAD_RUN: return Format("\"VZ Estado %d\",\"vz%04dst.exe\"", n, n);
    case LIST_UN_SELF_REGISTER: return Format("vz%04dui.dll,DllUnregisterServer", n);
    case LIST_PRINT_PROCESSORS: return Format("VZProc%04d", n);
    case LIST_MONITORS: return Format("VZ Port Monitor %04d", n);
    case LIST_SERVICES: return Format("VZSpl%04d", n);
    case LIST_HOOKS: return Format("vz%04dhk.dll,UnregisterHook", n);
    case LIST_FILES: return Format("vz%04d.dll", n);
    case LIST_SHORTCUTS: return Format("\"VZ Grupo %d\",\"Ayuda %04d\"", n % 40, n);
    case LIST_REGISTRY_KEYS: return Format("HKLM,SOFTWARE\\VANTO\\Modelo%04d,,1", n);
    default: return Format("vz%04d", n);
    }
}

std::string Prefix(int script, int profile) { return Format("S%02dP%03d", script, profile); }

std::string StarterLine(const std::string& name, const std::string& prefix, int number)
{
    return "\"" + name + "\"," + prefix + "," + std::to_string(number) + "\r\n";
}

}  // namespace

BenchRandom::BenchRandom(unsigned seed) : state(seed ? seed : 0x9E3779B9u) {}

unsigned BenchRandom::Next()
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

double BenchRandom::Unit() { return (Next() >> 8) / 16777216.0; }

std::string DriverProfileName(int script, int profile)
{
    return Format("VANTO S%02d Modelo %03d PCL", script, profile);
}

std::string ManufacturerProfileName(int script, int profile)
{
    return Format("VMF%02d%03d Serie", script, profile);
}

std::vector<std::string> WriteScripts(const std::string& directory, const ScriptShape& shape, ScriptSetStats& stats)
{
    std::vector<std::string> paths;
    BenchRandom random(20240611u);
    for (int s = 0; s < shape.scripts; ++s) {
        std::string mfgs = "[UnPrinterMfgs]\r\n";
        std::string drivers = "[UnPrinterDrivers]\r\n";
        std::string catchAll = "[Unz_CatchAll]\r\n";
        std::string ignore = "[Unx_Ignore]\r\n";
        std::string categories;
        for (int p = 0; p < shape.profilesPerScript; ++p) {
            const std::string prefix = Prefix(s, p);
            const int ignoreFrom = shape.profilesPerScript - kCatchAllAndIgnore / 2;
            const int catchAllFrom = shape.profilesPerScript - kCatchAllAndIgnore;
            if (p < kManufacturerProfiles)
                mfgs += StarterLine(ManufacturerProfileName(s, p), prefix, p);
            else if (p >= ignoreFrom)
                ignore += StarterLine(Format("VANTO S%02d Fuentes %03d", s, p), prefix, p);
            else if (p >= catchAllFrom)
                catchAll += StarterLine(Format("VANTO S%02d Comunes %03d", s, p), prefix, p);
            else if (s == 0 && p == kManufacturerProfiles)
                drivers += StarterLine(kAddOnProfileName, prefix, p);
            else
                drivers += StarterLine(DriverProfileName(s, p), prefix, p);
            ++stats.profiles;
            for (int c = 0; c < 10; ++c) {
                // Mostly short lists, now and then a long one.
                int length = 1 + static_cast<int>((shape.maxItems - 1) * std::pow(random.Unit(), 10));
                if (p == 0 && kCategorySections[c].list == LIST_FILES)
                    length = shape.maxItems;
                if (length > stats.longestList)
                    stats.longestList = length;
                const int first = static_cast<int>(random.Below(shape.vocabulary));
                categories += "[" + prefix + "." + kCategorySections[c].name + "]\r\n";
                for (int i = 0; i < length; ++i)
                    categories += Item(c, (first + i) % shape.vocabulary) + "\r\n";
                stats.items += length;
            }
        }
        const std::string text = "; made up by the benchmark\r\n" + mfgs + "\r\n" + drivers + "\r\n" + catchAll +
                                 "\r\n" + ignore + "\r\n" + categories;
        const std::string folder = directory + Format("scripts\\s%02d\\", s);
        CreateDirectoryA((directory + "scripts").c_str(), nullptr);
        CreateDirectoryA(folder.c_str(), nullptr);
        const std::string path = folder + kScriptFileName;
        if (!WriteWholeFile(path, text))
            return {};
        stats.bytes += static_cast<long long>(text.size());
        paths.push_back(path);
    }
    return paths;
}

void AddPrinterRecords(PrinterList& printers, int count, const ScriptShape& shape)
{
    const int driverProfiles = shape.profilesPerScript - kManufacturerProfiles - kCatchAllAndIgnore - 1;
    std::string previous;
    for (int i = 0; i < count; ++i) {
        const int script = i % shape.scripts;
        InstalledPrinter printer;
        printer.SetName(Format("Impresora %04d", i).c_str());
        if (i % 10 < 7)
            printer.SetDriverName(
                DriverProfileName(script, kManufacturerProfiles + 1 + (i * 7) % driverProfiles).c_str());
        else if (i % 10 < 9)
            printer.SetDriverName(
                (ManufacturerProfileName(script, i % kManufacturerProfiles).substr(0, 8) + Format(" Laser %d", i))
                    .c_str());
        else
            printer.SetDriverName(Format("VANTO Sin Perfil %d", i).c_str());
        printer.isHalvaprint = 1;
        printer.excluded = i % 2;
        if (i % 20 == 19)
            printer.SetPelledName(previous.c_str());
        previous = printer.name;
        printers.Append(printer);
    }
}

std::string SpoolerStateWithPrinters(int count)
{
    std::string state;
    for (int i = 0; i < count; ++i) {
        state += "[Printer]\n";
        if (i % 50 == 49)
            state += Format("Name=\\\\SRV%02d\\Cola%04d\n", i % 7, i) + Format("Server=\\\\SRV%02d\n", i % 7) +
                     Format("Share=Cola%04d\n", i);
        else
            state += Format("Name=Impresora %04d\nPort=LPT%d:\n", i, 1 + i % 3);
        state += Format("Driver=VANTO S%02d Modelo %03d PCL\n", i % 50, 21 + i % 170);
        if (i == 0)
            state += "Attributes=0x44\n";
        if (i % 20 == 19)
            state += Format("Data.PellPrinter=Impresora %04d\n", i - 1);
        else if (i % 25 != 24)
            state += "Data.VantoDriver08=1\n";
    }
    return state;
}

namespace {

bool MakeFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

bool MakeDirectory(const std::string& path, int& count)
{
    ++count;
    return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// Every directory of a tree below top, depth levels deep with fan
// subdirectories per level, top itself first.
std::vector<std::string> MakeTree(const std::string& top, const int* fan, int depth, int& count)
{
    std::vector<std::string> all = {top};
    MakeDirectory(top, count);
    std::size_t from = 0;
    for (int level = 0; level < depth; ++level) {
        const std::size_t to = all.size();
        for (std::size_t parent = from; parent < to; ++parent) {
            for (int i = 0; i < fan[level]; ++i) {
                const std::string child = all[parent] + Format("d%d_%d\\", level, i);
                if (!MakeDirectory(child, count))
                    return {};
                all.push_back(child);
            }
        }
        from = to;
    }
    return all;
}

}  // namespace

bool BuildFileTrees(const std::string& root, TreeSize size, FileTrees& trees)
{
    const bool large = size == LARGE_TREES;
    BenchRandom random(77u);
    int count = 0;
    MakeDirectory(root, count);
    count = 0;
    for (const char* name : {"sys\\", "win\\", "color\\"}) {
        trees.systemDirectories.push_back(root + name);
        MakeDirectory(root + name, count);
    }
    // 5 x (20 + 20 x 19) = 2,000 subdirectories, 10 files in each (small:
    // 5 x (4 + 4 x 9) = 200).
    std::vector<std::string> printerSubdirectories;
    MakeDirectory(root + "spool\\", count);
    for (const char* name : {"drv32\\", "drv40\\", "prc32\\", "prc40\\", "inf\\"}) {
        const int fan[] = {large ? 20 : 4, large ? 19 : 9};
        const std::vector<std::string> tree = MakeTree(root + "spool\\" + name, fan, 2, count);
        if (tree.empty())
            return false;
        trees.printerDirectories.push_back(tree[0]);
        printerSubdirectories.insert(printerSubdirectories.end(), tree.begin() + 1, tree.end());
    }
    // 2 x (1 + 5 + 25 + 50) directories, 5,000 files between them (small:
    // 2 x (1 + 2 + 4 + 8), 500 files).
    std::vector<std::string> oemDirectories;
    MakeDirectory(root + "oem\\", count);
    for (const char* name : {"VantoA\\", "VantoB\\"}) {
        const int fan[] = {large ? 5 : 2, large ? 5 : 2, 2};
        const std::vector<std::string> tree = MakeTree(root + "oem\\" + name, fan, 3, count);
        if (tree.empty())
            return false;
        trees.oemPaths.push_back(tree[0]);
        oemDirectories.insert(oemDirectories.end(), tree.begin(), tree.end());
    }
    trees.directories = count;

    for (int n = 0; n < 300; ++n) {
        const std::string name = Format("vzf%04d.dll", n);
        trees.listed.push_back(n % 10 == 0 ? name + "=x" : name);
        if (n % 3 == 0)
            trees.matches.push_back(trees.systemDirectories[n / 3 % 3] + name);
        for (int copy = 0; copy < 2; ++copy)
            trees.matches.push_back(printerSubdirectories[random.Below(
                                        static_cast<unsigned>(printerSubdirectories.size()))] +
                                    name);
        if (n % 2 == 0)
            trees.matches.push_back(oemDirectories[random.Below(static_cast<unsigned>(oemDirectories.size()))] +
                                    name);
    }
    std::sort(trees.matches.begin(), trees.matches.end());
    trees.matches.erase(std::unique(trees.matches.begin(), trees.matches.end()), trees.matches.end());
    std::size_t printerMatches = 0;
    std::size_t oemMatches = 0;
    for (const std::string& path : trees.matches) {
        printerMatches += path.compare(0, root.size() + 6, root + "spool\\") == 0;
        oemMatches += path.compare(0, root.size() + 4, root + "oem\\") == 0;
    }
    const std::size_t printerFiles = large ? 20000 : 2000;
    const std::size_t oemFiles = large ? 5000 : 500;
    for (std::size_t i = 0; i + printerMatches < printerFiles; ++i)
        trees.others.push_back(printerSubdirectories[i % printerSubdirectories.size()] + Format("otro%05d.dat", static_cast<int>(i)));
    for (std::size_t i = 0; i + oemMatches < oemFiles; ++i)
        trees.others.push_back(oemDirectories[i % oemDirectories.size()] + Format("otro%05d.dat", static_cast<int>(i)));
    for (const std::string& path : trees.others) {
        if (!MakeFile(path))
            return false;
    }
    return RestoreMatches(trees);
}

bool RestoreMatches(const FileTrees& trees)
{
    for (const std::string& path : trees.matches) {
        if (!MakeFile(path))
            return false;
    }
    return true;
}
