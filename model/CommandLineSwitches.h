// The switches of a command line ("/MFG:a,b", "-UNPELL"), in command-line
// order, each a name and its values. Pure code apart from Parse, which reads
// the running process's command line.
#pragma once
#include <string>
#include <vector>

class CommandLineSwitches {
public:
    struct Switch {
        std::string name;
        std::vector<std::string> values;
    };

    // Reads GetCommandLineA(); 1 when at least one switch was found.
    int Parse();
    // Replaces the switches by those of the given text; same result.
    int ParseText(const char* commandLine);

    // -1 without a switch of that name, else the number of values of the
    // last one. Names compare ignoring case.
    int SwitchValueCount(const char* name) const;
    bool HasSwitch(const char* name) const { return SwitchValueCount(name) >= 0; }

    // The values of every switch of that name, in order, as a double-NUL
    // list. size: in, the buffer's capacity; out, the list's length with its
    // final NUL (0 without values). 1 when the list was copied (length below
    // the capacity) or there are no values; 0 for a length query, a list
    // that does not fit, or a missing name or size.
    int GetSwitchValues(const char* name, char* buffer, int* size) const;
    // The same values, uncut and without size limits.
    std::vector<std::string> SwitchValues(const char* name) const;
    // A path given as the value ("/LOG:C:\a,b.log"): the values joined again
    // at the commas that split them.
    std::string PathValue(const char* name) const;

    const std::vector<Switch>& Switches() const { return switches; }

private:
    std::vector<Switch> switches;
};
