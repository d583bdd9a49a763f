// cDIBSection: a 24-bit bottom-up device-independent bitmap selected into its
// own memory DC, with direct access to its bits.
#pragma once
#include <windows.h>

namespace flurrin {

class cDIBSection {
public:
    cDIBSection() = default;
    ~cDIBSection() { ClearUp(); }
    cDIBSection(const cDIBSection&) = delete;
    cDIBSection& operator=(const cDIBSection&) = delete;

    bool Create(long lWidth, long lHeight);
    bool CreateDIB(HDC lhDC, long lWidth, long lHeight, HBITMAP& hDib);
    long BytesPerScanLine() const { return (m_width * 3 + 3) & ~3L; }
    long width() const { return m_width; }
    long height() const { return m_height; }
    HDC hDC() const { return m_hDC; }
    HBITMAP hDib() const { return m_hDib; }
    void* DIBSectionBitsPtr() const { return m_bits; }

    // Copies from lhDC into the section at (0, 0); a negative size means the section's own.
    void LoadPictureBlt(HDC lhDC, long lSrcLeft = 0, long lSrcTop = 0, long lSrcWidth = -1, long lSrcHeight = -1,
                        DWORD eRop = SRCCOPY);
    // Copies the section to lhDC; a negative size means the section's own.
    void PaintPicture(HDC lhDC, long lDestLeft = 0, long lDestTop = 0, long lDestWidth = -1, long lDestHeight = -1,
                      long lSrcLeft = 0, long lSrcTop = 0, DWORD eRop = SRCCOPY);
    void ClearUp();

private:
    HDC m_hDC = nullptr;
    HBITMAP m_hDib = nullptr;
    HGDIOBJ m_previous = nullptr;
    void* m_bits = nullptr;
    long m_width = 0, m_height = 0;
    BITMAPINFO m_info{};
};

}  // namespace flurrin
