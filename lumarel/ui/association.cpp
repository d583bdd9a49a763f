#include "ui/association.h"

#include <string>

#include "base/program_path.h"
#include "base/reg_key.h"
#include "ui/settings_store.h"
#include "ui/shell_places.h"

namespace lumarel {

namespace {

constexpr const char* kUserClassesKey = "Software\\Classes";

// Every key under root\base; false at the first write that fails.
bool writeClassValues(HKEY root, const std::string& base, const char* programPath) {
    for (const ClassValue& value : bulbClassValues(programPath)) {
        std::string subKey = base.empty() ? value.subKey : base + "\\" + value.subKey;
        RegKey key(root, subKey.c_str());
        if (!key.writeString(nullptr, value.data.c_str())) return false;
    }
    return true;
}

}  // namespace

bool registerBulbFileType(const char* programPath, HKEY classesRoot, HKEY userRoot) {
    return writeClassValues(classesRoot, "", programPath) || writeClassValues(userRoot, kUserClassesKey, programPath);
}

void registerProgram() {
    char program[MAX_PATH];
    programPath(program, false);
    if (!program[0]) return;  // a path longer than the shell's 260 bytes: nothing to record
    RegKey(HKEY_CURRENT_USER, kSettingsKey).writeString(setting::Path, program);
    registerBulbFileType(program, HKEY_CLASSES_ROOT, HKEY_CURRENT_USER);
}

}  // namespace lumarel
