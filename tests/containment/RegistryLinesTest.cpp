// The registry step beside what stays: a line of the removal profile never
// takes a value, a key or a tree that a profile that stays names, however
// the two lines are written.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "RemovalSequence.h"
#include "Snapshot.h"
#include "TestRegistry.h"
#include "UninstallDatabase.h"

namespace {

using namespace containment;

class RegistryLines : public ::testing::Test {
protected:
    void SetUp() override
    {
        base = "Software\\VantoContainRegTest" + std::to_string(GetCurrentProcessId());
        RemoveKeyTree(HKEY_CURRENT_USER, base);
        for (const char* key : {"\\T\\Sub", "\\K", "\\V", "\\Free\\Sub", "\\Loose"})
            ASSERT_TRUE(SetText(HKEY_CURRENT_USER, base + key, "Val", "x"));
        removal.SetDatabase(&database);
    }
    void TearDown() override { RemoveKeyTree(HKEY_CURRENT_USER, base); }
    std::string Line(const std::string& key, const char* rest) const { return "HKCU," + base + key + rest; }

    std::string base;
    UninstallDatabase database;
    RemovalSequence removal;
};

}  // namespace

TEST_F(RegistryLines, WhatAProfileThatStaysNamesIsLeftWhateverTheLineSays)
{
    database.keepProfile.registryKeys = {Line("\\T", ",,4"), "HKCU,\"" + base + "\\K\",", Line("\\V", ",Val,0")};
    database.removalProfile.registryKeys = {
        Line("\\T\\Sub", ",Val,0"),  // a value in a kept tree, whichever version it is kept for
        Line("\\T\\Sub", ",,1"),     // a tree inside a kept tree
        Line("\\K", ",Val,1"),       // a value of a key kept alone
        Line("\\V", ","),            // a key alone that holds a kept value
        Line("\\Free", ",,1"),       // nothing of it is kept
        Line("\\Loose", ",Val,0"),
    };
    removal.applyRegistryLines();
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, base + "\\T\\Sub", "Val"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, base + "\\K", "Val"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, base + "\\V", "Val"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base + "\\Free"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, base + "\\Loose"));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, base + "\\Loose", "Val"));
}

TEST_F(RegistryLines, AKeptKeyInsideATreeKeepsItsParentsOnly)
{
    database.keepProfile.registryKeys = {Line("\\Free\\Sub", ",,1")};
    database.removalProfile.registryKeys = {Line("", ",,1")};
    removal.applyRegistryLines();
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, base + "\\Free\\Sub", "Val"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base + "\\T"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base + "\\K"));
}
