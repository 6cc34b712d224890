// A what-if run: every change the removal would make only looks at its
// target and is noted with what the look found. What the looks have made
// "gone" is remembered, so later steps see the system as the real removal
// would have left it (a directory empty once its files went, a driver no
// longer installed).
#pragma once
#include <windows.h>

#include <set>
#include <string>
#include <vector>

enum class LookResult {
    kFound,          // it is there and would go (or change) now
    kNotFound,       // nothing to do
    kAtNextRestart,  // in use or refused now: scheduled for the restart
    kRefused,        // Windows would refuse and nothing is scheduled
};

const char* LookResultText(LookResult result);

struct LookedAction {
    int step;
    std::string action;
    std::string target;
    LookResult result;
};

struct StayingItem {
    int step;
    std::string reason;
    std::string target;
};

class WhatIfRecord {
public:
    void SetStep(int value) { step = value; }
    int Step() const { return step; }

    void Note(const char* action, const std::string& target, LookResult result);
    void Stays(const char* reason, const std::string& target);

    // Names are compared without case.
    void MarkGone(const std::string& name);
    bool IsGone(const std::string& name) const;

    const std::vector<LookedAction>& Actions() const { return actions; }
    const std::vector<StayingItem>& Staying() const { return staying; }
    int Count(LookResult result) const;

private:
    int step = 0;
    std::vector<LookedAction> actions;
    std::vector<StayingItem> staying;
    std::set<std::string> gone;
    std::set<std::string> noted;
};

// The record of the what-if run under way; nullptr in a real removal.
WhatIfRecord* LookOnlyRecord();

// Turns the look-only mode on for its lifetime.
class LookOnlyScope {
public:
    explicit LookOnlyScope(WhatIfRecord& record);
    ~LookOnlyScope();
    LookOnlyScope(const LookOnlyScope&) = delete;
    LookOnlyScope& operator=(const LookOnlyScope&) = delete;

private:
    WhatIfRecord* previous;
};

// The names the gone set and the report use for what a look met.
std::string GoneFile(const std::string& path);
std::string GoneDirectory(const std::string& path);
// "HKLM\SOFTWARE\X" for a key below a predefined root.
std::string RegistryPath(HKEY root, const std::string& subkey);
std::string GoneKey(HKEY root, const std::string& subkey);
std::string GoneValue(HKEY root, const std::string& subkey, const std::string& value);
// The key or one of its parents has gone.
bool KeyGone(const WhatIfRecord& record, HKEY root, const std::string& subkey);
std::string GonePrinter(const std::string& name);
// environment nullptr: this system's own (LocalSpoolerEnvironment).
std::string SpoolerTarget(const char* environment, const std::string& name);
std::string GoneDriver(const char* environment, const std::string& name);
