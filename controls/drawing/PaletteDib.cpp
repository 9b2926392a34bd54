#include "PaletteDib.h"
#include <stdlib.h>
#include <string.h>

CPaletteDib::CPaletteDib()
    : m_block(NULL), m_lineBytes(0), m_paletteCount(0), m_section(NULL), m_memDC(NULL), m_sectionBits(NULL)
{
    memset(&m_header, 0, sizeof(m_header));
    Destroy();
}

CPaletteDib::~CPaletteDib()
{
    Destroy();
}

void CPaletteDib::Destroy()
{
    if (m_memDC != NULL)
        ::DeleteDC(m_memDC);
    if (m_section != NULL)
        ::DeleteObject(m_section);
    free(m_block);
    m_memDC = NULL;
    m_section = NULL;
    m_block = NULL;
    m_sectionBits = NULL;
    m_lineBytes = 0;
    m_paletteCount = 0;
    memset(&m_header, 0, sizeof(m_header));
}

BYTE* CPaletteDib::Create(int width, int height, int bitsPerPixel)
{
    Destroy();
    if (width <= 0 || height <= 0 || bitsPerPixel <= 0 || bitsPerPixel > 32)
        return NULL;
    // Refuse sizes whose byte count does not fit in 32 bits.
    unsigned long long line = ((unsigned long long)width * bitsPerPixel + 31) / 32 * 4;
    unsigned long long image = line * (unsigned long long)height;
    if (image > 0x7FFFFFFFull - 2048)
        return NULL;
    WORD count = bitsPerPixel == 1 ? 2 : bitsPerPixel == 4 ? 16 : bitsPerPixel == 8 ? 256 : 0;

    BITMAPINFOHEADER header;
    memset(&header, 0, sizeof(header));
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = (WORD)bitsPerPixel;
    header.biCompression = BI_RGB;
    header.biSizeImage = (DWORD)image;

    BYTE* block = (BYTE*)malloc(sizeof(header) + 4 * count + (size_t)image);
    if (block == NULL)
        return NULL;
    m_header = header;
    m_lineBytes = (DWORD)line;
    m_paletteCount = count;
    m_block = block;
    memcpy(m_block, &m_header, sizeof(m_header));
    return m_block;
}

BYTE* CPaletteDib::GetBits() const
{
    if (m_block == NULL)
        return NULL;
    return m_block + m_header.biSize + 4 * m_paletteCount;
}

COLORREF CPaletteDib::GetPaletteEntry(int index) const
{
    if (m_block == NULL || index < 0 || index >= m_paletteCount)
        return 0;
    const BYTE* e = m_block + m_header.biSize + 4 * index;
    return RGB(e[2], e[1], e[0]);
}

void CPaletteDib::SetPaletteEntry(int index, BYTE red, BYTE green, BYTE blue)
{
    if (m_block == NULL || m_paletteCount == 0)
        return;
    int i = index & 0xFF;
    if (i >= m_paletteCount)
        return;
    BYTE* e = m_block + m_header.biSize + 4 * i;
    e[0] = blue;
    e[1] = green;
    e[2] = red;
    e[3] = 0;
}

void CPaletteDib::SetPixelIndex(int x, int y, BYTE value)
{
    if (m_block == NULL || m_paletteCount == 0 || x < 0 || y < 0 || x >= m_header.biWidth ||
        y >= m_header.biHeight)
        return;
    GetBits()[x + (size_t)(m_header.biHeight - y - 1) * m_lineBytes] = value;
}

BYTE CPaletteDib::GetPixelIndex(int x, int y) const
{
    if (m_block == NULL || m_paletteCount == 0 || x < 0 || y < 0 || x >= m_header.biWidth ||
        y >= m_header.biHeight)
        return 0;
    return GetBits()[x + (size_t)(m_header.biHeight - y - 1) * m_lineBytes];
}

void CPaletteDib::Fill(BYTE value)
{
    if (m_block == NULL)
        return;
    memset(GetBits(), value, m_header.biSizeImage);
}

void CPaletteDib::BlendPalette(COLORREF color, int percent)
{
    if (m_block == NULL || m_paletteCount == 0)
        return;
    if (percent > 100)
        percent = 100;
    if (percent < 0)
        percent = 0;
    int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    BYTE* e = m_block + m_header.biSize;
    for (int i = 0; i < m_paletteCount; i++, e += 4)
    {
        e[0] = (BYTE)((b * percent + e[0] * (100 - percent)) / 100);
        e[1] = (BYTE)((g * percent + e[1] * (100 - percent)) / 100);
        e[2] = (BYTE)((r * percent + e[2] * (100 - percent)) / 100);
    }
}

void CPaletteDib::Draw(HDC hDC, int x, int y)
{
    if (m_block == NULL || hDC == NULL)
        return;
    if (m_section == NULL)
    {
        void* bits = NULL;
        m_section = ::CreateDIBSection(hDC, (BITMAPINFO*)m_block, DIB_RGB_COLORS, &bits, NULL, 0);
        if (m_section == NULL || bits == NULL)
        {
            if (m_section != NULL)
                ::DeleteObject(m_section);
            m_section = NULL;
            return;
        }
        m_sectionBits = (BYTE*)bits;
    }
    memcpy(m_sectionBits, GetBits(), m_header.biSizeImage);
    if (m_memDC == NULL)
        m_memDC = ::CreateCompatibleDC(hDC);
    if (m_memDC == NULL)
        return;
    HGDIOBJ old = ::SelectObject(m_memDC, m_section);
    // The palette may have changed since the section was made.
    if (m_paletteCount > 0)
        ::SetDIBColorTable(m_memDC, 0, m_paletteCount, (const RGBQUAD*)(m_block + m_header.biSize));
    ::BitBlt(hDC, x, y, m_header.biWidth, m_header.biHeight, m_memDC, 0, 0, SRCCOPY);
    ::SelectObject(m_memDC, old);
}
