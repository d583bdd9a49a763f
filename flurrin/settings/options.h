// frmOptions: every option the configuration form does not hold, edited in
// the settings record directly and stored when the form closes.
#pragma once
#include <windows.h>

#include <functional>

#include "frame/form.h"
#include "settings/option_values.h"

namespace flurrin {

class OptionsForm final : public Form {
public:
    // Shows a list form for one option pair modally over owner.
    using ListOpener = std::function<void(HWND owner, const OptionPair& pair)>;

    // store may be null (nothing is written); open_list defaults to the
    // custom music and picture forms.
    OptionsForm(Settings& settings, SettingsStore* store, ListOpener open_list = {});

    // A list form opened from an option button is showing.
    bool busy() const { return busy_; }

protected:
    std::string caption() const override;
    SIZE client_size() const override { return {560, 430}; }
    void on_load() override;
    void on_command(int id, int code) override;
    void on_hscroll(HWND bar, int code, int position) override;
    void on_unload() override;

private:
    void add_scroll(int id, const char* title, const char* less, const char* more, int x, int y);
    void show_frame_rate();
    void option_clicked(const OptionPair& pair, int chosen_id, int index);
    void open_list(const OptionPair& pair, int included_id, int custom_id);
    void show_pair(const OptionPair& pair, int included_id, int custom_id);

    Settings& settings_;
    SettingsStore* store_;
    ListOpener open_list_;
    bool loading_ = false;
    bool busy_ = false;
};

// Shows frmOptions modally over owner with the program's settings.
void show_options(HWND owner);

}  // namespace flurrin
