// CBitmapStatic: paints one bitmap resource stretched over the control.
#pragma once
#include "Framework.h"

class CBitmapStatic : public CStatic
{
public:
    explicit CBitmapStatic(WORD nBitmapID = 0) : m_nBitmapID(nBitmapID) {}
    WORD m_nBitmapID;

protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()
};
