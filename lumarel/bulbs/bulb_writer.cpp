#include "bulbs/bulb_writer.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/data_folders.h"
#include "base/text.h"
#include "bulbs/bit_rows.h"
#include "bulbs/crc32.h"
#include "bulbs/gif_decoder.h"

namespace lumarel {
namespace {

constexpr int kReserveAttempts = 1000;
CompactionStepHook compactionHook = nullptr;

void step(int number) {
    if (compactionHook) compactionHook(number);
}

void writeHeader(WinFile& file, const BulbHeader& header) {
    std::vector<uint8_t> bytes = serializeBulbHeader(header);
    file.write(0, bytes.data(), static_cast<DWORD>(bytes.size()));
}

// Appends bytes at the end of the file; returns where they start.
uint32_t appendBytes(WinFile& file, const void* data, size_t size) {
    uint32_t at = file.size();
    check(size <= 0xFFFFFFFFu - at, BulbFileFault::TooLarge);
    file.write(WinFile::kEnd, data, static_cast<DWORD>(size));
    return at;
}

// Appends a block and sets one header field to its offset (and the recorded
// size) through a mapping: data first, header second.
uint32_t appendBlockAndPoint(const char* bulbPath, const std::string& block, size_t fieldOffset) {
    WinFile file(bulbPath, true);
    uint32_t at = appendBytes(file, block.data(), block.size());
    uint32_t size = file.size();
    FileMapping map(file);
    check(map.size() >= kBulbHeaderSize, BulbFileFault::ShortFile);
    BulbHeader header = parseBulbHeader(map.data());
    checkBulbHeader(header);
    std::memcpy(map.data() + fieldOffset, &at, 4);
    std::memcpy(map.data() + 1400, &size, 4);
    return at;
}

}  // namespace

AddedPicture addGifPicture(WinFile& bulb, const char* gifPath, BulbHeader& header) {
    WinFile gifFile(gifPath, false);
    FileMapping gifMap(gifFile);
    const uint8_t* gif = gifMap.data();
    const size_t gifSize = gifMap.size();

    AddedPicture added;
    uint32_t checksum = crc32(gif, gifSize);
    GifInfo info = scanGif(gif, gifSize, false);
    check(info.frameCount > 0, BulbFileFault::PictureWithoutFrames);
    added.frameWidth = info.screenWidth;
    added.height = info.screenHeight;
    added.frameCount = info.frameCount;
    added.index = findPictureByChecksum(header, checksum);
    if (added.index >= 0) {
        added.reused = true;
        return added;
    }
    const int width = info.stripWidth();
    std::vector<uint8_t> pixels(static_cast<size_t>(gifPixelStride(width) * info.screenHeight));
    std::vector<uint8_t> mask(static_cast<size_t>(gifMaskStride(width) * info.screenHeight));
    decodeGif(gif, gifSize, false, info, {pixels.data(), gifPixelStride(width), mask.data(), gifMaskStride(width)});
    bool uniform = maskIsUniform(mask.data(), gifMaskStride(width), info.screenWidth, info.frameCount, info.screenHeight);

    added.index = firstFreePicture(header);
    check(added.index >= 0, BulbFileFault::PictureTableFull);
    uint32_t at = appendBytes(bulb, gif, gifSize);
    PictureEntry& entry = header.pictures[added.index];
    entry.size = static_cast<uint32_t>(gifSize);
    entry.offset = at;
    entry.checksum = checksum;
    entry.uniformMask = uniform ? 1 : 0;
    header.regions[added.index] = 0;
    header.recordedSize = bulb.size();
    writeHeader(bulb, header);
    return added;
}

void writeNewBulbFile(const char* bulbPath, const char* gifPath, int32_t id, const char* name, const char* author,
                      const char* copyright) {
    WinFile file(bulbPath, true);
    BulbHeader header = newBulbHeader(id, name, author, copyright);
    header.recordedSize = static_cast<uint32_t>(kBulbHeaderSize);
    writeHeader(file, header);
    AddedPicture added = addGifPicture(file, gifPath, header);
    check(added.index == 0);
    header.pictures[0].references = 9;  // list preview, four corners, four first flavors
    centrePreviewSquare(header, added.frameWidth, added.height);
    writeHeader(file, header);
    file.flush();
}

void appendCategoryBlock(const char* bulbPath, const char* categories) {
    check(strlen(categories) <= kCategoryListMax);
    std::string block = std::string(kCategoryPrefix) + categories;
    block.push_back('\0');
    appendBlockAndPoint(bulbPath, block, 1396);
}

void appendSenderText(const char* bulbPath, const char* text) {
    try {
        std::string block = text;
        block.push_back('\0');
        appendBlockAndPoint(bulbPath, block, 1392);
    } catch (const Failure&) {
    }
}

void markBulbSent(const char* bulbPath) {
    WinFile file(bulbPath, true);
    FileMapping map(file);
    check(map.size() >= kBulbHeaderSize, BulbFileFault::ShortFile);
    checkBulbHeader(parseBulbHeader(map.data()));
    std::memset(map.data() + 24, 0, 4);
}

void writeSendCredits(const char* bulbPath, uint32_t copyrightStatus, const char* author, const char* copyright) {
    WinFile file(bulbPath, true);
    FileMapping map(file);
    check(map.size() >= kBulbHeaderSize, BulbFileFault::ShortFile);
    BulbHeader header = parseBulbHeader(map.data());
    checkBulbHeader(header);
    header.copyrightStatus = copyrightStatus;
    std::memset(header.author, 0, sizeof header.author);
    std::memset(header.copyright, 0, sizeof header.copyright);
    boundedCopyN(header.author, sizeof header.author, author, kBulbTextSize - 1);
    boundedCopyN(header.copyright, sizeof header.copyright, copyright, kBulbTextSize - 1);
    serializeBulbHeader(header, map.data());
}

uint32_t storeRegionBlock(const char* bulbPath, int pictureIndex, const uint8_t* rgnData, size_t size) {
    if (pictureIndex < 0 || pictureIndex >= kPictureCount) return 0;
    try {
        std::vector<uint8_t> block = regionBlock(rgnData, size);
        return appendBlockAndPoint(bulbPath, std::string(block.begin(), block.end()),
                                   1244 + 4 * static_cast<size_t>(pictureIndex));
    } catch (const Failure&) {
        return 0;
    }
}

void setCompactionStepHook(CompactionStepHook hook) { compactionHook = hook; }

void reserveNewFile(char (&path)[MAX_PATH], const char* folder, const char* base, const char* extension,
                    const std::vector<std::string>& shadowed) {
    for (int attempt = 1; attempt <= kReserveAttempts; ++attempt) {
        check(bulbFileCandidate(path, folder, base, attempt, extension));
        if (!folderHolding(shadowed, path + strlen(folder)).empty()) continue;
        try {
            WinFile reserved(path, true, CREATE_NEW);
            return;
        } catch (const Failure& failure) {
            if (failure.code != ERROR_FILE_EXISTS && failure.code != ERROR_ALREADY_EXISTS) throw;
        }
    }
    fail();
}

void compactBulb(const char* bulbPath, const char* folder) { compactBulbOver(bulbPath, bulbPath, folder); }

void compactBulbOver(const char* source, const char* target, const char* folder) {
    char temporary[MAX_PATH] = {};
    reserveNewFile(temporary, folder, "comp", ".tmp");
    try {
        step(1);
        std::vector<uint8_t> compacted;
        {
            WinFile file(source, false);
            FileMapping map(file);
            compacted = compactBulbFile(map.data(), map.size());
        }
        {
            WinFile copy(temporary, true);
            copy.write(0, compacted.data(), static_cast<DWORD>(compacted.size()));
            step(2);
            copy.flush();
            step(3);
        }
        step(4);
        if (!MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            failWithLastError();
    } catch (...) {
        DeleteFileA(temporary);
        throw;
    }
}

}  // namespace lumarel
