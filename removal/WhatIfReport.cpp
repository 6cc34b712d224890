#include "WhatIfReport.h"

#include <windows.h>

#include "UniqueHandle.h"

namespace {

const char* const kStepNames[] = {
    "RemovalProfile", "Utility",   "Printers",     "Printers",       "Drivers", "Monitors",
    "PrintProcessors", "Services", "Spooler",      "OemPaths",       "Shortcuts", "Shortcuts",
    "IniEntries",      "Startup",  "Files",        "RegistryKeys",   "Spooler", "End",
};

bool SpoolerCycle(const std::string& action)
{
    return action == "StopSpooler" || action == "StartSpooler" || action == "CloseSpooler";
}

// One line whatever the value holds.
std::string Line(const std::string& key, const std::string& value)
{
    std::string line = key + "=" + value;
    for (char& c : line) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return line + "\r\n";
}

}  // namespace

const char* StepName(int step)
{
    const int count = static_cast<int>(sizeof(kStepNames) / sizeof(kStepNames[0]));
    return step >= 0 && step < count ? kStepNames[step] : "End";
}

bool AnythingToRemove(const WhatIfRecord& record)
{
    for (const LookedAction& action : record.Actions()) {
        const bool acts = action.result == LookResult::kFound || action.result == LookResult::kAtNextRestart;
        if (acts && !SpoolerCycle(action.action))
            return true;
    }
    return false;
}

std::string WhatIfReportText(const WhatIfRecord& record, const WhatIfSummary& summary)
{
    std::string text;
    text += "; What trelun08 would do on this PC. Nothing was changed.\r\n";
    text += "; [Actions] <n>=<step>|<action>|<result>|<target>\r\n";
    text += "; results: found, not found, at the next restart, refused\r\n";
    text += "; [Stays] <n>=<step>|<reason>|<target>\r\n";
    text += "[WhatIf]\r\n";
    text += Line("Computer", summary.computer);
    text += Line("Windows", summary.windows);
    text += Line("RegistryView", summary.registryView);
    text += Line("Printers", summary.printers);
    text += Line("Actions", std::to_string(record.Actions().size()));
    text += Line("Found", std::to_string(record.Count(LookResult::kFound)));
    text += Line("AtNextRestart", std::to_string(record.Count(LookResult::kAtNextRestart)));
    text += Line("NotFound", std::to_string(record.Count(LookResult::kNotFound)));
    text += Line("Refused", std::to_string(record.Count(LookResult::kRefused)));
    text += Line("Stays", std::to_string(record.Staying().size()));
    text += Line("RestartNeeded", summary.restartNeeded ? "yes" : "no");
    text += Line("ExitCode", std::to_string(summary.exitCode));
    text += "\r\n[Actions]\r\n";
    int number = 0;
    for (const LookedAction& action : record.Actions()) {
        text += Line(std::to_string(++number), std::string(StepName(action.step)) + "|" + action.action + "|" +
                                                   LookResultText(action.result) + "|" + action.target);
    }
    text += "\r\n[Stays]\r\n";
    number = 0;
    for (const StayingItem& item : record.Staying())
        text += Line(std::to_string(++number), std::string(StepName(item.step)) + "|" + item.reason + "|" + item.target);
    return text;
}

bool WriteWhatIfReport(const char* path, const std::string& text)
{
    FileHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return false;
    DWORD written = 0;
    return WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}
