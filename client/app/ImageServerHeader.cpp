#include "ImageServerHeader.h"
#include <cstring>

ImageServerHeader::ImageServerHeader()
{
    std::memset(bytes, 0, sizeof bytes);
}

void ImageServerHeader::PutInt(int offset, DWORD value)
{
    bytes[offset] = (BYTE)value;
    bytes[offset + 1] = (BYTE)(value >> 8);
    bytes[offset + 2] = (BYTE)(value >> 16);
    bytes[offset + 3] = (BYTE)(value >> 24);
}

void ImageServerHeader::PutText(int offset, int width, const char* text, int length)
{
    std::memset(bytes + offset, 0, width);
    if (!text)
        return;
    if (length < 0)
        length = (int)std::strlen(text);
    // A longer text is cut at the field's end; it never runs into the next field.
    std::memcpy(bytes + offset, text, length < width ? length : width);
}
