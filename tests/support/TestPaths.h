// Where the test binaries and the shipped binaries are.
#pragma once
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
