// CStatusStatic: shows the icon of its current status value (stretched over
// the control); nothing when the status has no icon.
#pragma once
#include "Framework.h"

#include <map>

class CStatusStatic : public CStatic
{
public:
    CStatusStatic();

    // Maps a status to an icon resource; a status already present keeps its first icon.
    BOOL AddStatusIcon(int nStatus, UINT nIconID);
    HICON GetStatusIcon(int nStatus) const;

    int m_nStatus; // set by the owner, which then invalidates the control

protected:
    void OnPaint();
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    std::map<int, HICON> m_icons; // shared resource icons: emptied, not destroyed
};
