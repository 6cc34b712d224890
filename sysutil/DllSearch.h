// The program takes the current directory out of its DLL search order
// (SetDllDirectoryA("")). Programs it starts would inherit that setting, so
// around each start the default order is put back.
#pragma once

void RemoveCurrentDirectoryFromDllSearch();

// While it lives, the default search order holds (when it had been changed).
class DefaultDllSearchForChild {
public:
    DefaultDllSearchForChild();
    ~DefaultDllSearchForChild();
    DefaultDllSearchForChild(const DefaultDllSearchForChild&) = delete;
    DefaultDllSearchForChild& operator=(const DefaultDllSearchForChild&) = delete;
};
