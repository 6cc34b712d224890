// A name claimed by an uninstall script and what to remove for it, one
// sorted, duplicate-free list per category.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "TextUtil.h"

#ifdef _WIN32
#include <windows.h>
#endif

typedef std::vector<std::string> TextList;

// The twelve lists, in the one order in which they are always processed.
enum ProfileListId {
    LIST_DELETE_INI,
    LIST_DELETE_LOAD_RUN,
    LIST_UN_SELF_REGISTER,
    LIST_PRINT_PROCESSORS,
    LIST_MONITORS,
    LIST_SERVICES,
    LIST_HOOKS,
    LIST_SHORTCUTS,
    LIST_OEM_PATHS,
    LIST_REGISTRY_KEYS,
    LIST_FILES,
    LIST_DRIVERS,
    PROFILE_LIST_COUNT
};

// "deleteIni", "deleteLoadRun", ...: the field names of the lists.
const char* ProfileListName(int list);

// What an item of a list acts on, in lower case: "a.dll" and "A.DLL=x" name
// the same file, "c:\x\win.ini,S,K" and "win.ini,S,K" the same INI key, and
// registry lines the same key or value whatever their quotes and code. A
// shortcut for the start-up folders also acts on its item there, whatever
// its group.
std::vector<std::string> ItemTargets(int list, const std::string& item);

// Sorted by TextLess (stable), then each item equal to the one before it
// removed.
void SortTextList(TextList& list);
void UniqueTextList(TextList& list);
// What merging the others into list one after another gives: sorted, each
// item once, and of equal items the one met first (list's own before the
// others', an earlier other's before a later one's).
void MergeTextLists(TextList& list, const std::vector<const TextList*>& others);

struct UninstallProfile {
    char name[kTextField];
    int isManufacturer;
    int isCatchAll;
    int isIgnore;
    int number;
    char prefix[kTextField];
    char scriptPath[kTextField];
    TextList deleteIni;
    TextList deleteLoadRun;
    TextList unSelfRegister;
    TextList printProcessors;
    TextList monitors;
    TextList services;
    TextList hooks;
    TextList files;
    TextList drivers;
    TextList shortcuts;
    TextList oemPaths;
    TextList registryKeys;

    UninstallProfile();

    TextList& List(int list);
    const TextList& List(int list) const;
    bool IsEmpty() const;

    void Clear();
    void Assign(const UninstallProfile& other);
    // Union list by list; texts and flags of this profile stay.
    void Merge(const UninstallProfile& other);
    // The same as Merge with each of the others in turn, in one pass over
    // their items rather than one pass over the growing union per profile.
    void MergeAll(const std::vector<const UninstallProfile*>& others);
    // Takes out every item the other profile names in the same list.
    void Subtract(const UninstallProfile& other);
    // Takes out every item that acts on something an item of the other's
    // same list acts on, however differently the two are written.
    void SubtractSameTargets(const UninstallProfile& other);
    void SortAll();
    void UniqueAll();

    // Appends the registry line root,"keyPath","valueName",flag. False for an
    // unknown root, an empty key path or a line of more than 259 characters.
    bool AddRegistryLine(const char* rootName, const char* keyPath, const char* valueName, bool flag);
#ifdef _WIN32
    // As above for HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT, HKEY_CURRENT_USER
    // or HKEY_USERS; any other root is refused.
    bool AddRegistryEntry(HKEY root, const char* keyPath, const char* valueName, int flag);
#endif
};

// MergeAll a source at a time, for a merge too large for one timer tick.
// The target and the sources must stay unchanged until Finish.
class ProfileMerge {
public:
    explicit ProfileMerge(UninstallProfile& target);
    ~ProfileMerge();
    ProfileMerge(const ProfileMerge&) = delete;
    ProfileMerge& operator=(const ProfileMerge&) = delete;

    void Add(const UninstallProfile& source);
    // Writes the merged lists into the target.
    void Finish();

private:
    struct ListMerge;
    UninstallProfile& target;
    std::vector<ListMerge> lists;
    bool anySource;
};
