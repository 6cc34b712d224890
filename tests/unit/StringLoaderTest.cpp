#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "StringLoader.h"
#include "TestPaths.h"

namespace {

HMODULE LoadProgramResources()
{
    return LoadLibraryExA(BesideTests("trelun08.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

// An INI file the indirection names, removed again at the end of the test.
class IniFile {
public:
    IniFile(const std::string& path, const std::string& text) : path(path)
    {
        EXPECT_TRUE(WriteWholeFile(path, text));
    }
    ~IniFile() { DeleteFileA(path.c_str()); }

private:
    std::string path;
};

}  // namespace

TEST(StringLoader, RingOfFourBuffers)
{
    HMODULE program = LoadProgramResources();
    ASSERT_NE(nullptr, program);
    StringLoader loader(program);
    const char* first = loader.GetText(161);
    loader.GetText(162);
    loader.GetText(163);
    const char* fourth = loader.GetText(168);
    EXPECT_STREQ("Cerrar", fourth);
    EXPECT_STREQ("Desinstalaci\xF3n de la impresora", first);
    const char* fifth = loader.GetText(162);
    EXPECT_EQ(first, fifth);
    EXPECT_STREQ("Desinstalar", first);
    EXPECT_STREQ("", loader.GetText(4321));
    FreeLibrary(program);
}

TEST(StringLoader, SpanishTextsInCodePage1252)
{
    ASSERT_EQ(1252u, GetACP());
    HMODULE program = LoadProgramResources();
    ASSERT_NE(nullptr, program);
    StringLoader loader(program);
    EXPECT_STREQ("\xA1La desinstalaci\xF3n de la impresora ha finalizado!", loader.GetString(199));
    EXPECT_STREQ("S\xED", loader.GetString(187));
    EXPECT_STREQ("\xA1" "El spooler es inestable!\nReinicie el sistema y repita la desinstalaci\xF3n.",
                 loader.GetString(152));
    EXPECT_STREQ("No se puedo desinstalar el controlador de esc\xE1ner. Utilice \"Agregar o quitar "
                 "programas\" del Panel de control para desinstalar el controlador.",
                 loader.GetString(214));
    EXPECT_STREQ(" ", loader.GetString(167));
    EXPECT_STREQ("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", loader.GetString(51));
    FreeLibrary(program);
}

TEST(StringLoader, IndirectionReadsTheIniValue)
{
    StringLoader loader(GetModuleHandleA(nullptr));
    const std::string inWindows = WindowsDirectory() + "trelun_strtest.ini";
    {
        IniFile ini(inWindows, "[sec]\r\nkey=uno\\ndos\r\n");
        EXPECT_STREQ("uno\ndos", loader.GetString(4));
        // A fourth "@" stays part of the key.
        EXPECT_STREQ("", loader.GetString(3));
        // Two at signs: no key, the empty text.
        EXPECT_STREQ("", loader.GetString(1));
        EXPECT_STREQ("", loader.GetString(5));
    }
    {
        // Not in the Windows directory: found along the search path (the
        // program's own directory comes first).
        IniFile ini(BesideTests("trelun_strtest.ini"), "[sec]\r\nkey=junto al programa\r\n");
        EXPECT_STREQ("junto al programa", loader.GetString(4));
    }
    EXPECT_STREQ("", loader.GetString(4));
    EXPECT_STREQ("Cerr@r", loader.GetString(2));
}

TEST(StringLoader, IniStringWithoutFileUsesTheProgramsOwnIni)
{
    StringLoader loader(GetModuleHandleA(nullptr));
    IniFile ini(BesideTests("unit_tests.ini"), "[s]\r\nk=propio\r\n");
    EXPECT_STREQ("propio", loader.GetIniString(nullptr, "s", "k"));
    EXPECT_STREQ("", loader.GetIniString(nullptr, "s", "missing"));
}

TEST(StringLoader, WindowTextIsNeverSetEmpty)
{
    HMODULE program = LoadProgramResources();
    ASSERT_NE(nullptr, program);
    StringLoader loader(program);
    HWND window = CreateWindowA("STATIC", "antes", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    EXPECT_FALSE(loader.SetWindowTextFromString(window, 4321));
    char text[64] = {};
    GetWindowTextA(window, text, sizeof(text));
    EXPECT_STREQ("antes", text);
    EXPECT_TRUE(loader.SetWindowTextFromString(window, 168));
    GetWindowTextA(window, text, sizeof(text));
    EXPECT_STREQ("Cerrar", text);
    DestroyWindow(window);
    FreeLibrary(program);
}
