#include "frame/command_line.h"

#include <cstdio>

namespace flurrin {

namespace {
constexpr uint32_t kRegSz = 1, kRegExpandSz = 2, kRegDword = 4;

char upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
}  // namespace

SaverSwitch parse_switch(std::string_view command_line) {
    while (!command_line.empty() && command_line.front() == ' ') command_line.remove_prefix(1);
    if (command_line.empty()) return SaverSwitch::Configure;
    if (command_line.size() < 2 || (command_line[0] != '/' && command_line[0] != '-')) return SaverSwitch::Unknown;
    switch (upper(command_line[1])) {
    case 'C': return SaverSwitch::Configure;
    case 'S': return SaverSwitch::Saver;
    case 'P': return SaverSwitch::Preview;
    case 'A': return SaverSwitch::ChangePassword;
    case 'M': return SaverSwitch::MakeFiles;
    default: return SaverSwitch::Unknown;
    }
}

uint64_t parse_switch_handle(std::string_view command_line) {
    while (!command_line.empty() && command_line.front() == ' ') command_line.remove_prefix(1);
    if (command_line.size() <= 2) return 0;
    std::string_view rest = command_line.substr(2);
    size_t i = 0;
    while (i < rest.size() && rest[i] == ' ') ++i;
    uint64_t value = 0;
    for (; i < rest.size() && rest[i] >= '0' && rest[i] <= '9'; ++i) {
        value = value * 10 + uint64_t(rest[i] - '0');
        // Window handles are 32-bit values even in 64-bit programs.
        if (value > 0xFFFFFFFFull) return 0;
    }
    return value;
}

std::string format_dword_text(const uint8_t bytes[4]) {
    uint32_t value = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
    char text[16];
    std::snprintf(text, sizeof text, "%03u", unsigned(value));
    return text;
}

std::string registry_value_text(uint32_t type, const uint8_t* data, size_t size) {
    if (type == kRegDword) return size >= 4 ? format_dword_text(data) : std::string();
    if (type != kRegSz && type != kRegExpandSz) return {};
    size_t length = 0;
    while (length < size && data[length] != 0) ++length;
    return std::string(reinterpret_cast<const char*>(data), length);
}

}  // namespace flurrin
