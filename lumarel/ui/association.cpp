#include "ui/association.h"

// The file association is not built yet.

namespace lumarel {

void registerBulbFileType() {}

}  // namespace lumarel
