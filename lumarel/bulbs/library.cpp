#include "bulbs/library.h"

// The bulb library is not built yet: no folder is scanned, nothing imported.

namespace lumarel {

void scanBulbFolder() {}
void importBulbFile(HWND, const char*) {}
HWND bulbFactoryWindow() { return nullptr; }

}  // namespace lumarel
