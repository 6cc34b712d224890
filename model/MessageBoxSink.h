// The production MessageSink: a message box with the string-table texts.
#pragma once
#include <windows.h>

#include "MessageSink.h"
#include "StringLoader.h"

class MessageBoxSink : public MessageSink {
public:
    MessageBoxSink(HWND owner, StringLoader& strings) : owner(owner), strings(strings) {}
    void Show(unsigned textId, unsigned captionId, unsigned style) override;

protected:
    virtual int ShowBox(const char* text, const char* caption, UINT style);

private:
    HWND owner;
    StringLoader& strings;
};
