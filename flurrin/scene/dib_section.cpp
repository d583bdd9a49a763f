#include "scene/dib_section.h"

#include "frame/handles.h"

namespace flurrin {

bool cDIBSection::Create(long lWidth, long lHeight) {
    ClearUp();
    if (lWidth <= 0 || lHeight <= 0) return false;
    WindowDc screen(nullptr);
    m_hDC = CreateCompatibleDC(screen.get());
    if (!m_hDC) return false;
    if (!CreateDIB(m_hDC, lWidth, lHeight, m_hDib)) {
        DeleteDC(m_hDC);
        m_hDC = nullptr;
        return false;
    }
    m_previous = SelectObject(m_hDC, m_hDib);
    m_width = lWidth;
    m_height = lHeight;
    return true;
}

bool cDIBSection::CreateDIB(HDC lhDC, long lWidth, long lHeight, HBITMAP& hDib) {
    m_info = {};
    BITMAPINFOHEADER& h = m_info.bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = lWidth;
    h.biHeight = lHeight;
    h.biPlanes = 1;
    h.biBitCount = 24;
    h.biCompression = BI_RGB;
    h.biSizeImage = DWORD((lWidth * 3 + 3) & ~3L) * DWORD(lHeight);
    m_bits = nullptr;
    hDib = CreateDIBSection(lhDC, &m_info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
    if (!hDib) m_bits = nullptr;
    return hDib != nullptr;
}

void cDIBSection::LoadPictureBlt(HDC lhDC, long lSrcLeft, long lSrcTop, long lSrcWidth, long lSrcHeight, DWORD eRop) {
    if (!m_hDC) return;
    if (lSrcWidth < 0) lSrcWidth = m_width;
    if (lSrcHeight < 0) lSrcHeight = m_height;
    BitBlt(m_hDC, 0, 0, lSrcWidth, lSrcHeight, lhDC, lSrcLeft, lSrcTop, eRop);
}

void cDIBSection::PaintPicture(HDC lhDC, long lDestLeft, long lDestTop, long lDestWidth, long lDestHeight,
                               long lSrcLeft, long lSrcTop, DWORD eRop) {
    if (!m_hDC) return;
    if (lDestWidth < 0) lDestWidth = m_width;
    if (lDestHeight < 0) lDestHeight = m_height;
    BitBlt(lhDC, lDestLeft, lDestTop, lDestWidth, lDestHeight, m_hDC, lSrcLeft, lSrcTop, eRop);
}

void cDIBSection::ClearUp() {
    if (m_hDC) {
        if (m_hDib) {
            SelectObject(m_hDC, m_previous);
            DeleteObject(m_hDib);
        }
        DeleteDC(m_hDC);
    }
    m_hDC = nullptr;
    m_hDib = nullptr;
    m_previous = nullptr;
    m_bits = nullptr;
    m_width = m_height = 0;
}

}  // namespace flurrin
