// INI text parsing and formatting, free of Windows headers.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

struct IniEntry {
    std::string key;    // never with leading or trailing blanks
    std::string value;  // empty when the line had no "=" or nothing after it
};

struct IniSection {
    std::string name;
    std::vector<IniEntry> entries;
};

// A line the parser refused because a name, key or value was too long.
struct IniRefusedLine {
    std::size_t lineNumber;  // 1-based, counting line feeds
    std::string section;     // section it stood in; empty for a header line
    bool isHeader;           // the keys under a refused header are dropped too
};

// Parses INI bytes into sections in file order. Lines are cut at every run
// of CR/LF; a NUL byte ends the text. Names, keys and values longer than 259
// characters are refused: such an entry is dropped, and the key lines under
// an overlong section header are dropped with it. Refused lines are listed
// in refused when it is given.
std::vector<IniSection> ParseIniText(const char* data, std::size_t size,
                                     std::vector<IniRefusedLine>* refused = nullptr);

// The normalised text of a document: "[name]" CR LF, "key" or "key=value"
// CR LF per entry, one CR LF after each section. entryLines receives the
// number of entry lines written.
std::string FormatIniText(const std::vector<IniSection>& sections, std::size_t* entryLines);

// Offset of the first occurrence of text inside the section (prefix match,
// case-insensitive, not directly after ";"), searched from the header up to
// the next "["; 0 when absent. Offsets of a hit are always greater than 0.
std::size_t FindTextInSectionBytes(const char* data, std::size_t size, const char* section,
                                   const char* text);

// The line of the section whose key equals key (case-insensitive, not a
// comment): start offset and length including its line break. False when
// the section or the key is absent.
bool FindKeyLineInSectionBytes(const char* data, std::size_t size, const char* section,
                               const char* key, std::size_t* lineStart, std::size_t* lineLength);
