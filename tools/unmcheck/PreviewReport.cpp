#include "PreviewReport.h"

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
