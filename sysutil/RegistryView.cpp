#include "RegistryView.h"

#include "SystemLibrary.h"
#include "TextUtil.h"

namespace {

REGSAM g_view = 0;

}  // namespace

REGSAM CurrentRegistryView() { return g_view; }

RegistryViewScope::RegistryViewScope(REGSAM view) : previous(g_view) { g_view = view; }

RegistryViewScope::~RegistryViewScope() { g_view = previous; }

bool LivesInBothViews(HKEY root, const std::string& subkey)
{
    const std::string key = TrimmedOf(subkey, "\\ ");
    return root == HKEY_LOCAL_MACHINE &&
           (TextEquals(key.c_str(), "SOFTWARE") || TextStartsWith(key.c_str(), "SOFTWARE\\"));
}

std::vector<REGSAM> ViewsOf(HKEY root, const std::string& subkey)
{
    if (sizeof(void*) == 8 && LivesInBothViews(root, subkey))
        return {KEY_WOW64_64KEY, KEY_WOW64_32KEY};
    return {0};
}

const char* RegistryViewSuffix()
{
    if (g_view == KEY_WOW64_64KEY)
        return " (64-bit view)";
    if (g_view == KEY_WOW64_32KEY)
        return " (32-bit view)";
    return "";
}

LONG OpenKeyInView(HKEY root, const char* subkey, HKEY* key)
{
    if (g_view == 0)
        return RegOpenKeyA(root, subkey, key);
    return RegOpenKeyExA(root, subkey, 0, MAXIMUM_ALLOWED | g_view, key);
}

LONG OpenKeyExInView(HKEY root, const char* subkey, REGSAM access, HKEY* key)
{
    return RegOpenKeyExA(root, subkey, 0, access | g_view, key);
}

LONG DeleteKeyInView(HKEY root, const char* subkey)
{
    if (g_view == 0)
        return RegDeleteKeyA(root, subkey);
    typedef LONG(WINAPI * RegDeleteKeyExFn)(HKEY, LPCSTR, REGSAM, DWORD);
    static RegDeleteKeyExFn deleteKeyEx = nullptr;
    if (!deleteKeyEx && !BindSystemFunction(deleteKeyEx, "advapi32.dll", "RegDeleteKeyExA"))
        return ERROR_CALL_NOT_IMPLEMENTED;
    return deleteKeyEx(root, subkey, g_view, 0);
}
