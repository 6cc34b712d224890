#include "OemPath.h"

#include <vector>

#include "TextUtil.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::vector<std::string> Components(const std::string& path, std::size_t from)
{
    std::vector<std::string> parts;
    std::string current;
    for (std::size_t i = from; i < path.size(); ++i) {
        if (IsSeparator(path[i])) {
            if (!current.empty())
                parts.push_back(current);
            current.clear();
        } else {
            current += path[i];
        }
    }
    if (!current.empty())
        parts.push_back(current);
    return parts;
}

// Lower case A-Z, forward slashes as backslashes, one trailing backslash.
std::string Comparable(const std::string& path)
{
    std::string folded;
    for (char c : path)
        folded += IsSeparator(c) ? '\\' : FoldChar(c);
    if (folded.empty() || folded.back() != '\\')
        folded += '\\';
    return folded;
}

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool IsProtected(const std::string& directory, const ProtectedDirectories& protectedDirectories)
{
    const std::string path = Comparable(directory);
    for (const std::string& sealed : protectedDirectories.sealed) {
        const std::string other = Comparable(sealed);
        if (other.size() > 1 && (StartsWith(path, other) || StartsWith(other, path)))
            return true;
    }
    for (const std::string& root : protectedDirectories.roots) {
        if (Comparable(root) == path)
            return true;
    }
    return false;
}

}  // namespace

bool UsableOemDirectory(const std::string& value, const ProtectedDirectories& protectedDirectories,
                        std::string& directory)
{
    directory = value;
    while (!directory.empty() && (directory.back() == ' ' || directory.back() == '\t'))
        directory.pop_back();
    if (directory.empty())
        return false;
    if (!IsSeparator(directory.back()))
        directory += '\\';
    if (!FitsField(directory.c_str()))
        return false;

    std::vector<std::string> parts;
    const char letter = FoldChar(directory[0]);
    if (directory.size() >= 3 && letter >= 'a' && letter <= 'z' && directory[1] == ':' && IsSeparator(directory[2])) {
        parts = Components(directory, 3);
    } else if (directory.size() >= 2 && IsSeparator(directory[0]) && IsSeparator(directory[1])) {
        parts = Components(directory, 2);
        if (parts.size() < 2)
            return false;
        parts.erase(parts.begin(), parts.begin() + 2);  // server and share
    } else {
        return false;  // relative to the current directory or drive
    }
    for (const std::string& part : parts) {
        std::string trimmed = part;
        while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '.'))
            trimmed.pop_back();
        // "." and ".." (also written with trailing dots or blanks, which
        // Windows drops) climb instead of descending.
        if (trimmed.empty())
            return false;
    }
    // A maker's own folder may sit right below a drive root ("C:\\VANTO\\").
    return !parts.empty() && !IsProtected(directory, protectedDirectories);
}
