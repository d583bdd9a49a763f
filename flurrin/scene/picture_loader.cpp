#include "scene/picture_loader.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstring>
#include <vector>

#include "frame/form.h"
#include "scene/jpeg_decode.h"
#include "settings/preview_fit.h"

namespace flurrin {

namespace {

// Picture files larger than this are not pictures we show.
constexpr DWORD kMaxPictureFile = 64u << 20;

bool read_whole_file(const std::string& path, std::vector<uint8_t>& data) {
    unique_handle file = create_file(path.c_str(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    if (!file) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > kMaxPictureFile) return false;
    data.resize(size_t(size.QuadPart));
    DWORD got = 0;
    return ReadFile(file.get(), data.data(), DWORD(data.size()), &got, nullptr) && got == data.size();
}

void warn(const std::string& text) { show_message(nullptr, text, "", MB_OK | MB_ICONEXCLAMATION); }

}  // namespace

bool is_jpeg_name(const std::string& path) {
    if (path.size() < 3) return false;
    std::string tail = path.substr(path.size() - 3);
    CharUpperBuffA(tail.data(), DWORD(tail.size()));
    return tail == "JPG";
}

bool load_jpeg(DibSurface& surface, const std::string& path) {
    std::vector<uint8_t> data;
    JpegInfo info;
    if (!read_whole_file(path, data) || !jpeg_read_info(data.data(), data.size(), info)) {
        warn(kJpegReadFailed);
        return false;
    }
    if (uint64_t(info.width) * uint64_t(info.height) > kMaxJpegPixels || !surface.create(info.width, info.height))
        return false;
    if (!jpeg_decode_bottom_up(data.data(), data.size(), surface.bits(), surface.stride(), info.width, info.height)) {
        surface.reset();
        warn(kJpegDataFailed);
        return false;
    }
    GdiFlush();
    return true;
}

namespace {

// BMP and GIF through OLE's picture loader, copied into a bitmap of our own.
unique_hbitmap load_with_ole(const std::string& path) {
    std::vector<uint8_t> data;
    if (!read_whole_file(path, data)) return {};
    unique_hglobal memory(GlobalAlloc(GMEM_MOVEABLE, data.size()));
    if (!memory) return {};
    void* p = GlobalLock(memory.get());
    std::memcpy(p, data.data(), data.size());
    GlobalUnlock(memory.get());
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory.get(), TRUE, &stream))) return {};
    memory.release();  // the stream frees it
    IPicture* picture = nullptr;
    HRESULT hr = OleLoadPicture(stream, LONG(data.size()), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(hr) || !picture) return {};
    unique_hbitmap result;
    OLE_HANDLE handle = 0;
    SHORT type = 0;
    if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP && SUCCEEDED(picture->get_Handle(&handle))) {
        // The picture object owns its bitmap; keep a copy of our own.
        result.reset(static_cast<HBITMAP>(
            CopyImage(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    }
    picture->Release();
    return result;
}

}  // namespace

unique_hbitmap load_picture_file(const std::string& path) {
    if (is_jpeg_name(path)) {
        DibSurface decoded;
        if (!load_jpeg(decoded, path)) return {};
        return decoded.release_bitmap();
    }
    unique_hbitmap plain(static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    if (plain) return plain;
    return load_with_ole(path);
}

}  // namespace flurrin

namespace flurrin {

unique_hbitmap load_preview_picture(const std::string& path, int area_width, int area_height) {
    std::vector<uint8_t> data;
    if (!read_whole_file(path, data)) return {};
    if (is_jpeg_name(path)) {
        JpegInfo info;
        if (!jpeg_read_info(data.data(), data.size(), info)) return {};
        int reduction = preview_reduction(info.width, info.height, area_width, area_height);
        int w = jpeg_reduced_size(info.width, reduction), h = jpeg_reduced_size(info.height, reduction);
        DibSurface decoded;
        if (uint64_t(w) * uint64_t(h) > kMaxJpegPixels || !decoded.create(w, h)) return {};
        if (!jpeg_decode_bottom_up(data.data(), data.size(), decoded.bits(), decoded.stride(), w, h, kMaxJpegPixels,
                                   reduction))
            return {};
        GdiFlush();
        return decoded.release_bitmap();
    }
    // The file is known to be readable and of a sane size by now.
    unique_hbitmap plain(static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    if (plain) return plain;
    return load_with_ole(path);
}

}  // namespace flurrin
