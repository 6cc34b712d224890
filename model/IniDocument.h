// In-memory INI file, read-only in this program, and two raw-file helpers
// that edit one line of an INI file while leaving every other byte alone.
#pragma once
#include <string>
#include <vector>

#include "IniText.h"
#include "TextUtil.h"

class IniDocument {
public:
    IniDocument();
    virtual ~IniDocument();
    virtual bool Load(const char* path);
    // Larger files are not loaded.
    static const unsigned long kMaxFileSize = 16ul * 1024ul * 1024ul;
    static bool ExceedsSizeLimit(const char* path);

    bool Save(const char* path);

    const IniSection* FindSection(const char* name) const;
    const IniEntry* FindEntry(const IniSection* section, const char* key) const;
    int CountEntries(const char* sectionName) const;
    // Double-NUL lists of the first section of that name. Returns the total
    // length (items plus their NULs), negated when an item did not fit.
    int GetEntryKeys(const char* sectionName, char* buffer, int size) const;
    int GetEntryLines(const char* sectionName, char* buffer, int size) const;
    int GetInt(const char* sectionName, const char* key, int defaultValue) const;

    const char* GetPath() const { return path; }
    const std::vector<IniSection>& Sections() const { return sections; }
    // Lines of the loaded file that were dropped for an overlong name or value.
    const std::vector<IniRefusedLine>& RefusedLines() const { return refused; }

private:
    int FillList(const char* sectionName, char* buffer, int size, bool withValues) const;

    char path[kTextField];
    std::vector<IniSection> sections;
    // The first section of each name, so a lookup among thousands of
    // sections does not walk them all.
    TextPositions byName;
    std::vector<IniRefusedLine> refused;
    bool modified;
};

// Byte offset of text inside the section of the file (see
// FindTextInSectionBytes); 0 when absent or the file cannot be read.
unsigned long FindEntryInSection(const char* path, const char* sectionName, const char* text);

// Removes the line of the section whose key is text (not a commented-out
// line, not a line of another section) and rewrites the file in place.
// False, with the file unchanged, when there is no such line.
bool RemoveEntryLine(const char* path, const char* sectionName, const char* text);
