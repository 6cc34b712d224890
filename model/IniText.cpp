#include "IniText.h"

#include <cstring>

#include "TextUtil.h"

namespace {

constexpr std::size_t kMaxName = kTextField - 1;

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

void TrimSpaces(const char*& begin, const char*& end)
{
    while (begin < end && *begin == ' ')
        ++begin;
    while (end > begin && end[-1] == ' ')
        --end;
}

void Refuse(std::vector<IniRefusedLine>* refused, std::size_t lineNumber, const std::string& section,
            bool isHeader)
{
    if (refused)
        refused->push_back(IniRefusedLine{lineNumber, section, isHeader});
}

// Applies one line to the document. currentOpen tells whether key lines may
// attach to the last section (false before the first header and after a
// refused one).
void ParseLine(const char* begin, const char* end, std::vector<IniSection>& sections,
               bool& currentOpen, std::size_t lineNumber, std::vector<IniRefusedLine>* refused)
{
    if (begin == end || *begin == ' ' || *begin == ';')
        return;
    if (*begin == '[') {
        const char* close = static_cast<const char*>(std::memchr(begin + 1, ']', end - begin - 1));
        if (!close)
            return;  // no "]": later keys stay with the section before
        const std::size_t length = static_cast<std::size_t>(close - begin - 1);
        if (length > kMaxName) {
            currentOpen = false;
            Refuse(refused, lineNumber, std::string(), true);
            return;
        }
        sections.push_back(IniSection{std::string(begin + 1, length), {}});
        currentOpen = true;
        return;
    }
    if (!currentOpen || sections.empty())
        return;
    const char* comment = static_cast<const char*>(std::memchr(begin, ';', end - begin));
    if (comment)
        end = comment;
    const char* equals = static_cast<const char*>(std::memchr(begin, '=', end - begin));
    const char* keyBegin = begin;
    const char* keyEnd = equals ? equals : end;
    const char* valueBegin = equals ? equals + 1 : end;
    const char* valueEnd = end;
    TrimSpaces(keyBegin, keyEnd);
    TrimSpaces(valueBegin, valueEnd);
    if (static_cast<std::size_t>(keyEnd - keyBegin) > kMaxName ||
        static_cast<std::size_t>(valueEnd - valueBegin) > kMaxName) {
        Refuse(refused, lineNumber, sections.back().name, false);
        return;
    }
    sections.back().entries.push_back(
        IniEntry{std::string(keyBegin, keyEnd), std::string(valueBegin, valueEnd)});
}

bool MatchesAt(const char* data, std::size_t size, std::size_t at, const char* text, std::size_t length)
{
    if (length == 0 || at > size || size - at < length)
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (FoldChar(data[at + i]) != FoldChar(text[i]))
            return false;
    }
    return true;
}

// Offset just after the header "[section]", or size when there is none.
std::size_t FindHeaderEnd(const char* data, std::size_t size, const char* section)
{
    const std::string header = std::string("[") + section + "]";
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '[' && MatchesAt(data, size, i, header.c_str(), header.size()))
            return i + header.size();
    }
    return size;
}

}  // namespace

std::vector<IniSection> ParseIniText(const char* data, std::size_t size,
                                     std::vector<IniRefusedLine>* refused)
{
    std::vector<IniSection> sections;
    if (!data)
        return sections;
    const char* nul = static_cast<const char*>(std::memchr(data, '\0', size));
    // A NUL ends the text, taking the line it stands in with it.
    const char* limit = data + size;
    if (nul) {
        limit = nul;
        while (limit > data && !IsLineBreak(limit[-1]))
            --limit;
    }
    bool currentOpen = false;
    std::size_t lineNumber = 1;
    const char* p = data;
    while (p < limit) {
        for (; p < limit && IsLineBreak(*p); ++p) {
            if (*p == '\n')
                ++lineNumber;
        }
        const char* lineEnd = p;
        while (lineEnd < limit && !IsLineBreak(*lineEnd))
            ++lineEnd;
        if (lineEnd > p)
            ParseLine(p, lineEnd, sections, currentOpen, lineNumber, refused);
        p = lineEnd;
    }
    return sections;
}

std::string FormatIniText(const std::vector<IniSection>& sections, std::size_t* entryLines)
{
    std::string out;
    std::size_t lines = 0;
    for (const IniSection& section : sections) {
        out += "[" + section.name + "]\r\n";
        for (const IniEntry& entry : section.entries) {
            out += entry.key;
            if (!entry.value.empty())
                out += "=" + entry.value;
            out += "\r\n";
            ++lines;
        }
        out += "\r\n";
    }
    if (entryLines)
        *entryLines = lines;
    return out;
}

std::size_t FindTextInSectionBytes(const char* data, std::size_t size, const char* section,
                                   const char* text)
{
    if (!data || IsEmptyText(section) || IsEmptyText(text))
        return 0;
    const std::size_t length = std::strlen(text);
    std::size_t i = FindHeaderEnd(data, size, section);
    // The walk starts just after the header's "[" in the original reading;
    // nothing inside the header can match a key, so its end is equivalent.
    for (; i < size && data[i] != '['; ++i) {
        if (MatchesAt(data, size, i, text, length) && data[i - 1] != ';')
            return i;
    }
    return 0;
}

bool FindKeyLineInSectionBytes(const char* data, std::size_t size, const char* section,
                               const char* key, std::size_t* lineStart, std::size_t* lineLength)
{
    if (!data || IsEmptyText(section) || IsEmptyText(key))
        return false;
    std::size_t i = FindHeaderEnd(data, size, section);
    if (i >= size)
        return false;
    while (i < size && !IsLineBreak(data[i]))  // rest of the header line
        ++i;
    const std::size_t keyLength = std::strlen(key);
    while (i < size) {
        const std::size_t start = i;
        std::size_t end = start;
        while (end < size && data[end] != '\n')
            ++end;
        const std::size_t next = end < size ? end + 1 : size;
        std::size_t p = start;
        while (p < end && (data[p] == '\r' || data[p] == ' ' || data[p] == '\t'))
            ++p;
        if (p < end && data[p] == '[')
            return false;  // the next section begins
        if (p < end && data[p] != ';' && MatchesAt(data, size, p, key, keyLength)) {
            std::size_t q = p + keyLength;
            while (q < end && (data[q] == ' ' || data[q] == '\t'))
                ++q;
            if (q == end || data[q] == '=' || data[q] == '\r' || data[q] == ';') {
                if (lineStart)
                    *lineStart = start;
                if (lineLength)
                    *lineLength = next - start;
                return true;
            }
        }
        i = next;
    }
    return false;
}
