#include "CommandLineSwitches.h"

#include <cstring>

#include "TextUtil.h"

namespace {

// Splits at every separator that is not between double quotes; the quotes
// stay in the pieces.
std::vector<std::string> SplitOutsideQuotes(const std::string& text, char separator, bool skipEmpty)
{
    std::vector<std::string> pieces;
    std::string piece;
    bool quoted = false;
    for (char c : text) {
        if (c == '"')
            quoted = !quoted;
        if (c == separator && !quoted) {
            if (!(skipEmpty && piece.empty()))
                pieces.push_back(piece);
            piece.clear();
        } else {
            piece += c;
        }
    }
    if (!(skipEmpty && piece.empty()))
        pieces.push_back(piece);
    return pieces;
}

std::size_t FindOutsideQuotes(const std::string& text, char c)
{
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (text[i] == c && !quoted)
            return i;
    }
    return std::string::npos;
}

bool Fits(const std::string& text) { return text.size() < kTextField; }

}  // namespace

int CommandLineSwitches::ParseText(const char* commandLine)
{
    switches.clear();
    if (IsEmptyText(commandLine))
        return 0;
    for (const std::string& token : SplitOutsideQuotes(commandLine, ' ', true)) {
        if (token[0] != '/' && token[0] != '-')
            continue;
        const std::string body = token.substr(1);
        const std::size_t colon = FindOutsideQuotes(body, ':');
        Switch parsed;
        parsed.name = body.substr(0, colon);
        // A cut name or value would match more than was asked for: an
        // overlong switch is dropped, an overlong value skipped.
        if (!Fits(parsed.name))
            continue;
        if (colon != std::string::npos) {
            for (const std::string& value : SplitOutsideQuotes(body.substr(colon + 1), ',', false)) {
                if (Fits(value))
                    parsed.values.push_back(value);
            }
        }
        switches.push_back(parsed);
    }
    return switches.empty() ? 0 : 1;
}

int CommandLineSwitches::SwitchValueCount(const char* name) const
{
    int count = -1;
    for (const Switch& entry : switches) {
        if (TextEquals(entry.name.c_str(), name))
            count = static_cast<int>(entry.values.size());
    }
    return count;
}

std::vector<std::string> CommandLineSwitches::SwitchValues(const char* name) const
{
    std::vector<std::string> values;
    if (IsEmptyText(name))
        return values;
    for (const Switch& entry : switches) {
        if (TextEquals(entry.name.c_str(), name))
            values.insert(values.end(), entry.values.begin(), entry.values.end());
    }
    return values;
}

int CommandLineSwitches::GetSwitchValues(const char* name, char* buffer, int* size) const
{
    if (IsEmptyText(name) || !size)
        return 0;
    const std::vector<std::string> values = SwitchValues(name);
    if (values.empty()) {
        *size = 0;
        return buffer ? 1 : 0;
    }
    std::size_t length = 1;
    for (const std::string& value : values)
        length += value.size() + 1;
    const int capacity = *size;
    *size = length > 0x7fffffff ? 0x7fffffff : static_cast<int>(length);
    if (!buffer || capacity <= 0 || length >= static_cast<std::size_t>(capacity))
        return 0;
    char* out = buffer;
    for (const std::string& value : values) {
        std::memcpy(out, value.c_str(), value.size() + 1);
        out += value.size() + 1;
    }
    *out = '\0';
    return 1;
}

std::string CommandLineSwitches::PathValue(const char* name) const
{
    std::string path;
    for (const std::string& piece : SwitchValues(name))
        path += (path.empty() ? "" : ",") + piece;
    return path;
}
