#include "SFDCLayout.h"

namespace
{
typedef DWORD(WINAPI* GetLayoutFn)(HDC);
typedef DWORD(WINAPI* SetLayoutFn)(HDC, DWORD);

FARPROC LookUpGdi(const char* name)
{
    HMODULE gdi = ::GetModuleHandleA("GDI32.DLL");
    return gdi ? ::GetProcAddress(gdi, name) : NULL;
}

GetLayoutFn GetLayoutEntry()
{
    static const GetLayoutFn pfn = (GetLayoutFn)(void*)LookUpGdi("GetLayout");
    return pfn;
}

SetLayoutFn SetLayoutEntry()
{
    static const SetLayoutFn pfn = (SetLayoutFn)(void*)LookUpGdi("SetLayout");
    return pfn;
}
} // namespace

DWORD GetDCLayout(HDC dc)
{
    GetLayoutFn pfn = GetLayoutEntry();
    if (pfn == NULL || dc == NULL)
        return 0;
    DWORD layout = pfn(dc);
    return layout == GDI_ERROR ? 0 : layout;
}

void SetDCLayout(HDC dc, DWORD layout)
{
    if (SetLayoutFn pfn = SetLayoutEntry())
        pfn(dc, layout);
}

BOOL IsDCMirrored(CDC* dc) { return dc != NULL && GetDCLayout(dc->GetSafeHdc()) != 0; }

void MirrorDC(CDC* dc, DWORD layout)
{
    if (dc != NULL)
        SetDCLayout(dc->GetSafeHdc(), layout);
}
