// Text helpers shared by the script reader, the database and the removers.
// Pure code: no Windows headers, so the parsers can be fuzzed natively.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

// Fixed text fields hold 259 characters and a terminating NUL.
constexpr std::size_t kTextField = 260;

// Case folding of the letters A-Z only, bytes compared as unsigned values:
// the one order of every sorted list and lookup of the program.
int CompareText(const char* a, const char* b);
bool TextEquals(const char* a, const char* b);
bool TextLess(const char* a, const char* b);
bool TextStartsWith(const char* text, const char* prefix);
char FoldChar(char c);

bool IsEmptyText(const char* text);

// Bounded copies: the destination is always terminated. They return false
// when the source did not fit; the destination then holds the cut text.
bool CopyText(char* dest, std::size_t destSize, const char* source);
bool AppendText(char* dest, std::size_t destSize, const char* source);
template <std::size_t N> bool CopyText(char (&dest)[N], const char* source)
{
    return CopyText(dest, N, source);
}
template <std::size_t N> bool AppendText(char (&dest)[N], const char* source)
{
    return AppendText(dest, N, source);
}

// Bounded formatting with the system's own C library (integers and texts
// only): the destination is always terminated; false when the text was
// cut. The C++ library's snprintf would add its floating-point formatter
// to the program.
#ifdef _WIN32
#define TEXT_FORMAT_CHECK(f, a) __attribute__((format(ms_printf, f, a)))
#else
#define TEXT_FORMAT_CHECK(f, a) __attribute__((format(printf, f, a)))
#endif
bool FormatText(char* dest, std::size_t destSize, const char* format, ...) TEXT_FORMAT_CHECK(3, 4);

// True when the text (and its NUL) fits a field of the given size.
bool FitsField(const char* text, std::size_t fieldSize = kTextField);

// With a delimiter: cuts the text at its first delimiter and returns the rest,
// or nullptr when there is none. With delimiter 0: steps to the next item of
// a double-NUL list, or nullptr at its end (or for an empty item).
char* NextToken(char* text, char delimiter);
// As NextToken, but delimiters between double quotes do not count.
char* NextTokenQuoted(char* text, char delimiter);

// Removes every leading and trailing occurrence of the character, in place.
void TrimChar(char* text, char c);
// The text without the leading and trailing characters of the set.
std::string TrimmedOf(const std::string& text, const char* set);
// Splits at commas into at most count fields, double quotes removed from
// each; the last field ends at the next comma too.
std::vector<std::string> CommaFields(const std::string& line, std::size_t count);
// Removes every occurrence of the character, in place.
void RemoveChar(char* text, char c);

// Appends a backslash to a non-empty text without one; false if it did not fit.
bool EnsureTrailingBackslash(char* text, std::size_t size);
template <std::size_t N> bool EnsureTrailingBackslash(char (&text)[N])
{
    return EnsureTrailingBackslash(text, N);
}

// Turns every backslash-n pair into a line feed, in place.
void ExpandLineFeeds(char* text);

// The text with its first "%s" replaced by the value; nothing else in it is
// interpreted (texts from translators or INI files are not formats).
std::string ReplaceFirstPlaceholder(const char* text, const char* value);

// Signed decimal like the C runtime's atoi: leading blanks, a sign, digits.
// Overflow saturates instead of being undefined.
long ParseDecimal(const char* text);

// Positions in a list of texts, found by the text's spelling ignoring the
// case of A-Z through a hash table: lookups among thousands of names
// without sorting them. The list stays the caller's; each call names it,
// and textAt gives the text at a position of it.
class TextPositions {
public:
    typedef const char* (*TextAt)(const void* list, std::size_t position);
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    explicit TextPositions(TextAt textAt) : textAt(textAt), count(0) {}
    // The position recorded for an equal text, or npos.
    std::size_t Find(const void* list, const char* text) const;
    // Records position for the text unless an equal text is recorded;
    // returns the position recorded for it either way.
    std::size_t Insert(const void* list, const char* text, std::size_t position);
    // Records position for the text, replacing that of an equal text.
    void Assign(const void* list, const char* text, std::size_t position);

private:
    std::size_t* Slot(const void* list, const char* text);
    std::size_t Probe(const void* list, const char* text) const;
    void Grow(const void* list);

    TextAt textAt;
    std::size_t count;
    std::vector<std::size_t> slots;  // 1 + position; 0 for a free slot
};
