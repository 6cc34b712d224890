#include "UninstallProfile.h"

#include <algorithm>
#include <iterator>

#include "RegistryLine.h"

namespace {

const char* const kListNames[PROFILE_LIST_COUNT] = {
    "deleteIni", "deleteLoadRun", "unSelfRegister", "printProcessors", "monitors", "services",
    "hooks",     "shortcuts",     "oemPaths",       "registryKeys",    "files",    "drivers",
};

bool ItemLess(const std::string& a, const std::string& b) { return TextLess(a.c_str(), b.c_str()); }
bool ItemEquals(const std::string& a, const std::string& b) { return TextEquals(a.c_str(), b.c_str()); }

std::string LowerAscii(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// The first count fields at commas, quotes and surrounding blanks removed;
// the last ends at the next comma too, as the removers read them.
std::vector<std::string> Fields(const std::string& item, std::size_t count)
{
    std::vector<std::string> fields = CommaFields(item, count);
    for (std::string& field : fields)
        field = TrimmedOf(field, " \t");
    return fields;
}

// The removers use only a path's file name.
std::string FileNamePart(const std::string& path)
{
    const std::size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string WithoutExtension(const std::string& name)
{
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

const char* KeptText(const void* list, std::size_t position)
{
    return (*static_cast<const std::vector<const std::string*>*>(list))[position]->c_str();
}

// The first of each group of items equal ignoring case, in the order they
// are offered: what a chain of merges keeps, since among equal items the
// earlier ones always win.
class FirstOfEach {
public:
    FirstOfEach() : kept(), positions(KeptText) {}
    // True when no equal item was offered before.
    bool Offer(const std::string& item)
    {
        if (positions.Insert(&kept, item.c_str(), kept.size()) != kept.size())
            return false;
        kept.push_back(&item);
        return true;
    }
    // Whether an item equal to this one was offered.
    bool Holds(const std::string& item) const
    {
        return positions.Find(&kept, item.c_str()) != TextPositions::npos;
    }
    const std::vector<const std::string*>& Kept() const { return kept; }

private:
    std::vector<const std::string*> kept;
    TextPositions positions;
};

TextList SortedCopy(const FirstOfEach& first)
{
    TextList copy;
    copy.reserve(first.Kept().size());
    for (const std::string* item : first.Kept())
        copy.push_back(*item);
    // No two are equal, so any sort gives the one order.
    SortTextList(copy);
    return copy;
}

}  // namespace

std::vector<std::string> ItemTargets(int list, const std::string& item)
{
    switch (list) {
    case LIST_FILES:
        return {LowerAscii(FileNamePart(TrimmedOf(item.substr(0, item.find('=')), " \t")))};
    case LIST_DELETE_INI: {
        const std::vector<std::string> fields = Fields(item, 3);
        return {LowerAscii(FileNamePart(fields[0]) + "," + fields[1] + "," + fields[2])};
    }
    case LIST_DELETE_LOAD_RUN:
        return {LowerAscii(Fields(item, 1)[0])};
    case LIST_SHORTCUTS: {
        // An item goes with its ".LNK" and ".PIF" forms; the start-up
        // folders have no group subfolder.
        const std::vector<std::string> fields = Fields(item, 3);
        const std::string base = WithoutExtension(FileNamePart(fields[1]));
        std::vector<std::string> targets = {LowerAscii(fields[0] + "," + base)};
        if (!base.empty() && LowerAscii(fields[2]) == "startup")
            targets.push_back(LowerAscii("|startup," + base));
        return targets;
    }
    case LIST_REGISTRY_KEYS: {
        RegistryLine line;
        if (ParseRegistryLine(item.c_str(), line) != REGLINE_OK)
            break;
        std::string key = line.key;
        const std::size_t first = key.find_first_not_of('\\');
        key = first == std::string::npos ? std::string() : key.substr(first, key.find_last_not_of('\\') - first + 1);
        return {LowerAscii(std::to_string(line.root) + "," + key + "," + line.value)};
    }
    default:
        break;
    }
    return {LowerAscii(item)};
}

const char* ProfileListName(int list)
{
    return list >= 0 && list < PROFILE_LIST_COUNT ? kListNames[list] : "";
}

void SortTextList(TextList& list)
{
    if (!std::is_sorted(list.begin(), list.end(), ItemLess))
        std::stable_sort(list.begin(), list.end(), ItemLess);
}

void UniqueTextList(TextList& list)
{
    list.erase(std::unique(list.begin(), list.end(), ItemEquals), list.end());
}

UninstallProfile::UninstallProfile() { Clear(); }

TextList& UninstallProfile::List(int list)
{
    switch (list) {
    case LIST_DELETE_INI: return deleteIni;
    case LIST_DELETE_LOAD_RUN: return deleteLoadRun;
    case LIST_UN_SELF_REGISTER: return unSelfRegister;
    case LIST_PRINT_PROCESSORS: return printProcessors;
    case LIST_MONITORS: return monitors;
    case LIST_SERVICES: return services;
    case LIST_HOOKS: return hooks;
    case LIST_SHORTCUTS: return shortcuts;
    case LIST_OEM_PATHS: return oemPaths;
    case LIST_REGISTRY_KEYS: return registryKeys;
    case LIST_FILES: return files;
    default: return drivers;
    }
}

const TextList& UninstallProfile::List(int list) const
{
    return const_cast<UninstallProfile*>(this)->List(list);
}

bool UninstallProfile::IsEmpty() const
{
    for (int list = 0; list < PROFILE_LIST_COUNT; ++list) {
        if (!List(list).empty())
            return false;
    }
    return true;
}

void UninstallProfile::Clear()
{
    name[0] = prefix[0] = scriptPath[0] = '\0';
    isManufacturer = isCatchAll = isIgnore = number = 0;
    for (int list = 0; list < PROFILE_LIST_COUNT; ++list)
        List(list).clear();
}

void UninstallProfile::Assign(const UninstallProfile& other)
{
    if (this != &other)
        *this = other;
}

void UninstallProfile::Merge(const UninstallProfile& other)
{
    if (this == &other)
        return;
    for (int list = 0; list < PROFILE_LIST_COUNT; ++list) {
        TextList& mine = List(list);
        const TextList& theirs = other.List(list);
        if (theirs.empty())
            continue;
        // Lines appended unsorted (registry lines) must be in order first.
        SortTextList(mine);
        TextList sortedTheirs;
        const TextList* source = &theirs;
        if (!std::is_sorted(theirs.begin(), theirs.end(), ItemLess)) {
            sortedTheirs = theirs;
            SortTextList(sortedTheirs);
            source = &sortedTheirs;
        }
        TextList merged;
        merged.reserve(mine.size() + source->size());
        // Among equal items this profile's come first and so survive.
        std::merge(mine.begin(), mine.end(), source->begin(), source->end(),
                   std::back_inserter(merged), ItemLess);
        mine.swap(merged);
    }
    SortAll();
    UniqueAll();
}

void MergeTextLists(TextList& list, const std::vector<const TextList*>& others)
{
    FirstOfEach first;
    for (const std::string& item : list)
        first.Offer(item);
    for (const TextList* other : others) {
        for (const std::string& item : *other)
            first.Offer(item);
    }
    TextList merged = SortedCopy(first);
    list.swap(merged);
}

void UninstallProfile::MergeAll(const std::vector<const UninstallProfile*>& others)
{
    ProfileMerge merge(*this);
    for (const UninstallProfile* other : others) {
        if (other)
            merge.Add(*other);
    }
    merge.Finish();
}

struct ProfileMerge::ListMerge {
    // Whether a source added to this list: the target's own items are
    // offered first, when the first source's arrive.
    bool added = false;
    FirstOfEach first;
};

ProfileMerge::ProfileMerge(UninstallProfile& target)
    : target(target), lists(PROFILE_LIST_COUNT), anySource(false)
{
}

ProfileMerge::~ProfileMerge() = default;

void ProfileMerge::Add(const UninstallProfile& source)
{
    if (&source == &target)
        return;
    anySource = true;
    for (int list = 0; list < PROFILE_LIST_COUNT; ++list) {
        const TextList& items = source.List(list);
        if (items.empty())
            continue;
        ListMerge& merge = lists[static_cast<std::size_t>(list)];
        if (!merge.added) {
            for (const std::string& item : target.List(list))
                merge.first.Offer(item);
            merge.added = true;
        }
        for (const std::string& item : items)
            merge.first.Offer(item);
    }
}

void ProfileMerge::Finish()
{
    // Merging leaves every list sorted and unique, also one no source adds
    // to; with no source at all the target stays as it was.
    if (!anySource)
        return;
    for (int list = 0; list < PROFILE_LIST_COUNT; ++list) {
        ListMerge& merge = lists[static_cast<std::size_t>(list)];
        TextList& mine = target.List(list);
        if (!merge.added) {
            SortTextList(mine);
            UniqueTextList(mine);
            continue;
        }
        TextList merged = SortedCopy(merge.first);
        mine.swap(merged);
        merge = ListMerge();
    }
    anySource = false;
}

void UninstallProfile::Subtract(const UninstallProfile& other)
{
    for (int list = 0; list < PROFILE_LIST_COUNT; ++list) {
        TextList& mine = List(list);
        if (mine.empty() || other.List(list).empty())
            continue;
        if (&other == this) {
            mine.clear();
            continue;
        }
        FirstOfEach theirs;
        for (const std::string& item : other.List(list))
            theirs.Offer(item);
        mine.erase(std::remove_if(mine.begin(), mine.end(),
                                  [&theirs](const std::string& item) { return theirs.Holds(item); }),
                   mine.end());
    }
}

void UninstallProfile::SubtractSameTargets(const UninstallProfile& other)
{
    for (int list = 0; list < PROFILE_LIST_COUNT; ++list) {
        TextList& mine = List(list);
        if (mine.empty() || other.List(list).empty())
            continue;
        std::vector<std::string> targets;
        for (const std::string& item : other.List(list)) {
            const std::vector<std::string> its = ItemTargets(list, item);
            targets.insert(targets.end(), its.begin(), its.end());
        }
        std::sort(targets.begin(), targets.end());
        const auto shared = [&targets, list](const std::string& item) {
            for (const std::string& target : ItemTargets(list, item)) {
                if (std::binary_search(targets.begin(), targets.end(), target))
                    return true;
            }
            return false;
        };
        mine.erase(std::remove_if(mine.begin(), mine.end(), shared), mine.end());
    }
}

void UninstallProfile::SortAll()
{
    for (int list = 0; list < PROFILE_LIST_COUNT; ++list)
        SortTextList(List(list));
}

void UninstallProfile::UniqueAll()
{
    for (int list = 0; list < PROFILE_LIST_COUNT; ++list)
        UniqueTextList(List(list));
}

bool UninstallProfile::AddRegistryLine(const char* rootName, const char* keyPath, const char* valueName,
                                       bool flag)
{
    const std::string line = FormatRegistryLine(rootName, keyPath, valueName, flag);
    if (line.empty() || !FitsField(line.c_str()))
        return false;
    registryKeys.push_back(line);
    return true;
}
