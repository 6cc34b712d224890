#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "StringLoader.h"
#include "TestPaths.h"
#include "resource.h"

namespace {

class ProgramResources : public ::testing::Test {
protected:
    void SetUp() override
    {
        module = LoadLibraryExA(BesideTests("trelun08.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, module);
    }
    void TearDown() override
    {
        if (module)
            FreeLibrary(module);
    }
    std::string Resource(LPCSTR type, LPCSTR name)
    {
        HRSRC found = FindResourceA(module, name, type);
        if (!found)
            return std::string();
        HGLOBAL loaded = LoadResource(module, found);
        const char* bytes = static_cast<const char*>(LockResource(loaded));
        return bytes ? std::string(bytes, SizeofResource(module, found)) : std::string();
    }
    HMODULE module = nullptr;
};

}  // namespace

TEST_F(ProgramResources, ManifestNamesTheProgramAndAsksForAdministrator)
{
    const std::string manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEA(1));
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(std::string::npos, manifest.find("name=\"trelun08\""));
    EXPECT_NE(std::string::npos, manifest.find("<description>Printer uninstall application</description>"));
    EXPECT_NE(std::string::npos, manifest.find("level=\"requireAdministrator\""));
}

TEST_F(ProgramResources, IconAndVersion)
{
    EXPECT_FALSE(Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_APP)).empty());
    const std::string path = BesideTests("trelun08.exe");
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::string block(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, &block[0]));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(&block[0], "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_NE(nullptr, fixed);
    EXPECT_EQ(VS_FFI_SIGNATURE, fixed->dwSignature);
    EXPECT_EQ(8u, HIWORD(fixed->dwFileVersionMS));
}

TEST_F(ProgramResources, StringTableIsComplete)
{
    const UINT ids[] = {51,  99,  100, 151, 152, 153, 156, 158, 159, 160, 161, 162, 163, 164, 165,
                        167, 168, 169, 170, 171, 172, 173, 174, 175, 176, 177, 178, 179, 180, 181,
                        182, 183, 184, 185, 186, 187, 188, 189, 195, 196, 197, 198, 199, 200, 201,
                        202, 206, 208, 209, 210, 214, 215, 216, 217, 220};
    StringLoader loader(module);
    for (UINT id : ids)
        EXPECT_STRNE("", loader.GetText(id)) << id;
    EXPECT_STREQ("@somefile.ini@sectionname@keyname", loader.GetText(IDS_INI_INDIRECTION_MODEL));
    EXPECT_STREQ("!!! Do not translate any values below 100 (from here up) !!!",
                 loader.GetText(IDS_TRANSLATION_FENCE));
    EXPECT_STREQ("La impresora predeterminada se ha eliminado.\nLa nueva impresora predeterminada es '%s'",
                 loader.GetText(IDS_DEFAULT_REMOVED_NEW));
    EXPECT_STREQ("Eliminar procesadores de impresi\xF3n", loader.GetText(IDS_STEP_PROCESSORS));
    EXPECT_STREQ("\xBF" "Desea detener la desinstalaci\xF3n?", loader.GetText(IDS_STOP_QUESTION));
}
