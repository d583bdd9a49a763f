// The one way lumarel puts a message box in front of the user. Tests put a
// sink in its place to read the text and choose the button.
#pragma once
#include <windows.h>

#include <functional>

namespace lumarel {

// Given text, title and flags; returns the button.
using MessageSink = std::function<int(HWND owner, const char* text, const char* title, UINT flags)>;

// MessageBoxA, or the sink in place.
int showMessage(HWND owner, const char* text, const char* title, UINT flags);

// Puts a sink in place of the message boxes while it lives (tests).
class ScopedMessageSink {
public:
    explicit ScopedMessageSink(MessageSink sink);
    ~ScopedMessageSink();
    ScopedMessageSink(const ScopedMessageSink&) = delete;
    ScopedMessageSink& operator=(const ScopedMessageSink&) = delete;

private:
    MessageSink previous_;
};

}  // namespace lumarel
