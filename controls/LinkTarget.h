// The target of a link static: a text opened with the shell's "open" verb.
#pragma once
#include "Framework.h"

class CLinkTarget
{
public:
    virtual ~CLinkTarget() = default;
    // Opens the target; nothing for an empty text or a text that is not a
    // web address.
    virtual void Navigate();
    // TRUE for the texts a link may open: http:// and https:// addresses.
    // Link texts can come from the service, so nothing else (programs,
    // files, shares) is ever started by a click.
    static BOOL IsOpenable(const CString& text);

    CString m_strTarget;
};
