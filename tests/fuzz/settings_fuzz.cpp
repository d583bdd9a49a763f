// "Bulb Settings" can be edited by hand, and the settings window then edits
// whatever it read. The input is a stored value followed by drag edits; every
// entry must stay -1 or an id that came from the value or from an edit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>

#include "engine/bulb_arrangement.h"
#include "ui/arrangement_edits.h"
#include "ui/settings_codec.h"

using namespace lumarel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first byte picks the value's length (a legacy 32 or a full 128 bytes, or
    // a wrong one); the rest after it are edits of five bytes each.
    if (size < 1) return 0;
    size_t valueSize = data[0] & 1 ? kArrangementBytes : kLegacyArrangementBytes;
    if (data[0] & 2) valueSize = data[0] >> 2;
    ++data, --size;
    valueSize = valueSize < size ? valueSize : size;
    auto decoded = decodeArrangement(data, valueSize);
    BulbArrangement arrangement = decoded ? *decoded : defaultArrangement();
    std::set<int32_t> given{-1};
    for (const auto& row : arrangement)
        for (int32_t id : row) given.insert(id);

    for (size_t at = valueSize; at + 5 <= size; at += 5) {
        const uint8_t* edit = data + at;
        int32_t kind = int8_t(edit[1]);
        given.insert(kind);
        int box = edit[2] % 10 - 1;  // -1 is the centre list; 8 is no box at all
        int slot = edit[3] % 8;
        switch (edit[0] % 5) {
        case 0: applyDrop(arrangement, kind, {box, slot}, {edit[4] % 10 - 1, 0}, int8_t(edit[3])); break;
        case 1: insertIntoEdge(arrangement, edit[2] % 5, int8_t(edit[3]), kind); break;
        case 2: removeEdgeSlot(arrangement, edit[2] % 5, int8_t(edit[3])); break;
        case 3: setCorner(arrangement, edit[2] % 4, edit[3] % 9, kind); break;
        case 4: removeKindEverywhere(arrangement, kind); break;
        }
        for (const auto& row : arrangement)
            for (int32_t id : row)
                if (!given.count(id)) abort();
        int width = edit[4] + 1, height = edit[2] + 1;
        int index = edgeDropIndex(width, height, edit[3] % 7, edit[1], edit[4]);
        if (index < 0 || index > edit[3] % 7) abort();
    }
    auto bytes = encodeArrangement(arrangement);
    if (decodeArrangement(bytes.data(), bytes.size()) != arrangement) abort();
    return 0;
}
