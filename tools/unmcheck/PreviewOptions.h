// The command line of unmcheck.
#pragma once
#include <string>
#include <vector>

struct PreviewOptions {
    std::string platform = "nt";   // nt, 9x or win32s
    std::string printersFile;      // empty: no printer installed
    std::vector<std::string> chosen;  // printers chosen for removal
    bool chooseAll = false;
    std::string switches;          // as on the uninstaller's command line
    std::vector<std::string> scripts;
    bool help = false;
};

// False with a reason for an unknown option, a missing value, an unknown
// platform, or no script at all (unless help was asked for).
bool ParsePreviewOptions(int argc, char** argv, PreviewOptions& options, std::string& error);

extern const char kPreviewUsage[];
