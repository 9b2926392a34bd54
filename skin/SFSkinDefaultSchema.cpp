#include "SFSkinDefaultSchema.h"
#include "SFGdiHelpers.h"
#include "SFSkinClass.h"
#include "SFStyleImage.h"
#include "SchemaNames.h"

namespace
{
const RECT kNoMargins = {0, 0, 0, 0};
const COLORREF kMagenta = RGB(255, 0, 255);

int ImageCount(CSFSkinClass* cls, int part, int state)
{
    int count = cls->GetInt(part, state, SCHEMA_PROP_IMAGECOUNT, 1);
    return count < 1 ? 1 : count;
}
} // namespace

RECT SFImageCell(int state, int count, BOOL horizontal, int w, int h)
{
    int index = (state == 0 || state - 1 >= count) ? 0 : state - 1;
    RECT cell = horizontal ? RECT{index * w, 0, (index + 1) * w, h} : RECT{0, index * h, w, (index + 1) * h};
    return cell;
}

void CSFSkinDefaultSchema::DrawBorderFill(CDC* dc, CSFSkinClass* cls, int part, int state, const RECT& rect)
{
    HDC hdc = dc->GetSafeHdc();
    int size = cls->GetInt(part, state, SCHEMA_PROP_BORDERSIZE, 1);
    COLORREF border = cls->GetColor(part, state, SCHEMA_PROP_BORDERCOLOR, (COLORREF)-1);
    COLORREF fill = cls->GetColor(part, state, SCHEMA_PROP_FILLCOLOR, (COLORREF)-1);
    BOOL borderOnly = cls->GetBool(part, state, SCHEMA_PROP_BORDERONLY, FALSE);
    RECT r = rect;
    if (size > 0 && border != (COLORREF)-1)
    {
        int w = r.right - r.left, h = r.bottom - r.top;
        FillRectOpaqueXYWH(hdc, r.left, r.top, w, size, border);
        FillRectOpaqueXYWH(hdc, r.left, r.bottom - size, w, size, border);
        FillRectOpaqueXYWH(hdc, r.left, r.top + size, size, h - 2 * size, border);
        FillRectOpaqueXYWH(hdc, r.right - size, r.top + size, size, h - 2 * size, border);
        ::InflateRect(&r, -size, -size);
    }
    if (fill != (COLORREF)-1 && !borderOnly && r.right > r.left && r.bottom > r.top)
        FillRectOpaque(hdc, r, fill);
}

void CSFSkinDefaultSchema::DrawGlyph(CDC* dc, CSFSkinClass* cls, int part, int state, const RECT& rect)
{
    int count = ImageCount(cls, part, state);
    BOOL horizontal = cls->GetEnum(part, state, SCHEMA_PROP_IMAGELAYOUT, IMAGELAYOUT_HORIZONTAL) ==
                      IMAGELAYOUT_HORIZONTAL;
    RECT margins = cls->GetRect(part, state, SCHEMA_PROP_CONTENTMARGINS, kNoMargins);
    RECT content = {rect.left + margins.left, rect.top + margins.top, rect.right - margins.right,
                    rect.bottom - margins.bottom};
    CString file;
    CSFStyleImage* image = NULL;
    if (cls->GetEnum(part, state, SCHEMA_PROP_IMAGESELECTTYPE, IMAGESELECTTYPE_NONE) == IMAGESELECTTYPE_SIZE)
    {
        // The largest of the numbered pictures whose cell fits the content.
        for (int property = SCHEMA_PROP_IMAGEFILE5; property >= SCHEMA_PROP_IMAGEFILE1; property--)
        {
            file = cls->GetString(part, state, property);
            if (file.IsEmpty())
                continue;
            image = cls->GetImage(file);
            if (image == NULL)
                return;
            int w = horizontal ? image->GetWidth() / count : image->GetWidth();
            int h = horizontal ? image->GetHeight() : image->GetHeight() / count;
            if (property == SCHEMA_PROP_IMAGEFILE1 ||
                (w <= content.right - content.left && h <= content.bottom - content.top))
                break;
            image = NULL;
        }
        if (image == NULL)
        {
            file = cls->GetString(part, state, SCHEMA_PROP_IMAGEFILE);
            image = file.IsEmpty() ? NULL : cls->GetImage(file);
        }
    }
    else
    {
        file = cls->GetString(part, state, SCHEMA_PROP_GLYPHIMAGEFILE);
        image = file.IsEmpty() ? NULL : cls->GetImage(file);
    }
    if (image == NULL)
        return;
    COLORREF transparent = (COLORREF)-1;
    if (!image->HasAlpha() && cls->GetBool(part, state, SCHEMA_PROP_GLYPHTRANSPARENT, FALSE))
        transparent = cls->GetColor(part, state, SCHEMA_PROP_TRANSPARENTCOLOR, kMagenta);
    int w = horizontal ? image->GetWidth() / count : image->GetWidth();
    int h = horizontal ? image->GetHeight() : image->GetHeight() / count;
    int x = (content.left + content.right - w) / 2;
    int y = (content.top + content.bottom - h) / 2;
    if (y < content.top)
        y = content.top;
    RECT dest = {x, y, x + w, y + h};
    RECT source = SFImageCell(state, count, horizontal, w, h);
    image->DrawImage(dc, dest, source, kNoMargins, transparent, SIZINGTYPE_TRUESIZE, FALSE);
}

BOOL CSFSkinDefaultSchema::DrawThemeBackground(CDC* dc, CSFSkinClass* cls, int part, int state, const RECT* rect)
{
    if (dc == NULL || cls == NULL || rect == NULL)
        return FALSE;
    int bgType = cls->GetEnum(part, state, SCHEMA_PROP_BGTYPE, BGTYPE_IMAGEFILE);
    if (bgType == BGTYPE_BORDERFILL)
    {
        DrawBorderFill(dc, cls, part, state, *rect);
        return TRUE;
    }
    if (bgType != BGTYPE_IMAGEFILE)
        return TRUE;

    int property = SCHEMA_PROP_IMAGEFILE;
    if (cls->GetEnum(part, state, SCHEMA_PROP_IMAGESELECTTYPE, IMAGESELECTTYPE_NONE) != IMAGESELECTTYPE_NONE &&
        cls->GetEnum(part, state, SCHEMA_PROP_GLYPHTYPE, GLYPHTYPE_NONE) == GLYPHTYPE_NONE)
        property = SCHEMA_PROP_IMAGEFILE1;
    CString file = cls->GetString(part, state, property);
    if (file.IsEmpty() && property == SCHEMA_PROP_IMAGEFILE1)
        file = cls->GetString(part, state, SCHEMA_PROP_IMAGEFILE);
    if (file.IsEmpty())
        return FALSE;
    RECT margins = cls->GetRect(part, state, SCHEMA_PROP_SIZINGMARGINS, kNoMargins);
    CSFStyleImage* image = cls->GetImage(file);
    if (image == NULL)
        return FALSE;

    int count = ImageCount(cls, part, state);
    BOOL horizontal = cls->GetEnum(part, state, SCHEMA_PROP_IMAGELAYOUT, IMAGELAYOUT_HORIZONTAL) ==
                      IMAGELAYOUT_HORIZONTAL;
    int w = horizontal ? image->GetWidth() / count : image->GetWidth();
    int h = horizontal ? image->GetHeight() : image->GetHeight() / count;

    COLORREF transparent = (COLORREF)-1;
    if (!image->HasAlpha() && cls->GetBool(part, state, SCHEMA_PROP_TRANSPARENT, FALSE))
        transparent = cls->GetColor(part, state, SCHEMA_PROP_TRANSPARENTCOLOR, kMagenta);

    RECT dest = *rect;
    int sizing = cls->GetEnum(part, state, SCHEMA_PROP_SIZINGTYPE, SIZINGTYPE_STRETCH);
    if (sizing == SIZINGTYPE_TRUESIZE)
    {
        int cw = w, ch = h;
        if (cls->GetInt(part, state, SCHEMA_PROP_TRUESIZESTRETCHMARK, 0) > 0)
        {
            if (rect->right - rect->left < cw)
                cw = rect->right - rect->left;
            if (rect->bottom - rect->top < ch)
                ch = rect->bottom - rect->top;
        }
        int x = (rect->left + rect->right - cw) / 2;
        int y = (rect->top + rect->bottom - ch) / 2;
        if (x < rect->left)
            x = rect->left;
        if (y < rect->top)
            y = rect->top;
        if (cls->GetEnum(part, state, SCHEMA_PROP_VALIGN, VALIGN_TOP) == VALIGN_BOTTOM)
            y = rect->bottom - ch;
        dest = {x, y, x + cw, y + ch};
        margins = kNoMargins;
    }
    RECT source = SFImageCell(state, count, horizontal, w, h);

    BOOL borderOnly = cls->GetBool(part, state, SCHEMA_PROP_BORDERONLY, FALSE);
    if (cls->GetClassId() == SCHEMA_CLASS_WINDOW && part >= 7 && part <= 12)
        borderOnly = FALSE; // frame borders always draw their middle
    image->SetMirrorAllowed(cls->GetBool(part, state, SCHEMA_PROP_MIRRORIMAGE, TRUE));
    image->FindSolidRectangles(count, horizontal, margins);
    image->DrawImage(dc, dest, source, margins, transparent, sizing, borderOnly);

    if (cls->GetEnum(part, state, SCHEMA_PROP_GLYPHTYPE, GLYPHTYPE_NONE) == GLYPHTYPE_IMAGEGLYPH)
        DrawGlyph(dc, cls, part, state, *rect);
    return TRUE;
}
