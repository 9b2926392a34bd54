// A memory DC compatible with a reference DC (the screen when none) holding
// a bitmap; the old bitmap comes back and the DC goes with the object.
#pragma once
#include <Framework.h>

class BitmapDC : public CDC
{
public:
    BitmapDC(HDC reference, HBITMAP bitmap);
    BitmapDC(CDC* reference, CBitmap* bitmap);
    ~BitmapDC() override;
    BitmapDC(const BitmapDC&) = delete;
    BitmapDC& operator=(const BitmapDC&) = delete;

    // FALSE when the DC or the selection could not be made.
    BOOL IsReady() const { return m_hDC != NULL && m_old != NULL; }

private:
    void Init(HDC reference, HBITMAP bitmap);
    HGDIOBJ m_old;
};
