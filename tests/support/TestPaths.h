// Where the test binaries and the shipped binaries are.
#pragma once
#include <windows.h>

#include <string>

// Directory of the running test program, with a trailing backslash.
std::string BinDirectory();
// Full path of a file beside the running test program.
std::string BesideTests(const char* name);
// The Windows directory, with a trailing backslash.
std::string WindowsDirectory();
// Reads or writes a whole file; ReadWholeFile gives "" for a missing file.
std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& bytes);
// Whether a file or directory is at the path; whether a directory is.
bool PathExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Waits up to timeoutMs for something to appear at the path.
bool WaitForPath(const std::string& path, DWORD timeoutMs);
