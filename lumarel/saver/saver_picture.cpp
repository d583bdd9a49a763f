#include "saver/saver_picture.h"

#include <cstring>

#include "base/failure.h"
#include "base/data_folders.h"
#include "base/text.h"
#include "bulbs/gif_bitmaps.h"
#include "engine/palette.h"
#include "engine/resource_bytes.h"
#include "saver/jpeg_to_bmp.h"
#include "ui/settings_store.h"
#include "ui/shortcut.h"

namespace lumarel {
namespace {

// Writes the BMP through positioned writes into a file.
class FileSink : public BmpSink {
public:
    explicit FileSink(HANDLE file) : file_(file) {}
    bool write(uint64_t offset, const uint8_t* bytes, size_t count) override {
        LONG high = LONG(offset >> 32);
        if (SetFilePointer(file_, LONG(offset & 0xFFFFFFFFu), &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
            GetLastError() != NO_ERROR)
            return false;
        DWORD written = 0;
        return WriteFile(file_, bytes, DWORD(count), &written, nullptr) && written == count;
    }

private:
    HANDLE file_;
};

bool fileExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool convertInto(const char* jpegPath, const char* target) {
    MappedFile jpeg(jpegPath);
    if (!jpeg) return false;
    unique_file file(CreateFileA(target, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    FileSink sink(file.get());
    return convertJpegToBmp(jpeg.data(), jpeg.size(), sink).ok;
}

std::unique_ptr<Bitmap> loadGifPicture(const char* path, PaletteBuilder& palette) {
    MappedFile file(path);
    check(bool(file));
    GifBitmaps gif = decodeGifBitmaps(file.data(), file.size(), true);
    check(gif.frameCount > 0 && gif.image);
    palette.addBitmap(gif.image->handle());
    return std::move(gif.image);
}

}  // namespace

void convertedPicturePath(char (&path)[MAX_PATH]) {
    path[0] = '\0';
    const DWORD n = GetTempPathA(MAX_PATH, path);
    check(n > 0 && n < MAX_PATH);
    boundedAppend(path, sizeof path, "Lumarel Bitmap.bmp");
}

bool convertJpegPicture(const char* jpegPath, const char* pictureName) {
    char target[MAX_PATH];
    convertedPicturePath(target);
    uint64_t writeTime = 0;
    {
        unique_file picture(CreateFileA(jpegPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        FILETIME written{};
        if (!picture || !GetFileTime(picture.get(), nullptr, nullptr, &written)) return false;
        writeTime = (uint64_t(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    }
    char storedName[260];
    getLastConvertedPictureName(storedName);
    if (conversionIsCurrent(storedName, getLastConvertedPictureTime(), pictureName, writeTime, fileExists(target)))
        return true;
    // A cut-short conversion must not leave a file the stored values match:
    // the picture is written beside the target and replaces it in one step.
    char sibling[MAX_PATH];
    boundedCopy(sibling, sizeof sibling, target);
    boundedAppend(sibling, sizeof sibling, ".new");
    if (!convertInto(jpegPath, sibling) || !MoveFileExA(sibling, target, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(sibling);
        DeleteFileA(target);
        return false;
    }
    setLastConvertedPictureName(pictureName);
    setLastConvertedPictureTime(uint32_t(writeTime & 0xFFFFFFFFu));
    return true;
}

BackgroundPicture loadBackgroundPicture(const char* name) {
    BackgroundPicture result;
    try {
        char path[MAX_PATH];
        check(dataFilePath(DataKind::Pictures, name, path));
        if (endsWithNoCase(path, ".lnk")) resolveShortcut(path);
        PaletteBuilder palette;
        if (endsWithNoCase(path, ".jpg") || endsWithNoCase(path, ".jpeg")) {
            if (!convertJpegPicture(path, name)) return result;
            convertedPicturePath(path);
        }
        if (endsWithNoCase(path, ".gif")) {
            result.bitmap = loadGifPicture(path, palette);
        } else {
            result.bitmap = std::make_unique<Bitmap>(nullptr, path);
            palette.addFile(path);
        }
        const RECT size = result.bitmap->size();
        result.width = size.right - size.left;
        result.height = size.bottom - size.top;
        result.palette.reset(palette.make());
    } catch (...) {
        result = BackgroundPicture{};
    }
    return result;
}

}  // namespace lumarel
