// The sharing dialog, where the sender states who owns the artwork and
// confirms the credits, and the progress dialog that runs the worker.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <memory>

#include "base/failure.h"
#include "base/message.h"
#include "bulbs/bulb_upload.h"
#include "bulbs/bulb_writer.h"
#include "bulbs/extra_bulb.h"
#include "resources/resource_ids.h"
#include "ui/settings_store.h"
#include "ui/sharing.h"

namespace lumarel {

namespace {

constexpr int kCreditsLimit = 79;

HINSTANCE programInstance() { return GetModuleHandleA(nullptr); }

// --- sharing dialog -------------------------------------------------------------

struct SharingDialog {
    HWND settings;
    ExtraBulbObject* bulb;
};

void showControls(HWND dialog, int first, int last, bool show) {
    for (int id = first; id <= last; ++id)
        if (HWND control = GetDlgItem(dialog, id)) ShowWindow(control, show ? SW_SHOW : SW_HIDE);
}

// Owner name and e-mail address, one per line, as a new bulb's credits
// would have them.
std::string senderCredits() {
    char owner[kBulbTextSize] = {}, email[kBulbTextSize] = {};
    readUserName(owner, sizeof owner);
    readUserEmail(email, sizeof email);
    std::string text = owner;
    if (email[0]) {
        std::string joined = text.empty() ? email : text + "\r\n" + email;
        if (joined.size() <= kCreditsLimit) text = joined;
    }
    return text;
}

void onSharingInit(HWND dialog, const SharingDialog& s) {
    CheckRadioButton(dialog, IDC_SHARE_UNKNOWN, IDC_SHARE_PERMISSION, IDC_SHARE_UNKNOWN);
    for (int id : {IDC_SHARE_AUTHOR, IDC_SHARE_COPYRIGHT, IDC_SHARE_SENDER})
        SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, kCreditsLimit, 0);
    SetDlgItemTextA(dialog, IDC_SHARE_AUTHOR, s.bulb->author());
    SetDlgItemTextA(dialog, IDC_SHARE_COPYRIGHT, s.bulb->copyright());
    SetDlgItemTextA(dialog, IDC_SHARE_SENDER, senderCredits().c_str());
    showControls(dialog, IDC_SHARE_CREDITS_INTRO, IDC_SHARE_SENDER, false);
    showControls(dialog, IDC_SHARE_SEND, IDC_SHARE_SEND, false);
}

bool checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void onContinue(HWND dialog) {
    if (checked(dialog, IDC_SHARE_NO_PERMISSION) || checked(dialog, IDC_SHARE_UNKNOWN)) {
        showMessage(dialog, "Sorry, we cannot accept bulbs unless you have the artist's permission to share them.",
                    "Cannot Send Copyrighted Bulbs", MB_OK | MB_ICONWARNING);
        return;
    }
    showControls(dialog, IDC_SHARE_INTRO, IDC_SHARE_PERMISSION, false);
    showControls(dialog, IDC_SHARE_CONTINUE, IDC_SHARE_CONTINUE, false);
    showControls(dialog, IDC_SHARE_CREDITS_INTRO, IDC_SHARE_COPYRIGHT, true);
    showControls(dialog, IDC_SHARE_SENDER_LABEL, IDC_SHARE_SENDER, checked(dialog, IDC_SHARE_PERMISSION));
    showControls(dialog, IDC_SHARE_SEND, IDC_SHARE_SEND, true);
    SendMessageA(dialog, DM_SETDEFID, IDC_SHARE_SEND, 0);
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_SHARE_SEND)), TRUE);
}

uint32_t copyrightStatus(HWND dialog) {
    if (checked(dialog, IDC_SHARE_NO_PERMISSION)) return 0;
    if (checked(dialog, IDC_SHARE_ARTIST)) return 1;
    if (checked(dialog, IDC_SHARE_PERMISSION)) return 2;
    return 3;
}

void onSend(HWND dialog, const SharingDialog& s) {
    char author[kBulbTextSize] = {}, copyright[kBulbTextSize] = {}, sender[kBulbTextSize] = {};
    GetDlgItemTextA(dialog, IDC_SHARE_AUTHOR, author, sizeof author);
    GetDlgItemTextA(dialog, IDC_SHARE_COPYRIGHT, copyright, sizeof copyright);
    GetDlgItemTextA(dialog, IDC_SHARE_SENDER, sender, sizeof sender);
    writeSendCredits(s.bulb->path(), copyrightStatus(dialog), author, copyright);
    if (checked(dialog, IDC_SHARE_PERMISSION) && sender[0]) s.bulb->appendSenderText(sender);
    PostMessageA(s.settings, kSendBulbRequest, 0, LPARAM(s.bulb->id()));
    EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK sharingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* s = reinterpret_cast<SharingDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        onSharingInit(dialog, *reinterpret_cast<SharingDialog*>(lParam));
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_SHARE_UNKNOWN:
        case IDC_SHARE_ARTIST:
        case IDC_SHARE_NO_PERMISSION:
        case IDC_SHARE_PERMISSION:
            if (HIWORD(wParam) == BN_CLICKED)
                CheckRadioButton(dialog, IDC_SHARE_UNKNOWN, IDC_SHARE_PERMISSION, LOWORD(wParam));
            return TRUE;
        case IDC_SHARE_CONTINUE:
            // Enter reaches the default button even while it is hidden.
            if (IsWindowVisible(GetDlgItem(dialog, IDC_SHARE_CONTINUE))) onContinue(dialog);
            return TRUE;
        case IDC_SHARE_SEND:
            if (s && IsWindowVisible(GetDlgItem(dialog, IDC_SHARE_SEND))) onSend(dialog, *s);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

// --- progress dialog ------------------------------------------------------------

struct UploadDialog {
    UploadJob job;
    unique_handle worker;
    bool finished = false;
};

void setStatus(HWND dialog, const char* text) { SetDlgItemTextA(dialog, IDC_UPLOAD_STATUS, text); }

void onUploadInit(HWND dialog, UploadDialog& u) {
    setStatus(dialog, kStatusStarting);
    u.job.dialog = dialog;
    u.worker = startUpload(u.job);
    if (!u.worker) EndDialog(dialog, IDCANCEL);
}

void onCancel(HWND dialog, UploadDialog& u) {
    if (u.finished) return;
    u.job.cancel.store(true);
    setStatus(dialog, kStatusCanceling);
    EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
    // The dialog ends when the worker reports that it stopped, which a
    // cancel makes happen within a quarter second.
}

void onFinished(HWND dialog, UploadDialog& u, SendOutcome outcome) {
    u.finished = true;
    if (outcome == SendOutcome::Sent)
        showMessage(dialog, kSentText, kSentTitle, MB_OK | MB_ICONINFORMATION);
    else if (outcome == SendOutcome::Failed)
        showMessage(dialog, sendProblemText(u.job.server).c_str(), kProblemTitle, MB_OK | MB_ICONWARNING);
    // The worker's last act was the post that brought us here.
    WaitForSingleObject(u.worker.get(), INFINITE);
    EndDialog(dialog, outcome == SendOutcome::Sent ? IDOK : IDCANCEL);
}

void onServerMessage(HWND dialog, UploadDialog& u) {
    if (!u.job.cancel.load())
        showMessage(dialog, u.job.serverMessage.c_str(), kServerMessageTitle, MB_OK | MB_ICONINFORMATION);
    SetEvent(u.job.messageSeen.get());
}

INT_PTR CALLBACK uploadProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* u = reinterpret_cast<UploadDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        onUploadInit(dialog, *reinterpret_cast<UploadDialog*>(lParam));
        return TRUE;
    case kSendChunkCount:
        SendDlgItemMessageA(dialog, IDC_UPLOAD_PROGRESS, PBM_SETRANGE32, 0, LPARAM(wParam));
        SendDlgItemMessageA(dialog, IDC_UPLOAD_PROGRESS, PBM_SETSTEP, 1, 0);
        return TRUE;
    case kSendChunkSent:
        SendDlgItemMessageA(dialog, IDC_UPLOAD_PROGRESS, PBM_STEPIT, 0, 0);
        return TRUE;
    case kSendOpeningSocket: setStatus(dialog, kStatusOpeningSocket); return TRUE;
    case kSendLookingUp: setStatus(dialog, kStatusLookingUp); return TRUE;
    case kSendConnecting: setStatus(dialog, kStatusConnecting); return TRUE;
    case kSendSending: setStatus(dialog, kStatusSending); return TRUE;
    case kSendServerMessage:
        if (u) onServerMessage(dialog, *u);
        return TRUE;
    case kSendFinished:
        if (u) onFinished(dialog, *u, SendOutcome(wParam));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL && u) onCancel(dialog, *u);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void openSharingDialog(HWND settings, BulbObject* bulb) {
    auto* extra = dynamic_cast<ExtraBulbObject*>(bulb);
    if (!extra || !extra->sendable()) return;
    SharingDialog state{settings, extra};
    DialogBoxParamA(programInstance(), "SHARING", settings, sharingProc, reinterpret_cast<LPARAM>(&state));
}

void sendBulbFromSettings(HWND settings, int32_t bulbId) {
    auto* bulb = dynamic_cast<ExtraBulbObject*>(findBulbById(bulbId));
    if (!bulb) return;
    auto state = std::make_unique<UploadDialog>();
    state->job.server = bulbServerSetting();
    state->job.bulbPath = bulb->path();
    state->job.bulbName = bulb->name();
    DialogBoxParamA(programInstance(), "UPLOAD", settings, uploadProc, reinterpret_cast<LPARAM>(state.get()));
    if (state->worker && !state->finished) {
        // The dialog went without the worker's report (its owner was
        // destroyed): stop the worker before its job goes. It never waits
        // on this thread except cancellably, so this ends soon.
        state->job.cancel.store(true);
        WaitForSingleObject(state->worker.get(), INFINITE);
    }
    bulb->categoriesChanged();
    fillSharingList(settings);
}

}  // namespace lumarel
