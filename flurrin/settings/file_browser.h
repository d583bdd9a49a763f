// The drive, folder and file lists the browsing forms share: a drive combo
// box, a folder list (".." and the sub-folders, double click enters) and a
// file list filtered by patterns such as "*.bmp;*.gif".
#pragma once
#include <windows.h>

#include <string>
#include <vector>

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

    const std::string& folder() const { return folder_; }  // always ends in "\"
    void set_folder(const std::string& folder);
    // The folder to start in, before create().
    void set_folder_hint(const std::string& folder) { folder_ = folder; }
    // Full path of the selected file (the caret one in multiple selection), or "".
    std::string selected_file() const;
    std::vector<std::string> selected_files() const;
    std::vector<std::string> all_files() const;

    bool folder_changed = false;
    bool file_clicked = false;
    bool file_double_clicked = false;

private:
    void fill();
    std::string file_at(int index) const;

    HWND form_ = nullptr;
    Ids ids_{};
    std::string folder_;
    std::string patterns_;
};

// Folder + "\" when missing + name.
std::string join_path(const std::string& folder, const std::string& name);

}  // namespace flurrin
