#include "TextUtil.h"

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>

char FoldChar(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

int CompareText(const char* a, const char* b)
{
    const unsigned char* pa = reinterpret_cast<const unsigned char*>(a ? a : "");
    const unsigned char* pb = reinterpret_cast<const unsigned char*>(b ? b : "");
    for (;; ++pa, ++pb) {
        const unsigned char ca = static_cast<unsigned char>(FoldChar(static_cast<char>(*pa)));
        const unsigned char cb = static_cast<unsigned char>(FoldChar(static_cast<char>(*pb)));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
}

bool TextEquals(const char* a, const char* b) { return CompareText(a, b) == 0; }
bool TextLess(const char* a, const char* b) { return CompareText(a, b) < 0; }

bool TextStartsWith(const char* text, const char* prefix)
{
    if (!text || !prefix)
        return false;
    for (; *prefix; ++text, ++prefix) {
        if (FoldChar(*text) != FoldChar(*prefix))
            return false;
    }
    return true;
}

bool IsEmptyText(const char* text) { return !text || text[0] == '\0'; }

bool CopyText(char* dest, std::size_t destSize, const char* source)
{
    if (!dest || destSize == 0)
        return false;
    dest[0] = '\0';
    return AppendText(dest, destSize, source);
}

bool FormatText(char* dest, std::size_t destSize, const char* format, ...)
{
    if (!dest || destSize == 0)
        return false;
    dest[0] = '\0';
    if (!format)
        return true;
    std::va_list arguments;
    va_start(arguments, format);
#ifdef _WIN32
    // msvcrt's: -1 when cut, and then without a terminator.
    const int written = _vsnprintf(dest, destSize, format, arguments);
#else
    const int written = std::vsnprintf(dest, destSize, format, arguments);
#endif
    va_end(arguments);
    dest[destSize - 1] = '\0';
    return written >= 0 && static_cast<std::size_t>(written) < destSize;
}

bool AppendText(char* dest, std::size_t destSize, const char* source)
{
    if (!dest || destSize == 0)
        return false;
    std::size_t used = strnlen(dest, destSize);
    if (used == destSize) {  // unterminated: repair rather than run off
        dest[destSize - 1] = '\0';
        return false;
    }
    if (IsEmptyText(source))
        return true;
    const std::size_t length = std::strlen(source);
    const std::size_t room = destSize - 1 - used;
    const std::size_t n = length < room ? length : room;
    std::memcpy(dest + used, source, n);
    dest[used + n] = '\0';
    return n == length;
}

bool FitsField(const char* text, std::size_t fieldSize)
{
    return text && fieldSize > 0 && strnlen(text, fieldSize) < fieldSize;
}

char* NextToken(char* text, char delimiter)
{
    if (!text)
        return nullptr;
    if (delimiter == '\0') {
        if (*text == '\0')
            return nullptr;
        char* next = text + std::strlen(text) + 1;
        return *next ? next : nullptr;
    }
    char* hit = std::strchr(text, delimiter);
    if (!hit)
        return nullptr;
    *hit = '\0';
    return hit + 1;
}

char* NextTokenQuoted(char* text, char delimiter)
{
    if (!text)
        return nullptr;
    if (delimiter == '\0')
        return NextToken(text, delimiter);
    bool quoted = false;
    for (char* p = text; *p; ++p) {
        if (*p == '"')
            quoted = !quoted;
        else if (*p == delimiter && !quoted) {
            *p = '\0';
            return p + 1;
        }
    }
    return nullptr;
}

void TrimChar(char* text, char c)
{
    if (!text || c == '\0')
        return;
    char* start = text;
    while (*start == c)
        ++start;
    std::size_t length = std::strlen(start);
    while (length > 0 && start[length - 1] == c)
        --length;
    std::memmove(text, start, length);
    text[length] = '\0';
}

std::string TrimmedOf(const std::string& text, const char* set)
{
    const std::size_t first = text.find_first_not_of(set);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(set) - first + 1);
}

void RemoveChar(char* text, char c)
{
    if (!text || c == '\0')
        return;
    char* out = text;
    for (const char* in = text; *in; ++in) {
        if (*in != c)
            *out++ = *in;
    }
    *out = '\0';
}

bool EnsureTrailingBackslash(char* text, std::size_t size)
{
    if (!text || size == 0)
        return false;
    const std::size_t length = strnlen(text, size);
    if (length == 0 || (length < size && text[length - 1] == '\\'))
        return length < size;
    return AppendText(text, size, "\\");
}

long ParseDecimal(const char* text)
{
    if (!text)
        return 0;
    while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r' || *text == '\v' || *text == '\f')
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = (*text++ == '-');
    // Unsigned, and clamped before it could wrap: long has 64 bits natively.
    const unsigned long long limit = static_cast<unsigned long long>(LONG_MAX) + 1;
    unsigned long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        const unsigned digit = static_cast<unsigned>(*text - '0');
        value = value > (limit - digit) / 10 ? limit : value * 10 + digit;
    }
    if (negative)
        return value >= limit ? LONG_MIN : -static_cast<long>(value);
    return value > static_cast<unsigned long long>(LONG_MAX) ? LONG_MAX : static_cast<long>(value);
}

void ExpandLineFeeds(char* text)
{
    if (!text)
        return;
    char* out = text;
    for (const char* in = text; *in; ++in) {
        if (in[0] == '\\' && in[1] == 'n') {
            *out++ = '\n';
            ++in;
        } else {
            *out++ = *in;
        }
    }
    *out = '\0';
}

std::string ReplaceFirstPlaceholder(const char* text, const char* value)
{
    std::string result = text ? text : "";
    const std::size_t at = result.find("%s");
    if (at != std::string::npos)
        result.replace(at, 2, value ? value : "");
    return result;
}

namespace {

// FoldChar and TextEquals written out where every probe runs them.
inline unsigned char Folded(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

bool SameFolded(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        if (Folded(*a) != Folded(*b))
            return false;
        if (*a == '\0')
            return true;
    }
}

std::size_t FoldedHash(const char* text)
{
    std::size_t hash = 2166136261u;
    for (; *text; ++text)
        hash = (hash ^ Folded(*text)) * 16777619u;
    return hash;
}

}  // namespace

std::size_t TextPositions::Probe(const void* list, const char* text) const
{
    const std::size_t mask = slots.size() - 1;
    std::size_t at = FoldedHash(text) & mask;
    while (slots[at] != 0 && !SameFolded(textAt(list, slots[at] - 1), text))
        at = (at + 1) & mask;
    return at;
}

std::size_t TextPositions::Find(const void* list, const char* text) const
{
    if (slots.empty() || !text)
        return npos;
    const std::size_t at = Probe(list, text);
    return slots[at] != 0 ? slots[at] - 1 : npos;
}

void TextPositions::Grow(const void* list)
{
    std::vector<std::size_t> old;
    old.swap(slots);
    slots.assign(old.empty() ? 64 : old.size() * 2, 0);
    for (std::size_t entry : old) {
        if (entry != 0)
            slots[Probe(list, textAt(list, entry - 1))] = entry;
    }
}

std::size_t* TextPositions::Slot(const void* list, const char* text)
{
    // At most half full, so probes stay short and always end.
    if ((count + 1) * 2 > slots.size())
        Grow(list);
    return &slots[Probe(list, text)];
}

std::size_t TextPositions::Insert(const void* list, const char* text, std::size_t position)
{
    std::size_t* slot = Slot(list, text ? text : "");
    if (*slot != 0)
        return *slot - 1;
    *slot = position + 1;
    ++count;
    return position;
}

void TextPositions::Assign(const void* list, const char* text, std::size_t position)
{
    std::size_t* slot = Slot(list, text ? text : "");
    if (*slot == 0)
        ++count;
    *slot = position + 1;
}

std::vector<std::string> CommaFields(const std::string& line, std::size_t count)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (fields.size() < count) {
        const std::size_t comma = line.find(',', start);
        std::string field = line.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        field.erase(std::remove(field.begin(), field.end(), '"'), field.end());
        fields.push_back(field);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    fields.resize(count);
    return fields;
}
