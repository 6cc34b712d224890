// The removal progress page: nine step rows with check marks, driven by a
// timer that runs the removal sequence one tick at a time.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "DialogBase.h"
#include "OSInfo.h"
#include "RemovalSequence.h"
#include "StringLoader.h"

class UninstallDatabase;

class RemovePage : public CDialogBase, private RemovalView {
public:
    RemovePage();
    ~RemovePage() override;

    void SetDatabase(UninstallDatabase* value) { removal.SetDatabase(value); }
    // Starts the sequence at step 0 on timer 1130.
    void beginRemoval();

    // The restart offered at the end on Windows 9x; tests replace it.
    typedef int (*RestartFunction)(const COSInfo& os);
    static RestartFunction restartSystem;

    RemovalSequence removal;
    int currentRow;
    int progressActive;

private:
    bool OnInit() override;
    void OnTimer(UINT_PTR id) override;
    INT_PTR OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // What the sequence shows.
    void MarkRow(int row) override;
    void HoldRow(int row) override { currentRow = row; }
    void AdvanceRow() override { redrawProgress(false); }
    void ShowBusy() override;
    void BringToFront() override;
    void Finished() override;

    void OnInitDialog(HWND window);
    void DrawRow(int row, HDC dc);
    void PaintRows();
    void redrawProgress(bool reset);
    void OnRemovalTimer(UINT_PTR timerId);
    HWND RowIcon(int row) const;
    HWND RowLabel(int row) const;

    HFONT normalFont;
    HFONT boldFont;
    HCURSOR savedCursor;
    HCURSOR waitCursor;
    StringLoader strings;
    bool fastTicks;  // the last tick left its step unfinished
    HIMAGELIST images;
};

// ExitWindowsEx on 95, 98 and Me; the privileged restart elsewhere.
int RestartForRemoval(const COSInfo& os);
