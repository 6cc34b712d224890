#include "ProductText.h"

#include "TestPaths.h"

namespace {

std::string Load(HMODULE module, UINT id)
{
    char text[1024] = {};
    const int length = module ? LoadStringA(module, id, text, sizeof(text)) : 0;
    return std::string(text, length > 0 ? length : 0);
}

// Test programs beside the spooler simulator find the program in build/bin.
HMODULE BuiltProgram()
{
    static HMODULE program = [] {
        HMODULE found = nullptr;
        for (const char* relative : {"trelun08.exe", "..\\bin\\trelun08.exe"}) {
            if (!found)
                found = LoadLibraryExA((BinDirectory() + relative).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        }
        return found;
    }();
    return program;
}

}  // namespace

std::string ProductText(UINT id)
{
    std::string text = Load(GetModuleHandleA(nullptr), id);
    if (text.empty())
        text = Load(BuiltProgram(), id);
    return text.empty() ? "(string " + std::to_string(id) + " missing)" : text;
}

std::string ProductText(UINT id, const std::string& inserted)
{
    std::string text = ProductText(id);
    const std::size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, inserted);
    return text;
}
