#include "UninstallProfileLog.h"

#include <string>

#include "EventLog.h"

void LogProfileSizes(const char* event, const UninstallProfile& profile)
{
    if (!EventLogEnabled())
        return;
    const struct {
        const char* name;
        const TextList& list;
    } lists[] = {
        {"drivers", profile.drivers},         {"monitors", profile.monitors},
        {"printProcessors", profile.printProcessors}, {"services", profile.services},
        {"hooks", profile.hooks},             {"unSelfRegister", profile.unSelfRegister},
        {"shortcuts", profile.shortcuts},     {"deleteIni", profile.deleteIni},
        {"deleteLoadRun", profile.deleteLoadRun}, {"files", profile.files},
        {"oemPaths", profile.oemPaths},       {"registryKeys", profile.registryKeys},
    };
    std::string text;
    for (const auto& entry : lists) {
        if (!text.empty())
            text += ' ';
        text += std::string(entry.name) + '=' + std::to_string(entry.list.size());
    }
    LogText(event, text.c_str());
}
