// unmcheck: loads uninstall scripts as the uninstaller does and prints what
// it would remove for a given set of printers. It reads the files it is
// given and nothing else; it changes nothing.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "CommandLineSwitches.h"
#include "OSInfo.h"
#include "PreviewOptions.h"
#include "PreviewReport.h"
#include "PrinterFile.h"
#include "SwitchFilter.h"
#include "SystemDriverFiles.h"
#include "TextUtil.h"
#include "UninstallDatabase.h"

namespace {

const int kExitClean = 0;
const int kExitWarnings = 1;
const int kExitBadArguments = 2;

COSInfo SystemOf(const std::string& platform)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    if (platform == "9x") {
        version.dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
        version.dwMajorVersion = 4;
        version.dwMinorVersion = 10;
    } else if (platform == "win32s") {
        version.dwPlatformId = VER_PLATFORM_WIN32s;
        version.dwMajorVersion = 3;
        version.dwMinorVersion = 10;
    } else {
        version.dwPlatformId = VER_PLATFORM_WIN32_NT;
        version.dwMajorVersion = 5;
        version.dwMinorVersion = platform == "x64" ? 2 : 1;
    }
    return COSInfo(&version);
}

int BadArguments(const std::string& error)
{
    std::fprintf(stderr, "unmcheck: %s\n%s", error.c_str(), kPreviewUsage);
    return kExitBadArguments;
}

std::vector<ScriptName> ScriptNames(const std::vector<std::string>& given)
{
    std::vector<ScriptName> names;
    for (const std::string& path : given) {
        char full[kTextField] = {};
        char* filePart = nullptr;
        const DWORD length = GetFullPathNameA(path.c_str(), kTextField, full, &filePart);
        names.push_back(ScriptName{length > 0 && length < kTextField ? full : path, path});
    }
    return names;
}

bool IsChosen(const InstalledPrinter& printer, const PreviewOptions& options)
{
    if (options.chooseAll)
        return true;
    for (const std::string& name : options.chosen) {
        if (TextEquals(name.c_str(), printer.name))
            return true;
    }
    return false;
}

// The printers as the enumeration and the selection page leave them: the
// switches hide some, the user's choice decides for the others.
bool SelectPrinters(std::vector<InstalledPrinter>& printers, const CommandLineSwitches& switches,
                    const PreviewOptions& options, std::string& error)
{
    for (InstalledPrinter& printer : printers)
        ApplySwitchFilter(printer, switches);
    for (const std::string& name : options.chosen) {
        bool listed = false;
        for (const InstalledPrinter& printer : printers)
            listed = listed || (TextEquals(name.c_str(), printer.name) && printer.IsListed());
        if (!listed) {
            error = "printer \"" + name + "\" is not among the listed printers";
            return false;
        }
    }
    for (InstalledPrinter& printer : printers) {
        if (printer.IsListed())
            printer.excluded = IsChosen(printer, options) ? 0 : 1;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    PreviewOptions options;
    std::string error;
    if (!ParsePreviewOptions(argc, argv, options, error))
        return BadArguments(error);
    if (options.help) {
        std::fputs(kPreviewUsage, stdout);
        return kExitClean;
    }

    std::vector<InstalledPrinter> printers;
    if (!options.printersFile.empty() &&
        !ReadPrinterFile(options.printersFile, options.platform == "win32s", printers, error))
        return BadArguments(error);
    CommandLineSwitches switches;
    switches.ParseText(options.switches.c_str());
    if (!SelectPrinters(printers, switches, options, error))
        return BadArguments(error);

    UninstallDatabase database(SystemOf(options.platform));
    ScriptProblemLog problems;
    database.SetProblemLog(&problems);
    // As the uninstaller takes them: full paths, sorted, each once.
    const std::vector<ScriptName> names = ScriptNames(options.scripts);
    TextList paths;
    for (const ScriptName& name : names)
        paths.push_back(name.fullPath);
    SortTextList(paths);
    UniqueTextList(paths);
    for (const std::string& path : paths)
        database.LoadScript(path.c_str());
    WarnAboutSystemDriverFiles(database, problems);
    database.BuildFullProfile(database.fullProfile, switches);
    for (const InstalledPrinter& printer : printers)
        database.printers.Append(printer);
    database.BuildRemovalProfile();

    std::string report = FormatPreviewReport(problems, database, names);
    if (options.platform == "x64")
        report += FormatX64Sections(database);
    std::fwrite(report.data(), 1, report.size(), stdout);
    return problems.empty() ? kExitClean : kExitWarnings;
}
