// A small window for the UI driver's own tests: a list view of three rows
// and a button that asks a question and ends the program with
// 10 * selected rows + the answer (IDYES 6, IDNO 7).
#include <windows.h>
#include <commctrl.h>

namespace {

HWND g_list = nullptr;

LRESULT CALLBACK FixtureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == 101) {
        const int selected = static_cast<int>(SendMessageA(g_list, LVM_GETSELECTEDCOUNT, 0, 0));
        const int answer = MessageBoxA(window, "\xBFSeguro?", "Prueba", MB_YESNO | MB_ICONQUESTION);
        PostQuitMessage(10 * selected + answer);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    InitCommonControls();
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = FixtureProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "TrelunUiFixture";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("TrelunUiFixture", "Ventana de prueba", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                360, 240, nullptr, nullptr, instance, nullptr);
    g_list = CreateWindowA(WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | WS_BORDER, 10, 10, 330, 120, window,
                           reinterpret_cast<HMENU>(100), instance, nullptr);
    CreateWindowA("BUTTON", "Aceptar", WS_CHILD | WS_VISIBLE, 10, 150, 100, 24, window, reinterpret_cast<HMENU>(101),
                  instance, nullptr);
    const char* headings[] = {"Nombre", "Controlador"};
    for (int column = 0; column < 2; ++column) {
        LVCOLUMNA description = {};
        description.mask = LVCF_TEXT | LVCF_WIDTH;
        description.cx = 150;
        description.pszText = const_cast<char*>(headings[column]);
        SendMessageA(g_list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&description));
    }
    const char* names[] = {"Corvel 4410", "Corvel 5520", "Impresora ajena"};
    const char* drivers[] = {"VANTO Corvel PCL", "VANTO Corvel PS", "Otro"};
    for (int row = 0; row < 3; ++row) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<char*>(names[row]);
        SendMessageA(g_list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = const_cast<char*>(drivers[row]);
        SendMessageA(g_list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
