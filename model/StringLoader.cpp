#include "StringLoader.h"

#include <cstring>

#include "DirectoryPaths.h"
#include "PathParts.h"
#include "TextUtil.h"

StringLoader::StringLoader(HINSTANCE module) : next(0), buffers(), instance(module) {}

char* StringLoader::NextBuffer()
{
    next = (next + 1) % kBufferCount;
    buffers[next][0] = '\0';
    return buffers[next];
}

const char* StringLoader::GetText(UINT id)
{
    char* buffer = NextBuffer();
    if (LoadStringA(instance, id, buffer, kBufferSize) <= 0)
        buffer[0] = '\0';
    buffer[kBufferSize - 1] = '\0';
    return buffer;
}

const char* StringLoader::GetString(UINT id)
{
    char* text = const_cast<char*>(GetText(id));
    if (text[0] != '@')
        return text;
    char* parts[3] = {nullptr, nullptr, nullptr};
    int found = 0;
    // Double-byte characters are stepped over whole: a trail byte may equal "@".
    for (char* p = text; *p && found < 3;) {
        if (*p == '@') {
            *p = '\0';
            parts[found++] = ++p;
        } else {
            p = CharNextA(p);
        }
    }
    if (found < 3)
        return text;  // begins with NUL now: the empty text
    return GetIniString(parts[0], parts[1], parts[2]);
}

const char* StringLoader::GetIniString(const char* file, const char* section, const char* key)
{
    FileSpec program;
    program.Resolve(DIR_PROGRAM_FILE);
    PathParts name;
    CopyText(name.drive, program.drive);
    CopyText(name.directory, program.directory);
    CopyText(name.baseName, program.baseName);
    CopyText(name.extension, ".ini");
    if (!IsEmptyText(file)) {
        if (!SplitPath(file, name)) {
            return NextBuffer();
        }
    }
    char* buffer = NextBuffer();
    char path[kTextField];
    if (!ComposePath(path, kTextField, name.drive, name.directory, name.baseName, name.extension))
        return buffer;
    GetPrivateProfileStringA(section, key, "", buffer, kBufferSize, path);
    if (buffer[0] == '\0') {
        char fileName[kTextField];
        char found[MAX_PATH] = {};
        char* filePart = nullptr;
        if (ComposePath(fileName, kTextField, "", "", name.baseName, name.extension)) {
            const DWORD length = SearchPathA(nullptr, fileName, nullptr, MAX_PATH, found, &filePart);
            if (length > 0 && length < MAX_PATH)
                GetPrivateProfileStringA(section, key, "", buffer, kBufferSize, found);
        }
    }
    ExpandLineFeeds(buffer);
    return buffer;
}

bool StringLoader::SetWindowTextFromString(HWND window, UINT id)
{
    const char* text = GetString(id);
    if (IsEmptyText(text))
        return false;
    return SetWindowTextA(window, text) != FALSE;
}

bool StringLoader::SetDlgItemTextFromString(HWND dialog, int controlId, UINT id)
{
    return SetWindowTextFromString(GetDlgItem(dialog, controlId), id);
}
