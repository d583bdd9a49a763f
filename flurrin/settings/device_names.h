// frm_devicenames: the MCI device types that play each kind of music file.
#pragma once
#include <windows.h>

#include "frame/form.h"
#include "settings/settings.h"

namespace flurrin {

class DeviceNamesForm final : public Form {
public:
    explicit DeviceNamesForm(Settings& settings) : settings_(settings) {}

protected:
    std::string caption() const override { return "Audio Device Types"; }
    SIZE client_size() const override { return {420, 250}; }
    void on_load() override;
    void on_command(int id, int code) override;

private:
    Settings& settings_;
    bool filling_ = false;
};

void show_device_names(HWND owner, Settings& settings);

}  // namespace flurrin
