#include "scene/make_files.h"

#include <string>
#include <vector>

#include "frame/app.h"
#include "frame/form.h"
#include "frame/picture_box.h"
#include "scene/pack.h"
#include "scene/picture_loader.h"
#include "settings/file_browser.h"
#include "settings/get_folder.h"
#include "settings/list_edit.h"

namespace flurrin {

namespace {

enum { kDrives = 101, kFolders, kFiles, kList1, kLabel1, kAdd, kRemove, kUp, kDown, kCreate, kPreview };
constexpr int kPreviewW = 200, kPreviewH = 150;

class MakeFilesForm final : public Form {
protected:
    std::string caption() const override { return kMakeFilesCaption; }
    SIZE client_size() const override { return {650, 400}; }

    void on_load() override {
        browser_.create(hwnd(), {kDrives, kFolders, kFiles}, RECT{10, 10, 210, 36}, RECT{10, 40, 210, 210},
                        RECT{10, 216, 210, 390}, "*.bmp;*.gif;*.jpg;*.mid;*.rmi;*.wav", false);
        preview_.create(hwnd(), 220, 10, kPreviewW, kPreviewH, kPreview);
        preview_.set_stretch(true);
        add_control("BUTTON", "&Add This File", WS_TABSTOP, 220, 170, 200, 28, kAdd);
        add_control("BUTTON", "&Remove File", WS_TABSTOP, 220, 204, 200, 28, kRemove);
        add_control("BUTTON", "Move File &Up", WS_TABSTOP, 220, 238, 200, 28, kUp);
        add_control("BUTTON", "Move File &Down", WS_TABSTOP, 220, 272, 200, 28, kDown);
        add_control("BUTTON", "&Create File!", WS_TABSTOP, 220, 350, 200, 36, kCreate);
        add_control("LISTBOX", "", LBS_NOTIFY | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT | WS_TABSTOP, 430, 10, 210,
                    350, kList1, WS_EX_CLIENTEDGE);
        SendMessageA(item(kList1), LB_SETHORIZONTALEXTENT, 1200, 0);
        add_control("STATIC", "", 0, 430, 366, 210, 20, kLabel1);
        show_count();
    }

    void on_command(int id, int code) override {
        if (browser_.on_command(id, code)) {
            if (browser_.file_clicked) show_preview(browser_.selected_file());
            browser_.file_clicked = browser_.file_double_clicked = browser_.folder_changed = false;
            return;
        }
        switch (id) {
        case kAdd: {
            std::string file = browser_.selected_file();
            if (!file.empty()) entries_.push_back(file);
            refill(int(entries_.size()) - 1);
            break;
        }
        case kRemove: {
            int selected = selection();
            if (remove_entry(entries_, selected)) refill(selected < int(entries_.size()) ? selected : selected - 1);
            break;
        }
        case kUp: refill(move_entry(entries_, selection(), -1)); break;
        case kDown: refill(move_entry(entries_, selection(), +1)); break;
        case kCreate: create_pack(); break;
        case IDCANCEL: close(); break;
        default: break;
        }
    }

private:
    int selection() const { return int(SendMessageA(item(kList1), LB_GETCURSEL, 0, 0)); }

    void refill(int selected) {
        HWND list = item(kList1);
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        for (const std::string& entry : entries_) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
        SendMessageA(list, LB_SETCURSEL, WPARAM(selected), 0);
        show_count();
    }

    void show_count() {
        SetWindowTextA(item(kLabel1), ("Total Files: " + std::to_string(entries_.size())).c_str());
    }

    void show_preview(const std::string& file) {
        preview_.clear();
        std::string lower = file;
        CharLowerA(lower.data());
        bool picture = lower.size() > 4 && (lower.ends_with(".bmp") || lower.ends_with(".gif") || lower.ends_with(".jpg"));
        if (picture) {
            if (unique_hbitmap loaded = load_picture_file(file)) preview_.set_picture(loaded.get());
        }
        preview_.refresh();
    }

    void create_pack() {
        if (entries_.empty()) return;
        std::string folder = get_folder(hwnd(), "Select Destination Folder");
        if (folder.empty()) return;
        if (!pack_build(folder, "images", entries_))
            show_message(hwnd(), kMakeFilesError, kProductName, MB_OK | MB_ICONEXCLAMATION);
    }

    FileBrowser browser_;
    PictureBox preview_;
    std::vector<std::string> entries_;
};

}  // namespace

void show_make_files(HWND owner) {
    MakeFilesForm form;
    form.show_modal(owner);
}

}  // namespace flurrin
