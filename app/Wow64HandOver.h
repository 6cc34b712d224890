// On 64-bit Windows the 32-bit program hands the run to the native 64-bit
// program in the x64 folder beside it: under WOW64 it would see the 32-bit
// views of the system directory and the registry, and the 64-bit driver,
// its files and its keys would stay behind.
#pragma once
#include <string>

// True when this process is a 32-bit one on 64-bit Windows (IsWow64Process,
// bound at run time: older systems lack it).
bool RunningUnderWow64();

// "<this program's directory>x64\trelun08.exe"; empty when the path does
// not fit.
std::string Native64BitProgram();

// The 64-bit program's command line: its path quoted, then this run's
// arguments unchanged.
std::string HandOverCommandLine(const std::string& program, const char* arguments);

// Runs the 64-bit program with the same arguments, waits for it and gives
// its exit code. Without it nothing is removed: a message (or, unattended,
// the log) says so and the run ends with 1603 unattended, 1 otherwise.
int HandOverTo64BitProgram(const char* arguments);
