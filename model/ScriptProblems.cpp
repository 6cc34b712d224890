#include "ScriptProblems.h"

void ReportProblem(ScriptProblemLog* log, ScriptProblemKind kind, const std::string& scriptPath,
                   const std::string& message)
{
    if (!log)
        return;
    // Profiles that share a prefix read the same sections: tell it once.
    for (const ScriptProblem& known : *log) {
        if (known.kind == kind && known.scriptPath == scriptPath && known.message == message)
            return;
    }
    log->push_back(ScriptProblem{kind, scriptPath, message});
}
