#include "UiDriver.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstring>

namespace {

// The process and the processes it started: on 64-bit Windows the 32-bit
// program hands the run to the 64-bit one, whose windows are the program's.
std::vector<DWORD> ProcessFamily(DWORD processId)
{
    std::vector<DWORD> family(1, processId);
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return family;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == processId && entry.th32ProcessID != processId)
            family.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return family;
}

struct WindowSearch {
    std::vector<DWORD> family;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (std::find(search->family.begin(), search->family.end(), owner) != search->family.end())
        search->windows.push_back(window);
    return TRUE;
}

// The process that owns a window, opened to reach its memory.
class WindowProcess {
public:
    explicit WindowProcess(HWND window)
    {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        handle = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, owner);
    }
    ~WindowProcess()
    {
        if (handle)
            CloseHandle(handle);
    }
    WindowProcess(const WindowProcess&) = delete;
    WindowProcess& operator=(const WindowProcess&) = delete;
    HANDLE Handle() const { return handle; }

private:
    HANDLE handle = nullptr;
};

std::string ClassOf(HWND window)
{
    char name[128] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

// Memory in another process for one message's structure and text.
class RemoteBlock {
public:
    RemoteBlock(HANDLE process, SIZE_T size) : process(process), size(size)
    {
        address = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBlock()
    {
        if (address)
            VirtualFreeEx(process, address, 0, MEM_RELEASE);
    }
    bool Write(SIZE_T offset, const void* data, SIZE_T length)
    {
        SIZE_T done = 0;
        return address && offset + length <= size &&
               WriteProcessMemory(process, static_cast<char*>(address) + offset, data, length, &done) &&
               done == length;
    }
    bool Read(SIZE_T offset, void* data, SIZE_T length)
    {
        SIZE_T done = 0;
        return address && offset + length <= size &&
               ReadProcessMemory(process, static_cast<char*>(address) + offset, data, length, &done) &&
               done == length;
    }
    char* At(SIZE_T offset) const { return static_cast<char*>(address) + offset; }
    bool Ok() const { return address != nullptr; }

private:
    HANDLE process;
    SIZE_T size;
    void* address = nullptr;
};

}  // namespace

UiDriver::~UiDriver()
{
    if (!process)
        return;
    if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        // The program handed over to is ended first, or it would outlive
        // the test and be found as a running copy by the next one.
        const std::vector<DWORD> family = ProcessFamily(processId);
        for (std::size_t i = family.size(); i-- > 1;) {
            HANDLE child = OpenProcess(PROCESS_TERMINATE, FALSE, family[i]);
            if (child) {
                TerminateProcess(child, 1);
                CloseHandle(child);
            }
        }
        TerminateProcess(process, 1);
    }
    CloseHandle(process);
}

bool UiDriver::Start(const std::string& program, const std::string& arguments, const std::string& directory)
{
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &info))
        return false;
    CloseHandle(info.hThread);
    process = info.hProcess;
    processId = info.dwProcessId;
    return true;
}

DWORD UiDriver::WaitForExit(DWORD timeoutMs)
{
    DWORD code = STILL_ACTIVE;
    if (process && WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process, &code);
    return code;
}

bool UiDriver::HasExited() const { return !process || WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }

std::vector<HWND> UiDriver::TopLevelWindows() const
{
    WindowSearch search = {ProcessFamily(processId), {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

HWND UiDriver::WaitForWindow(const char* className, const char* title, DWORD timeoutMs) const
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows()) {
                if (!IsWindowVisible(window))
                    continue;
                if (className && ClassOf(window) != className)
                    continue;
                if (title && Text(window) != title)
                    continue;
                found = window;
                return true;
            }
            return false;
        },
        timeoutMs);
    return found;
}

bool UiDriver::WaitForMessageBox(FoundMessageBox& found, DWORD timeoutMs) const
{
    return WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows()) {
                // A message box is a dialog with its text in static 65535.
                HWND text = GetDlgItem(window, 0xFFFF);
                if (!IsWindowVisible(window) || ClassOf(window) != "#32770" || !text)
                    continue;
                found.window = window;
                found.text = Text(text);
                found.caption = Text(window);
                return true;
            }
            return false;
        },
        timeoutMs);
}

void UiDriver::Answer(HWND messageBox, int button)
{
    PostMessageA(messageBox, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

std::vector<std::vector<std::string>> UiDriver::ListViewRows(HWND listView, int columns) const
{
    std::vector<std::vector<std::string>> rows;
    const int count = ListViewRowCount(listView);
    const SIZE_T textSize = 512;
    const WindowProcess owner(listView);
    RemoteBlock block(owner.Handle(), sizeof(LVITEMA) + textSize);
    if (!block.Ok())
        return rows;
    for (int row = 0; row < count; ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column < columns; ++column) {
            LVITEMA item = {};
            item.iSubItem = column;
            item.pszText = block.At(sizeof(LVITEMA));
            item.cchTextMax = static_cast<int>(textSize);
            char text[512] = {};
            if (block.Write(0, &item, sizeof(item)) && block.Write(sizeof(LVITEMA), text, 1)) {
                SendMessageA(listView, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(block.At(0)));
                block.Read(sizeof(LVITEMA), text, textSize);
            }
            text[textSize - 1] = '\0';
            cells.push_back(text);
        }
        rows.push_back(cells);
    }
    return rows;
}

bool UiDriver::SetListViewSelection(HWND listView, int row, bool selected) const
{
    const WindowProcess owner(listView);
    RemoteBlock block(owner.Handle(), sizeof(LVITEMA));
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = selected ? (LVIS_SELECTED | LVIS_FOCUSED) : 0;
    if (!block.Write(0, &item, sizeof(item)))
        return false;
    return SendMessageA(listView, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(block.At(0))) != 0;
}

void UiDriver::Click(HWND dialog, int controlId)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, controlId)));
}

std::string UiDriver::Text(HWND window)
{
    char text[2048] = {};
    // WM_GETTEXT answers across processes without entering a modal loop.
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        nullptr);
    text[sizeof(text) - 1] = '\0';
    return text;
}

bool UiDriver::IsEnabled(HWND dialog, int controlId) { return IsWindowEnabled(GetDlgItem(dialog, controlId)) != FALSE; }

bool UiDriver::Screenshot(HWND window, const std::string& bmpPath)
{
    RECT rect = {};
    if (!GetWindowRect(window, &rect))
        return false;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<BYTE> pixels(stride * static_cast<DWORD>(height));
    const int lines = GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
                                DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (lines != height)
        return false;

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    HANDLE out = CreateFileA(bmpPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(out, &file, sizeof(file), &written, nullptr) &&
              WriteFile(out, &header, sizeof(header), &written, nullptr) &&
              WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    CloseHandle(out);
    return ok;
}
