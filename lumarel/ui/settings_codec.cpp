#include "ui/settings_codec.h"

#include <cstring>

namespace lumarel {

namespace {

void putLe32(uint8_t* out, int32_t value) {
    uint32_t v = uint32_t(value);
    for (int i = 0; i < 4; ++i) out[i] = uint8_t(v >> (8 * i));
}

int32_t getLe32(const uint8_t* in) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t(in[i]) << (8 * i);
    return int32_t(v);
}

}  // namespace

std::array<uint8_t, kArrangementBytes> encodeArrangement(const BulbArrangement& arrangement) {
    std::array<uint8_t, kArrangementBytes> out{};
    for (size_t row = 0; row < 4; ++row)
        for (size_t slot = 0; slot < 8; ++slot)
            putLe32(&out[(row * 8 + slot) * 4], arrangement[row][slot]);
    return out;
}

std::optional<BulbArrangement> decodeArrangement(const uint8_t* data, size_t size) {
    BulbArrangement result{};
    if (size == kArrangementBytes) {
        for (size_t i = 0; i < 32; ++i) result[i / 8][i % 8] = getLe32(data + i * 4);
        return result;
    }
    if (size == kLegacyArrangementBytes) {
        for (size_t i = 0; i < 32; ++i) result[i / 8][i % 8] = int8_t(data[i]);
        return result;
    }
    return std::nullopt;
}

std::vector<uint8_t> encodeSongList(const std::vector<std::string>& names) {
    std::vector<uint8_t> out;
    for (const auto& name : names) {
        if (name.empty()) continue;  // an empty name would end the list early
        out.insert(out.end(), name.begin(), name.end());
        out.push_back(0);
    }
    out.push_back(0);
    return out;
}

std::vector<std::string> decodeSongList(const uint8_t* data, size_t size) {
    std::vector<std::string> names;
    size_t pos = 0;
    while (pos < size && data[pos] != 0) {
        size_t end = pos;
        while (end < size && data[end] != 0) ++end;
        names.emplace_back(reinterpret_cast<const char*>(data + pos), end - pos);
        pos = end + 1;
    }
    return names;
}

std::array<uint8_t, kMessageFontBytes> encodeMessageFont(const MessageFont& font) {
    std::array<uint8_t, kMessageFontBytes> out{};
    putLe32(&out[0], font.height);
    putLe32(&out[4], font.width);
    putLe32(&out[8], font.escapement);
    putLe32(&out[12], font.orientation);
    putLe32(&out[16], font.weight);
    const uint8_t bytes[8] = {font.italic,       font.underline,     font.strikeOut, font.charSet,
                              font.outPrecision, font.clipPrecision, font.quality,   font.pitchAndFamily};
    memcpy(&out[20], bytes, 8);
    memcpy(&out[28], font.faceName, 32);
    return out;
}

std::optional<MessageFont> decodeMessageFont(const uint8_t* data, size_t size) {
    if (size != kMessageFontBytes) return std::nullopt;
    MessageFont font;
    font.height = getLe32(data);
    font.width = getLe32(data + 4);
    font.escapement = getLe32(data + 8);
    font.orientation = getLe32(data + 12);
    font.weight = getLe32(data + 16);
    font.italic = data[20];
    font.underline = data[21];
    font.strikeOut = data[22];
    font.charSet = data[23];
    font.outPrecision = data[24];
    font.clipPrecision = data[25];
    font.quality = data[26];
    font.pitchAndFamily = data[27];
    memcpy(font.faceName, data + 28, 32);
    font.faceName[31] = '\0';
    return font;
}

int32_t defaultMovementType(const char* moduleName) {
    auto is = [&](const char* name) { return strcmp(moduleName, name) == 0; };
    if (is("Leaves")) return 2;
    if (is("Easter Eggs") || is("Happy Faces")) return 1;
    if (is("Halloween") || is("Heavens Above")) return 3;
    return 0;
}

}  // namespace lumarel
