// JPEG background pictures become a Windows BMP file once, so later starts
// load a plain bitmap: rows bottom-up padded to four bytes, 24 bits for
// colour, 8 bits with a grey ramp for grey pictures. The bytes go to a sink
// by offset, so a large picture is never held whole.
#pragma once
#include <cstddef>
#include <cstdint>

namespace lumarel {

// Takes the output at absolute offsets; false stops the conversion.
class BmpSink {
public:
    virtual ~BmpSink() = default;
    virtual bool write(uint64_t offset, const uint8_t* bytes, size_t count) = 0;
};

// Pictures beyond these are refused from the header, before any decoding.
constexpr uint32_t kJpegMaxSide = 32767;
constexpr uint64_t kJpegMaxPixels = uint64_t{64} << 20;

struct JpegBmpResult {
    bool ok = false;
    int32_t width = 0, height = 0;
    int bitsPerPixel = 0;  // 8 or 24
    uint64_t fileSize = 0;
};

// Decodes with libjpeg; only one (grey) or three (colour) components are
// taken, and no picture of more than `maxPixels`. Never ends the process on
// a bad file.
JpegBmpResult convertJpegToBmp(const uint8_t* data, size_t size, BmpSink& sink,
                               uint64_t maxPixels = kJpegMaxPixels);

// The conversion is kept while the stored name is the picture's name
// exactly, the stored time the low 32 bits of its last write, and the
// converted file is still there.
bool conversionIsCurrent(const char* storedName, uint32_t storedTime, const char* pictureName, uint64_t writeTime,
                         bool convertedFileExists);

}  // namespace lumarel
