#pragma once

namespace lumarel {

// Registers ".bul" files as "Lumarel.Bulb" and records the program's path.
void registerBulbFileType();

}  // namespace lumarel
