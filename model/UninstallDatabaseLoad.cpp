// Loading one uninstall script into the database: its profiles and its
// [CommandlineParam] and [UnScannerDriver] settings.
#include <windows.h>

#include <iterator>
#include <string>
#include <utility>

#include "IniDocument.h"
#include "RegistryLine.h"
#include "ScriptReader.h"
#include "UninstallDatabase.h"

namespace {

// Setting texts are read into more room than they may take, so that an
// overlong one is seen and refused rather than cut.
constexpr DWORD kSettingBuffer = 1024;

// The text of a key read with the profile function; false when it has more
// than 259 characters.
bool ReadSettingText(const char* scriptPath, const char* section, const char* key, std::string& text)
{
    char buffer[kSettingBuffer] = {};
    const DWORD length = GetPrivateProfileStringA(section, key, "", buffer, kSettingBuffer, scriptPath);
    text.assign(buffer, length < kSettingBuffer ? length : 0);
    return length < kTextField;
}

bool FullPathOf(const char* path, char (&full)[kTextField])
{
    full[0] = '\0';
    if (IsEmptyText(path))
        return false;
    char* filePart = nullptr;
    const DWORD length = GetFullPathNameA(path, kTextField, full, &filePart);
    if (length == 0 || length >= kTextField) {
        full[0] = '\0';
        return false;
    }
    return true;
}

void Reject(ScriptProblemLog* problems, const char* path, const char* reason)
{
    ReportProblem(problems, PROBLEM_SCRIPT_REJECTED, path ? path : "", std::string("rejected: ") + reason);
}

}  // namespace

int UninstallDatabase::LoadScript(const char* path)
{
    IniDocument script;
    if (!ReadScript(path, script))
        return 0;
    TakeScript(script);
    return 1;
}

int UninstallDatabase::RejectScript(const char* path, const char* reason)
{
    lastRejection = reason;
    Reject(problems, path, reason);
    return 0;
}

int UninstallDatabase::ReadScript(const char* path, IniDocument& script)
{
    lastRejection.clear();
    // The settings are read with the profile functions, which look for a
    // bare name in the Windows directory: always work from the full path.
    char fullPath[kTextField];
    if (!FullPathOf(path, fullPath))
        return RejectScript(path, "path too long or empty");
    if (!script.Load(fullPath)) {
        return RejectScript(fullPath, IniDocument::ExceedsSizeLimit(fullPath) ? "larger than 16 MB, the most a script may hold"
                                                                              : "failed to open file");
    }
    for (const IniRefusedLine& line : script.RefusedLines()) {
        ReportProblem(problems, PROBLEM_LINE_REFUSED, fullPath,
                      "line " + std::to_string(line.lineNumber) +
                          (line.isHeader ? ": section name over 259 characters; the section is ignored"
                                         : " of [" + line.section +
                                               "]: key or value over 259 characters; the line is ignored"));
    }
    bool hasStarter = false;
    for (const StarterSection& section : kStarterSections)
        hasStarter = hasStarter || script.CountEntries(section.name) > 0;
    if (!hasStarter)
        return RejectScript(fullPath, "no starter sections");
    return 1;
}

void UninstallDatabase::TakeScript(const IniDocument& script) { ReadProfiles(script, script.GetPath()); }

void UninstallDatabase::ReadProfiles(const IniDocument& script, const char* fullPath)
{
    std::vector<UninstallProfile> declared;
    for (const StarterSection& section : kStarterSections) {
        // Settings sit between drivers and catch-alls in the reading order;
        // nothing depends on that but the order of reports.
        if (section.kind == STARTER_CATCH_ALL) {
            if (script.CountEntries(kCommandlineParamSection) > 0)
                ReadCommandlineParam(script, fullPath);
            if (script.CountEntries(kScannerSection) > 0)
                ReadScannerSettings(script, fullPath);
        }
        for (const std::string& line : ReadSectionItems(script, section.name, section.wholeItem, problems)) {
            UninstallProfile profile;
            CopyText(profile.scriptPath, fullPath);
            profile.isManufacturer = section.kind == STARTER_MANUFACTURER;
            profile.isCatchAll = section.kind == STARTER_CATCH_ALL;
            profile.isIgnore = section.kind == STARTER_IGNORE;
            BuildProfile(profile, script, line.c_str(), problems);
            if (section.kind != STARTER_MANUFACTURER && profile.name[0] != '\0')
                profile.drivers.push_back(profile.name);
            declared.push_back(std::move(profile));
        }
    }
    if (problems)
        ReportScriptProblems(script, declared);
    profiles.insert(profiles.end(), std::make_move_iterator(declared.begin()),
                    std::make_move_iterator(declared.end()));
    SortProfilesByName(profiles, problems);
}

void UninstallDatabase::ReadCommandlineParam(const IniDocument& script, const char* fullPath)
{
    if (script.GetInt(kCommandlineParamSection, "NOPICK", 0) > 0)
        pick = 0;
    if (script.GetInt(kCommandlineParamSection, "RemoveOEMInf", 0) <= 0)
        return;
    std::string marker;
    const bool fits = ReadSettingText(fullPath, kCommandlineParamSection, "OEMInfMatchLineString", marker);
    // An empty marker begins every line, a cut one more lines than meant:
    // either would take INF files of other products along.
    if (!fits || marker.empty()) {
        ReportProblem(problems, PROBLEM_SETTING_REFUSED, fullPath,
                      std::string("RemoveOEMInf ignored: OEMInfMatchLineString is ") +
                          (fits ? "empty" : "over 259 characters"));
        return;
    }
    removeOemInf = 1;
    oemInfMatchLineNumber = script.GetInt(kCommandlineParamSection, "OEMInfMatchLineNumber", 0);
    CopyText(oemInfMatchLineString, marker.c_str());
}

void UninstallDatabase::ReadScannerSettings(const IniDocument& script, const char* fullPath)
{
    if (script.GetInt(kScannerSection, "UninstallScanner", 0) > 0)
        uninstallScanner = 1;
    if (!uninstallScanner)
        return;
    std::string guid;
    if (!ReadSettingText(fullPath, kScannerSection, "ProductGUID", guid)) {
        // A cut identifier would name another product's uninstaller.
        ReportProblem(problems, PROBLEM_SETTING_REFUSED, fullPath,
                      "ProductGUID over 259 characters: the scanner driver is not uninstalled");
        guid.clear();
    }
    CopyText(productGuid, guid.c_str());
    if (guid.empty())
        uninstallScanner = 0;
}

void UninstallDatabase::ReportScriptProblems(const IniDocument& script,
                                             const std::vector<UninstallProfile>& declared)
{
    const char* path = script.GetPath();
    for (const UninstallProfile& profile : declared) {
        for (const std::string& text : profile.registryKeys) {
            RegistryLine line;
            const RegistryLineStatus status = ParseRegistryLine(text.c_str(), line);
            if (status != REGLINE_OK) {
                ReportProblem(problems, PROBLEM_BAD_REGISTRY_LINE, path,
                              "[" + std::string(profile.prefix) + ".RegistryKeys] \"" + text +
                                  "\": " + RegistryLineProblem(status) + "; the line is skipped");
            }
        }
    }
    for (const IniSection& section : script.Sections()) {
        std::string prefix;
        if (!FindCategoryOfSection(section.name.c_str(), &prefix))
            continue;
        bool used = false;
        for (const UninstallProfile& profile : declared)
            used = used || TextEquals(profile.prefix, prefix.c_str());
        if (!used) {
            ReportProblem(problems, PROBLEM_UNUSED_SECTION, path,
                          "[" + section.name + "]: no profile of this script has the prefix \"" + prefix +
                              "\"");
        }
    }
}
