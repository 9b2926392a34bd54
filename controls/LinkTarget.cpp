#include "LinkTarget.h"
#include "LinkPolicy.h"

BOOL CLinkTarget::IsOpenable(const CString& text)
{
    return CLinkPolicy::Classify(text) != CLinkPolicy::LINK_NONE;
}

void CLinkTarget::Navigate()
{
    CLinkPolicy::Open(m_strTarget, SW_SHOWNORMAL);
}
