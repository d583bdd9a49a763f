// frm_about: the program's name and version, and the way to its web page.
#pragma once
#include <windows.h>

#include <string>

#include "frame/form.h"

namespace flurrin {

// "major.minor.revision" from the version resource of module (the program
// when null); "" when it has none.
std::string program_version(HMODULE module = nullptr);

// Opens a page in the default browser; a failure says so in a message box.
void open_web_page(HWND owner, const char* address);

class AboutForm final : public Form {
protected:
    std::string caption() const override;
    SIZE client_size() const override { return {320, 150}; }
    void on_load() override;
    void on_command(int id, int code) override;
};

void show_about(HWND owner);

}  // namespace flurrin
