// What the script reader met that a package author should hear about. The
// program itself keeps quiet; the preview tool prints these.
#pragma once
#include <string>
#include <vector>

enum ScriptProblemKind {
    PROBLEM_SCRIPT_REJECTED,
    PROBLEM_LINE_REFUSED,       // a name or value over 259 characters in the file
    PROBLEM_ITEM_TOO_LONG,      // a starter or category item over 259 characters
    PROBLEM_SECTION_OVER_BUFFER,  // more than older uninstallers read of a section
    PROBLEM_BAD_REGISTRY_LINE,
    PROBLEM_PROFILE_DROPPED,
    PROBLEM_UNUSED_SECTION,
    PROBLEM_SETTING_REFUSED,
    PROBLEM_SYSTEM_DRIVER_FILE,  // a file name Windows' own printer drivers use
};

struct ScriptProblem {
    ScriptProblemKind kind;
    std::string scriptPath;
    std::string message;
};

typedef std::vector<ScriptProblem> ScriptProblemLog;

// Does nothing without a log; a problem already in the log is not repeated.
void ReportProblem(ScriptProblemLog* log, ScriptProblemKind kind, const std::string& scriptPath,
                   const std::string& message);
