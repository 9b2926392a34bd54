#include "LinkTarget.h"

#include <shellapi.h>

BOOL CLinkTarget::IsOpenable(const CString& text)
{
    CString lower = text;
    lower.MakeLower();
    return lower.Find(L"http://") == 0 || lower.Find(L"https://") == 0;
}

void CLinkTarget::Navigate()
{
    if (m_strTarget.IsEmpty() || !IsOpenable(m_strTarget))
        return;
    ::ShellExecuteW(NULL, L"open", m_strTarget, NULL, NULL, SW_SHOWNORMAL);
}
