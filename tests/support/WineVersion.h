// Starts a program as Wine shows it a given Windows version
// (HKCU\Software\Wine\AppDefaults\<exe>\Version: win31, win95, win98, winme,
// nt351, nt40, win2k, winxp, win7, ...).
#pragma once
#include <string>

struct ChildResult {
    bool started = false;
    unsigned long exitCode = 0;
    std::string output;  // what the child wrote to its standard output
};

// Runs exePath with the command-line arguments under the emulated version
// and waits for it (at most timeoutMs). The AppDefaults value is removed
// afterwards.
ChildResult RunUnderWindowsVersion(const std::string& exePath, const std::string& arguments,
                                   const char* version, unsigned long timeoutMs = 60000);

// Sets or clears (version nullptr) the emulated version of a program by its file name.
bool SetEmulatedVersion(const std::string& exeFileName, const char* version);
