// CDlgSelectFriend: sends one song, or the address of a web page, to one
// buddy the user picks among the present, online buddies of the main
// window's buddy list.
#pragma once

#include "DlgPushSong.h"

class CListFriendCtrl;

class CDlgSelectFriend : public CDlgPushSong
{
  public:
    enum { IDD = 345 };

    // buddies: the list to offer from (the main window's buddy list when NULL).
    explicit CDlgSelectFriend(CWnd* parent = NULL, CListFriendCtrl* buddies = NULL);

    // Set for a web-page push (the target's id and hash then stay empty).
    CString m_strPageUrl;

  protected:
    void FillList() override;
    void OnOK() override;

  private:
    CListFriendCtrl* m_pBuddies;
};
