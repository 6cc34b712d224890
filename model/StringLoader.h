// String-table texts for the user interface, with the "@file@section@key"
// indirection to an INI value. Results live in a ring of four buffers: a
// text stays valid until four further texts have been loaded.
#pragma once
#include <windows.h>

class StringLoader {
public:
    static const int kBufferCount = 4;
    static const int kBufferSize = 512;

    explicit StringLoader(HINSTANCE module = nullptr);

    void SetInstance(HINSTANCE module) { instance = module; }
    HINSTANCE GetInstance() const { return instance; }

    const char* GetText(UINT id);
    const char* GetString(UINT id);
    const char* GetIniString(const char* file, const char* section, const char* key);

    bool SetWindowTextFromString(HWND window, UINT id);
    bool SetDlgItemTextFromString(HWND dialog, int controlId, UINT id);

private:
    char* NextBuffer();

    int next;
    char buffers[kBufferCount][kBufferSize];
    HINSTANCE instance;
};

