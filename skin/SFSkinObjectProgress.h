// The skin object of progress bars: the bar and its chunks from the style,
// and the marquee animation run by the object's own timer.
#pragma once
#include "SFSkinObjectFrame.h"

class CSFSkinObjectProgress : public CSFSkinObjectFrame
{
    DECLARE_DYNCREATE(CSFSkinObjectProgress)
public:
    CSFSkinObjectProgress();

    void ApplySkinState(BOOL prevEnabled, BOOL newEnabled) override;
    void PaintControl(CDC* dc) override;
    // Moves the marquee on by n steps of chunk and space.
    void Advance(int steps);
    int GetMarqueeOffset() const { return m_marqueeOffset; }
    int GetMarqueeInterval() const { return m_marqueeInterval; }
    // Chunks the last paint drew.
    int GetChunksDrawn() const { return m_chunksDrawn; }

    DECLARE_MESSAGE_MAP()

protected:
    LRESULT OnCreateControl(WPARAM, LPARAM);
    LRESULT OnSetPosControl(WPARAM, LPARAM);
    LRESULT OnStepIt(WPARAM, LPARAM);
    LRESULT OnSetMarquee(WPARAM, LPARAM);
    LRESULT OnTimerControl(WPARAM, LPARAM);
    void SetStaticEdge(BOOL on);

    int m_marqueeOffset;
    int m_marqueeInterval;
    int m_chunksDrawn;
};
