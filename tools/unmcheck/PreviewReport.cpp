#include "PreviewReport.h"

#include "RegistryLine.h"
#include "RegistryView.h"

namespace {

void ReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    if (from.empty())
        return;
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::string AsGiven(std::string text, const std::vector<ScriptName>& names)
{
    for (const ScriptName& name : names)
        ReplaceAll(text, name.fullPath, name.given);
    return text;
}

}  // namespace

std::string FormatPreviewReport(const ScriptProblemLog& problems, const UninstallDatabase& database,
                                const std::vector<ScriptName>& names)
{
    std::string out = "[problems]\n";
    for (const ScriptProblem& problem : problems)
        out += AsGiven(problem.scriptPath + ": " + problem.message, names) + "\n";
    for (int list = 0; list < PROFILE_LIST_COUNT; ++list) {
        out += std::string("\n[removalProfile.") + ProfileListName(list) + "]\n";
        for (const std::string& item : database.removalProfile.List(list))
            out += item + "\n";
    }
    out += "\n[counts]\n";
    out += "removedPrinterCount=" + std::to_string(database.removedPrinterCount) + "\n";
    out += "keptPrinterCount=" + std::to_string(database.keptPrinterCount) + "\n";
    return out;
}

std::string FormatX64Sections(const UninstallDatabase& database)
{
    std::string out = "\n[x64.environments]\nWindows x64\nWindows NT x86\nWindows 4.0\n";
    out += "\n[x64.fileDirectories]\n";
    // As the 64-bit program's directory lists name them.
    for (const char* directory :
         {"%SystemRoot%\\System32", "%SystemRoot%\\SysWOW64", "%SystemRoot%", "%SystemRoot%\\System32\\spool\\drivers\\color",
          "%SystemRoot%\\System32\\spool\\drivers\\x64 (2 levels)", "%SystemRoot%\\System32\\spool\\drivers\\w32x86 (2 levels)",
          "%SystemRoot%\\System32\\spool\\drivers\\win40 (2 levels)", "%SystemRoot%\\System32\\spool\\prtprocs\\x64 (2 levels)",
          "%SystemRoot%\\System32\\spool\\prtprocs\\w32x86 (2 levels)", "%SystemRoot%\\INF (2 levels)",
          "the maker's OEM paths (3 levels)"})
        out += std::string(directory) + "\n";
    out += "\n[x64.registryKeys]\n";
    for (const std::string& text : database.removalProfile.registryKeys) {
        RegistryLine line;
        const bool parsed = ParseRegistryLine(text.c_str(), line) == REGLINE_OK;
        if (parsed && line.root == ROOT_HKLM && LivesInBothViews(HKEY_LOCAL_MACHINE, line.key))
            out += text + " (64-bit view)\n" + text + " (32-bit view)\n";
        else
            out += text + "\n";
    }
    return out;
}
