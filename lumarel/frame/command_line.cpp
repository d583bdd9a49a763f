#include "frame/command_line.h"

#include <cstring>

#include "base/text.h"

namespace lumarel {

namespace {

// Leading decimal digits as a window handle; anything that is not a number,
// or one that does not fit in 32 bits, gives 0 (which the caller refuses).
uint32_t parseHandle(const char* text) {
    uint64_t value = 0;
    bool any = false;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + uint64_t(*text - '0');
        if (value > 0xFFFFFFFFull) return 0;
        any = true;
    }
    return any ? uint32_t(value) : 0;
}

}  // namespace

CommandLine parseCommandLine(const char* text) {
    CommandLine result;
    if (text == nullptr || strlen(text) <= 3) return result;

    if (equalsNoCase(text, "reset")) {
        result.request = StartRequest::Reset;
    } else if (strcmp(text, "settings") == 0) {
        result.request = StartRequest::SettingsOnly;
    } else if (strncmp(text, "open", 4) == 0) {
        result.request = StartRequest::Open;
        // The path starts at the sixth character, after "open ".
        // "open" alone (or "open" with one more character) names no file.
        const char* path = strlen(text) >= 5 ? text + 5 : "";
        boundedCopy(result.openPath, sizeof result.openPath, path);
    } else if ((text[0] == 's' || text[0] == 'p') && text[1] == ' ') {
        result.request = text[0] == 's' ? StartRequest::Saver : StartRequest::Preview;
        result.window = parseHandle(text + 2);
    }
    return result;
}

}  // namespace lumarel
