#include "switches.h"

namespace saverstub {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view skipBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    return s;
}

// The arguments after the program name.
std::string_view afterProgramName(std::string_view line) {
    if (!line.empty() && line.front() == '"') {
        size_t close = line.find('"', 1);
        line.remove_prefix(close == std::string_view::npos ? line.size() : close + 1);
    } else {
        while (!line.empty() && !isBlank(line.front())) line.remove_prefix(1);
    }
    return skipBlanks(line);
}

// A decimal window number alone on the rest of the line; false for anything
// else, overflow included.
bool readWindow(std::string_view s, uint64_t largest, uint64_t& window) {
    s = skipBlanks(s);
    uint64_t value = 0;
    size_t digits = 0;
    while (digits < s.size() && s[digits] >= '0' && s[digits] <= '9') {
        uint64_t digit = uint64_t(s[digits] - '0');
        if (value > (largest - digit) / 10) return false;
        value = value * 10 + digit;
        ++digits;
    }
    s.remove_prefix(digits);
    if (digits == 0 || !skipBlanks(s).empty()) return false;
    window = value;
    return true;
}

}  // namespace

SaverSwitches parseSwitches(std::string_view commandLine, uint64_t largestHandle) {
    std::string_view args = afterProgramName(commandLine);
    if (args.empty()) return {SaverAction::Configure, 0};
    if (args.size() < 2 || (args[0] != '/' && args[0] != '-')) return {};
    char letter = char(args[1] | 0x20);
    std::string_view rest = args;
    rest.remove_prefix(2);
    // The letter stands alone: "/save" is not "/s".
    if (!rest.empty() && rest.front() != ':' && !isBlank(rest.front())) return {};
    bool colon = !rest.empty() && rest.front() == ':';
    if (colon) rest.remove_prefix(1);

    SaverSwitches result;
    switch (letter) {
    case 's':
        return {SaverAction::Run, 0};
    case 'c':
        if (!colon) return {SaverAction::Configure, 0};
        if (!readWindow(rest, largestHandle, result.window)) return {};
        result.action = SaverAction::Configure;
        return result;
    case 'p':
    case 'a':
        if (!readWindow(rest, largestHandle, result.window) || result.window == 0) return {};
        result.action = letter == 'p' ? SaverAction::Preview : SaverAction::ChangePassword;
        return result;
    default:
        return {};
    }
}

}  // namespace saverstub
