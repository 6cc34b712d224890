// The registry step beside what stays: a line of the removal profile never
// takes a value, a key or a tree that a profile that stays names, however
// the two lines are written.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "RemovalSequence.h"
#include "Snapshot.h"
#include "UninstallDatabase.h"

namespace {

using namespace containment;

class RegistryLines : public ::testing::Test {
protected:
    void SetUp() override
    {
        base = "Software\\VantoContainRegTest" + std::to_string(GetCurrentProcessId());
        Clear();
        for (const char* key : {"\\T\\Sub", "\\K", "\\V", "\\Free\\Sub", "\\Loose"})
            Write(base + key);
        removal.SetDatabase(&database);
    }
    void TearDown() override { Clear(); }

    void Write(const std::string& key)
    {
        HKEY handle = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &handle, nullptr));
        const char data[] = "x";
        RegSetValueExA(handle, "Val", 0, REG_SZ, reinterpret_cast<const BYTE*>(data), sizeof(data));
        RegCloseKey(handle);
    }
    void Clear()
    {
        for (const char* key : {"\\T\\Sub", "\\T", "\\K", "\\V", "\\Free\\Sub", "\\Free", "\\Loose", ""})
            RegDeleteKeyA(HKEY_CURRENT_USER, (base + key).c_str());
    }
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
    EXPECT_TRUE(RegistryValueExists(HKEY_CURRENT_USER, base + "\\T\\Sub", "Val"));
    EXPECT_TRUE(RegistryValueExists(HKEY_CURRENT_USER, base + "\\K", "Val"));
    EXPECT_TRUE(RegistryValueExists(HKEY_CURRENT_USER, base + "\\V", "Val"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, base + "\\Free"));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, base + "\\Loose"));
    EXPECT_FALSE(RegistryValueExists(HKEY_CURRENT_USER, base + "\\Loose", "Val"));
}

TEST_F(RegistryLines, AKeptKeyInsideATreeKeepsItsParentsOnly)
{
    database.keepProfile.registryKeys = {Line("\\Free\\Sub", ",,1")};
    database.removalProfile.registryKeys = {Line("", ",,1")};
    removal.applyRegistryLines();
    EXPECT_TRUE(RegistryValueExists(HKEY_CURRENT_USER, base + "\\Free\\Sub", "Val"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, base + "\\T"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, base + "\\K"));
}
