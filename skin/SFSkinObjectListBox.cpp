#include "SFSkinObjectListBox.h"

IMPLEMENT_DYNCREATE(CSFSkinObjectListBox, CSFSkinObjectScrolledFrame)

CSFSkinObjectListBox::CSFSkinObjectListBox()
{
    m_className = L"LISTBOX";
    m_ctlColorMessage = WM_CTLCOLORLISTBOX;
}
