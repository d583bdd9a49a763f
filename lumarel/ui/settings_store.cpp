#include "ui/settings_store.h"

#include <cstring>
#include <string>
#include <vector>

#include "base/text.h"
#include "engine/flash_state.h"
#include "music/song_list.h"

namespace lumarel {

namespace {

constexpr int32_t kDefaultColor = 255;  // pure red

// A DWORD setting: the stored value when present and accepted, else the
// default, written back when writeBack is set.
int32_t readDwordSetting(const char* name, int32_t fallback, bool writeBack,
                         bool (*accept)(int32_t) = nullptr) {
    RegKey key = openSettingsKey();
    DWORD value = 0;
    if (key.readDword(name, value) && (!accept || accept(int32_t(value)))) return int32_t(value);
    if (writeBack) key.writeDword(name, DWORD(fallback));
    return fallback;
}

void writeDwordSetting(const char* name, int32_t value) {
    openSettingsKey().writeDword(name, DWORD(value));
}

// A REG_SZ setting into a buffer that first holds the default.
template <size_t N>
void readStringSetting(const char* name, char (&buffer)[N], const char* fallback, bool writeBack) {
    boundedCopy(buffer, N, fallback);
    RegKey key = openSettingsKey();
    if (!key.readString(name, buffer, N) && writeBack) key.writeString(name, fallback);
}

void writeStringSetting(const char* name, const char* text, size_t limit) {
    if (strlen(text) >= limit) return;  // too long: the old value stays
    openSettingsKey().writeString(name, text);
}

std::vector<uint8_t> readBlock(const RegKey& key, const char* name, bool& present) {
    std::optional<std::vector<uint8_t>> bytes = key.readBytes(name);
    present = bytes.has_value();
    return bytes ? std::move(*bytes) : std::vector<uint8_t>{};
}

void writeSongLists(const RegKey& key) {
    std::vector<std::string> enabled, disabled;
    for (const Song& song : songList()) (song.enabled ? enabled : disabled).push_back(song.name);
    auto disabledBytes = encodeSongList(disabled);
    auto enabledBytes = encodeSongList(enabled);
    key.writeBinary(setting::DisabledMusic, disabledBytes.data(), DWORD(disabledBytes.size()));
    key.writeBinary(setting::EnabledMusic, enabledBytes.data(), DWORD(enabledBytes.size()));
}

bool inFlashIntervalRange(int32_t value) { return value >= 1 && value <= 9; }

}  // namespace

RegKey openSettingsKey() { return RegKey(HKEY_CURRENT_USER, kSettingsKey); }

void saveFlashSettings() {
    RegKey key = openSettingsKey();
    const FlashState& flash = flashState();
    auto bytes = encodeArrangement(flash.arrangement);
    key.writeBinary(setting::BulbSettings, bytes.data(), DWORD(bytes.size()));
    key.writeDword(setting::FlashInterval, DWORD(flash.interval));
    key.writeDword(setting::FlashPattern, DWORD(flash.pattern));
}

bool loadFlashSettings() {
    FlashState& flash = flashState();
    const BulbArrangement before = flash.arrangement;
    const int32_t patternBefore = flash.pattern;

    flash.arrangement = defaultArrangement();
    {
        RegKey key = openSettingsKey();
        uint8_t bytes[kArrangementBytes];
        DWORD size = key.read(setting::BulbSettings, bytes, sizeof bytes, REG_BINARY);
        if (auto stored = decodeArrangement(bytes, size)) {
            flash.arrangement = *stored;
        } else {
            auto fallback = encodeArrangement(flash.arrangement);
            key.writeBinary(setting::BulbSettings, fallback.data(), DWORD(fallback.size()));
        }
    }
    setFlashInterval(readDwordSetting(setting::FlashInterval, 5, true, inFlashIntervalRange));
    setFlashPattern(readDwordSetting(setting::FlashPattern, 1, true));

    validateArrangement(flash.arrangement, bulbKindExists);

    return flash.pattern != patternBefore || flash.arrangement != before;
}

void setBulbLocationSetting(int32_t location) { writeDwordSetting(setting::BulbLocation, location); }

int32_t getBulbLocationSetting() {
    return readDwordSetting(setting::BulbLocation, 0, true, [](int32_t v) { return v == 0 || v == 1; });
}

void saveMusic() {
    RegKey key = openSettingsKey();
    writeSongLists(key);
    key.writeDword(setting::MusicPlay, DWORD(musicPlayMode()));
}

void loadMusic() {
    {
        RegKey key = openSettingsKey();
        bool present = false;
        auto bytes = readBlock(key, setting::DisabledMusic, present);
        if (present) {
            switchOffSongs(songList(), decodeSongList(bytes.data(), bytes.size()));
        } else {
            writeSongLists(key);
        }
    }
    RegKey key = openSettingsKey();
    DWORD mode = 0;
    if (key.readDword(setting::MusicPlay, mode))
        setMusicPlayMode(int32_t(mode));
    else
        key.writeDword(setting::MusicPlay, 3);
}

void setSaverModule(const char* name) { writeStringSetting(setting::SaverModule, name, 260); }
void getSaverModule(char (&name)[260]) { readStringSetting(setting::SaverModule, name, "Snow", true); }

void setSaverMessage(const char* text) { writeStringSetting(setting::SaverMessage, text, 256); }
void getSaverMessage(char (&text)[256]) {
    readStringSetting(setting::SaverMessage, text, "Happy Holidays!", true);
}

void setMessageFont(const MessageFont& font, COLORREF color) {
    RegKey key = openSettingsKey();
    auto bytes = encodeMessageFont(font);
    key.writeBinary(setting::SaverMessageFont, bytes.data(), DWORD(bytes.size()));
    key.writeDword(setting::SaverMessageColor, color);
}

void getMessageFont(MessageFont& font, COLORREF& color) {
    font = MessageFont{};
    RegKey key = openSettingsKey();
    uint8_t bytes[kMessageFontBytes];
    DWORD size = key.read(setting::SaverMessageFont, bytes, sizeof bytes, REG_BINARY);
    if (auto stored = decodeMessageFont(bytes, size)) {
        font = *stored;
    } else {
        auto fallback = encodeMessageFont(font);
        key.writeBinary(setting::SaverMessageFont, fallback.data(), DWORD(fallback.size()));
    }
    DWORD value = 0;
    if (key.readDword(setting::SaverMessageColor, value)) {
        color = value;
    } else {
        color = kDefaultColor;
        key.writeDword(setting::SaverMessageColor, kDefaultColor);
    }
}

void setPictureName(const char* name) { writeStringSetting(setting::SaverPictureName, name, 260); }
void getPictureName(char (&name)[260]) {
    readStringSetting(setting::SaverPictureName, name, "Santa Candle.BMP", true);
}

void setPictureDisplayType(int32_t type) { writeDwordSetting(setting::SaverPictureDisplay, type); }
int32_t getPictureDisplayType() {
    return readDwordSetting(setting::SaverPictureDisplay, 0, true,
                            [](int32_t v) { return v >= 0 && v <= 2; });
}

void setLastConvertedPictureName(const char* name) {
    writeStringSetting(setting::LastPictureName, name, 260);
}
void getLastConvertedPictureName(char (&name)[260]) {
    readStringSetting(setting::LastPictureName, name, "", false);
}

void setLastConvertedPictureTime(uint32_t time) {
    writeDwordSetting(setting::LastPictureTime, int32_t(time));
}
uint32_t getLastConvertedPictureTime() {
    return uint32_t(readDwordSetting(setting::LastPictureTime, 0, false));
}

void setMovementType(int32_t type) { writeDwordSetting(setting::SaverMovement, type); }
int32_t getMovementType() {
    {
        RegKey key = openSettingsKey();
        DWORD value = 0;
        if (key.readDword(setting::SaverMovement, value) && value <= 3) return int32_t(value);
    }
    char module[260];
    getSaverModule(module);
    int32_t type = defaultMovementType(module);
    writeDwordSetting(setting::SaverMovement, type);
    return type;
}

void setHotKeyOn(int32_t on) { writeDwordSetting(setting::HotKeyOn, on); }
int32_t getHotKeyOn() { return readDwordSetting(setting::HotKeyOn, 1, true); }

void setHotKeyChar(int32_t key) { writeDwordSetting(setting::HotKeyChar, key); }
int32_t getHotKeyChar() {
    return readDwordSetting(setting::HotKeyChar, 'B', true, [](int32_t c) {
        return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
}

void setPreventSlowBulbWarning(int32_t prevent) {
    writeDwordSetting(setting::PreventSlowWarning, prevent);
}
int32_t getPreventSlowBulbWarning() { return readDwordSetting(setting::PreventSlowWarning, 0, false); }

bool readCurrentVersion(char (&version)[10]) {
    version[0] = '\0';
    if (openSettingsKey().readString(setting::CurrentVersion, version, sizeof version)) return true;
    RegKey machine;
    return machine.openExisting(HKEY_LOCAL_MACHINE, kSettingsKey) &&
           machine.readString(setting::CurrentVersion, version, sizeof version);
}

void writeCurrentVersion() { openSettingsKey().writeString(setting::CurrentVersion, kCurrentVersion); }

void resetSettings() { deleteKeyTree(HKEY_CURRENT_USER, kSettingsKey); }

void readUserName(char* buffer, DWORD size) {
    if (size == 0) return;
    buffer[0] = '\0';
    RegKey key;
    if (key.openExisting(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion"))
        key.readString("RegisteredOwner", buffer, size);
}

void readUserEmail(char* buffer, DWORD size) {
    if (size == 0) return;
    buffer[0] = '\0';
    static const char* const kPlaces[][2] = {
        {"Software\\Microsoft\\Internet Mail and News\\Mail", "Sender EMail"},
        {"Software\\Netscape\\Netscape Navigator\\User", "User_ADDR"},
        {"Software\\Microsoft\\Internet Account Manager\\Accounts\\00000001", "SMTP Email Address"},
        {"Software\\Microsoft\\Office\\8.0\\Outlook\\OMI Account Manager\\Accounts\\00000001",
         "SMTP Email Address"},
    };
    for (const auto& place : kPlaces) {
        RegKey key;
        if (key.openExisting(HKEY_CURRENT_USER, place[0]) && key.readString(place[1], buffer, size) &&
            buffer[0] != '\0')
            return;
        buffer[0] = '\0';
    }
}

void categoriesKeyPath(char (&path)[260]) {
    path[0] = '\0';
    std::string full = std::string(kSettingsKey) + "\\" + kCategoriesKey;
    boundedCopyN(path, sizeof path, full.c_str(), sizeof path - 1);
}

void setIncludedBulbCategories(const char* bulbName, const char* categories) {
    if (strlen(bulbName) >= 260 || strlen(categories) >= 260) return;
    char path[260];
    categoriesKeyPath(path);
    RegKey(HKEY_CURRENT_USER, path).writeString(bulbName, categories);
}

bool getIncludedBulbCategories(const char* bulbName, char (&categories)[260]) {
    categories[0] = '\0';
    char path[260];
    categoriesKeyPath(path);
    return RegKey(HKEY_CURRENT_USER, path).readString(bulbName, categories, sizeof categories);
}

void themeKeyPath(char (&path)[260], const char* themeName) {
    std::string full = std::string(kSettingsKey) + "\\" + kThemesKey;
    if (themeName) full += std::string("\\") + themeName;
    boundedCopyN(path, sizeof path, full.c_str(), sizeof path - 1);  // cut at 260
}

void copyThemeValues(const RegKey& from, const RegKey& to) {
    static const char* const kThemeValues[] = {
        setting::BulbSettings,      setting::FlashInterval,     setting::FlashPattern,
        setting::EnabledMusic,      setting::MusicPlay,         setting::SaverModule,
        setting::SaverMessage,      setting::SaverMessageFont,  setting::SaverMessageColor,
        setting::SaverPictureName,  setting::SaverPictureDisplay, setting::SaverMovement,
    };
    for (const char* name : kThemeValues) {
        std::optional<std::vector<uint8_t>> bytes = from.readBytes(name);
        if (!bytes) {
            to.deleteValue(name);
            continue;
        }
        to.writeTyped(name, from.valueType(name), bytes->data(), DWORD(bytes->size()));
    }
}

void saveTheme(const char* name) {
    char path[260];
    themeKeyPath(path, name);
    RegKey theme(HKEY_CURRENT_USER, path);
    copyThemeValues(openSettingsKey(), theme);
}

void loadThemeValues(const char* name) {
    char path[260];
    themeKeyPath(path, name);
    RegKey theme(HKEY_CURRENT_USER, path);
    RegKey settings = openSettingsKey();
    copyThemeValues(theme, settings);

    bool present = false;
    auto bytes = readBlock(settings, setting::EnabledMusic, present);
    if (!present) return;  // "Disabled Music" stays as it is
    auto enabled = decodeSongList(bytes.data(), bytes.size());
    std::vector<std::string> disabled;
    for (const Song& song : songList()) {
        bool listed = false;
        for (const auto& e : enabled) listed = listed || e == song.name;
        if (!listed) disabled.push_back(song.name);
    }
    auto out = encodeSongList(disabled);
    settings.writeBinary(setting::DisabledMusic, out.data(), DWORD(out.size()));
}

bool deleteTheme(const char* name) {
    char path[260];
    themeKeyPath(path, name);
    // The whole tree: a key with sub-keys would otherwise stay.
    return deleteKeyTree(HKEY_CURRENT_USER, path);
}

bool enumTheme(DWORD index, char (&name)[260]) {
    char path[260];
    themeKeyPath(path, nullptr);
    RegKey themes(HKEY_CURRENT_USER, path);
    return themes.enumSubKey(index, name, sizeof name);
}

bool themeExists(const char* name) {
    char found[260];
    for (DWORD i = 0; enumTheme(i, found); ++i)
        if (equalsNoCase(found, name)) return true;
    return false;
}

}  // namespace lumarel
