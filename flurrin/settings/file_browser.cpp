#include "settings/file_browser.h"

#include <algorithm>

#include "frame/form.h"

namespace flurrin {

namespace {

std::string list_text(HWND list, int index, bool combo = false) {
    LRESULT length = SendMessageA(list, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, WPARAM(index), 0);
    if (length < 0 || length > 4096) return {};
    std::string text(size_t(length) + 1, '\0');
    SendMessageA(list, combo ? CB_GETLBTEXT : LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(size_t(length));
    return text;
}

bool less_ignoring_case(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; }

}  // namespace

// A drive that is not ready (an empty card reader) answers with an error
// instead of the system's "insert a disk" box.
class QuietErrors {
public:
    QuietErrors() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~QuietErrors() { SetErrorMode(previous_); }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

private:
    UINT previous_;
};

// Calls visit(found) for each entry of folder; an unreadable folder has none.
template <typename Visit>
void for_each_entry(const std::string& folder, Visit visit) {
    QuietErrors quiet;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        visit(found);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void FileBrowser::create(HWND form, Ids ids, RECT d, RECT f, RECT l, const std::string& patterns, bool multiple) {
    form_ = form;
    ids_ = ids;
    patterns_ = patterns;
    auto make = [&](const char* cls, DWORD style, RECT r, int id) {
        HWND h = CreateWindowExA(WS_EX_CLIENTEDGE, cls, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, form, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
        SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return h;
    };
    HWND drives = make("COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, RECT{d.left, d.top, d.right, d.top + 200}, ids.drives);
    make("LISTBOX", LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, f, ids.folders);
    make("LISTBOX", LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | (multiple ? LBS_EXTENDEDSEL : 0), l, ids.files);
    char roots[512] = {};
    DWORD length = GetLogicalDriveStringsA(sizeof roots - 1, roots);
    for (const char* p = roots; length && p < roots + length && *p; p += lstrlenA(p) + 1) {
        std::string root(p);
        if (!root.empty() && root.back() == '\\') root.pop_back();
        SendMessageA(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(root.c_str()));
    }
    if (folder_.empty()) {
        char current[MAX_PATH] = {};
        GetCurrentDirectoryA(sizeof current, current);
        folder_ = current;
    }
    set_folder(folder_);
}

void FileBrowser::set_folder(const std::string& folder) {
    folder_ = folder;
    if (folder_.empty() || folder_.back() != '\\') folder_ += '\\';
    files_folder_ = folder_;
    HWND drives = GetDlgItem(form_, ids_.drives);
    std::string drive = folder_.substr(0, 2);
    LRESULT index = SendMessageA(drives, CB_FINDSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(drive.c_str()));
    SendMessageA(drives, CB_SETCURSEL, WPARAM(index), 0);
    fill();
    folder_changed = true;
}

void FileBrowser::fill() {
    HWND folders = GetDlgItem(form_, ids_.folders);
    SendMessageA(folders, LB_RESETCONTENT, 0, 0);
    std::vector<std::string> sub;
    for_each_entry(folder_, [&](const WIN32_FIND_DATAA& found) {
        std::string name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") sub.push_back(name);
    });
    std::sort(sub.begin(), sub.end(), less_ignoring_case);
    if (folder_.size() > 3) SendMessageA(folders, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(".."));
    for (const std::string& name : sub) SendMessageA(folders, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    fill_files();
}

// One pass over the folder, each name matched against every pattern: a file
// is listed once however many patterns it matches. The names are kept in
// list order, so taking them needs no round trip through the list.
void FileBrowser::fill_files() {
    HWND files = GetDlgItem(form_, ids_.files);
    files_.clear();
    for_each_entry(files_folder_, [&](const WIN32_FIND_DATAA& found) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && matches_patterns(patterns_, found.cFileName))
            files_.push_back(found.cFileName);
    });
    std::sort(files_.begin(), files_.end(), less_ignoring_case);
    SendMessageA(files, WM_SETREDRAW, FALSE, 0);
    SendMessageA(files, LB_RESETCONTENT, 0, 0);
    SendMessageA(files, LB_INITSTORAGE, files_.size(), 16 * files_.size());
    for (const std::string& name : files_) SendMessageA(files, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageA(files, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(files, nullptr, TRUE);
}

std::string FileBrowser::chosen_folder() const {
    HWND folders = GetDlgItem(form_, ids_.folders);
    std::string name = list_text(folders, int(SendMessageA(folders, LB_GETCURSEL, 0, 0)));
    if (name.empty()) return {};
    if (name != "..") return folder_ + name + "\\";
    std::string up = folder_.substr(0, folder_.size() - 1);
    size_t cut = up.find_last_of('\\');
    return cut == std::string::npos ? std::string() : up.substr(0, cut + 1);
}

void FileBrowser::open_chosen_folder() {
    std::string next = chosen_folder();
    if (!next.empty()) set_folder(next);
}

bool FileBrowser::on_key(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_RETURN || GetFocus() != GetDlgItem(form_, ids_.folders))
        return false;
    open_chosen_folder();
    return true;
}

bool FileBrowser::on_command(int id, int code) {
    if (id == ids_.drives) {
        if (code == CBN_SELCHANGE) {
            HWND drives = GetDlgItem(form_, ids_.drives);
            std::string drive = list_text(drives, int(SendMessageA(drives, CB_GETCURSEL, 0, 0)), true);
            if (!drive.empty()) set_folder(drive + "\\");
        }
        return true;
    }
    if (id == ids_.folders) {
        if (code == LBN_DBLCLK) {
            open_chosen_folder();
        } else if (code == LBN_SELCHANGE) {
            // A click shows the folder's files; the folder list stays.
            std::string chosen = chosen_folder();
            if (!chosen.empty() && chosen != files_folder_) {
                files_folder_ = chosen;
                fill_files();
                folder_changed = true;
            }
        }
        return true;
    }
    if (id == ids_.files) {
        if (code == LBN_SELCHANGE) file_clicked = true;
        if (code == LBN_DBLCLK) file_double_clicked = true;
        return true;
    }
    return false;
}

std::string FileBrowser::file_at(int index) const {
    return index >= 0 && size_t(index) < files_.size() ? join_path(files_folder_, files_[size_t(index)]) : std::string();
}

std::string FileBrowser::selected_file() const {
    HWND files = GetDlgItem(form_, ids_.files);
    bool multiple = GetWindowLongA(files, GWL_STYLE) & LBS_EXTENDEDSEL;
    LRESULT index = SendMessageA(files, multiple ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0);
    if (index < 0 || (multiple && SendMessageA(files, LB_GETSEL, WPARAM(index), 0) <= 0)) return {};
    return file_at(int(index));
}

std::vector<std::string> FileBrowser::names(bool only_selected) const {
    if (!only_selected) return files_;
    HWND files = GetDlgItem(form_, ids_.files);
    std::vector<int> rows;
    if (GetWindowLongA(files, GWL_STYLE) & LBS_EXTENDEDSEL) {
        LRESULT count = SendMessageA(files, LB_GETSELCOUNT, 0, 0);
        rows.resize(count > 0 ? size_t(count) : 0);
        count = rows.empty() ? 0 : SendMessageA(files, LB_GETSELITEMS, WPARAM(rows.size()), reinterpret_cast<LPARAM>(rows.data()));
        rows.resize(count > 0 ? size_t(count) : 0);
    } else if (LRESULT single = SendMessageA(files, LB_GETCURSEL, 0, 0); single >= 0) {
        rows.push_back(int(single));
    }
    std::vector<std::string> out;
    for (int row : rows)
        if (row >= 0 && size_t(row) < files_.size()) out.push_back(files_[size_t(row)]);
    return out;
}

std::vector<std::string> FileBrowser::selected_files() const {
    std::vector<std::string> out;
    for (const std::string& name : names(true)) out.push_back(join_path(files_folder_, name));
    return out;
}

std::vector<std::string> FileBrowser::all_files() const {
    std::vector<std::string> out;
    for (const std::string& name : names(false)) out.push_back(join_path(files_folder_, name));
    return out;
}

}  // namespace flurrin
