// CDlgChildFriend: the plain child dialog (template 325) in the main
// window's left area that holds the buddy list and keeps it covering its
// whole client area. Enter and Escape never close it.
#pragma once

#include "Framework.h"
#include "ListFriendCtrl.h"

class CDlgChildFriend : public CDialog
{
  public:
    enum
    {
        IDD = 325
    };
    explicit CDlgChildFriend(CWnd* parent = NULL);
    ~CDlgChildFriend() override;

    BOOL PreTranslateMessage(MSG* msg) override;
    CListFriendCtrl& GetList() { return m_list; }

    // True for the key-down of Enter or Escape, which a child pane swallows
    // so that the dialog manager does not end it.
    static bool IsPaneClosingKey(const MSG* msg);

  protected:
    void OnSize(UINT type, int cx, int cy);
    void OnOK() override {}
    void OnCancel() override {}
    DECLARE_MESSAGE_MAP()

  private:
    CListFriendCtrl m_list;
};
