// The header of the list of song lists: whose library is shown, and how far
// a buddy's library has loaded.
#include <gtest/gtest.h>

#include "DlgMain.h"
#include "LanguageTable.h"
#include "ReservedNames.h"
#include "SocialTestSupport.h"

TEST(SongListsHeader, NamesTheShownLibrarysOwner)
{
    LoadLanguageFile();
    CFriendItem ann, robot, longNick;
    ann.nick = L"安";
    robot.nick = L"小助手";
    longNick.nick = CString(L'x', 300);
    CString loading;
    loading.Format(Lang(L"INFO_LIST_CD_COLUMN_0"), L"安");
    CString longText;
    longText.Format(Lang(L"INFO_LIST_CD_COLUMN_0"), (LPCWSTR)longNick.nick);
    CString partly;
    partly.Format(L"%s (%d%%)", (LPCWSTR)loading, 42);
    const struct
    {
        const char* what;
        LPCWSTR owner;
        const CFriendItem* row;
        int progress;
        CString header;
    } cases[] = {
        {"the own library", L"Me@X.com", &ann, 0, Lang(L"STR_MAIN_MY_PLAYLIST_NAME")},
        {"a robot account", ROBOT_ACCOUNTS[0], &robot, 100, robot.nick},
        {"nobody", L"", NULL, 100, Lang(L"INFO_LIST_CD_COLUMN_DEFAULT")},
        {"an owner without a row", L"bob@x.com", NULL, 100, Lang(L"INFO_LIST_CD_COLUMN_DEFAULT")},
        {"an id without an at sign", L"home", &ann, 100, Lang(L"INFO_LIST_CD_COLUMN_DEFAULT")},
        {"a buddy's library", L"ann@x.com", &ann, 100, loading},
        {"a buddy's library loading", L"ann@x.com", &ann, 42, partly},
        {"a long name", L"ann@x.com", &longNick, 100, longText.GetLength() > 255 ? longText.Left(252) + L"..." : longText},
    };
    for (const auto& c : cases)
        EXPECT_EQ(W(c.header), W(CDlgMain::SongListsHeaderText(c.owner, L"me@x.com", c.row, c.progress))) << c.what;
}
