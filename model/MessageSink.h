// Where operations send the message boxes they show, so that tests can see
// what would be shown instead of blocking on a modal box.
#pragma once

class MessageSink {
public:
    virtual ~MessageSink() {}
    // Text and caption are string-table ids; style holds the MB_ flags.
    virtual void Show(unsigned textId, unsigned captionId, unsigned style) = 0;
};
