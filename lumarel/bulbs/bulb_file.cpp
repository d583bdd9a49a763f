#include "bulbs/bulb_file.h"

#include <cstdio>
#include <cstring>

#include "bulbs/bit_rows.h"

namespace lumarel {
namespace {

constexpr size_t kPictureTableAt = 504;
constexpr size_t kRegionTableAt = 1244;
constexpr size_t kRgnHeaderSize = 32;
constexpr size_t kRectSize = 16;

uint32_t get32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

void put32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

void getText(const uint8_t* p, char (&text)[kBulbTextSize]) {
    std::memcpy(text, p, kBulbTextSize);
    text[kBulbTextSize - 1] = '\0';
}

void putText(uint8_t* p, const char (&text)[kBulbTextSize]) {
    size_t n = strnlen(text, kBulbTextSize - 1);
    std::memset(p, 0, kBulbTextSize);
    std::memcpy(p, text, n);
}

void setText(char (&field)[kBulbTextSize], const char* text) {
    std::memset(field, 0, kBulbTextSize);
    if (text) std::memcpy(field, text, strnlen(text, kBulbTextSize - 1));
}

// Every header cell that names a picture, with whether it must be set.
template <typename F>
void forEachPictureCell(BulbHeader& header, F&& visit) {
    visit(header.listPicture, true);
    for (int32_t& corner : header.cornerPictures) visit(corner, true);
    for (auto& row : header.flavors)
        for (int i = 0; i < 8; ++i) visit(row[i], i == 0);
}

// A zero-terminated text at `offset`: the search stops at the end of the
// file and after `limit` characters. `complete` tells whether a zero ended it.
std::string boundedText(const uint8_t* file, size_t size, size_t offset, size_t limit, bool& complete) {
    complete = false;
    if (offset >= size) return {};
    size_t available = size - offset;
    size_t n = 0;
    while (n < available && n <= limit && file[offset + n] != 0) ++n;
    complete = n < available && n <= limit;
    return std::string(reinterpret_cast<const char*>(file + offset), n < limit ? n : limit);
}

}  // namespace

void fail(BulbFileFault fault) { throw BulbFileFailure{{kFailAsrt}, fault}; }

BulbHeader parseBulbHeader(const uint8_t* b) {
    BulbHeader h;
    h.magic = get32(b);
    h.magic2 = get32(b + 4);
    h.version = get32(b + 8);
    h.id = static_cast<int32_t>(get32(b + 12));
    h.copyrightStatus = get32(b + 16);
    h.foreign = get32(b + 20);
    h.sendPending = get32(b + 24);
    getText(b + 28, h.name);
    getText(b + 108, h.description);
    getText(b + 188, h.copyright);
    getText(b + 268, h.author);
    h.previewTop = static_cast<int32_t>(get32(b + 348));
    h.previewLeft = static_cast<int32_t>(get32(b + 352));
    h.listPicture = static_cast<int32_t>(get32(b + 356));
    for (int i = 0; i < 4; ++i) h.cornerPictures[i] = static_cast<int32_t>(get32(b + 360 + 4 * i));
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 8; ++c) h.flavors[r][c] = static_cast<int32_t>(get32(b + 376 + 32 * r + 4 * c));
    for (int i = 0; i < kPictureCount; ++i) {
        const uint8_t* e = b + kPictureTableAt + 20 * i;
        h.pictures[i] = {get32(e), get32(e + 4), get32(e + 8), get32(e + 12), get32(e + 16)};
        h.regions[i] = get32(b + kRegionTableAt + 4 * i);
    }
    h.senderOffset = get32(b + 1392);
    h.categoryOffset = get32(b + 1396);
    h.recordedSize = get32(b + 1400);
    return h;
}

void serializeBulbHeader(const BulbHeader& h, uint8_t* b) {
    std::memset(b, 0, kBulbHeaderSize);
    put32(b, h.magic);
    put32(b + 4, h.magic2);
    put32(b + 8, h.version);
    put32(b + 12, static_cast<uint32_t>(h.id));
    put32(b + 16, h.copyrightStatus);
    put32(b + 20, h.foreign);
    put32(b + 24, h.sendPending);
    putText(b + 28, h.name);
    putText(b + 108, h.description);
    putText(b + 188, h.copyright);
    putText(b + 268, h.author);
    put32(b + 348, static_cast<uint32_t>(h.previewTop));
    put32(b + 352, static_cast<uint32_t>(h.previewLeft));
    put32(b + 356, static_cast<uint32_t>(h.listPicture));
    for (int i = 0; i < 4; ++i) put32(b + 360 + 4 * i, static_cast<uint32_t>(h.cornerPictures[i]));
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 8; ++c) put32(b + 376 + 32 * r + 4 * c, static_cast<uint32_t>(h.flavors[r][c]));
    for (int i = 0; i < kPictureCount; ++i) {
        uint8_t* e = b + kPictureTableAt + 20 * i;
        const PictureEntry& p = h.pictures[i];
        put32(e, p.size);
        put32(e + 4, p.offset);
        put32(e + 8, p.checksum);
        put32(e + 12, p.references);
        put32(e + 16, p.uniformMask);
        put32(b + kRegionTableAt + 4 * i, h.regions[i]);
    }
    put32(b + 1392, h.senderOffset);
    put32(b + 1396, h.categoryOffset);
    put32(b + 1400, h.recordedSize);
}

std::vector<uint8_t> serializeBulbHeader(const BulbHeader& header) {
    std::vector<uint8_t> bytes(kBulbHeaderSize);
    serializeBulbHeader(header, bytes.data());
    return bytes;
}

void checkBulbHeader(const BulbHeader& header) {
    check(header.magic == kBulbMagic && header.magic2 == kBulbMagic2, BulbFileFault::BadMagic);
    BulbHeader copy = header;
    forEachPictureCell(copy, [](int32_t index, bool required) {
        if (index == kNoPicture)
            check(!required, BulbFileFault::MissingPicture);
        else
            check(index >= 0 && index < kPictureCount, BulbFileFault::BadPictureIndex);
    });
}

std::string readCategoryList(const BulbHeader& header, const uint8_t* file, size_t size) {
    uint32_t at = header.categoryOffset;
    if (at == 0 || !rangeInside(at, kCategoryPrefixSize, size)) return {};
    if (std::memcmp(file + at, kCategoryPrefix, kCategoryPrefixSize) != 0) return {};
    bool complete = false;
    std::string text = boundedText(file, size, at + kCategoryPrefixSize, kCategoryListMax, complete);
    // A list that reaches its limit without its zero is too long (one that
    // simply runs to the end of the file is kept as it is).
    check(text.size() < kCategoryListMax || complete || at + kCategoryPrefixSize + text.size() == size,
          BulbFileFault::CategoryListTooLong);
    return text;
}

BulbFileInfo loadBulbFile(const uint8_t* file, size_t size) {
    check(file != nullptr && size >= kBulbHeaderSize, BulbFileFault::ShortFile);
    BulbFileInfo info;
    info.header = parseBulbHeader(file);
    const BulbHeader& h = info.header;
    checkBulbHeader(h);
    if (h.recordedSize != 0) {
        check(size >= h.recordedSize, BulbFileFault::ShorterThanRecorded);
    } else {
        int last = -1;
        for (int i = 0; i < kPictureCount; ++i)
            if (last < 0 ? h.pictures[i].offset != 0 : h.pictures[i].offset > h.pictures[last].offset) last = i;
        check(last >= 0, BulbFileFault::NoPictureData);
        const PictureEntry& p = h.pictures[last];
        check(p.size > 0, BulbFileFault::EmptyPicture);
        check(rangeInside(p.offset, p.size, size), BulbFileFault::PictureOutsideFile);
        check(file[p.offset + p.size - 1] == ';', BulbFileFault::UnfinishedPicture);
    }
    info.categories = readCategoryList(h, file, size);
    for (const PictureEntry& p : h.pictures)
        if (p.size != 0 && p.uniformMask == 0) info.uniform = false;
    return info;
}

int flavorCount(const BulbHeader& header, int side) {
    int n = 0;
    while (n < 8 && header.flavors[side][n] != kNoPicture) ++n;
    return n;
}

int pictureIndexFor(const BulbHeader& header, int position, int flavor, bool damaged) {
    int index = kNoPicture;
    if (position == 8) {
        index = header.listPicture;
    } else if (position >= 4 && position < 8) {
        index = header.cornerPictures[position - 4];
    } else if (position >= 0 && position < 4) {
        int n = damaged ? 1 : flavorCount(header, position);
        check(n > 0, BulbFileFault::MissingPicture);
        int cell = flavor < 0 ? 0 : flavor % n;
        index = header.flavors[position][cell];
    } else {
        fail(BulbFileFault::BadPosition);
    }
    check(index != kNoPicture, BulbFileFault::MissingPicture);
    check(index >= 0 && index < kPictureCount, BulbFileFault::BadPictureIndex);
    return index;
}

ByteSpan pictureData(const BulbHeader& header, int index, const uint8_t* file, size_t size) {
    check(index >= 0 && index < kPictureCount, BulbFileFault::BadPictureIndex);
    const PictureEntry& p = header.pictures[index];
    check(p.size != 0, BulbFileFault::EmptyPicture);
    check(rangeInside(p.offset, p.size, size), BulbFileFault::PictureOutsideFile);
    return {file + p.offset, p.size};
}

ByteSpan regionData(const BulbHeader& header, int index, const uint8_t* file, size_t size) {
    if (index < 0 || index >= kPictureCount) return {};
    uint32_t at = header.regions[index];
    if (at == 0 || at >= header.recordedSize || !rangeInside(at, 8, size)) return {};
    if (get32(file + at) != kRegionMagic) return {};
    uint32_t length = get32(file + at + 4);
    if (!rangeInside(uint64_t{at} + 8, length, size) || length < kRgnHeaderSize) return {};
    const uint8_t* data = file + at + 8;
    uint32_t headerSize = get32(data), type = get32(data + 4), count = get32(data + 8);
    if (headerSize != kRgnHeaderSize || type != 1) return {};
    if (count > (length - kRgnHeaderSize) / kRectSize) return {};
    return {data, kRgnHeaderSize + count * kRectSize};
}

std::vector<uint8_t> regionBlock(const uint8_t* rgnData, size_t size) {
    std::vector<uint8_t> block(8 + size);
    put32(block.data(), kRegionMagic);
    put32(block.data() + 4, static_cast<uint32_t>(size));
    if (size) std::memcpy(block.data() + 8, rgnData, size);
    return block;
}

void packFlavorRows(BulbHeader& header) {
    for (auto& row : header.flavors) {
        int kept = 0;
        for (int i = 0; i < 8; ++i)
            if (row[i] != kNoPicture) row[kept++] = row[i];
        while (kept < 8) row[kept++] = kNoPicture;
    }
}

std::vector<uint8_t> compactBulbFile(const uint8_t* file, size_t size) {
    check(file != nullptr && size >= kBulbHeaderSize, BulbFileFault::ShortFile);
    BulbHeader h = parseBulbHeader(file);
    checkBulbHeader(h);
    packFlavorRows(h);
    std::vector<uint8_t> out(kBulbHeaderSize);
    auto append = [&](const void* data, size_t n) {
        check(out.size() + n <= UINT32_MAX, BulbFileFault::TooLarge);
        const auto* bytes = static_cast<const uint8_t*>(data);
        out.insert(out.end(), bytes, bytes + n);
    };
    for (int i = 0; i < kPictureCount; ++i) {
        PictureEntry& p = h.pictures[i];
        if (p.references == 0) {
            p = PictureEntry{};
        } else {
            check(rangeInside(p.offset, p.size, size), BulbFileFault::PictureOutsideFile);
            uint32_t at = static_cast<uint32_t>(out.size());
            append(file + p.offset, p.size);
            p.offset = at;
        }
        h.regions[i] = 0;  // rebuilt on demand
    }
    uint32_t sender = h.senderOffset;
    h.senderOffset = 0;
    if (sender != 0 && sender < h.recordedSize && sender < size) {
        bool complete = false;
        std::string text = boundedText(file, size, sender, kBlockTextMax, complete);
        h.senderOffset = static_cast<uint32_t>(out.size());
        append(text.c_str(), text.size() + 1);
    }
    uint32_t categories = h.categoryOffset;
    h.categoryOffset = 0;
    if (categories != 0 && rangeInside(categories, kCategoryPrefixSize, size) &&
        std::memcmp(file + categories, kCategoryPrefix, kCategoryPrefixSize) == 0) {
        bool complete = false;
        std::string text =
            boundedText(file, size, categories + kCategoryPrefixSize, kCategoryListMax, complete);
        h.categoryOffset = static_cast<uint32_t>(out.size());
        append(kCategoryPrefix, kCategoryPrefixSize);
        append(text.c_str(), text.size() + 1);
    }
    h.recordedSize = static_cast<uint32_t>(out.size());
    serializeBulbHeader(h, out.data());
    return out;
}

BulbHeader newBulbHeader(int32_t id, const char* name, const char* author, const char* copyright) {
    BulbHeader h;
    h.magic = kBulbMagic;
    h.magic2 = kBulbMagic2;
    h.version = kBulbVersion;
    h.id = id;
    h.sendPending = 1;
    setText(h.name, name);
    setText(h.description, kNoDescription);
    setText(h.copyright, copyright);
    setText(h.author, author);
    for (auto& row : h.flavors)
        for (int i = 1; i < 8; ++i) row[i] = kNoPicture;
    return h;
}

void centrePreviewSquare(BulbHeader& header, int frameWidth, int frameHeight) {
    header.previewLeft = frameWidth >= 32 ? (frameWidth - 32) / 2 : 0;
    header.previewTop = frameHeight >= 32 ? (frameHeight - 32) / 2 : 0;
}

int findPictureByChecksum(const BulbHeader& header, uint32_t checksum) {
    for (int i = 0; i < kPictureCount; ++i)
        if (header.pictures[i].size != 0 && header.pictures[i].checksum == checksum) return i;
    return -1;
}

int firstFreePicture(const BulbHeader& header) {
    for (int i = 0; i < kPictureCount; ++i)
        if (header.pictures[i].references == 0) return i;
    return -1;
}

bool maskIsUniform(const uint8_t* mask, ptrdiff_t stride, int frameWidth, int frames, int height) {
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = mask + y * stride;
        for (int f = 1; f < frames; ++f)
            for (int x = 0; x < frameWidth; ++x)
                if (getBit(row, static_cast<size_t>(f) * static_cast<size_t>(frameWidth) + static_cast<size_t>(x)) !=
                    getBit(row, static_cast<size_t>(x)))
                    return false;
    }
    return true;
}

bool makeCredits(const char* owner, const char* email, int year, char (&author)[kBulbTextSize],
                 char (&copyright)[kBulbTextSize]) {
    owner = owner ? owner : "";
    email = email ? email : "";
    const size_t limit = kBulbTextSize - 1;
    if (!*owner && !*email) {
        setText(author, kNoAuthor);
        setText(copyright, kNoCopyright);
        return true;
    }
    std::string text = strlen(owner) <= limit ? owner : "";
    if (*email) {
        std::string withBreak = *owner ? text + "\r\n" : text;
        if (withBreak.size() <= limit && withBreak.size() + strlen(email) <= limit) text = withBreak + email;
    }
    setText(author, text.c_str());
    if (!*owner) {
        setText(copyright, kNoCopyright);
        return true;
    }
    char message[kBulbTextSize * 2];
    int n = std::snprintf(message, sizeof message, "Copyright %d %s", year, owner);
    if (n < 0 || static_cast<size_t>(n) > limit) return false;
    setText(copyright, message);
    return true;
}

bool bulbFileCandidate(char (&path)[260], const char* folder, const char* base, int attempt,
                       const char* extension) {
    if (strlen(folder) + strlen(base) + strlen(extension) + 4 >= sizeof path) return false;
    int n = attempt <= 1 ? std::snprintf(path, sizeof path, "%s%s%s", folder, base, extension)
                         : std::snprintf(path, sizeof path, "%s%s %d%s", folder, base, attempt, extension);
    return n > 0 && static_cast<size_t>(n) < sizeof path;
}

}  // namespace lumarel
