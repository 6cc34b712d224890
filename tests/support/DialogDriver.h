// Drives modal dialogs from inside their own message loop, and records the
// message boxes the code under test would show.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "DialogBase.h"

// Runs the dialog modally with DialogProc and the object; once its window is
// up, calls act(dialog) from within the modal loop (act typically reads the
// controls and posts a command that ends the dialog).
INT_PTR RunModalDialog(HINSTANCE module, LPCSTR templateName, HWND owner, CDialogBase* object,
                       const std::function<void(HWND)>& act);

struct RecordedMessage {
    std::string text;
    std::string caption;
    UINT style;
};

// While alive, message boxes are recorded instead of shown and answered
// with the given button.
class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int answer = IDOK);
    ~MessageBoxRecorder();
    const std::vector<RecordedMessage>& Messages() const;
};

// Text of a window or control.
std::string WindowText(HWND window);
std::string ItemText(HWND dialog, int id);
