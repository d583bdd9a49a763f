// The worker thread that sends a bulb file to the bulb server. It talks to
// its progress dialog only by posting messages (bulb_sending.h) and never
// shows a box itself: the dialog shows them on the GUI thread.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>

#include "base/handles.h"
#include "bulbs/bulb_sending.h"

namespace lumarel {

// The worker asks the dialog to show its server message (the text is in
// UploadJob::serverMessage) and waits until the dialog sets messageSeen.
constexpr UINT kSendServerMessage = 1042;

struct UploadJob {
    std::string server;    // "host" or "host:port", as the user wrote it
    std::string bulbPath;
    std::string bulbName;
    HWND dialog = nullptr;  // receives the progress messages
    std::atomic<bool> cancel{false};
    // Without progress for this long, a send fails.
    DWORD stallLimitMs = 30000;
    std::string serverMessage;  // written before kSendServerMessage is posted
    unique_handle messageSeen{CreateEventA(nullptr, FALSE, FALSE, nullptr)};
    // Called with the tick count for the upload's file name (tests fix it).
    DWORD(WINAPI* tickCount)() = GetTickCount;
};

// Starts the worker on the job, which must outlive it. Its last act is
// posting kSendFinished (wparam: the SendOutcome) to the job's dialog.
// Returns the thread's handle, or an empty one when it could not start.
unique_handle startUpload(UploadJob& job);

}  // namespace lumarel
