#include "ReservedNames.h"

#include "LanguageTable.h"

const wchar_t* const ROBOT_ACCOUNTS[3] = {L"system@yeb360.com", L"music@yeb360.com", L"radio@yeb360.com"};

BOOL IsReservedListName(LPCWSTR name, BOOL includeAll)
{
    CString text(name ? name : L"");
    static const wchar_t* const kKeys[] = {L"STR_MAIN_BUDDY_PLAYLIST_NAME", L"STR_MAIN_MY_RECENT_SONGLIST_NAME",
                                           L"STR_MAIN_TOTAL_SONGLIST_NAME"};
    int count = includeAll ? 3 : 2;
    for (int i = 0; i < count; ++i)
        if (text == LanguageTable::Instance().GetString(kKeys[i]))
            return TRUE;
    return FALSE;
}

BOOL IsRobotAccount(LPCWSTR email)
{
    if (!email)
        return FALSE;
    for (const wchar_t* robot : ROBOT_ACCOUNTS)
        if (_wcsicmp(email, robot) == 0)
            return TRUE;
    return FALSE;
}
