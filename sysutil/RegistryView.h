// Which view of the registry the registry helpers work in. On 64-bit
// Windows HKLM\SOFTWARE has a 64-bit and a 32-bit view, and a package that
// installed for both architectures left keys in each; the 64-bit program
// removes its lines in both. Elsewhere there is one view, the process's own.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// 0 (the process's own), KEY_WOW64_64KEY or KEY_WOW64_32KEY.
REGSAM CurrentRegistryView();

// Makes the helpers work in a view for its lifetime.
class RegistryViewScope {
public:
    explicit RegistryViewScope(REGSAM view);
    ~RegistryViewScope();
    RegistryViewScope(const RegistryViewScope&) = delete;
    RegistryViewScope& operator=(const RegistryViewScope&) = delete;

private:
    REGSAM previous;
};

// HKLM\SOFTWARE and below: a 64-bit and a 32-bit view on 64-bit Windows.
bool LivesInBothViews(HKEY root, const std::string& subkey);

// The views root\subkey lives in: both for HKLM\SOFTWARE in the 64-bit
// program; otherwise only the process's own (0).
std::vector<REGSAM> ViewsOf(HKEY root, const std::string& subkey);

// How a report names the current view: "" for the process's own, else
// " (64-bit view)" or " (32-bit view)".
const char* RegistryViewSuffix();

// RegOpenKeyA (all the access the caller may have) in the current view.
LONG OpenKeyInView(HKEY root, const char* subkey, HKEY* key);
// RegOpenKeyExA with the current view's flag added to the access.
LONG OpenKeyExInView(HKEY root, const char* subkey, REGSAM access, HKEY* key);
// RegDeleteKeyA, or in a view RegDeleteKeyExA (bound at run time: only
// 64-bit Windows has it).
LONG DeleteKeyInView(HKEY root, const char* subkey);
