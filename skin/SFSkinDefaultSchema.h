// The framework's one concrete schema, "Default": part backgrounds drawn
// from pictures (cut by sizing margins, tiled, stretched or at true size,
// with glyphs over them) or filled with a border and a colour.
#pragma once
#include "SFSkinSchema.h"
#include <vector>

class CSFStyleImage;

class CSFSkinDefaultSchema : public CSFSkinSchema
{
public:
    explicit CSFSkinDefaultSchema(CSFSkinFramework* manager) : CSFSkinSchema(manager) {}
    ~CSFSkinDefaultSchema() override;

    BOOL DrawThemeBackground(CDC* dc, CSFSkinClass* cls, int part, int state, const RECT* rect) override;
    void DrawFrame(CDC* dc, CSFSkinObjectFrame* frame) override;
    void GetBorderWidths(DWORD style, DWORD exStyle, RECT* out) override;
    HRGN GetWindowRegion(CSFSkinObjectFrame* frame, int width, int height) override;
    void Refresh() override;
    void DrawScrollBar(CDC* dc, CSFSkinObjectFrame* object, ScrollBarLayout* layout) override;
    // Lays the caption buttons out from the caption's right end and draws
    // them; the x where they begin (the title's right limit).
    virtual int DrawCaptionButtons(CDC* dc, CSFSkinObjectFrame* frame);

    // Where the caption picture is see-through, for one caption height.
    struct CaptionRegionRecord
    {
        int captionHeight;
        BOOL toolWindow;
        HRGN left;  // in the left margin
        HRGN right; // in the right margin, from the margin's left edge
        RECT margins;
        int fullRows;
        BOOL notCached;
    };
    size_t GetCaptionRecordCount() const { return m_captionRecords.size(); }

private:
    CaptionRegionRecord* FindCaptionRecord(CSFSkinObjectFrame* frame, int width);
    void DrawClientEdge(CDC* dc, CSFSkinObjectFrame* frame, const RECT& rect);
    static void DeleteRecord(CaptionRegionRecord* record);
    std::vector<CaptionRegionRecord*> m_captionRecords;

    static void DrawBorderFill(CDC* dc, CSFSkinClass* cls, int part, int state, const RECT& rect);
    static void DrawGlyph(CDC* dc, CSFSkinClass* cls, int part, int state, const RECT& rect);
};

// The cell of state (counted from 1) in a strip of count images of one
// cell size; the first cell for state 0 or one past the strip.
RECT SFImageCell(int state, int count, BOOL horizontal, int cellWidth, int cellHeight);
