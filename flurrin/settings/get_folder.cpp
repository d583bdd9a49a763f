#include "settings/get_folder.h"

#include "frame/app.h"
#include "frame/form.h"
#include "settings/file_browser.h"

namespace flurrin {

namespace {

enum { kDrives = 201, kFolders, kFiles, kPathLabel, kOk, kCancel, kNewFolder, kPrompt = 301, kText };

// The folder last used, shared by every picker of this run.
std::string g_current_folder;

class InputBox final : public Form {
public:
    InputBox(std::string prompt, std::string title, std::string text)
        : prompt_(std::move(prompt)), title_(std::move(title)), text_(std::move(text)) {}
    std::optional<std::string> result;

protected:
    std::string caption() const override { return title_; }
    SIZE client_size() const override { return {340, 110}; }
    void on_load() override {
        add_control("STATIC", prompt_.c_str(), 0, 10, 10, 230, 40, kPrompt);
        add_control("EDIT", text_.c_str(), ES_AUTOHSCROLL | WS_TABSTOP, 10, 74, 320, 24, kText, WS_EX_CLIENTEDGE);
        add_control("BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 250, 10, 80, 26, IDOK);
        add_control("BUTTON", "Cancel", WS_TABSTOP, 250, 40, 80, 26, IDCANCEL);
        SetFocus(item(kText));
        SendMessageA(item(kText), EM_SETSEL, 0, -1);
    }
    void on_command(int id, int) override {
        if (id == IDOK) {
            char buffer[MAX_PATH] = {};
            GetWindowTextA(item(kText), buffer, sizeof buffer);
            result = buffer;
            close();
        } else if (id == IDCANCEL) {
            close();
        }
    }

private:
    std::string prompt_, title_, text_;
};

class GetFolderForm final : public Form {
public:
    explicit GetFolderForm(std::string caption) : caption_(std::move(caption)) {}
    std::string result;

protected:
    std::string caption() const override { return caption_; }
    SIZE client_size() const override { return {430, 320}; }

    void on_load() override {
        add_control("STATIC", "Look In:", 0, 10, 10, 60, 18, 0);
        add_control("STATIC", "", SS_PATHELLIPSIS, 70, 10, 350, 18, kPathLabel);
        if (!g_current_folder.empty()) browser_.set_folder_hint(g_current_folder);
        browser_.create(hwnd(), {kDrives, kFolders, kFiles}, RECT{10, 34, 200, 60}, RECT{10, 64, 200, 304},
                        RECT{210, 34, 420, 264}, "*.*", false);
        add_control("BUTTON", "Ok", BS_DEFPUSHBUTTON | WS_TABSTOP, 210, 276, 64, 28, kOk);
        add_control("BUTTON", "Cancel", WS_TABSTOP, 282, 276, 64, 28, kCancel);
        add_control("BUTTON", "New Folder", WS_TABSTOP, 354, 276, 66, 28, kNewFolder);
        set_tip(kNewFolder, " Click here to create a new folder");
        set_default_button(kOk);
        show_path();
    }

    void on_command(int id, int code) override {
        if (browser_.on_command(id, code)) {
            show_path();
            return;
        }
        switch (id) {
        case kOk:
            set_path();
            result = g_current_folder;
            close();
            break;
        case IDCANCEL:
        case kCancel:
            set_path();
            result.clear();
            close();
            break;
        case kNewFolder: new_folder(); break;
        default: break;
        }
    }

    bool on_key(const MSG& msg) override {
        if (!browser_.on_key(msg)) return false;
        show_path();
        return true;
    }

private:
    void show_path() { SetWindowTextA(item(kPathLabel), browser_.folder().c_str()); }
    void set_path() {
        show_path();
        g_current_folder = browser_.folder();
    }
    void new_folder() {
        auto name = input_box(hwnd(), "Please enter a name for the new folder:", "Create new folder", "New Folder");
        if (!name) return;
        auto made = create_folder(browser_.folder(), *name);
        if (!made) {
            show_message(hwnd(), kNewFolderError, kNewFolderErrorTitle, MB_OK | MB_ICONEXCLAMATION);
        } else if (!made->empty()) {
            browser_.set_folder(*made);
            show_path();
        }
    }

    std::string caption_;
    FileBrowser browser_;
};

}  // namespace

std::optional<std::string> input_box(HWND owner, const std::string& prompt, const std::string& title,
                                     const std::string& default_text) {
    InputBox box(prompt, title, default_text);
    box.show_modal(owner);
    return box.result;
}

std::optional<std::string> create_folder(const std::string& folder, const std::string& name) {
    size_t first = name.find_first_not_of(" \t"), last = name.find_last_not_of(" \t");
    if (first == std::string::npos) return std::string();
    std::string trimmed = name.substr(first, last - first + 1);
    // "..\x" or "C:x" would make a folder somewhere else.
    if (!is_plain_name(trimmed)) return std::nullopt;
    std::string path = join_path(folder, trimmed);
    if (!CreateDirectoryA(path.c_str(), nullptr)) return std::nullopt;
    return path + "\\";
}

std::string get_folder(HWND owner, const std::string& caption) {
    GetFolderForm form(caption);
    form.show_modal(owner);
    return form.result;
}

}  // namespace flurrin
