// The target of a link static: a text opened as the program's link policy
// allows (CLinkPolicy: web and mail addresses through the shell, page
// commands to the main window, nothing else).
#pragma once
#include "Framework.h"

class CLinkTarget
{
public:
    virtual ~CLinkTarget() = default;
    // Opens the target; nothing for an empty text or one the policy refuses.
    virtual void Navigate();
    // TRUE for the texts a link may open.
    static BOOL IsOpenable(const CString& text);

    CString m_strTarget;
};
