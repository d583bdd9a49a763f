#include "music/media_graph.h"

#include <dshow.h>

namespace lumarel {

namespace {

// The filter graph and its interfaces, by their published identifiers.
constexpr CLSID kFilterGraph = {0xE436EBB3, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
constexpr IID kGraphBuilder = {0x56A868A9, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
constexpr IID kMediaControl = {0x56A868B1, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
constexpr IID kMediaEventEx = {0x56A868C0, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

constexpr long kEventComplete = 1;
constexpr long kEventUserAbort = 2;

}  // namespace

bool MediaGraph::play(const char* path, HWND window, UINT message) {
    release();
    bool ok = SUCCEEDED(CoCreateInstance(kFilterGraph, nullptr, CLSCTX_INPROC_SERVER, kGraphBuilder,
                                         reinterpret_cast<void**>(&builder_))) &&
              SUCCEEDED(builder_->QueryInterface(kMediaControl, reinterpret_cast<void**>(&control_))) &&
              SUCCEEDED(builder_->QueryInterface(kMediaEventEx, reinterpret_cast<void**>(&events_)));
    WCHAR wide[MAX_PATH];
    ok = ok && MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH) != 0 &&
         SUCCEEDED(builder_->RenderFile(wide, nullptr)) &&
         SUCCEEDED(events_->SetNotifyWindow(reinterpret_cast<OAHWND>(window), long(message), 0));
    if (ok) {
        HRESULT run = control_->Run();
        ok = run == S_OK || run == S_FALSE;
    }
    if (!ok) release();
    return ok;
}

void MediaGraph::release() {
    if (events_) events_->SetNotifyWindow(0, 0, 0);
    if (control_) control_->Stop();
    if (events_) events_->Release();
    if (control_) control_->Release();
    if (builder_) builder_->Release();
    events_ = nullptr;
    control_ = nullptr;
    builder_ = nullptr;
}

bool MediaGraph::drainEnded() {
    bool ended = false;
    if (!events_) return false;
    long code = 0;
    LONG_PTR first = 0, second = 0;
    while (SUCCEEDED(events_->GetEvent(&code, &first, &second, 0))) {
        events_->FreeEventParams(code, first, second);
        ended = ended || code == kEventComplete || code == kEventUserAbort;
    }
    return ended;
}

}  // namespace lumarel
