#include "SystemDriverFiles.h"

#include "PathParts.h"
#include "TextUtil.h"
#include "UninstallDatabase.h"

namespace {

// The universal and PostScript core drivers, their helpers and the print
// system's own libraries, on Windows NT and on Windows 9x.
const char* const kSystemDriverFiles[] = {
    "unidrv.dll",   "unidrvui.dll", "unidrv.hlp",   "unires.dll",   "stdnames.gpd", "stdschem.gdl",
    "stdschmx.gdl", "ttfsub.gpd",   "pscript5.dll", "ps5ui.dll",    "pscript.hlp",  "pscript.ntf",
    "pscrptfe.ntf", "ps_schm.gdl",  "pscript.drv",  "pscript.ini",  "iconlib.dll",  "finstall.dll",
    "finstall.hlp", "rasdd.dll",    "rasddui.dll",  "rasddui.hlp",  "plotter.dll",  "plotui.dll",
    "mxdwdrv.dll",  "winprint.dll", "localspl.dll", "spoolss.dll",  "localmon.dll", "tcpmon.dll",
    "usbmon.dll",   "win32spl.dll", "spool32.exe",  "mscms.dll",    "icm32.dll",    "sgiu.dll",
};

}  // namespace

bool IsCommonSystemDriverFile(const char* fileName)
{
    for (const char* name : kSystemDriverFiles) {
        if (TextEquals(fileName, name))
            return true;
    }
    return false;
}

void WarnAboutSystemDriverFiles(const UninstallDatabase& database, ScriptProblemLog& problems)
{
    for (const UninstallProfile& profile : database.profiles) {
        for (const std::string& entry : profile.files) {
            const std::string item = entry.substr(0, entry.find('='));
            PathParts parts;
            if (!SplitPath(item.c_str(), parts))
                continue;
            const std::string name = std::string(parts.baseName) + parts.extension;
            if (!IsCommonSystemDriverFile(name.c_str()))
                continue;
            ReportProblem(&problems, PROBLEM_SYSTEM_DRIVER_FILE, profile.scriptPath,
                          std::string("[") + profile.prefix + ".Files] \"" + item +
                              "\": a file of Windows' own printer drivers; the uninstaller deletes it only "
                              "where no installed driver loads it, but other printers may need it later");
        }
    }
}
