// What a click on a link may open, for every link of the program (mark-up
// tips, link statics, advertisement links). Link texts come from the network
// (tips, advertisement lists, buddies' texts), so a click opens web and mail
// addresses through the shell, hands the program's own page commands to the
// main window, and starts nothing else: no program, file, share, command
// line or other scheme.
#pragma once
#include "PageCommandTarget.h"

class CLinkPolicy
{
public:
    enum Kind
    {
        LINK_NONE = 0,     // refused
        LINK_WEB,          // "http://" or "https://" and an address
        LINK_MAIL,         // "mailto:" and an address
        LINK_PAGE_COMMAND, // "yeb360://" and a command
    };
    static const wchar_t kPageCommandScheme[]; // "yeb360://"

    static Kind Classify(const wchar_t* target);
    // Web and mail addresses go to the shell ("open"), page commands to the
    // page-command target; TRUE when one of them took the link.
    static BOOL Open(const wchar_t* target, int showCommand = SW_SHOWNORMAL);

    // The main window; null drops page commands (the updater has none).
    static void SetPageCommandTarget(IPageCommandTarget* target);
    static IPageCommandTarget* GetPageCommandTarget();

    // Hands a web or mail address to the shell and gives its result
    // (ShellExecuteW; replaceable so that tests open nothing).
    static INT_PTR (*s_shellOpen)(const wchar_t* target, int showCommand);
    static INT_PTR ShellOpen(const wchar_t* target, int showCommand);
};
