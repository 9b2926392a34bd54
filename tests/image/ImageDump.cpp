// Decodes pictures with the image library and writes what it decoded as PAM
// (RGB_ALPHA, 8 bits, top line first), for comparison with a reference decoder.
//   image_dump <list file>
// Each line of the list: "decode <in> <out.pam>" or "convert <in> <type> <out>"
// (decode, then encode as the type). Results go to standard output, one line each:
// "OK <in>" or "ERROR <in>: <last-error text>".
#include "PixImage.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>
#include <string>

namespace
{
std::wstring Widen(const char* s)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0);
    std::wstring w(n ? n - 1 : 0, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s, -1, &w[0], n);
    return w;
}

BYTE PixelAlpha(CPixImage& ima, long x, long y, const RGBQUAD& c)
{
    if (ima.AlphaIsValid())
        return ima.AlphaGet(x, y);
    if (ima.IsIndexed())
    {
        BYTE idx = ima.GetPixelIndex(x, y);
        if (ima.AlphaPaletteIsEnabled())
            return ima.GetPaletteColor(idx).rgbReserved;
        if (ima.IsTransparent() && idx == (BYTE)ima.GetTransIndex())
            return 0;
        return 255;
    }
    if (ima.IsTransparent())
    {
        RGBQUAD t = ima.GetTransColor();
        if (t.rgbRed == c.rgbRed && t.rgbGreen == c.rgbGreen && t.rgbBlue == c.rgbBlue)
            return 0;
    }
    return 255;
}

bool WritePam(CPixImage& ima, const std::wstring& path)
{
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f)
        return false;
    long w = ima.GetWidth(), h = ima.GetHeight();
    fprintf(f, "P7\nWIDTH %ld\nHEIGHT %ld\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n", w, h);
    std::string row(w * 4, '\0');
    for (long y = h - 1; y >= 0; y--)
    {
        for (long x = 0; x < w; x++)
        {
            RGBQUAD c = ima.GetPixelColor(x, y, false);
            row[x * 4] = (char)c.rgbRed;
            row[x * 4 + 1] = (char)c.rgbGreen;
            row[x * 4 + 2] = (char)c.rgbBlue;
            row[x * 4 + 3] = (char)PixelAlpha(ima, x, y, c);
        }
        fwrite(row.data(), 1, row.size(), f);
    }
    return fclose(f) == 0;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        fprintf(stderr, "usage: image_dump <list file>\n");
        return 2;
    }
    FILE* list = fopen(argv[1], "r");
    if (!list)
        return 2;
    char line[4096];
    while (fgets(line, sizeof(line), list))
    {
        line[strcspn(line, "\r\n")] = 0;
        char* verb = strtok(line, "\t");
        char* in = strtok(nullptr, "\t");
        if (!verb || !in)
            continue;
        CPixImage ima;
        if (!ima.Load(Widen(in).c_str(), 0))
        {
            printf("ERROR %s: %s\n", in, ima.GetErrorText()[0] ? ima.GetErrorText() : "(no text)");
            continue;
        }
        bool ok;
        if (strcmp(verb, "convert") == 0)
        {
            char* type = strtok(nullptr, "\t");
            char* out = strtok(nullptr, "\t");
            ok = type && out && ima.Save(Widen(out).c_str(), (DWORD)atoi(type));
        }
        else
        {
            char* out = strtok(nullptr, "\t");
            ok = out && WritePam(ima, Widen(out));
        }
        if (ok)
            printf("OK %s\n", in);
        else
            printf("ERROR %s: %s\n", in, ima.GetErrorText()[0] ? ima.GetErrorText() : "(no text)");
        fflush(stdout);
    }
    fclose(list);
    return 0;
}
