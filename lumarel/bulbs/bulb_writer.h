// Every writer of bulb files: a new file, a picture from a GIF file, the
// category and sender blocks, the sent flag, the region cache, and the
// compacting rewrite.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "bulbs/bulb_file.h"
#include "bulbs/win_file.h"

namespace lumarel {

struct AddedPicture {
    int index = -1;
    bool reused = false;  // an entry already held the same bytes
    int frameWidth = 0, height = 0, frameCount = 0;
};

// Adds the GIF file as a picture of the open (writable) bulb file, appending
// its bytes and writing the edited header with an up-to-date recorded size.
// Reference counts are the caller's. Throws when the GIF cannot be decoded,
// holds no frame, or all 37 entries are in use.
AddedPicture addGifPicture(WinFile& bulb, const char* gifPath, BulbHeader& header);

// Writes a new bulb file over the (empty, reserved) file at `bulbPath`, with
// the GIF as its one picture used everywhere.
void writeNewBulbFile(const char* bulbPath, const char* gifPath, int32_t id, const char* name, const char* author,
                      const char* copyright);

// Appends a category block and points the header at it.
void appendCategoryBlock(const char* bulbPath, const char* categories);
// Appends the sender text; failures are ignored (it only adds a cache).
void appendSenderText(const char* bulbPath, const char* text);
// Clears the send-pending flag.
void markBulbSent(const char* bulbPath);
// Writes the copyright status (0 to 3) and the credits a sender confirmed,
// each text cut to 79 characters.
void writeSendCredits(const char* bulbPath, uint32_t copyrightStatus, const char* author, const char* copyright);
// Appends a region block for a picture (data first, header second, so a
// crash leaves at worst an unreferenced tail). Returns the block's offset,
// or 0 when it could not be stored.
uint32_t storeRegionBlock(const char* bulbPath, int pictureIndex, const uint8_t* rgnData, size_t size);

// Creates an empty file under the first free name of base + extension,
// base + " 2" + extension and so on in `folder` (which ends with a
// backslash), so the name is ours until the file is deleted; `path` gets the
// name. Throws the system's code when the folder cannot be written, 'asrt'
// when the path is too long or the first 1000 names are taken. A name that
// a file in one of `shadowed` (folders read together with this one) already
// has counts as taken too, so the new file hides none of theirs.
void reserveNewFile(char (&path)[MAX_PATH], const char* folder, const char* base, const char* extension,
                    const std::vector<std::string>& shadowed = {});

// Rewrites the file without dead data. The compacted copy is written to a
// temporary file in `folder` and then moved over the original in one step,
// so at any moment one complete file exists under the original name.
void compactBulb(const char* bulbPath, const char* folder);
// The same from one file to another: the compacted copy of `source` replaces
// `target` in one move; `source` stays as it was.
void compactBulbOver(const char* source, const char* target, const char* folder);

// For tests: called at each step of the rewrite (1 temporary file made,
// 2 copy written, 3 copy flushed, 4 before the replacing move); a hook that
// throws makes that step fail.
using CompactionStepHook = void (*)(int step);
void setCompactionStepHook(CompactionStepHook hook);

}  // namespace lumarel
