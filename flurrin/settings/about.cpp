#include "settings/about.h"

#include <shellapi.h>

#include "settings/control_ids.h"
#include "settings/settings.h"
#include "settings/version_info.h"

namespace flurrin {

namespace {
using namespace ids;
constexpr const char* kProductPage = "http://www.vessaro.example/flurrin";
}  // namespace

std::string program_version(HMODULE module) {
    if (!module) module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));  // RT_VERSION
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    auto version = read_file_version(static_cast<const uint8_t*>(bytes), SizeofResource(module, found));
    return version ? version_text(*version) : std::string();
}

void open_web_page(HWND owner, const char* address) {
    auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(owner, "open", address, nullptr, nullptr, SW_SHOWNORMAL));
    if (result < 33) show_message(owner, "Shell Execute Error. (No default browser?)", kProductName, MB_OK);
}

std::string AboutForm::caption() const { return std::string("About... ") + kProductName; }

void AboutForm::on_load() {
    add_control("STATIC", (std::string("Welcome To: ") + kProductName).c_str(), 0, 16, 16, 288, 20, kAboutWelcome);
    add_control("STATIC", ("Version: " + program_version()).c_str(), 0, 16, 44, 288, 20, kAboutVersion);
    add_control("BUTTON", "Flurrin &Web Site", WS_TABSTOP, 16, 104, 150, 28, kWebSite);
    add_control("BUTTON", "&Ok", BS_DEFPUSHBUTTON | WS_TABSTOP, 192, 104, 112, 28, kAboutOk);
    set_tip(kWebSite, " Visit the Flurrin web site");
    set_tip(kAboutOk, " Close this window");
    set_default_button(kAboutOk);
    set_first_focus(kAboutOk);
}

void AboutForm::on_command(int id, int) {
    switch (id) {
    case kWebSite: open_web_page(hwnd(), kProductPage); break;
    case kAboutOk:
    case IDOK:
    case IDCANCEL: close(); break;
    default: break;
    }
}

void show_about(HWND owner) {
    AboutForm form;
    form.show_modal(owner);
}

}  // namespace flurrin
