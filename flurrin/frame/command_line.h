// The screen-saver switches and the registry text rules, kept apart from
// Win32 so they are tested natively.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace flurrin {

enum class SaverSwitch { Configure, Saver, Preview, ChangePassword, MakeFiles, Unknown };

// The first two characters, upper-cased, pick the action; an empty command
// line is "/C". "/s:123" and "/c:4242" count by their first two characters.
SaverSwitch parse_switch(std::string_view command_line);

// The window handle after the switch: from the third character on, blanks
// skipped, digits up to the first other character. No number, or one too
// large for a handle, gives 0.
uint64_t parse_switch_handle(std::string_view command_line);

// A REG_DWORD as the settings text: decimal with at least three digits.
std::string format_dword_text(const uint8_t bytes[4]);

// Text of a registry value from its raw data. String values lose their
// terminating zero (and whatever a writer left after it); DWORDs become
// format_dword_text. Other types give empty text.
std::string registry_value_text(uint32_t type, const uint8_t* data, size_t size);

}  // namespace flurrin
