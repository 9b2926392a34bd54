#include "LinkPolicy.h"

#include <shellapi.h>
#include <wchar.h>

const wchar_t CLinkPolicy::kPageCommandScheme[] = L"yeb360://";

INT_PTR (*CLinkPolicy::s_shellOpen)(const wchar_t* target, int showCommand) = &CLinkPolicy::ShellOpen;

namespace
{
IPageCommandTarget* g_pageCommandTarget = nullptr;

// TRUE when text starts with prefix and has more after it.
bool HasPrefix(const wchar_t* text, const wchar_t* prefix, bool ignoreCase)
{
    size_t n = wcslen(prefix);
    if (wcslen(text) <= n)
        return false;
    return (ignoreCase ? _wcsnicmp(text, prefix, n) : wcsncmp(text, prefix, n)) == 0;
}
} // namespace

CLinkPolicy::Kind CLinkPolicy::Classify(const wchar_t* target)
{
    if (!target || !*target)
        return LINK_NONE;
    // Control characters have no place in a link and could end an argument.
    for (const wchar_t* p = target; *p; ++p)
        if (*p < 0x20 || *p == 0x7F)
            return LINK_NONE;
    if (HasPrefix(target, L"http://", true) || HasPrefix(target, L"https://", true))
        return LINK_WEB;
    if (HasPrefix(target, L"mailto:", true))
        return LINK_MAIL;
    // Page commands are matched as the pages write them, case and all.
    if (wcsncmp(target, kPageCommandScheme, wcslen(kPageCommandScheme)) == 0)
        return LINK_PAGE_COMMAND;
    return LINK_NONE;
}

BOOL CLinkPolicy::Open(const wchar_t* target, int showCommand)
{
    switch (Classify(target))
    {
    case LINK_WEB:
    case LINK_MAIL:
        return s_shellOpen(target, showCommand) > 32;
    case LINK_PAGE_COMMAND:
        return g_pageCommandTarget && g_pageCommandTarget->RunPageCommand(target);
    default:
        return FALSE;
    }
}

void CLinkPolicy::SetPageCommandTarget(IPageCommandTarget* target)
{
    g_pageCommandTarget = target;
}

IPageCommandTarget* CLinkPolicy::GetPageCommandTarget()
{
    return g_pageCommandTarget;
}

INT_PTR CLinkPolicy::ShellOpen(const wchar_t* target, int showCommand)
{
    return (INT_PTR)::ShellExecuteW(NULL, L"open", target, NULL, NULL, showCommand);
}
