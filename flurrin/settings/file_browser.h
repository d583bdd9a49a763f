// The drive, folder and file lists the browsing forms share: a drive combo
// box, a folder list (".." and the sub-folders; a click shows a folder's
// files, a double click or Enter opens it) and a file list filtered by
// patterns such as "*.bmp;*.gif".
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "settings/list_edit.h"

namespace flurrin {

class Form;

class FileBrowser {
public:
    struct Ids {
        int drives, folders, files;
    };
    // Creates the three lists inside form at the given rectangles.
    void create(HWND form, Ids ids, RECT drives, RECT folders, RECT files, const std::string& patterns,
                bool multiple_files);
    // Handles a WM_COMMAND of one of the lists; true when it was one of them.
    // Sets folder_changed / file_clicked for the caller to act on.
    bool on_command(int id, int code);
    // Enter on the folder list opens the chosen folder; true when it did.
    bool on_key(const MSG& msg);

    // The file list's folder; always ends in "\".
    const std::string& folder() const { return files_folder_; }
    void set_folder(const std::string& folder);
    // The folder to start in, before create().
    void set_folder_hint(const std::string& folder) { folder_ = files_folder_ = folder; }
    // Full path of the selected file (the caret one in multiple selection), or "".
    std::string selected_file() const;
    std::vector<std::string> selected_files() const;
    std::vector<std::string> all_files() const;
    // The file names alone, in the file list's order.
    std::vector<std::string> names(bool only_selected) const;

    bool folder_changed = false;
    bool file_clicked = false;
    bool file_double_clicked = false;

private:
    void fill();
    void fill_files();
    void open_chosen_folder();
    // The folder the folder list shows with the chosen entry applied.
    std::string chosen_folder() const;
    std::string file_at(int index) const;

    HWND form_ = nullptr;
    Ids ids_{};
    std::string folder_;        // the folder list's
    std::string files_folder_;  // the file list's: the folder last clicked
    std::vector<std::string> files_;  // the file list's names, in its order
    std::string patterns_;
};

}  // namespace flurrin
