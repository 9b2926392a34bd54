// Bitmaps of a style or an icon set from files and from module resources,
// PNG or BMP, telling whether they carry 32 bits (and so maybe alpha).
#pragma once
#include <Framework.h>

// A PNG file goes through the PNG decoder (alpha: it had an alpha channel);
// any other file is loaded as a bitmap, as a DIB section when its header says
// 32 bits per pixel (alpha: it has 32 bits per pixel).
HBITMAP SFLoadBitmapFile(LPCWSTR path, BOOL* alpha);
// A "PNG" resource through the PNG decoder; a 32-bit bitmap resource as a
// DIB section of its pixels; other bitmap resources through LoadImage.
HBITMAP SFLoadBitmapResource(HMODULE module, LPCWSTR name, BOOL* alpha);
// The style's resource loader: a "PNG" resource as above; otherwise the
// bitmap resource read by hand, refused when shorter than its header and
// pixels claim; below 24 bits a device bitmap through its palette, at 24
// and 32 bits a DIB section of the same header (is32: 32 bits per pixel).
HBITMAP LoadResourceBitmap(HMODULE module, LPCWSTR name, BOOL* is32);
