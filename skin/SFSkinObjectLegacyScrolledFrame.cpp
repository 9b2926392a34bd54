#include "SFSkinObjectLegacyScrolledFrame.h"
#include "SFSkinFramework.h"

IMPLEMENT_DYNAMIC(CSFSkinObjectLegacyScrolledFrame, CSFSkinObjectScrolledFrame)

BOOL CSFSkinObjectLegacyScrolledFrame::ControlsDrawOwnBars() { return m_manager == NULL || !m_manager->IsWin9x(); }
