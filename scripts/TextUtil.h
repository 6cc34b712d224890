// Text helpers shared by the script reader, the database and the removers.
// Pure code: no Windows headers, so the parsers can be fuzzed natively.
#pragma once
#include <cstddef>
#include <string>

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
