#include "WininitText.h"

#include "TextUtil.h"

namespace {

struct Line {
    std::size_t start;
    std::size_t end;   // before the line break
    std::size_t next;  // after the line break
};

Line LineAt(const std::string& text, std::size_t start)
{
    std::size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n')
        ++end;
    std::size_t next = end;
    if (next < text.size() && text[next] == '\r')
        ++next;
    if (next < text.size() && text[next] == '\n')
        ++next;
    return {start, end, next};
}

std::string Trimmed(const std::string& text, const Line& line)
{
    std::size_t first = line.start;
    std::size_t last = line.end;
    while (first < last && (text[first] == ' ' || text[first] == '\t'))
        ++first;
    while (last > first && (text[last - 1] == ' ' || text[last - 1] == '\t'))
        --last;
    return text.substr(first, last - first);
}

bool IsSectionHeader(const std::string& trimmed) { return !trimmed.empty() && trimmed[0] == '['; }

bool IsRenameHeader(const std::string& trimmed)
{
    const std::size_t close = trimmed.find(']');
    if (!IsSectionHeader(trimmed) || close == std::string::npos)
        return false;
    std::string name = trimmed.substr(1, close - 1);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
        name.pop_back();
    const std::size_t first = name.find_first_not_of(" \t");
    return first != std::string::npos && TextEquals(name.c_str() + first, "RENAME");
}

// Where a new line goes so that it follows the given line.
std::string InsertAfter(const std::string& text, const Line& line, const std::string& entry)
{
    std::string result = text.substr(0, line.next);
    if (line.next == line.end)  // the line ends the file without a line break
        result += "\r\n";
    return result + entry + text.substr(line.next);
}

}  // namespace

std::string WithWininitDeletion(const std::string& text, const char* path)
{
    const std::string entry = std::string("NUL=") + (path ? path : "") + "\r\n";
    bool inRename = false;
    Line lastOfSection = {0, 0, 0};
    for (std::size_t start = 0; start < text.size();) {
        const Line line = LineAt(text, start);
        const std::string trimmed = Trimmed(text, line);
        if (inRename && IsSectionHeader(trimmed))
            break;
        if (!inRename && IsRenameHeader(trimmed)) {
            inRename = true;
            lastOfSection = line;
        } else if (inRename && !trimmed.empty()) {
            lastOfSection = line;
        }
        start = line.next;
    }
    if (inRename)
        return InsertAfter(text, lastOfSection, entry);
    std::string result = text;
    if (!result.empty() && result.back() != '\n' && result.back() != '\r')
        result += "\r\n";
    return result + "[RENAME]\r\n" + entry;
}
