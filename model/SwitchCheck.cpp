#include "SwitchCheck.h"

#include "TextUtil.h"

namespace {

enum class Values {
    kNone,     // a plain flag
    kOneOrMore,  // each value non-empty
    kPath,     // one path, possibly split at its commas, shorter than a field
};

struct KnownSwitch {
    const char* name;
    Values values;
};

const KnownSwitch kKnownSwitches[] = {
    {"SILENT", Values::kNone},   {"UNPELL", Values::kNone},    {"NOPICK", Values::kNone},
    {"MFG", Values::kOneOrMore}, {"PRN", Values::kOneOrMore}, {"LOG", Values::kPath},
    {"WHATIF", Values::kPath},
};

bool Blank(const std::string& value) { return TrimmedOf(value, "\" \t").empty(); }

// Why the values do not suit the switch, or nullptr.
const char* ValueProblem(Values kind, const std::vector<std::string>& values)
{
    switch (kind) {
    case Values::kNone:
        return values.empty() ? nullptr : "takes no value";
    case Values::kOneOrMore:
        if (values.empty())
            return "needs a value";
        for (const std::string& value : values) {
            if (Blank(value))
                return "has an empty value";
        }
        return nullptr;
    case Values::kPath: {
        std::string path;
        for (const std::string& piece : values)
            path += (path.empty() ? "" : ",") + piece;
        if (Blank(path))
            return "needs a path";
        return TrimmedOf(path, "\"").size() < kTextField ? nullptr : "path too long";
    }
    }
    return nullptr;
}

}  // namespace

std::string UnusableSwitch(const CommandLineSwitches& switches)
{
    for (const CommandLineSwitches::Switch& entry : switches.Switches()) {
        const KnownSwitch* known = nullptr;
        for (const KnownSwitch& candidate : kKnownSwitches) {
            if (TextEquals(entry.name.c_str(), candidate.name))
                known = &candidate;
        }
        if (!known)
            return "/" + entry.name + ": unknown switch";
        if (const char* problem = ValueProblem(known->values, entry.values))
            return "/" + entry.name + ": " + problem;
    }
    return std::string();
}
