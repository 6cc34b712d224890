#include "MessageBoxSink.h"

#include <string>

#include "UserMessage.h"

void MessageBoxSink::Show(unsigned textId, unsigned captionId, unsigned style)
{
    // Copies: the loader's ring of buffers is shared with the rest of the program.
    const std::string text = strings.GetString(textId);
    const std::string caption = strings.GetString(captionId);
    ShowBox(text.c_str(), caption.c_str(), style);
}

int MessageBoxSink::ShowBox(const char* text, const char* caption, UINT style)
{
    return ShowMessageBox(owner, text, caption, style);
}
