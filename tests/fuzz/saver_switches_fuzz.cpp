// The screen saver's command line: any bytes give one of the known actions,
// and a window number only with the actions that take one, never above the
// largest handle.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "switches.h"

using namespace saverstub;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view line(reinterpret_cast<const char*>(data), size);
    for (uint64_t largest : {uint64_t(0xFFFFFFFFu), UINT64_MAX}) {
        SaverSwitches s = parseSwitches(line, largest);
        if (s.window > largest) abort();
        switch (s.action) {
        case SaverAction::Nothing:
        case SaverAction::Run:
            if (s.window != 0) abort();
            break;
        case SaverAction::Preview:
        case SaverAction::ChangePassword:
            if (s.window == 0) abort();
            break;
        case SaverAction::Configure:
            break;
        default:
            abort();
        }
    }
    return 0;
}
