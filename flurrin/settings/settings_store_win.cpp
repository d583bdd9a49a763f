// The per-user program-settings store on the registry, one REG_SZ value per key.
#include <windows.h>

#include "frame/app.h"
#include "frame/saver.h"

namespace flurrin {

namespace {

class RegistryStore final : public SettingsStore {
public:
    explicit RegistryStore(const std::string& application)
        : base_("Software\\VB and VBA Program Settings\\" + application + "\\") {}

    std::optional<std::string> read(std::string_view section, std::string_view key) override {
        return reg_read_value(HKEY_CURRENT_USER, base_ + std::string(section), std::string(key));
    }
    void write(std::string_view section, std::string_view key, std::string_view text) override {
        reg_write_text(HKEY_CURRENT_USER, base_ + std::string(section), std::string(key), std::string(text));
    }

private:
    std::string base_;
};

}  // namespace

std::unique_ptr<SettingsStore> make_registry_store(const std::string& application) {
    return std::make_unique<RegistryStore>(application);
}

App& app() {
    static App instance;
    return instance;
}

}  // namespace flurrin
