#include "base/program_path.h"

#include <cstring>

namespace lumarel {

void programPath(char (&path)[MAX_PATH], bool folderOnly) {
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) path[0] = '\0';
    path[MAX_PATH - 1] = '\0';
    if (folderOnly) {
        if (char* slash = strrchr(path, '\\'))
            slash[1] = '\0';
        else
            path[0] = '\0';
    }
}

}  // namespace lumarel
