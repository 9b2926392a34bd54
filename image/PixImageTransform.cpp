// Transforms of CPixImage: grey scale, flip, negative, crop, canvas expansion
// and resampling with its interpolation kernels and overflow methods.
#include "PixImage.h"
#include <math.h>
#include <stdlib.h>
#include <string.h>
#include <vector>
#include <emmintrin.h>

namespace
{
const float kPi = 3.1415927f;
const float k2Pi = 6.2831855f;

inline BYTE Clamp255(float v)
{
    if (v < 0)
        return 0;
    if (v > 255)
        return 255;
    return (BYTE)v;
}

inline float P3(float t)
{
    return t > 0 ? t * t * t : 0;
}

// Bessel function of the first kind of order 1 (rational and asymptotic forms).
double BesselJ1(double x)
{
    double ax = fabs(x);
    if (ax < 8.0)
    {
        double y = x * x;
        double num = x * (72362614232.0 +
                          y * (-7895059235.0 +
                               y * (242396853.1 + y * (-2972611.439 + y * (15704.48260 + y * (-30.16036606))))));
        double den =
            144725228442.0 + y * (2300535178.0 + y * (18583304.74 + y * (99447.43394 + y * (376.9991397 + y))));
        return num / den;
    }
    double z = 8.0 / ax;
    double y = z * z;
    double xx = ax - 2.356194491;
    double p = 1.0 + y * (0.183105e-2 + y * (-0.3516396496e-4 + y * (0.2457520174e-5 + y * (-0.240337019e-6))));
    double q = 0.04687499995 + y * (-0.2002690873e-3 + y * (0.8449199096e-5 + y * (-0.88228987e-6 + y * 0.105787412e-6)));
    double ans = sqrt(0.636619772 / ax) * (cos(xx) * p - z * sin(xx) * q);
    return x < 0 ? -ans : ans;
}
// Where each destination column and row of a resampling samples the source,
// with the kernel weights of its neighbourhood (point interpolation only).
struct KernelGrid
{
    int n = 0;
    std::vector<long> x0, y0;
    std::vector<float> wx, wy;
    std::vector<char> outX, outY;
    bool Ready() const { return n != 0; }
    bool Outside(long x, long y) const { return outX[x] || outY[y]; }
    void Build(CPixImage& ima, long newx, long newy, float xScale, float yScale, int method)
    {
        int size = method == IM_LANCZOS ? 12 : 4;
        int off = method == IM_LANCZOS ? 5 : 1;
        long w = ima.GetWidth(), h = ima.GetHeight();
        auto axis = [&](long count, float scale, long limit, std::vector<long>& start, std::vector<float>& weights,
                        std::vector<char>& outside) {
            start.resize(count);
            weights.resize(count * size);
            outside.resize(count);
            for (long k = 0; k < count; k++)
            {
                float s = (k + 0.5f) * scale - 0.5f;
                long si = (long)s;
                if (s < 0)
                    si--;
                start[k] = si - off;
                // A neighbourhood wholly outside the picture takes the general way.
                outside[k] = size == 12 ? (si + 6 < 0 || si - 5 >= limit) : (si + 2 < 0 || si - 1 >= limit);
                for (int i = 0; i < size; i++)
                    weights[k * size + i] = CPixImage::KernelValue(method, (float)(si - off + i) - s);
            }
        };
        axis(newx, xScale, w, x0, wx, outX);
        axis(newy, yScale, h, y0, wy, outY);
        n = size;
    }
    // Source column (row) of every tap, moved inside by the overflow method;
    // -1 for a tap outside that takes the overflow colour.
    std::vector<long> colMap, rowMap;
    void MapTaps(CPixImage& ima, int ofMethod)
    {
        bool map = ofMethod == OM_WRAP || ofMethod == OM_REPEAT || ofMethod == OM_MIRROR;
        long w = ima.GetWidth(), h = ima.GetHeight();
        auto build = [&](const std::vector<long>& start, long limit, bool isX, std::vector<long>& out) {
            out.resize(start.size() * n);
            for (size_t k = 0; k < start.size(); k++)
            {
                for (int i = 0; i < n; i++)
                {
                    long v = start[k] + i;
                    if (v < 0 || v >= limit)
                    {
                        if (!map)
                            v = -1;
                        else
                        {
                            long other = 0;
                            if (isX)
                                ima.OverflowCoordinates(v, other, ofMethod);
                            else
                                ima.OverflowCoordinates(other, v, ofMethod);
                        }
                    }
                    out[k * n + i] = v;
                }
            }
        };
        build(x0, w, true, colMap);
        build(y0, h, false, rowMap);
    }
};

// One pixel as blue, green, red and alpha in the four lanes of a float vector.
inline __m128 PixelLanes(DWORD bgra)
{
    const __m128i zero = _mm_setzero_si128();
    return _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128((int)bgra), zero), zero));
}

// Area averaging where only one of the two scales is above 1: each destination
// pixel is the area-weighted mean of point interpolations at the centres of the
// area's pieces over the source pixels. The pieces of a destination column
// depend on its x only, those of a row on its y only, so their centres and
// kernel weights are computed once per column and per row.
struct AreaGrid
{
    struct Piece
    {
        float size;   // extent of the area inside the source pixel
        float centre; // centre of that part
        long start;   // first column (row) of the kernel's neighbourhood
        bool outside; // neighbourhood wholly outside the picture
        float w[4];
        long map[4]; // source column (row) of each tap moved inside, -1 for the overflow colour
    };
    std::vector<std::vector<Piece>> cols, rows;
    std::vector<float> colExtent, rowExtent;
    int method = 0;
    bool Ready() const { return method != 0; }

    static void Axis(CPixImage& ima, bool isX, int ofMethod, long count, float scale, long limit, int method,
                     std::vector<std::vector<Piece>>& pieces, std::vector<float>& extent)
    {
        bool mapOutside = ofMethod == OM_WRAP || ofMethod == OM_REPEAT || ofMethod == OM_MIRROR;
        pieces.assign(count, std::vector<Piece>());
        extent.resize(count);
        for (long k = 0; k < count; k++)
        {
            float c = (k + 0.5f) * scale - 0.5f;
            float lo = c - scale / 2.0f, hi = c + scale / 2.0f;
            extent[k] = hi - lo;
            long first = (long)(lo + 0.5f), last = (long)(hi + 0.5f);
            for (long p = first; p <= last; p++)
            {
                float plo = lo > p - 0.5f ? lo : p - 0.5f;
                float phi = hi < p + 0.5f ? hi : p + 0.5f;
                if (plo >= phi)
                    continue;
                Piece piece;
                piece.size = phi - plo;
                piece.centre = (plo + phi) / 2;
                long si = (long)piece.centre;
                if (piece.centre < 0)
                    si--;
                piece.start = si - 1;
                piece.outside = si + 2 < 0 || si - 1 >= limit;
                for (int i = 0; i < 4; i++)
                {
                    piece.w[i] = CPixImage::KernelValue(method, (float)(si - 1 + i) - piece.centre);
                    long v = si - 1 + i;
                    if (v < 0 || v >= limit)
                    {
                        long other = 0;
                        if (!mapOutside)
                            v = -1;
                        else if (isX)
                            ima.OverflowCoordinates(v, other, ofMethod);
                        else
                            ima.OverflowCoordinates(other, v, ofMethod);
                    }
                    piece.map[i] = v;
                }
                pieces[k].push_back(piece);
            }
        }
    }
    void Build(CPixImage& ima, long newx, long newy, float xScale, float yScale, int m, int ofMethod)
    {
        Axis(ima, true, ofMethod, newx, xScale, ima.GetWidth(), m, cols, colExtent);
        Axis(ima, false, ofMethod, newy, yScale, ima.GetHeight(), m, rows, rowExtent);
        method = m;
        pieceBase.resize(newx);
        long total = 0;
        for (long x = 0; x < newx; x++)
        {
            pieceBase[x] = total;
            total += (long)cols[x].size();
        }
        numColPieces = total;
    }
    std::vector<long> pieceBase; // first column piece of each destination column
    long numColPieces = 0;
};

// Nearest palette indices of the colours met while one palette image is
// filled; the palette does not change meanwhile, so every answer is the one
// GetNearestIndex gives, found once.
class NearestIndexMemo
{
public:
    explicit NearestIndexMemo(CPixImage& ima) : m_ima(ima)
    {
        m_grey = ima.GetNumColors() == 256 && (ima.GetClrImportant() == 0 || ima.GetClrImportant() == 256) &&
                 ima.IsGrayScale();
        memset(m_keys, 0, sizeof(m_keys));
    }
    BYTE Get(RGBQUAD c)
    {
        if (m_grey)
        {
            // Entry i is (i, i, i): the nearest is the rounded mean, never halfway between two entries.
            return (BYTE)((c.rgbRed + c.rgbGreen + c.rgbBlue + 1) / 3);
        }
        DWORD rgb = ((DWORD)c.rgbRed << 16) | ((DWORD)c.rgbGreen << 8) | c.rgbBlue;
        DWORD slot = (rgb * 2654435761u) >> 20;
        if (m_keys[slot] == rgb + 1)
            return m_values[slot];
        c.rgbReserved = 0;
        BYTE idx = m_ima.GetNearestIndex(c);
        m_keys[slot] = rgb + 1;
        m_values[slot] = idx;
        return idx;
    }

private:
    CPixImage& m_ima;
    bool m_grey;
    DWORD m_keys[4096];
    BYTE m_values[4096];
};
} // namespace

float CPixImage::KernelValue(int method, float x)
{
    float a = fabsf(x);
    switch (method)
    {
    case IM_BSPLINE:
        if (x > 2.0f)
            return 0;
        return (P3(x + 2) - 4 * P3(x + 1) + 6 * P3(x) - 4 * P3(x - 1)) * 0.16666667f;
    case IM_BICUBIC:
        if (a < 1)
            return 1 - 2 * a * a + a * a * a;
        if (a < 2)
            return 4 - 8 * a + 5 * a * a - a * a * a;
        return 0;
    case IM_BICUBIC2: {
        const float c = -0.5f;
        if (a < 1)
            return (c + 2) * a * a * a - (c + 3) * a * a + 1;
        if (a < 2)
            return c * a * a * a - 5 * c * a * a + 8 * c * a - 4 * c;
        return 0;
    }
    case IM_LANCZOS: {
        const float r = 6;
        if (a > r)
            return 0;
        if (x == 0)
            return 1;
        float pd = kPi * x;
        float pdr = pd / r;
        return (sinf(pdr) / pdr) * (sinf(pd) / pd);
    }
    case IM_BOX: return (x >= -0.5f && x < 0.5f) ? 1.0f : 0.0f;
    case IM_HERMITE:
        if (x < -1 || x >= 1)
            return 0;
        return 2 * a * a * a - 3 * a * a + 1;
    case IM_HAMMING:
        if (x < -1 || x >= 1)
            return 0;
        return 1 + 0.92f * (2 * a * a * a - 3 * a * a);
    case IM_SINC:
        if (x == 0)
            return 1;
        return sinf(kPi * x) / (kPi * x);
    case IM_BLACKMAN: return 0.42f + 0.5f * cosf(kPi * x) + 0.08f * cosf(k2Pi * x);
    case IM_BESSEL:
        if (x == 0)
            return 0.7853982f;
        return (float)(BesselJ1(kPi * x) / (2 * x));
    case IM_GAUSSIAN: return expf(-2.0f * x * x) * 0.7978846f;
    case IM_QUADRATIC:
        if (x < -1.5f)
            return 0;
        if (x < -0.5f)
            return 0.5f * (x + 1.5f) * (x + 1.5f);
        if (x < 0.5f)
            return 0.75f - x * x;
        if (x < 1.5f)
            return 0.5f * (x - 1.5f) * (x - 1.5f);
        return 0;
    case IM_MITCHELL:
        if (a < 1)
            return 1.1666666f * a * a * a - 2 * a * a + 0.8888889f;
        if (a < 2)
            return -0.3888889f * a * a * a + 2 * a * a - 3.3333333f * a + 1.7777778f;
        return 0;
    case IM_CATROM:
        if (a < 1)
            return 0.5f * (3 * a * a * a - 5 * a * a + 2);
        if (a < 2)
            return 0.5f * (-a * a * a + 5 * a * a - 8 * a + 4);
        return 0;
    case IM_HANNING:
        if (a > 1)
            return 0;
        if (x == 0)
            return 1;
        return sinf(kPi * x) / (kPi * x) * (cosf(kPi * x) + 1) * 0.5f;
    case IM_POWER:
        if (a > 1)
            return 0;
        return 1 - fabsf(x * x);
    default: return 0;
    }
}

RGBQUAD CPixImage::BackgroundColor(RGBQUAD* rplColor) const
{
    if (rplColor)
        return *rplColor;
    RGBQUAD c = {255, 255, 255, 0};
    return c;
}

RGBQUAD CPixImage::OverflowColor(int ofMethod, RGBQUAD* rplColor)
{
    switch (ofMethod)
    {
    case OM_BACKGROUND:
        if (info.nBkgndIndex >= 0)
        {
            if (head.biBitCount < 24)
                return GetPaletteColor((BYTE)info.nBkgndIndex);
            return info.nBkgndColor;
        }
        return BackgroundColor(rplColor);
    case OM_TRANSPARENT:
        if (pAlpha)
        {
            RGBQUAD c = BackgroundColor(rplColor);
            c.rgbReserved = 0;
            return c;
        }
        if (info.nBkgndIndex >= 0)
            return GetTransColor();
        return BackgroundColor(rplColor);
    default: return BackgroundColor(rplColor);
    }
}

void CPixImage::OverflowCoordinates(long& x, long& y, int ofMethod)
{
    if (IsInside(x, y))
        return;
    long w = head.biWidth, h = head.biHeight;
    switch (ofMethod)
    {
    case OM_REPEAT:
        x = x < 0 ? 0 : (x >= w ? w - 1 : x);
        y = y < 0 ? 0 : (y >= h ? h - 1 : y);
        break;
    case OM_WRAP:
        x = x % w;
        if (x < 0)
            x += w;
        y = y % h;
        if (y < 0)
            y += h;
        break;
    case OM_MIRROR:
        if (x < 0)
            x = (-x) % w;
        else if (x >= w)
            x = w - (x % w) - 1;
        if (y < 0)
            y = (-y) % h;
        else if (y >= h)
            y = h - (y % h) - 1;
        break;
    default: break;
    }
}

void CPixImage::OverflowCoordinates(float& x, float& y, int ofMethod)
{
    float w = (float)head.biWidth, h = (float)head.biHeight;
    if (x >= 0 && x < w && y >= 0 && y < h)
        return;
    switch (ofMethod)
    {
    case OM_REPEAT:
        x = x < 0 ? 0 : (x > w - 1 ? w - 1 : x);
        y = y < 0 ? 0 : (y > h - 1 ? h - 1 : y);
        break;
    case OM_WRAP:
        x = fmodf(x, w);
        if (x < 0)
            x += w;
        y = fmodf(y, h);
        if (y < 0)
            y += h;
        break;
    case OM_MIRROR:
        if (x < 0)
            x = fmodf(-x, w);
        else if (x >= w)
            x = w - fmodf(x, w) - 1;
        if (y < 0)
            y = fmodf(-y, h);
        else if (y >= h)
            y = h - fmodf(y, h) - 1;
        break;
    default: break;
    }
}

RGBQUAD CPixImage::GetPixelColorWithOverflow(long x, long y, int ofMethod, RGBQUAD* rplColor)
{
    if (!pDib)
        return BackgroundColor(rplColor);
    if (!IsInside(x, y))
    {
        if (ofMethod == OM_WRAP || ofMethod == OM_REPEAT || ofMethod == OM_MIRROR)
            OverflowCoordinates(x, y, ofMethod);
        else
            return OverflowColor(ofMethod, rplColor);
    }
    return GetPixelColor(x, y, true);
}

void CPixImage::AccumulateWeighted(RGBQUAD cval, float w, float& rr, float& gg, float& bb, float& aa) const
{
    rr += cval.rgbRed * w;
    gg += cval.rgbGreen * w;
    bb += cval.rgbBlue * w;
    aa += cval.rgbReserved * w;
}

RGBQUAD CPixImage::GetPixelColorInterpolated(float x, float y, int inMethod, int ofMethod, RGBQUAD* rplColor)
{
    if (!pDib)
        return BackgroundColor(rplColor);
    long xi = (long)x;
    if (x < 0)
        xi--;
    long yi = (long)y;
    if (y < 0)
        yi--;
    long w = head.biWidth, h = head.biHeight;

    if (inMethod == IM_NEAREST_NEIGHBOUR)
        return GetPixelColorWithOverflow((long)(x + 0.5f), (long)(y + 0.5f), ofMethod, rplColor);

    bool bilinear = inMethod < 1 || inMethod > 18 || inMethod == IM_BILINEAR;
    bool outside;
    if (bilinear)
        outside = xi < -1 || xi >= w || yi < -1 || yi >= h;
    else if (inMethod == IM_LANCZOS)
        outside = xi + 6 < 0 || xi - 5 >= w || yi + 6 < 0 || yi - 5 >= h;
    else
        outside = xi + 2 < 0 || xi - 1 >= w || yi + 2 < 0 || yi - 1 >= h;
    if (outside)
    {
        if (ofMethod == OM_COLOR || ofMethod == OM_BACKGROUND || ofMethod == OM_TRANSPARENT)
            return OverflowColor(ofMethod, rplColor);
        OverflowCoordinates(x, y, ofMethod);
        xi = (long)x;
        if (x < 0)
            xi--;
        yi = (long)y;
        if (y < 0)
            yi--;
    }

    RGBQUAD color;
    if (bilinear)
    {
        if (xi >= 0 && yi >= 0 && xi + 1 < w && yi + 1 < h && head.biBitCount == 24)
        {
            long fx = (long)((x - xi) * 256);
            long fy = (long)((y - yi) * 256);
            long fxy = (fx * fy) >> 8;
            long w00 = 256 - fx - fy + fxy, w10 = fx - fxy, w01 = fy - fxy, w11 = fxy;
            const BYTE* p0 = info.pImage + yi * info.dwEffWidth + xi * 3;
            const BYTE* p1 = p0 + info.dwEffWidth;
            color.rgbBlue = (BYTE)((w00 * p0[0] + w10 * p0[3] + w01 * p1[0] + w11 * p1[3]) >> 8);
            color.rgbGreen = (BYTE)((w00 * p0[1] + w10 * p0[4] + w01 * p1[1] + w11 * p1[4]) >> 8);
            color.rgbRed = (BYTE)((w00 * p0[2] + w10 * p0[5] + w01 * p1[2] + w11 * p1[5]) >> 8);
            if (pAlpha)
            {
                const BYTE* a0 = pAlpha + yi * w + xi;
                const BYTE* a1 = a0 + w;
                color.rgbReserved = (BYTE)((w00 * a0[0] + w10 * a0[1] + w01 * a1[0] + w11 * a1[1]) >> 8);
            }
            else
            {
                color.rgbReserved = 0;
            }
            return color;
        }
        float dx = x - xi, dy = y - yi;
        RGBQUAD c00 = GetPixelColorWithOverflow(xi, yi, ofMethod, rplColor);
        RGBQUAD c10 = GetPixelColorWithOverflow(xi + 1, yi, ofMethod, rplColor);
        RGBQUAD c01 = GetPixelColorWithOverflow(xi, yi + 1, ofMethod, rplColor);
        RGBQUAD c11 = GetPixelColorWithOverflow(xi + 1, yi + 1, ofMethod, rplColor);
        float rr = 0, gg = 0, bb = 0, aa = 0;
        AccumulateWeighted(c00, (1 - dx) * (1 - dy), rr, gg, bb, aa);
        AccumulateWeighted(c10, dx * (1 - dy), rr, gg, bb, aa);
        AccumulateWeighted(c01, (1 - dx) * dy, rr, gg, bb, aa);
        AccumulateWeighted(c11, dx * dy, rr, gg, bb, aa);
        color.rgbRed = Clamp255(rr);
        color.rgbGreen = Clamp255(gg);
        color.rgbBlue = Clamp255(bb);
        color.rgbReserved = pAlpha ? Clamp255(aa) : 0;
        return color;
    }

    int n = inMethod == IM_LANCZOS ? 12 : 4;
    int off = inMethod == IM_LANCZOS ? 5 : 1;
    float wx[12], wy[12];
    for (int i = 0; i < n; i++)
    {
        wx[i] = KernelValue(inMethod, (float)(xi - off + i) - x);
        wy[i] = KernelValue(inMethod, (float)(yi - off + i) - y);
    }
    return KernelSum(xi - off, yi - off, n, wx, wy, ofMethod, rplColor);
}

// The weighted sum of the n x n pixels from (x0, y0): pixels outside the picture
// are those GetPixelColorWithOverflow gives, read here without its guards.
RGBQUAD CPixImage::KernelSum(long x0, long y0, int n, const float* wx, const float* wy, int ofMethod,
                             RGBQUAD* rplColor)
{
    long w = head.biWidth, h = head.biHeight;
    const RGBQUAD* pal = GetPalette();
    bool mapOutside = ofMethod == OM_WRAP || ofMethod == OM_REPEAT || ofMethod == OM_MIRROR;
    // Moving a coordinate pair inside works on each axis alone (a coordinate
    // already inside stays), so the columns and rows are mapped once.
    long cols[12], rows[12];
    bool colOut[12], rowOut[12];
    auto mapAxis = [&](long v, long limit, long& out, bool& outside) {
        outside = false;
        if (v >= 0 && v < limit)
        {
            out = v;
            return;
        }
        if (!mapOutside)
        {
            outside = true;
            out = 0;
            return;
        }
        long other = 0;
        if (limit == w)
            OverflowCoordinates(v, other, ofMethod);
        else
            OverflowCoordinates(other, v, ofMethod);
        out = v;
    };
    for (int i = 0; i < n; i++)
    {
        mapAxis(x0 + i, w, cols[i], colOut[i]);
        mapAxis(y0 + i, h, rows[i], rowOut[i]);
    }
    // The four channels are summed side by side (blue, green, red, alpha lanes):
    // each lane does the same multiplications and additions as one channel alone.
    DWORD overflowColor = 0;
    bool haveOverflowColor = false;
    __m128 acc = _mm_setzero_ps();
    const __m128i zero = _mm_setzero_si128();
    for (int j = 0; j < n; j++)
    {
        const BYTE* row = info.pImage + rows[j] * info.dwEffWidth;
        const BYTE* arow = pAlpha ? pAlpha + rows[j] * w : nullptr;
        for (int i = 0; i < n; i++)
        {
            float wt = wx[i] * wy[j];
            DWORD bgra;
            if (colOut[i] || rowOut[j])
            {
                if (!haveOverflowColor)
                {
                    RGBQUAD c = OverflowColor(ofMethod, rplColor);
                    memcpy(&overflowColor, &c, 4);
                    haveOverflowColor = true;
                }
                bgra = overflowColor;
            }
            else if (pal)
            {
                long xx = cols[i];
                BYTE idx;
                switch (head.biBitCount)
                {
                case 8: idx = row[xx]; break;
                case 4: idx = (BYTE)((row[xx >> 1] >> (4 * (1 - xx % 2))) & 0x0F); break;
                default: idx = (BYTE)((row[xx >> 3] >> (7 - xx % 8)) & 1); break;
                }
                memcpy(&bgra, &pal[idx], 4);
                if (arow)
                    bgra = (bgra & 0x00FFFFFF) | ((DWORD)arow[xx] << 24);
            }
            else
            {
                long xx = cols[i];
                const BYTE* p = row + xx * 3;
                bgra = (DWORD)p[0] | ((DWORD)p[1] << 8) | ((DWORD)p[2] << 16) | (arow ? (DWORD)arow[xx] << 24 : 0);
            }
            __m128i v = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128((int)bgra), zero), zero);
            acc = _mm_add_ps(acc, _mm_mul_ps(_mm_cvtepi32_ps(v), _mm_set1_ps(wt)));
        }
    }
    float sums[4];
    _mm_storeu_ps(sums, acc);
    RGBQUAD color;
    color.rgbBlue = Clamp255(sums[0]);
    color.rgbGreen = Clamp255(sums[1]);
    color.rgbRed = Clamp255(sums[2]);
    color.rgbReserved = pAlpha ? Clamp255(sums[3]) : 0;
    return color;
}

// The pixel (x, y) inside the picture as blue, green, red and alpha bytes (the
// palette entry's own fourth byte for palette pictures without alpha plane).
DWORD CPixImage::PixelBgra(long x, long y) const
{
    const BYTE* row = info.pImage + y * info.dwEffWidth;
    DWORD bgra;
    if (head.biClrUsed)
    {
        BYTE idx;
        switch (head.biBitCount)
        {
        case 8: idx = row[x]; break;
        case 4: idx = (BYTE)((row[x >> 1] >> (4 * (1 - x % 2))) & 0x0F); break;
        default: idx = (BYTE)((row[x >> 3] >> (7 - x % 8)) & 1); break;
        }
        memcpy(&bgra, (const BYTE*)pDib + sizeof(BITMAPINFOHEADER) + idx * 4, 4);
        if (pAlpha)
            bgra = (bgra & 0x00FFFFFF) | ((DWORD)pAlpha[y * head.biWidth + x] << 24);
        return bgra;
    }
    const BYTE* p = row + x * 3;
    return (DWORD)p[0] | ((DWORD)p[1] << 8) | ((DWORD)p[2] << 16) |
           (pAlpha ? (DWORD)pAlpha[y * head.biWidth + x] << 24 : 0);
}

RGBQUAD CPixImage::GetAreaColorInterpolated(float xc, float yc, float w, float h, int inMethod, int ofMethod,
                                            RGBQUAD* rplColor)
{
    if (w <= 1 && h <= 1)
        return GetPixelColorInterpolated(xc, yc, inMethod, ofMethod, rplColor);

    FloatRect area(xc - w / 2.0f, yc - h / 2.0f, xc + w / 2.0f, yc + h / 2.0f);
    long xmin = (long)floorf(area.left + 0.5f);
    long ymin = (long)floorf(area.top + 0.5f);
    long xmax = (long)floorf(area.right + 0.5f);
    long ymax = (long)floorf(area.bottom + 0.5f);
    // trunc as the rule has it (for positive values floor and trunc agree)
    xmin = (long)(area.left + 0.5f);
    ymin = (long)(area.top + 0.5f);
    xmax = (long)(area.right + 0.5f);
    ymax = (long)(area.bottom + 0.5f);
    float rr = 0, gg = 0, bb = 0, aa = 0;
    long iw = head.biWidth, ih = head.biHeight;
    bool rgb = head.biBitCount == 24;

    const RGBQUAD* pal = GetPalette();
    auto pixel = [&](long x, long y, float wt) {
        if (!rgb && pal && x >= 0 && y >= 0 && x < iw && y < ih)
        {
            RGBQUAD q = pal[GetPixelIndexRaw(x, y)];
            if (pAlpha)
                q.rgbReserved = pAlpha[y * iw + x];
            AccumulateWeighted(q, wt, rr, gg, bb, aa);
        }
        else if (rgb && x >= 0 && y >= 0 && x < iw && y < ih)
        {
            const BYTE* p = info.pImage + y * info.dwEffWidth + x * 3;
            bb += p[0] * wt;
            gg += p[1] * wt;
            rr += p[2] * wt;
            if (pAlpha)
                aa += pAlpha[y * iw + x] * wt;
        }
        else
        {
            AccumulateWeighted(GetPixelColorWithOverflow(x, y, ofMethod, rplColor), wt, rr, gg, bb, aa);
        }
    };

    if (w > 1 && h > 1)
    {
        FloatRect lt = area.Intersect(FloatRect(xmin - 0.5f, ymin - 0.5f, xmin + 0.5f, ymin + 0.5f));
        FloatRect rb = area.Intersect(FloatRect(xmax - 0.5f, ymax - 0.5f, xmax + 0.5f, ymax + 0.5f));
        float lw = lt.Width(), th = lt.Height();
        float rw = rb.Width(), bh = rb.Height();
        pixel(xmin, ymin, lw * th);
        pixel(xmax, ymin, rw * th);
        pixel(xmin, ymax, lw * bh);
        pixel(xmax, ymax, rw * bh);
        for (long x = xmin + 1; x < xmax; x++)
        {
            pixel(x, ymin, th);
            pixel(x, ymax, bh);
        }
        for (long y = ymin + 1; y < ymax; y++)
        {
            pixel(xmin, y, lw);
            pixel(xmax, y, rw);
        }
        if (rgb && xmin + 1 >= 0 && ymin + 1 >= 0 && xmax - 1 < iw && ymax - 1 < ih && !pAlpha)
        {
            // Inner pixels, all inside the picture: whole weights.
            unsigned long sb = 0, sg = 0, sr = 0;
            for (long y = ymin + 1; y < ymax; y++)
            {
                const BYTE* p = info.pImage + y * info.dwEffWidth + (xmin + 1) * 3;
                for (long x = xmin + 1; x < xmax; x++, p += 3)
                {
                    sb += p[0];
                    sg += p[1];
                    sr += p[2];
                }
            }
            bb += (float)sb;
            gg += (float)sg;
            rr += (float)sr;
        }
        else
        {
            for (long y = ymin + 1; y < ymax; y++)
                for (long x = xmin + 1; x < xmax; x++)
                    pixel(x, y, 1.0f);
        }
    }
    else
    {
        for (long y = ymin; y <= ymax; y++)
        {
            for (long x = xmin; x <= xmax; x++)
            {
                FloatRect px = area.Intersect(FloatRect(x - 0.5f, y - 0.5f, x + 0.5f, y + 0.5f));
                float s = px.Surface();
                if (s <= 0)
                    continue;
                AccumulateWeighted(
                    GetPixelColorInterpolated(px.CenterX(), px.CenterY(), inMethod, ofMethod, rplColor), s, rr, gg,
                    bb, aa);
            }
        }
    }
    float surface = area.Surface();
    RGBQUAD color;
    color.rgbRed = Clamp255(rr / surface);
    color.rgbGreen = Clamp255(gg / surface);
    color.rgbBlue = Clamp255(bb / surface);
    color.rgbReserved = pAlpha ? Clamp255(aa / surface) : 0;
    return color;
}

bool CPixImage::Resample(long newx, long newy, int mode, int ofMethod, CPixImage* iDst, bool disableAveraging)
{
    if (newx <= 0 || newy <= 0 || !pDib)
        return false;
    if (newx == head.biWidth && newy == head.biHeight)
    {
        if (iDst)
            iDst->Copy(*this, true, true, true);
        return true;
    }
    float xScale = (float)head.biWidth / (float)newx;
    float yScale = (float)head.biHeight / (float)newy;

    CPixImage newImage;
    newImage.CopyInfo(*this);
    if (!newImage.Create(newx, newy, head.biBitCount, GetType()))
    {
        SetErrorText(newImage.GetErrorText());
        return false;
    }
    newImage.SetXDPI(info.xDPI);
    newImage.SetYDPI(info.yDPI);
    newImage.SetPalette(GetPalette(), head.biClrUsed < 256 ? head.biClrUsed : 256);
    if (pAlpha && !newImage.AlphaCreate())
    {
        SetErrorText("can't allocate memory");
        return false;
    }

    bool alphaFilled = false;
    KernelGrid grid;
    if (((xScale <= 1 && yScale <= 1) || disableAveraging) && mode >= IM_BSPLINE && mode <= IM_POWER)
        grid.Build(*this, newx, newy, xScale, yScale, mode);
    // Point interpolation is separable: the taps of each destination column are
    // summed along every source row once (plus one row for taps outside the
    // picture), and each destination pixel sums those row sums with its row weights.
    std::vector<float> rowSums;
    long srcH = head.biHeight;
    if (grid.Ready() && (long long)(srcH + 1) * newx <= 4000000)
    {
        grid.MapTaps(*this, ofMethod);
        rowSums.assign((size_t)(srcH + 1) * newx * 4, 0.0f);
        RGBQUAD oc = GetPixelColorWithOverflow(-0x7FFFFFF, -0x7FFFFFF, ofMethod, nullptr);
        DWORD ocBgra;
        memcpy(&ocBgra, &oc, 4);
        __m128 ocLanes = PixelLanes(ocBgra);
        for (long r = 0; r <= srcH; r++)
        {
            bool row = r < srcH;
            for (long x = 0; x < newx; x++)
            {
                __m128 acc = _mm_setzero_ps();
                for (int i = 0; i < grid.n; i++)
                {
                    long c = grid.colMap[x * grid.n + i];
                    __m128 v;
                    if (!row || c < 0)
                    {
                        v = ocLanes;
                    }
                    else
                    {
                        v = PixelLanes(PixelBgra(c, r));
                    }
                    acc = _mm_add_ps(acc, _mm_mul_ps(v, _mm_set1_ps(grid.wx[x * grid.n + i])));
                }
                _mm_storeu_ps(&rowSums[((size_t)r * newx + x) * 4], acc);
            }
        }
    }

    AreaGrid areaGrid;
    if (!((xScale <= 1 && yScale <= 1) || disableAveraging) && (xScale <= 1 || yScale <= 1) && mode >= IM_BSPLINE &&
        mode <= IM_POWER && mode != IM_LANCZOS)
        areaGrid.Build(*this, newx, newy, xScale, yScale, mode, ofMethod);
    // The taps of every column piece summed along each source row (and one row
    // for taps outside), so that each interpolation sums four row sums.
    std::vector<float> pieceSums;
    if (areaGrid.Ready() && (long long)areaGrid.numColPieces * (srcH + 1) <= 4000000)
    {
        pieceSums.assign((size_t)areaGrid.numColPieces * (srcH + 1) * 4, 0.0f);
        RGBQUAD oc = GetPixelColorWithOverflow(-0x7FFFFFF, -0x7FFFFFF, ofMethod, nullptr);
        DWORD ocBgra;
        memcpy(&ocBgra, &oc, 4);
        __m128 ocLanes = PixelLanes(ocBgra);
        for (long x = 0; x < newx; x++)
        {
            for (size_t k = 0; k < areaGrid.cols[x].size(); k++)
            {
                const AreaGrid::Piece& px = areaGrid.cols[x][k];
                float* out = &pieceSums[(size_t)(areaGrid.pieceBase[x] + (long)k) * (srcH + 1) * 4];
                for (long r = 0; r <= srcH; r++)
                {
                    __m128 acc = _mm_setzero_ps();
                    for (int i = 0; i < 4; i++)
                    {
                        long c = px.map[i];
                        __m128 v = (r == srcH || c < 0) ? ocLanes : PixelLanes(PixelBgra(c, r));
                        acc = _mm_add_ps(acc, _mm_mul_ps(v, _mm_set1_ps(px.w[i])));
                    }
                    _mm_storeu_ps(out + r * 4, acc);
                }
            }
        }
    }
    NearestIndexMemo* memo = head.biClrUsed ? new NearestIndexMemo(newImage) : nullptr;
    auto put = [&](long x, long y, RGBQUAD c) {
        if (memo)
        {
            newImage.SetPixelIndexRaw(x, y, memo->Get(c));
            if (newImage.pAlpha)
                newImage.pAlpha[y * newx + x] = c.rgbReserved;
        }
        else
        {
            newImage.SetPixelColorRaw(x, y, c, newImage.pAlpha != nullptr);
        }
    };
    for (long y = 0; y < newy; y++)
    {
        info.nProgress = (long)(100 * y / newy);
        if (info.nEscape)
            break;
        float sY = (y + 0.5f) * yScale - 0.5f;
        if (!rowSums.empty())
        {
            // Each destination pixel from the row sums of its rows.
            for (long x = 0; x < newx; x++)
            {
                RGBQUAD q;
                if (grid.Outside(x, y))
                {
                    q = GetPixelColorInterpolated((x + 0.5f) * xScale - 0.5f, sY, mode, ofMethod, nullptr);
                }
                else
                {
                    __m128 acc = _mm_setzero_ps();
                    for (int j = 0; j < grid.n; j++)
                    {
                        long r = grid.rowMap[y * grid.n + j];
                        const float* hsum = &rowSums[((r < 0 ? srcH : r) * newx + x) * 4];
                        acc = _mm_add_ps(acc, _mm_mul_ps(_mm_loadu_ps(hsum), _mm_set1_ps(grid.wy[y * grid.n + j])));
                    }
                    float sums[4];
                    _mm_storeu_ps(sums, acc);
                    q.rgbBlue = Clamp255(sums[0]);
                    q.rgbGreen = Clamp255(sums[1]);
                    q.rgbRed = Clamp255(sums[2]);
                    q.rgbReserved = pAlpha ? Clamp255(sums[3]) : 0;
                }
                put(x, y, q);
                if (!head.biClrUsed)
                    alphaFilled = true;
            }
        }
        else if (((xScale <= 1 && yScale <= 1) || disableAveraging) && grid.Ready())
        {
            // Kernel weights of each destination column and row, computed once.
            for (long x = 0; x < newx; x++)
            {
                RGBQUAD q;
                if (grid.Outside(x, y))
                    q = GetPixelColorInterpolated((x + 0.5f) * xScale - 0.5f, sY, mode, ofMethod, nullptr);
                else
                    q = KernelSum(grid.x0[x], grid.y0[y], grid.n, &grid.wx[x * grid.n], &grid.wy[y * grid.n],
                                  ofMethod, nullptr);
                put(x, y, q);
                if (!head.biClrUsed)
                    alphaFilled = true;
            }
        }
        else if ((xScale <= 1 && yScale <= 1) || disableAveraging)
        {
            if (head.biClrUsed)
            {
                for (long x = 0; x < newx; x++)
                {
                    float sX = (x + 0.5f) * xScale - 0.5f;
                    put(x, y, GetPixelColorInterpolated(sX, sY, mode, ofMethod, nullptr));
                }
            }
            else
            {
                BYTE* dst = newImage.GetBits(y);
                for (long x = 0; x < newx; x++, dst += 3)
                {
                    float sX = (x + 0.5f) * xScale - 0.5f;
                    RGBQUAD q = GetPixelColorInterpolated(sX, sY, mode, ofMethod, nullptr);
                    dst[0] = q.rgbBlue;
                    dst[1] = q.rgbGreen;
                    dst[2] = q.rgbRed;
                    if (newImage.pAlpha)
                        newImage.pAlpha[y * newx + x] = q.rgbReserved;
                }
                alphaFilled = true;
            }
        }
        else if (areaGrid.Ready())
        {
            for (long x = 0; x < newx; x++)
            {
                float rr = 0, gg = 0, bb = 0, aa = 0;
                for (const AreaGrid::Piece& py : areaGrid.rows[y])
                {
                    for (const AreaGrid::Piece& px : areaGrid.cols[x])
                    {
                        RGBQUAD q;
                        if (px.outside || py.outside)
                        {
                            q = GetPixelColorInterpolated(px.centre, py.centre, mode, ofMethod, nullptr);
                        }
                        else if (!pieceSums.empty())
                        {
                            const float* hs = &pieceSums[(size_t)(areaGrid.pieceBase[x] + (&px - &areaGrid.cols[x][0])) *
                                                         (srcH + 1) * 4];
                            __m128 acc = _mm_setzero_ps();
                            for (int j = 0; j < 4; j++)
                            {
                                long r = py.map[j] < 0 ? srcH : py.map[j];
                                acc = _mm_add_ps(acc, _mm_mul_ps(_mm_loadu_ps(hs + r * 4), _mm_set1_ps(py.w[j])));
                            }
                            float sums[4];
                            _mm_storeu_ps(sums, acc);
                            q.rgbBlue = Clamp255(sums[0]);
                            q.rgbGreen = Clamp255(sums[1]);
                            q.rgbRed = Clamp255(sums[2]);
                            q.rgbReserved = pAlpha ? Clamp255(sums[3]) : 0;
                        }
                        else
                        {
                            q = KernelSum(px.start, py.start, 4, px.w, py.w, ofMethod, nullptr);
                        }
                        AccumulateWeighted(q, px.size * py.size, rr, gg, bb, aa);
                    }
                }
                float surface = areaGrid.colExtent[x] * areaGrid.rowExtent[y];
                RGBQUAD q;
                q.rgbRed = Clamp255(rr / surface);
                q.rgbGreen = Clamp255(gg / surface);
                q.rgbBlue = Clamp255(bb / surface);
                q.rgbReserved = pAlpha ? Clamp255(aa / surface) : 0;
                put(x, y, q);
            }
        }
        else
        {
            for (long x = 0; x < newx; x++)
            {
                float sX = (x + 0.5f) * xScale - 0.5f;
                put(x, y, GetAreaColorInterpolated(sX, sY, xScale, yScale, mode, ofMethod, nullptr));
            }
        }
    }

    delete memo;
    if (pAlpha && !alphaFilled)
    {
        for (long y = 0; y < newy; y++)
            for (long x = 0; x < newx; x++)
                newImage.AlphaSet(x, y, AlphaGet((long)(x * xScale), (long)(y * yScale)));
    }

    if (iDst)
        iDst->Transfer(newImage);
    else
        Transfer(newImage);
    return true;
}

bool CPixImage::GrayScale()
{
    if (!pDib)
        return false;
    // A new 8-bit grey image of the same size, with this image's selection and
    // alpha, whose pixel (x, y) is grey(x, y); it replaces this one.
    auto toNewGreyImage = [this](auto grey) {
        CPixImage ima;
        ima.CopyInfo(*this);
        if (!ima.Create(head.biWidth, head.biHeight, 8, info.dwType))
        {
            SetErrorText(ima.GetErrorText());
            return false;
        }
        ima.SetGrayPalette();
        ima.SelectionCopy(*this);
        ima.AlphaCopy(*this);
        for (long y = 0; y < head.biHeight; y++)
        {
            BYTE* dst = ima.GetBits(y);
            for (long x = 0; x < head.biWidth; x++)
                dst[x] = grey(x, y);
        }
        Transfer(ima);
        return true;
    };
    if (head.biBitCount <= 8)
    {
        RGBQUAD* ppal = GetPalette();
        for (DWORD i = 0; i < head.biClrUsed; i++)
            ppal[i].rgbBlue = (BYTE)((ppal[i].rgbBlue * 117 + ppal[i].rgbGreen * 601 + ppal[i].rgbRed * 306) >> 10);
        info.last_c_isvalid = false;
        if (info.nBkgndIndex >= 0 && info.nBkgndIndex < (long)head.biClrUsed)
            info.nBkgndIndex = ppal[info.nBkgndIndex].rgbBlue;
        if (head.biBitCount == 8)
        {
            BYTE* img = info.pImage;
            for (DWORD i = 0; i < head.biSizeImage; i++)
                img[i] = ppal[img[i]].rgbBlue;
            SetGrayPalette();
            return true;
        }
        return toNewGreyImage([&](long x, long y) { return ppal[GetPixelIndexRaw(x, y)].rgbBlue; });
    }
    return toNewGreyImage([&](long x, long y) {
        const BYTE* src = info.pImage + y * info.dwEffWidth + x * 3;
        return (BYTE)((src[0] * 117 + src[1] * 601 + src[2] * 306) >> 10);
    });
}

bool CPixImage::Flip(bool bFlipSelection, bool bFlipAlpha)
{
    if (!pDib)
        return false;
    BYTE* buff = (BYTE*)malloc(info.dwEffWidth ? info.dwEffWidth : 1);
    if (!buff)
        return false;
    BYTE* iSrc = GetBits(head.biHeight - 1);
    BYTE* iDst = GetBits(0);
    for (long i = 0; i < head.biHeight / 2; ++i)
    {
        memcpy(buff, iSrc, info.dwEffWidth);
        memcpy(iSrc, iDst, info.dwEffWidth);
        memcpy(iDst, buff, info.dwEffWidth);
        iSrc -= info.dwEffWidth;
        iDst += info.dwEffWidth;
    }
    free(buff);
    if (bFlipSelection)
        SelectionFlip();
    if (bFlipAlpha)
        AlphaFlip();
    return true;
}

bool CPixImage::Negative()
{
    if (!pDib)
        return false;
    if (head.biBitCount == 24)
    {
        if (pSelection)
        {
            for (long y = info.rSelectionBox.bottom; y < info.rSelectionBox.top; y++)
            {
                for (long x = info.rSelectionBox.left; x < info.rSelectionBox.right; x++)
                {
                    if (IsInside(x, y) && SelectionIsInside(x, y))
                    {
                        BYTE* p = info.pImage + y * info.dwEffWidth + x * 3;
                        p[0] = (BYTE)(255 - p[0]);
                        p[1] = (BYTE)(255 - p[1]);
                        p[2] = (BYTE)(255 - p[2]);
                    }
                }
            }
        }
        else
        {
            BYTE* p = info.pImage;
            for (DWORD i = 0; i < head.biSizeImage; i++)
                p[i] = (BYTE)(255 - p[i]);
        }
        info.nBkgndColor.rgbBlue = (BYTE)(255 - info.nBkgndColor.rgbBlue);
        info.nBkgndColor.rgbGreen = (BYTE)(255 - info.nBkgndColor.rgbGreen);
        info.nBkgndColor.rgbRed = (BYTE)(255 - info.nBkgndColor.rgbRed);
        return true;
    }
    if (!IsGrayScale())
    {
        RGBQUAD* ppal = GetPalette();
        for (DWORD i = 0; i < head.biClrUsed; i++)
        {
            ppal[i].rgbBlue = (BYTE)(255 - ppal[i].rgbBlue);
            ppal[i].rgbGreen = (BYTE)(255 - ppal[i].rgbGreen);
            ppal[i].rgbRed = (BYTE)(255 - ppal[i].rgbRed);
        }
        info.last_c_isvalid = false;
        return true;
    }
    if (pSelection)
    {
        BYTE mask = (BYTE)((1 << head.biBitCount) - 1);
        for (long y = info.rSelectionBox.bottom; y < info.rSelectionBox.top; y++)
        {
            for (long x = info.rSelectionBox.left; x < info.rSelectionBox.right; x++)
            {
                if (IsInside(x, y) && SelectionIsInside(x, y))
                    SetPixelIndexRaw(x, y, (BYTE)(~GetPixelIndexRaw(x, y) & mask));
            }
        }
    }
    else
    {
        BYTE* p = info.pImage;
        for (DWORD i = 0; i < head.biSizeImage; i++)
            p[i] = (BYTE)(255 - p[i]);
    }
    return true;
}

bool CPixImage::Crop(const RECT& rect, CPixImage* iDst)
{
    return Crop(rect.left, rect.top, rect.right, rect.bottom, iDst);
}

bool CPixImage::Crop(long left, long top, long right, long bottom, CPixImage* iDst)
{
    if (!pDib)
        return false;
    long startx = left < 0 ? 0 : (left > head.biWidth ? head.biWidth : left);
    long endx = right < 0 ? 0 : (right > head.biWidth ? head.biWidth : right);
    long starty = head.biHeight - (top < 0 ? 0 : (top > head.biHeight ? head.biHeight : top));
    long endy = head.biHeight - (bottom < 0 ? 0 : (bottom > head.biHeight ? head.biHeight : bottom));
    if (startx == endx || starty == endy)
        return false;
    if (startx > endx)
    {
        long t = startx;
        startx = endx;
        endx = t;
    }
    if (starty > endy)
    {
        long t = starty;
        starty = endy;
        endy = t;
    }
    long newWidth = endx - startx;
    long newHeight = endy - starty;

    CPixImage tmp;
    if (!tmp.Create(newWidth, newHeight, head.biBitCount, info.dwType))
    {
        SetErrorText(tmp.GetErrorText());
        return false;
    }
    tmp.SetPalette(GetPalette(), head.biClrUsed);
    tmp.info.nBkgndIndex = info.nBkgndIndex;
    tmp.info.nBkgndColor = info.nBkgndColor;

    if (head.biBitCount < 8)
    {
        for (long y = 0; y < newHeight; y++)
        {
            info.nProgress = (long)(100 * y / newHeight);
            for (long x = 0; x < newWidth; x++)
                tmp.SetPixelIndexRaw(x, y, GetPixelIndexRaw(x + startx, y + starty));
        }
    }
    else
    {
        long bytes = newWidth * head.biBitCount / 8;
        long offset = startx * head.biBitCount / 8;
        for (long y = 0; y < newHeight; y++)
        {
            info.nProgress = (long)(100 * y / newHeight);
            memcpy(tmp.GetBits(y), info.pImage + (y + starty) * info.dwEffWidth + offset, bytes);
        }
    }
    if (pAlpha)
    {
        if (!tmp.AlphaCreate())
            return false;
        for (long y = 0; y < newHeight; y++)
            memcpy(tmp.pAlpha + y * newWidth, pAlpha + (y + starty) * head.biWidth + startx, newWidth);
    }
    if (iDst)
        iDst->Transfer(tmp);
    else
        Transfer(tmp);
    return true;
}

bool CPixImage::Expand(long left, long top, long right, long bottom, RGBQUAD canvascolor, CPixImage* iDst)
{
    if (!pDib || left < 0 || right < 0 || bottom < 0 || top < 0)
        return false;
    long newWidth = head.biWidth + left + right;
    long newHeight = head.biHeight + top + bottom;
    right = left + head.biWidth - 1;
    top = bottom + head.biHeight - 1;

    CPixImage tmp;
    tmp.CopyInfo(*this);
    if (!tmp.Create(newWidth, newHeight, head.biBitCount, info.dwType))
    {
        SetErrorText(tmp.GetErrorText());
        return false;
    }
    tmp.SetXDPI(info.xDPI);
    tmp.SetYDPI(info.yDPI);
    tmp.SetPalette(GetPalette(), head.biClrUsed);

    switch (head.biBitCount)
    {
    case 1:
    case 4: {
        BYTE pixel = tmp.GetNearestIndex(canvascolor);
        for (long y = 0; y < newHeight; y++)
        {
            info.nProgress = (long)(100 * y / newHeight);
            for (long x = 0; x < newWidth; x++)
            {
                if (y < bottom || y > top || x < left || x > right)
                    tmp.SetPixelIndexRaw(x, y, pixel);
                else
                    tmp.SetPixelIndexRaw(x, y, GetPixelIndexRaw(x - left, y - bottom));
            }
        }
        break;
    }
    case 8:
    case 24: {
        if (head.biBitCount == 8)
        {
            BYTE pixel = tmp.GetNearestIndex(canvascolor);
            memset(tmp.info.pImage, pixel, tmp.head.biSizeImage);
        }
        else
        {
            for (long y = 0; y < newHeight; y++)
            {
                BYTE* p = tmp.GetBits(y);
                for (long x = 0; x < newWidth; x++, p += 3)
                {
                    p[0] = canvascolor.rgbBlue;
                    p[1] = canvascolor.rgbGreen;
                    p[2] = canvascolor.rgbRed;
                }
            }
        }
        long bytes = head.biWidth * head.biBitCount / 8;
        long offset = left * head.biBitCount / 8;
        for (long y = 0; y < head.biHeight; y++)
        {
            info.nProgress = (long)(100 * y / head.biHeight);
            memcpy(tmp.GetBits(y + bottom) + offset, info.pImage + y * info.dwEffWidth, bytes);
        }
        break;
    }
    }

    if (pSelection)
    {
        if (!tmp.SelectionCreate())
            return false;
        for (long y = 0; y < head.biHeight; y++)
            memcpy(tmp.pSelection + (y + bottom) * newWidth + left, pSelection + y * head.biWidth, head.biWidth);
        tmp.info.rSelectionBox = info.rSelectionBox;
        tmp.info.rSelectionBox.left += left;
        tmp.info.rSelectionBox.right += left;
        tmp.info.rSelectionBox.top += bottom;
        tmp.info.rSelectionBox.bottom += bottom;
    }
    if (pAlpha)
    {
        if (!tmp.AlphaCreate())
            return false;
        tmp.AlphaFill(canvascolor.rgbReserved);
        for (long y = 0; y < head.biHeight; y++)
            memcpy(tmp.pAlpha + (y + bottom) * newWidth + left, pAlpha + y * head.biWidth, head.biWidth);
    }
    if (iDst)
        iDst->Transfer(tmp);
    else
        Transfer(tmp);
    return true;
}
