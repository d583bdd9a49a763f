#include "settings/custom_list.h"

#include <mmsystem.h>

#include <cstdlib>

#include "frame/handles.h"
#include "scene/picture_loader.h"
#include "settings/control_ids.h"
#include "settings/list_edit.h"
#include "settings/preview_fit.h"

namespace flurrin {

using namespace ids;

const ListFormWording kPictureListWording{
    " - Picture Selection",
    "*.gif;*.bmp;*.jpg",
    "Select Picture Files From Your System",
    "Click On A Picture File To Preview It",
    "Custom Picture Files To Show During Screen Saver",
    " Select a storage device to browse",
    " Select a folder to view the music files available",
    " Click on a picture file to preview it",
    " Add the picture files that are currently selected",
    " Add all picture files from this directory",
    " Removes the selected file(s) from your picture list",
    " Save your picture list and exit",
    " Exit without saving any changes to your picture list",
    " Double click on a picture file to preview it",
    &Settings::custom_picture_paths,
    false,
};

const ListFormWording kMusicListWording{
    " - Music Selection",
    "*.mid;*.rmi;*.wav;*.mp3",
    "Select Music Files From Your System",
    "Click On A Music File To Preview It",
    "Music Files To Play During Screen Saver",
    " Select a storage device to browse",
    " Select a folder to view the music files available",
    " Click on a music file to preview it",
    " Add the music files that are currently selected",
    " Add all music files from this directory",
    " Removes the selected file(s) from your music list",
    " Save your music list and exit",
    " Exit without saving any changes to your music list",
    " Double click on a music file to preview it",
    &Settings::custom_audio_paths,
    true,
};

namespace {

constexpr int kPreviewX = 430, kPreviewY = 28, kPreviewWidth = 198, kPreviewHeight = 150;

// Where the browsing starts: the folder of the list's last file, while it exists.
std::string start_folder(const std::vector<std::string>& entries) {
    if (entries.empty()) return {};
    const std::string& last = entries.back();
    size_t cut = last.find_last_of('\\');
    if (cut == std::string::npos) return {};
    std::string folder = last.substr(0, cut + 1);
    DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? folder : std::string();
}

}  // namespace

void CustomListForm::on_load() {
    add_control("STATIC", wording_.select_label, 0, 12, 8, 408, 18, 0);
    add_control("STATIC", wording_.preview_label, 0, kPreviewX, 8, kPreviewWidth, 18, 0);
    entries_ = real_entries(settings_.*wording_.list);
    std::string start = start_folder(entries_);
    if (browser_.folder().empty() && !start.empty()) browser_.set_folder_hint(start);
    browser_.create(hwnd(), {kDrives, kFolders, kFiles}, RECT{12, 28, 212, 52}, RECT{12, 56, 212, 236},
                    RECT{220, 28, 420, 236}, wording_.patterns, true);
    if (!wording_.music) preview_.create(hwnd(), kPreviewX, kPreviewY, kPreviewWidth, kPreviewHeight, kPreviewPicture);

    add_control("BUTTON", "Add &Selected File(s)", WS_TABSTOP, 12, 244, 150, 28, kAddSelected);
    add_control("BUTTON", "Add &All File(s)", WS_TABSTOP, 170, 244, 150, 28, kAddAll);
    add_control("BUTTON", "&Remove Selected File(s)", WS_TABSTOP, 328, 244, 170, 28, kRemove);
    add_control("BUTTON", wording_.list_frame, BS_GROUPBOX, 12, 280, 616, 120, 0);
    add_control("LISTBOX", "", LBS_NOTIFY | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP,
                22, 298, 596, 94, kList, WS_EX_CLIENTEDGE);
    SendMessageA(item(kList), LB_SETHORIZONTALEXTENT, 2000, 0);
    add_control("BUTTON", "&Ok", WS_TABSTOP, 400, 408, 110, 28, kListOk);
    add_control("BUTTON", "&Cancel", WS_TABSTOP, 518, 408, 110, 28, kListCancel);

    set_tip(kDrives, wording_.drives_tip);
    set_tip(kFolders, wording_.folders_tip);
    set_tip(kFiles, wording_.files_tip);
    set_tip(kAddSelected, wording_.add_selected_tip);
    set_tip(kAddAll, wording_.add_all_tip);
    set_tip(kRemove, wording_.remove_tip);
    set_tip(kListOk, wording_.ok_tip);
    set_tip(kListCancel, wording_.cancel_tip);
    set_tip(kList, wording_.list_tip);
    fill_list();
    set_first_focus(kFolders);
}

void CustomListForm::fill_list() {
    HWND list = item(kList);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    SendMessageA(list, LB_INITSTORAGE, entries_.size(), 64 * entries_.size());
    for (const std::string& path : entries_) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void CustomListForm::add(const std::vector<std::string>& names) {
    size_t before = entries_.size();
    size_t left_out = add_entries(entries_, browser_.folder(), names);
    HWND list = item(kList);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_INITSTORAGE, entries_.size() - before, 64 * (entries_.size() - before));
    for (size_t i = before; i < entries_.size(); ++i)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entries_[i].c_str()));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    if (left_out > 0) {
        show_message(hwnd(),
                     "The list holds at most " + std::to_string(kMaxCustomEntries) + " files: " +
                         std::to_string(left_out) + " file(s) were left out.",
                     caption(), MB_OK | MB_ICONINFORMATION);
    }
}

void CustomListForm::remove_selection() {
    HWND list = item(kList);
    LRESULT count = SendMessageA(list, LB_GETSELCOUNT, 0, 0);
    if (count <= 0) return;
    std::vector<int> selected(static_cast<size_t>(count));
    count = SendMessageA(list, LB_GETSELITEMS, WPARAM(count), reinterpret_cast<LPARAM>(selected.data()));
    selected.resize(count > 0 ? size_t(count) : 0);
    remove_selected(entries_, selected);
    fill_list();
}

void CustomListForm::preview(const std::string& path) {
    if (path.empty()) return;
    if (wording_.music) do_audio(path);
    else show_picture(path);
}

void CustomListForm::clear_image() {
    preview_.clear();
    preview_.refresh();
}

void CustomListForm::show_picture(const std::string& path) {
    clear_image();
    unique_hbitmap picture = load_preview_picture(path, preview_.width(), preview_.height());
    if (picture) do_picture(picture.get());
}

void CustomListForm::do_picture(HBITMAP picture) {
    BITMAP info{};
    if (!GetObjectA(picture, sizeof info, &info)) return;
    PreviewRect place = fit_preview(info.bmWidth, std::abs(info.bmHeight), preview_.width(), preview_.height());
    if (place.width == 0) return;
    unique_hdc source(CreateCompatibleDC(preview_.dc()));
    SelectObjectScope keep(source.get(), picture);
    SetStretchBltMode(preview_.dc(), HALFTONE);
    SetBrushOrgEx(preview_.dc(), 0, 0, nullptr);
    StretchBlt(preview_.dc(), place.x, place.y, place.width, place.height, source.get(), 0, 0, info.bmWidth,
               std::abs(info.bmHeight), SRCCOPY);
    GdiFlush();
    preview_.refresh();
}

void CustomListForm::do_audio(const std::string& path) { music_.play_music_file(path, hwnd(), settings_); }

void CustomListForm::on_command(int id, int code) {
    if (browser_.on_command(id, code)) {
        if (browser_.file_clicked) preview(browser_.selected_file());
        browser_.file_clicked = browser_.file_double_clicked = browser_.folder_changed = false;
        return;
    }
    switch (id) {
    case kAddSelected: add(browser_.names(true)); break;
    case kAddAll: add(browser_.names(false)); break;
    case kRemove: remove_selection(); break;
    case kList:
        if (code == LBN_DBLCLK) {
            LRESULT at = SendMessageA(item(kList), LB_GETCARETINDEX, 0, 0);
            if (at >= 0 && size_t(at) < entries_.size()) preview(entries_[size_t(at)]);
        }
        break;
    case kListOk:
        settings_.*wording_.list = entries_;
        close();
        break;
    case kListCancel:
    case IDCANCEL: close(); break;
    default: break;
    }
}

LRESULT CustomListForm::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == MM_MCINOTIFY) {
        music_.on_notify(UINT(lparam));
        return 0;
    }
    return Form::on_message(message, wparam, lparam);
}

void CustomListForm::on_unload() {
    // However the form closes, its device closes with it.
    music_.stop_music();
    preview_.destroy();
}

void show_custom_list(HWND owner, const ListFormWording& wording, Settings& settings) {
    CustomListForm form(wording, settings);
    form.show_modal(owner);
}

}  // namespace flurrin
