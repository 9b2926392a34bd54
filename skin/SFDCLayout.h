// Device-context layout (right-to-left mirroring). GetLayout and SetLayout
// are looked up once in GDI32, so systems without them read layout 0.
#pragma once
#include <Framework.h>

DWORD GetDCLayout(HDC dc);
void SetDCLayout(HDC dc, DWORD layout);
BOOL IsDCMirrored(CDC* dc);
void MirrorDC(CDC* dc, DWORD layout);
