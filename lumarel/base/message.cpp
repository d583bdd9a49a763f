#include "base/message.h"

#include <utility>

namespace lumarel {
namespace {

MessageSink& sink() {
    static MessageSink current;
    return current;
}

}  // namespace

int showMessage(HWND owner, const char* text, const char* title, UINT flags) {
    if (sink()) return sink()(owner, text, title, flags);
    return MessageBoxA(owner, text, title, flags);
}

ScopedMessageSink::ScopedMessageSink(MessageSink sink) : previous_(std::exchange(lumarel::sink(), std::move(sink))) {}
ScopedMessageSink::~ScopedMessageSink() { sink() = std::move(previous_); }

}  // namespace lumarel
