// The bulb file format (".bul"): a 1404-byte header followed by data blocks
// that only the header's offsets find. Everything here works on bytes in
// memory (a mapping of the file), checks every offset, length and index
// before use, and includes no Windows header, so it is tested and fuzzed
// natively. The Win32 side (bulb_writer, extra_bulb) does the file work.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/failure.h"

namespace lumarel {

constexpr uint32_t kBulbMagic = 0x42756C62;    // "bluB"
constexpr uint32_t kBulbMagic2 = 0x51756F72;   // "rouQ"
constexpr uint32_t kRegionMagic = 0x5265676E;  // "ngeR"
constexpr uint32_t kBulbVersion = 4;
constexpr size_t kBulbHeaderSize = 1404;
constexpr int kPictureCount = 37;
constexpr int kNoPicture = -1;
constexpr size_t kBulbTextSize = 80;       // name, description, copyright, author
constexpr size_t kCategoryListMax = 259;   // characters of a category list
constexpr size_t kBlockTextMax = 259;      // characters of a sender text kept
inline constexpr char kCategoryPrefix[] = "categ:";
constexpr size_t kCategoryPrefixSize = 6;

inline constexpr const char* kNoDescription = "No description is available for this bulb.";
inline constexpr const char* kNoAuthor = "No author information is available for this bulb.";
inline constexpr const char* kNoCopyright = "No copyright information is available for this bulb.";

struct PictureEntry {
    uint32_t size = 0;
    uint32_t offset = 0;
    uint32_t checksum = 0;
    uint32_t references = 0;
    uint32_t uniformMask = 0;
};

struct BulbHeader {
    uint32_t magic = 0, magic2 = 0, version = 0;
    int32_t id = 0;
    uint32_t copyrightStatus = 0;
    uint32_t foreign = 0;
    uint32_t sendPending = 0;
    // Always terminated in memory: a field without a zero keeps 79 characters.
    char name[kBulbTextSize] = {};
    char description[kBulbTextSize] = {};
    char copyright[kBulbTextSize] = {};
    char author[kBulbTextSize] = {};
    int32_t previewTop = 0, previewLeft = 0;
    int32_t listPicture = 0;
    int32_t cornerPictures[4] = {};  // positions 4, 5, 6, 7
    int32_t flavors[4][8] = {};      // positions 0..3; -1 empty
    PictureEntry pictures[kPictureCount];
    uint32_t regions[kPictureCount] = {};
    uint32_t senderOffset = 0;
    uint32_t categoryOffset = 0;
    uint32_t recordedSize = 0;
};

// Which check refused a bulb file (or a call on one); every one carries the
// code 'asrt'.
enum class BulbFileFault {
    ShortFile,             // shorter than the 1404-byte header
    BadMagic,              // the first eight bytes are not "bluB" "rouQ"
    MissingPicture,        // the list preview, a corner or a side's first flavor is -1
    BadPictureIndex,       // a picture index outside -1..36 (outside 0..36 where one is needed)
    BadPosition,           // a position outside 0..8
    ShorterThanRecorded,   // the file is shorter than its recorded size
    NoPictureData,         // no recorded size, and no picture has an offset
    EmptyPicture,          // a picture entry without data where data is needed
    PictureOutsideFile,    // a picture's data does not lie inside the file
    UnfinishedPicture,     // no recorded size, and the picture stored last does not end with ';'
    CategoryListTooLong,   // a category list past 259 characters
    TooLarge,              // the file would pass 4 GB
    PictureTableFull,      // all 37 picture entries are in use
    PictureWithoutFrames,  // a GIF to add holds no image
};

// What the bulb file code throws; catch it as a Failure for the code alone.
using BulbFileFailure = NamedFailure<BulbFileFault>;
[[noreturn]] void fail(BulbFileFault fault);
inline void check(bool condition, BulbFileFault fault) {
    if (!condition) fail(fault);
}

// A range of bytes inside a file.
struct ByteSpan {
    const uint8_t* data = nullptr;
    size_t size = 0;
    explicit operator bool() const { return data != nullptr; }
};

// True when [offset, offset + length) lies inside a file of `size` bytes,
// written so that no sum can wrap around.
constexpr bool rangeInside(uint64_t offset, uint64_t length, uint64_t size) {
    return offset <= size && length <= size - offset;
}

// Raw conversion, no checks beyond the size of the buffer (>= 1404 bytes).
BulbHeader parseBulbHeader(const uint8_t* bytes);
void serializeBulbHeader(const BulbHeader& header, uint8_t* bytes);
std::vector<uint8_t> serializeBulbHeader(const BulbHeader& header);

// The checks of a header read from a file: both magic values; every picture
// index -1 or 0..36, and the list picture, the corners and each side's first
// flavor not -1. Throws BulbFileFailure otherwise.
void checkBulbHeader(const BulbHeader& header);

// What loading a bulb file learns from its bytes.
struct BulbFileInfo {
    BulbHeader header;
    std::string categories;  // empty when there is no valid category block
    bool uniform = true;     // every used picture has the uniform-mask flag
};

// Loads and validates a whole bulb file. A file at least as long as its
// recorded size is accepted: a longer one carries an unfinished cache at its
// end. Without a recorded size, the picture stored last must end with ';'.
// Throws BulbFileFailure for a damaged file.
BulbFileInfo loadBulbFile(const uint8_t* file, size_t size);

// The category list of a file: empty without a valid block; throws
// CategoryListTooLong when the list is longer than 259 characters.
std::string readCategoryList(const BulbHeader& header, const uint8_t* file, size_t size);

// Picture index for a position (0..8) and flavor; flavors wrap over the
// side's leading non-empty cells (over one cell while `damaged`).
int pictureIndexFor(const BulbHeader& header, int position, int flavor, bool damaged);
// How many cells of a side's flavor row are set before the first empty one.
int flavorCount(const BulbHeader& header, int side);

// The GIF bytes of a picture entry; throws EmptyPicture or
// PictureOutsideFile when the entry is empty or lies outside the file.
ByteSpan pictureData(const BulbHeader& header, int index, const uint8_t* file, size_t size);

// The cached region (RGNDATA bytes) of an entry, or an empty span when there
// is none or the block is not sound: it must start below the recorded size,
// carry the "ngeR" mark, lie wholly inside the file and hold a rectangle list
// that fits its own length.
ByteSpan regionData(const BulbHeader& header, int index, const uint8_t* file, size_t size);

// A block holding an RGNDATA for the region cache ("ngeR", length, data).
std::vector<uint8_t> regionBlock(const uint8_t* rgnData, size_t size);

// Moves each side's set flavors to the front, in their order.
void packFlavorRows(BulbHeader& header);

// The compacted copy of a bulb file: header with packed flavor rows, the
// pictures still referenced (others cleared), no region caches, the sender
// text and category block when they are sound. Throws BulbFileFailure when
// the source's header is damaged or a referenced picture lies outside it.
std::vector<uint8_t> compactBulbFile(const uint8_t* file, size_t size);

// A new file's header (version 4, send pending, all positions on picture 0,
// flavors 2..8 empty); texts are cut to 79 characters.
BulbHeader newBulbHeader(int32_t id, const char* name, const char* author, const char* copyright);
// Centres the 32 × 32 preview square in a frame of that size.
void centrePreviewSquare(BulbHeader& header, int frameWidth, int frameHeight);

// Adding a GIF as a picture. The index of an entry holding the same bytes
// (same checksum), else of the first free entry; -1 when all 37 are used.
int findPictureByChecksum(const BulbHeader& header, uint32_t checksum);
int firstFreePicture(const BulbHeader& header);

// True when every frame of a mask strip (1 bit per pixel, rows `stride`
// bytes apart) has exactly the mask of the first frame.
bool maskIsUniform(const uint8_t* mask, ptrdiff_t stride, int frameWidth, int frames, int height);

// Author and copyright message of a new bulb from the owner name, e-mail
// address and year. False when the copyright message would not fit.
bool makeCredits(const char* owner, const char* email, int year, char (&author)[kBulbTextSize],
                 char (&copyright)[kBulbTextSize]);

// The candidate file name for a try (1, 2, ...): base + ".bul", then
// base + " 2.bul" and so on. False when the path would be too long.
bool bulbFileCandidate(char (&path)[260], const char* folder, const char* base, int attempt,
                       const char* extension = ".bul");

}  // namespace lumarel
