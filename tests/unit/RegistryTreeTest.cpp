#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "RegistryTree.h"
#include "TestRegistry.h"

namespace {

// A fresh key under HKCU\Software for one test, deleted with its tree after.
class TestKey {
public:
    TestKey() : path("Software\\TrelunRegistryTreeTest" + std::to_string(GetCurrentProcessId()))
    {
        RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr);
    }
    ~TestKey()
    {
        RegCloseKey(handle);
        // advapi32's own tree deletion, not the one under test.
        using DeleteTree = LONG(WINAPI*)(HKEY, LPCSTR);
        const auto deleteTree = reinterpret_cast<DeleteTree>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegDeleteTreeA")));
        if (deleteTree)
            deleteTree(HKEY_CURRENT_USER, path.c_str());
    }
    bool Create(const std::string& relative) const
    {
        HKEY key = nullptr;
        if (RegCreateKeyExA(handle, relative.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return false;
        const BYTE value[] = "v";
        RegSetValueExA(key, "value", 0, REG_SZ, value, sizeof(value));
        RegCloseKey(key);
        return true;
    }
    bool Has(const std::string& relative) const
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(handle, relative.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
    std::string Under(const std::string& relative) const { return path + "\\" + relative; }
    HKEY Handle() const { return handle; }

private:
    std::string path;
    HKEY handle = nullptr;
};

}  // namespace

TEST(DeleteRegistryTree, ThreeLevelsDeepAreAllDeleted)
{
    TestKey key;
    for (const char* k : {"victim\\a\\b\\c", "victim\\a\\b\\d", "victim\\a\\e", "victim\\f", "victim\\g\\h\\i",
                          "sibling\\x"})
        ASSERT_TRUE(key.Create(k)) << k;
    EXPECT_EQ(ERROR_SUCCESS, DeleteRegistryTree(HKEY_CURRENT_USER, key.Under("victim").c_str()));
    EXPECT_FALSE(key.Has("victim"));
    EXPECT_TRUE(key.Has("sibling\\x"));

    ASSERT_TRUE(key.Create("slashed\\a\\b"));
    EXPECT_EQ(ERROR_SUCCESS, DeleteRegistryTree(HKEY_CURRENT_USER, (key.Under("slashed") + "\\").c_str()));
    EXPECT_FALSE(key.Has("slashed"));

    EXPECT_EQ(ERROR_FILE_NOT_FOUND, DeleteRegistryTree(HKEY_CURRENT_USER, key.Under("victim").c_str())) << "already gone";
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, DeleteRegistryTree(HKEY_CURRENT_USER, key.Under("no\\such\\key").c_str()));
}

// An empty or all-backslash subkey names the root itself; deleting "its
// tree" would empty the whole root. The root here is a test key, so a
// regression costs only that key.
TEST(DeleteRegistryTree, RefusesToNameTheRootItself)
{
    TestKey key;
    ASSERT_TRUE(key.Create("child\\grandchild"));
    for (const char* subkey : {"", "\\", "\\\\\\", static_cast<const char*>(nullptr)}) {
        EXPECT_EQ(ERROR_INVALID_PARAMETER, DeleteRegistryTree(key.Handle(), subkey)) << (subkey ? subkey : "(null)");
        EXPECT_TRUE(key.Has("child\\grandchild")) << (subkey ? subkey : "(null)");
    }
    EXPECT_EQ(ERROR_SUCCESS, DeleteRegistryTree(key.Handle(), "child"));
    EXPECT_FALSE(key.Has("child"));
}

TEST(DeleteRegistryTreeExcept, KeptKeysAndTheirParentsStay)
{
    TestKey key;
    ASSERT_TRUE(key.Create("Corvel\\Settings"));
    ASSERT_TRUE(key.Create("Fuentes\\Shared"));
    ASSERT_TRUE(key.Create("Comunes"));
    ASSERT_TRUE(key.Create(""));  // a value of the tree's own key
    const std::string root = key.Under("");
    const std::string base = root.substr(0, root.size() - 1);
    // The kept key is written with other letter case and a trailing backslash.
    EXPECT_EQ(ERROR_SUCCESS, DeleteRegistryTreeExcept(HKEY_CURRENT_USER, base.c_str(), {key.Under("FUENTES") + "\\"}));
    EXPECT_FALSE(key.Has("Corvel"));
    EXPECT_FALSE(key.Has("Comunes"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, key.Under("Fuentes\\Shared"), "value"));
    // Its parent stays, holding nothing else.
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, base, "value"));

    // A kept key itself is never deleted.
    EXPECT_EQ(ERROR_SUCCESS, DeleteRegistryTreeExcept(HKEY_CURRENT_USER, key.Under("Fuentes").c_str(), {key.Under("Fuentes")}));
    EXPECT_TRUE(key.Has("Fuentes\\Shared"));
    // With nothing kept it is the plain tree deletion.
    EXPECT_EQ(ERROR_SUCCESS, DeleteRegistryTreeExcept(HKEY_CURRENT_USER, key.Under("Fuentes").c_str(), {}));
    EXPECT_FALSE(key.Has("Fuentes"));
}

TEST(DeleteRegistryKeyWithoutSubkeys, AKeyWithSubkeysStaysOnEverySystem)
{
    TestKey key;
    ASSERT_TRUE(key.Create("Maker\\Product"));
    EXPECT_EQ(ERROR_ACCESS_DENIED, DeleteRegistryKeyWithoutSubkeys(HKEY_CURRENT_USER, key.Under("Maker").c_str()));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, key.Under("Maker\\Product"), "value"));
    EXPECT_EQ(ERROR_SUCCESS, DeleteRegistryKeyWithoutSubkeys(HKEY_CURRENT_USER, key.Under("Maker\\Product").c_str()));
    EXPECT_EQ(ERROR_SUCCESS, DeleteRegistryKeyWithoutSubkeys(HKEY_CURRENT_USER, key.Under("Maker").c_str()));
    EXPECT_FALSE(key.Has("Maker"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, DeleteRegistryKeyWithoutSubkeys(HKEY_CURRENT_USER, key.Under("Maker").c_str()));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, DeleteRegistryKeyWithoutSubkeys(HKEY_CURRENT_USER, "\\"));
}
