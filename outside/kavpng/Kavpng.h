#pragma once
// Kavpng: loads PNG pictures kept as RT_RCDATA resources of the program into
// DIB sections. A picture with an alpha channel (or a transparent colour)
// becomes a 32-bit top-down DIB with straight (not premultiplied) alpha in
// the order blue, green, red, alpha; one without becomes a 24-bit top-down DIB.
//
// All functions return 0 on success and a non-zero error code otherwise.
#include <windows.h>

#ifdef KAVPNG_EXPORTS
#define KAVPNG_API __declspec(dllexport)
#else
#define KAVPNG_API __declspec(dllimport)
#endif

typedef struct KavpngDecoder* HKAVPNGDECODER;
typedef struct KavpngDib* HKAVPNGDIB;

#define KAVPNG_E_ARGUMENT 1L
#define KAVPNG_E_NO_RESOURCE 2L
#define KAVPNG_E_NOT_PNG 3L
#define KAVPNG_E_DECODE 4L
#define KAVPNG_E_MEMORY 5L

extern "C" {
KAVPNG_API long ImgNewDecoder(HKAVPNGDECODER* decoder);
KAVPNG_API long ImgDeleteDecoder(HKAVPNGDECODER decoder);
// Decodes the RT_RCDATA resource resourceId of the program (the process's
// executable) into a new DIB section, owned by the caller until
// ImgDeleteDIBSection.
KAVPNG_API long ImgNewDIBFromResource(HKAVPNGDECODER decoder, UINT resourceId, HKAVPNGDIB* dib);
// The same from PNG bytes in memory.
KAVPNG_API long ImgNewDIBFromMemory(HKAVPNGDECODER decoder, const void* bytes, DWORD size, HKAVPNGDIB* dib);
// The DIB section's bitmap handle and pixel bits; both stay the DIB's.
KAVPNG_API long ImgGetHandle(HKAVPNGDIB dib, HBITMAP* bitmap, void** bits);
KAVPNG_API long ImgDeleteDIBSection(HKAVPNGDIB dib);
}
