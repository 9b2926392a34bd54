// The framework's one concrete schema, "Default": part backgrounds drawn
// from pictures (cut by sizing margins, tiled, stretched or at true size,
// with glyphs over them) or filled with a border and a colour.
#pragma once
#include "SFSkinSchema.h"

class CSFStyleImage;

class CSFSkinDefaultSchema : public CSFSkinSchema
{
public:
    explicit CSFSkinDefaultSchema(CSFSkinFramework* manager) : CSFSkinSchema(manager) {}

    BOOL DrawThemeBackground(CDC* dc, CSFSkinClass* cls, int part, int state, const RECT* rect) override;

private:
    static void DrawBorderFill(CDC* dc, CSFSkinClass* cls, int part, int state, const RECT& rect);
    static void DrawGlyph(CDC* dc, CSFSkinClass* cls, int part, int state, const RECT& rect);
};

// The cell of state (counted from 1) in a strip of count images of one
// cell size; the first cell for state 0 or one past the strip.
RECT SFImageCell(int state, int count, BOOL horizontal, int cellWidth, int cellHeight);
