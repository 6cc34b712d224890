#include "RemovalPageRun.h"

#include <commctrl.h>

#include <algorithm>

#include "PrivateMessages.h"

const UINT RemovalPageRun::kRemovalDone = UM_REMOVAL_DONE;

RemovalPageRun::RemovalPageRun(UninstallDatabase& database, RemovePage* callerPage)
    : ownPage(callerPage ? nullptr : new RemovePage()), page(callerPage ? callerPage : ownPage.get()),
      main(nullptr), window(nullptr)
{
    InitCommonControls();
    page->SetDatabase(&database);
    main = CreateWindowA("STATIC", "main", WS_POPUP, 0, 0, 500, 400, nullptr, nullptr, nullptr, nullptr);
    if (main)
        window = page->CreatePage(main, "IDD_REMOVE");
}

RemovalPageRun::~RemovalPageRun()
{
    if (window)
        KillTimer(window, kRemovalTimerId);
    if (main)
        DestroyWindow(main);
}

void RemovalPageRun::Show()
{
    ShowWindow(main, SW_SHOWNOACTIVATE);
    ShowWindow(window, SW_SHOW);
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool RemovalPageRun::PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.hwnd == main && (message.message == WM_CLOSE || message.message == kRemovalDone)) {
                posted.push_back(message.message);
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
            if (done())
                return true;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

bool RemovalPageRun::RunToTheEnd(DWORD timeoutMs)
{
    return PumpUntil([this] { return Finished(); }, timeoutMs);
}

bool RemovalPageRun::ClosedBeforeFinish() const
{
    const auto close = std::find(posted.begin(), posted.end(), static_cast<UINT>(WM_CLOSE));
    const auto done = std::find(posted.begin(), posted.end(), kRemovalDone);
    return close != posted.end() && close < done;
}
