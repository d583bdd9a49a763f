#include "settings/device_names.h"

#include "settings/control_ids.h"

namespace flurrin {

namespace {

using namespace ids;

struct DeviceBox {
    int id;
    std::string Settings::*value;
    const char* label;
    const char* standard;
};
const DeviceBox kBoxes[] = {
    {kMidiDevice, &Settings::midi_devicename, "Midi  Music File (*.mid, *.rmi)", "Sequencer"},
    {kWavDevice, &Settings::wav_devicename, "Wav Files (*.wav)", "WaveAudio"},
    {kMp3Device, &Settings::mp3_devicename, "MP3 Music Files (*.mp3)", "MPEGVideo"},
};

std::string text_of(HWND control) {
    char buffer[256] = {};
    GetWindowTextA(control, buffer, sizeof buffer);
    return buffer;
}

}  // namespace

void DeviceNamesForm::on_load() {
    filling_ = true;
    add_control("STATIC",
                "These are the \"DeviceType\" internal names used by the multimedia settings in your computer. If "
                "you are not sure what the internal device type name is, please contact your computer maker.",
                0, 12, 10, 396, 48, 0);
    int y = 66;
    for (const DeviceBox& box : kBoxes) {
        add_control("STATIC", box.label, SS_NOPREFIX, 12, y + 4, 200, 18, 0);
        HWND edit = add_control("EDIT", (settings_.*box.value).c_str(), ES_AUTOHSCROLL | WS_TABSTOP, 214, y, 194, 24,
                                box.id, WS_EX_CLIENTEDGE);
        SendMessageA(edit, EM_LIMITTEXT, 250, 0);
        y += 34;
    }
    add_control("BUTTON", "&Defaults", WS_TABSTOP, 176, 206, 112, 28, kDefaults);
    add_control("BUTTON", "&Ok", BS_DEFPUSHBUTTON | WS_TABSTOP, 296, 206, 112, 28, kDevicesOk);
    set_tip(kMidiDevice, " The device type that plays MIDI music files");
    set_tip(kWavDevice, " The device type that plays wave sound files");
    set_tip(kMp3Device, " The device type that plays MP3 music files");
    set_tip(kDefaults, " Put back the device types most computers use");
    set_tip(kDevicesOk, " Keep these device types and exit");
    set_default_button(kDevicesOk);
    set_first_focus(kMidiDevice);
    filling_ = false;
}

void DeviceNamesForm::on_command(int id, int code) {
    for (const DeviceBox& box : kBoxes) {
        if (box.id == id) {
            if (code == EN_CHANGE && !filling_) settings_.*box.value = text_of(item(id));
            return;
        }
    }
    switch (id) {
    case kDefaults:
        // Each box writes its setting as it changes.
        for (const DeviceBox& box : kBoxes) SetWindowTextA(item(box.id), box.standard);
        break;
    case kDevicesOk:
    case IDOK:
    case IDCANCEL: close(); break;
    default: break;
    }
}

void show_device_names(HWND owner, Settings& settings) {
    DeviceNamesForm form(settings);
    form.show_modal(owner);
}

}  // namespace flurrin
