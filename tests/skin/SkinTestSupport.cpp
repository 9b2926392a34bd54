#include "SkinTestSupport.h"
#include "PixImage.h"
#include "TestFolders.h"
#include <png.h>
#include <stdio.h>
#include <vector>

std::wstring FreshFolder(const wchar_t* name)
{
    std::wstring folder = std::wstring(YEB_BINARY_DIR) + L"\\test-output";
    CreateDirectoryW(folder.c_str(), NULL);
    folder += L"\\skin-work";
    CreateDirectoryW(folder.c_str(), NULL);
    return FreshTestFolder(folder, name);
}

void WriteBytes(const std::wstring& path, const void* data, size_t size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE)
    {
        WriteFile(file, data, (DWORD)size, &written, NULL);
        CloseHandle(file);
    }
}

void WriteText(const std::wstring& path, const char* text) { WriteBytes(path, text, strlen(text)); }

void KeepPicture(HBITMAP bitmap, const wchar_t* name)
{
    std::wstring folder = std::wstring(YEB_BINARY_DIR) + L"\\test-output";
    CreateDirectoryW(folder.c_str(), NULL);
    folder += L"\\skin";
    CreateDirectoryW(folder.c_str(), NULL);
    CPixImage image;
    if (image.CreateFromHBITMAP(bitmap))
        image.Save((folder + L"\\" + name + L".png").c_str(), PIXIMAGE_FORMAT_PNG);
}

void KeepPicture(const Canvas& canvas, const wchar_t* name)
{
    HBITMAP copy = canvas.Copy();
    KeepPicture(copy, name);
    DeleteObject(copy);
}

static bool WritePng(const std::wstring& path, int width, int height, int colorType, int trnsGrey)
{
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, &info);
        fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, width, height, 8, colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (trnsGrey >= 0)
    {
        png_color_16 trans = {};
        trans.gray = (png_uint_16)trnsGrey;
        png_set_tRNS(png, info, NULL, 0, &trans);
    }
    png_write_info(png, info);
    int channels = colorType == PNG_COLOR_TYPE_GRAY ? 1 : 3;
    std::vector<png_byte> row(width * channels);
    for (int y = 0; y < height; y++)
    {
        for (int x = 0; x < width; x++)
            for (int c = 0; c < channels; c++)
                row[x * channels + c] = (png_byte)((x * 60 + y * 20 + c * 70) & 0xFF);
        png_write_row(png, row.data());
    }
    png_write_end(png, NULL);
    png_destroy_write_struct(&png, &info);
    fclose(f);
    return true;
}

bool WriteGreyPng(const std::wstring& path, int width, int height, int trnsGrey)
{
    return WritePng(path, width, height, PNG_COLOR_TYPE_GRAY, trnsGrey);
}

bool WriteRgbPng(const std::wstring& path, int width, int height)
{
    return WritePng(path, width, height, PNG_COLOR_TYPE_RGB, -1);
}

const wchar_t* TestWindowClass(const wchar_t* name, WNDPROC proc)
{
    WNDCLASSW wc = {};
    if (GetClassInfoW(GetModuleHandleW(NULL), name, &wc))
        return name;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = name;
    return RegisterClassW(&wc) ? name : NULL;
}
