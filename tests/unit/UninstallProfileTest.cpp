#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "UninstallProfile.h"

namespace {

UninstallProfile WithFiles(const TextList& files)
{
    UninstallProfile profile;
    profile.files = files;
    return profile;
}

}  // namespace

TEST(UninstallProfile, ListsComeInTheOneFixedOrder)
{
    const char* expected[PROFILE_LIST_COUNT] = {
        "deleteIni", "deleteLoadRun", "unSelfRegister", "printProcessors", "monitors", "services",
        "hooks",     "shortcuts",     "oemPaths",       "registryKeys",    "files",    "drivers"};
    UninstallProfile profile;
    for (int list = 0; list < PROFILE_LIST_COUNT; ++list) {
        EXPECT_STREQ(expected[list], ProfileListName(list));
        profile.List(list).push_back(expected[list]);
    }
    // Each id reaches its own field.
    EXPECT_EQ(TextList{"oemPaths"}, profile.oemPaths);
    EXPECT_EQ(TextList{"files"}, profile.files);
    EXPECT_EQ(TextList{"drivers"}, profile.drivers);
    profile.Clear();
    EXPECT_TRUE(profile.IsEmpty());
}

TEST(UninstallProfile, SortFoldsOnlyAsciiLettersAndUniqueKeepsTheFirstSpelling)
{
    TextList list{"b.dll", "A.DLL", "a.dll", "a_x", "ab", "\xE9.dll", "z.dll"};
    SortTextList(list);
    UniqueTextList(list);
    // "_" (0x5F) sorts before the lower-case letters; high bytes after "z".
    EXPECT_EQ((TextList{"A.DLL", "a_x", "ab", "b.dll", "z.dll", "\xE9.dll"}), list);
}

TEST(UninstallProfile, MergeIsAUnionWithThisProfilesSpellingFirst)
{
    UninstallProfile mine = WithFiles({"A.DLL", "c.dll"});
    CopyText(mine.name, "Mine");
    mine.number = 7;
    UninstallProfile theirs = WithFiles({"a.dll", "b.dll", "C.DLL"});
    CopyText(theirs.name, "Theirs");
    theirs.isIgnore = 1;
    theirs.services = {"svc"};

    mine.Merge(theirs);
    EXPECT_EQ((TextList{"A.DLL", "b.dll", "c.dll"}), mine.files);
    EXPECT_EQ(TextList{"svc"}, mine.services);
    EXPECT_STREQ("Mine", mine.name);
    EXPECT_EQ(0, mine.isIgnore);
    EXPECT_EQ(7, mine.number);
    EXPECT_EQ((TextList{"a.dll", "b.dll", "C.DLL"}), theirs.files);

    // Lines appended out of order still merge into one sorted list.
    UninstallProfile appended;
    appended.registryKeys = {"HKLM,z", "HKLM,a"};
    UninstallProfile other;
    other.registryKeys = {"HKLM,m", "HKLM,A"};
    appended.Merge(other);
    EXPECT_EQ((TextList{"HKLM,a", "HKLM,m", "HKLM,z"}), appended.registryKeys);
}

TEST(UninstallProfile, SubtractRemovesEqualItemsAndKeepsOrder)
{
    UninstallProfile mine = WithFiles({"z.dll", "A.dll", "m.dll"});
    mine.Subtract(WithFiles({"a.DLL", "q.dll"}));
    EXPECT_EQ((TextList{"z.dll", "m.dll"}), mine.files);

    // An empty list on either side leaves this list as it was.
    UninstallProfile empty;
    mine.Subtract(empty);
    EXPECT_EQ((TextList{"z.dll", "m.dll"}), mine.files);
    UninstallProfile none;
    none.Subtract(WithFiles({"z.dll"}));
    EXPECT_TRUE(none.files.empty());

    // Subtracting works on the same list only.
    UninstallProfile services;
    services.services = {"z.dll"};
    mine.Subtract(services);
    EXPECT_EQ((TextList{"z.dll", "m.dll"}), mine.files);
}

TEST(UninstallProfile, RegistryEntriesNameTheirRootAndRefuseWhatCannotBeWritten)
{
    UninstallProfile profile;
    EXPECT_TRUE(profile.AddRegistryEntry(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\OEM01", "", 1));
    EXPECT_TRUE(profile.AddRegistryEntry(HKEY_CLASSES_ROOT, "CLSID\\x", "v", 0));
    EXPECT_TRUE(profile.AddRegistryEntry(HKEY_CURRENT_USER, "k", nullptr, 5));
    EXPECT_TRUE(profile.AddRegistryEntry(HKEY_USERS, "k", "", 0));
    EXPECT_FALSE(profile.AddRegistryEntry(HKEY_CURRENT_CONFIG, "k", "", 1));
    EXPECT_FALSE(profile.AddRegistryEntry(HKEY_LOCAL_MACHINE, "", "", 1));
    EXPECT_FALSE(profile.AddRegistryEntry(HKEY_LOCAL_MACHINE, nullptr, "", 1));
    // A line that would not fit a field is refused whole, never cut.
    EXPECT_FALSE(profile.AddRegistryEntry(HKEY_LOCAL_MACHINE, std::string(248, 'k').c_str(), "", 1));
    EXPECT_TRUE(profile.AddRegistryEntry(HKEY_LOCAL_MACHINE, std::string(247, 'k').c_str(), "", 1));
    ASSERT_EQ(5u, profile.registryKeys.size());
    EXPECT_EQ("HKLM,\"SOFTWARE\\VANTO\\OEM01\",\"\",1", profile.registryKeys[0]);
    EXPECT_EQ("HKCR,\"CLSID\\x\",\"v\",0", profile.registryKeys[1]);
    EXPECT_EQ("HKCU,\"k\",\"\",1", profile.registryKeys[2]);
    EXPECT_EQ("HKU,\"k\",\"\",0", profile.registryKeys[3]);
    EXPECT_EQ(259u, profile.registryKeys[4].size());
}
