// frm_custompictures and frm_custommusic: one form, two wordings. The user
// browses the disks, previews a file and builds the ordered list of paths
// that replaces the custom picture or music list on "&Ok".
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "frame/form.h"
#include "frame/music.h"
#include "frame/picture_box.h"
#include "settings/file_browser.h"
#include "settings/settings.h"

namespace flurrin {

struct ListFormWording {
    const char* caption_tail;  // after the product name
    const char* patterns;
    const char* select_label;
    const char* preview_label;
    const char* list_frame;
    const char* drives_tip;
    const char* folders_tip;
    const char* files_tip;
    const char* add_selected_tip;
    const char* add_all_tip;
    const char* remove_tip;
    const char* ok_tip;
    const char* cancel_tip;
    const char* list_tip;
    std::vector<std::string> Settings::*list;
    bool music;  // previews play instead of showing
};

extern const ListFormWording kPictureListWording;
extern const ListFormWording kMusicListWording;

class CustomListForm final : public Form {
public:
    CustomListForm(const ListFormWording& wording, Settings& settings) : wording_(wording), settings_(settings) {}
    ~CustomListForm() override { unload(); }

    // The working list (List2) and the browsing lists, for the tests.
    const std::vector<std::string>& entries() const { return entries_; }
    FileBrowser& browser() { return browser_; }
    const DibSurface& preview_image() const { return preview_.image(); }
    bool music_playing() const { return music_.playing(); }

protected:
    std::string caption() const override { return std::string(kProductName) + wording_.caption_tail; }
    SIZE client_size() const override { return {640, 444}; }
    void on_load() override;
    void on_command(int id, int code) override;
    bool on_key(const MSG& msg) override { return browser_.on_key(msg); }
    LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam) override;
    void on_unload() override;

private:
    void add(const std::vector<std::string>& names);
    void remove_selection();
    void fill_list();
    void preview(const std::string& path);
    // The picture preview: the file scaled into the preview area.
    void show_picture(const std::string& path);
    void do_picture(HBITMAP picture);
    void clear_image();
    // The music preview: the file plays at once through the form's own device.
    void do_audio(const std::string& path);

    const ListFormWording& wording_;
    Settings& settings_;
    std::vector<std::string> entries_;
    FileBrowser browser_;
    PictureBox preview_;
    MusicPlayer music_;
};

// Shows the list form modally over owner; "&Ok" replaces the list in settings.
void show_custom_list(HWND owner, const ListFormWording& wording, Settings& settings);

}  // namespace flurrin
