// Byte layouts of lumarel's structured settings: the bulb arrangement, the
// song name lists and the message font record. No Windows headers here: the
// registry side lives in settings_store.cpp.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/bulb_arrangement.h"

namespace lumarel {

constexpr size_t kArrangementBytes = 128;
constexpr size_t kLegacyArrangementBytes = 32;

// 128 bytes: 32 little-endian signed 32-bit ids, row by row.
std::array<uint8_t, kArrangementBytes> encodeArrangement(const BulbArrangement& arrangement);
// Reads the 128-byte form, or the legacy 32-byte form (one signed byte per
// slot). Any other size is not an arrangement.
std::optional<BulbArrangement> decodeArrangement(const uint8_t* data, size_t size);

// Song name list: each name followed by a zero byte, then one more zero byte.
std::vector<uint8_t> encodeSongList(const std::vector<std::string>& names);
// Reads names until the empty name or the end of the data, whichever is first;
// a last name missing its terminator still counts.
std::vector<std::string> decodeSongList(const uint8_t* data, size_t size);

// The 60-byte LOGFONTA record of the screen saver message.
struct MessageFont {
    int32_t height = -48;
    int32_t width = 0;
    int32_t escapement = 0;
    int32_t orientation = 0;
    int32_t weight = 700;
    uint8_t italic = 0, underline = 0, strikeOut = 0, charSet = 0;
    uint8_t outPrecision = 0, clipPrecision = 0, quality = 0, pitchAndFamily = 0;
    char faceName[32] = "Arial";
};
constexpr size_t kMessageFontBytes = 60;

std::array<uint8_t, kMessageFontBytes> encodeMessageFont(const MessageFont& font);
// Needs exactly 60 bytes; the face name is terminated within its 32 bytes.
std::optional<MessageFont> decodeMessageFont(const uint8_t* data, size_t size);

// The movement type chosen for a screen saver module when none is stored.
int32_t defaultMovementType(const char* moduleName);

}  // namespace lumarel
