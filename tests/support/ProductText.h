// Texts of the program's string table (res/trelun08.rc) as the program shows
// them: from this test program when it links the program's resources, else
// from the built trelun08.exe.
#pragma once
#include <windows.h>

#include <string>

// A text the table lacks gives "(string N missing)", which no check accepts.
std::string ProductText(UINT id);
// The text with its "%s" filled in.
std::string ProductText(UINT id, const std::string& inserted);
