#include "LookOnly.h"

#include "RegistryView.h"
#include "SpoolerCalls.h"
#include "TextUtil.h"

namespace {

WhatIfRecord* g_record = nullptr;

std::string Folded(const std::string& text)
{
    std::string folded = text;
    for (char& c : folded)
        c = FoldChar(c);
    return folded;
}

const char* RootName(HKEY root)
{
    if (root == HKEY_LOCAL_MACHINE)
        return "HKLM";
    if (root == HKEY_CURRENT_USER)
        return "HKCU";
    if (root == HKEY_CLASSES_ROOT)
        return "HKCR";
    if (root == HKEY_USERS)
        return "HKU";
    return "HKEY";
}

}  // namespace

const char* LookResultText(LookResult result)
{
    switch (result) {
    case LookResult::kFound: return "found";
    case LookResult::kNotFound: return "not found";
    case LookResult::kAtNextRestart: return "at the next restart";
    case LookResult::kRefused: return "refused";
    }
    return "refused";
}

void WhatIfRecord::Note(const char* action, const std::string& target, LookResult result)
{
    // The removal tries some things once per environment or per list that
    // names them: the report says each outcome once.
    if (noted.insert(Folded(std::string(action) + "|" + LookResultText(result) + "|" + target)).second)
        actions.push_back(LookedAction{step, action, target, result});
}

void WhatIfRecord::Stays(const char* reason, const std::string& target)
{
    staying.push_back(StayingItem{step, reason, target});
}

void WhatIfRecord::MarkGone(const std::string& name) { gone.insert(Folded(name)); }

bool WhatIfRecord::IsGone(const std::string& name) const { return gone.count(Folded(name)) != 0; }

int WhatIfRecord::Count(LookResult result) const
{
    int count = 0;
    for (const LookedAction& action : actions)
        count += action.result == result ? 1 : 0;
    return count;
}

WhatIfRecord* LookOnlyRecord() { return g_record; }

LookOnlyScope::LookOnlyScope(WhatIfRecord& record) : previous(g_record) { g_record = &record; }

LookOnlyScope::~LookOnlyScope() { g_record = previous; }

std::string GoneFile(const std::string& path) { return "file:" + path; }

std::string GoneDirectory(const std::string& path) { return "dir:" + TrimmedOf(path, "\\"); }

std::string RegistryPath(HKEY root, const std::string& subkey)
{
    return std::string(RootName(root)) + "\\" + TrimmedOf(subkey, "\\") + RegistryViewSuffix();
}

std::string GoneKey(HKEY root, const std::string& subkey) { return "key:" + RegistryPath(root, subkey); }

std::string GoneValue(HKEY root, const std::string& subkey, const std::string& value)
{
    return "value:" + RegistryPath(root, subkey) + "," + value;
}

bool KeyGone(const WhatIfRecord& record, HKEY root, const std::string& subkey)
{
    std::string path = TrimmedOf(subkey, "\\");
    for (;;) {
        if (record.IsGone(GoneKey(root, path)))
            return true;
        const std::size_t slash = path.find_last_of('\\');
        if (slash == std::string::npos)
            return false;
        path = TrimmedOf(path.substr(0, slash), "\\");
    }
}

std::string GonePrinter(const std::string& name) { return "printer:" + name; }

std::string SpoolerTarget(const char* environment, const std::string& name)
{
    return std::string(environment ? environment : LocalSpoolerEnvironment()) + "\\" + name;
}

std::string GoneDriver(const char* environment, const std::string& name)
{
    return "driver:" + SpoolerTarget(environment, name);
}
