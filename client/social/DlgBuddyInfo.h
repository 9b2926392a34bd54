// CDlgBuddyInfo: the buddy card (template 769), a small borderless topmost
// card beside the main window that shows a buddy or the user's own profile
// when the mouse rests on an avatar, fading in and out through layered-window
// transparency. One card per process, made on first use.
#pragma once
#include "Framework.h"
#include "FriendItem.h"
#include "ImageButton.h"
#include "PictureStatic.h"
#include "SkinDialog.h"
#include "StatusStatic.h"
#include "ThemeButton.h"
#include "TransparentStatic.h"

class CDlgBuddyInfo : public CSkinDialog
{
    DECLARE_DYNAMIC(CDlgBuddyInfo)
  public:
    enum { IDD = 769, WIDTH = 230, HEIGHT = 170 };
    enum { TIMER_FADE_OUT = 1, TIMER_FADE_IN = 2, FADE_STEP = 16, FADE_MS = 16 };
    // The card's close button asks its parent to close it (wParam 0, lParam 1).
    enum { WM_CARD_ACTION = WM_USER + 24 };

    static CDlgBuddyInfo* GetInstance();
    static BOOL IsInstanceWindow();
    static void DestroyInstance();

    int SetFriendItem(const CFriendItem& item, BOOL show);
    void RefreshInfo();
    void FadeOut(BOOL animate);
    BOOL IsCursorInside() const;

    // Which of the action buttons 939, 940 and 938 a card shows.
    static void VisibleActions(const CFriendItem& item, BOOL buddyCard, BOOL (&shown)[3]);
    // Where the card goes: left of the main window, or right of its buddy
    // pane when there is no room on the left; at the item's top + 2.
    static CPoint CardPosition(const CRect& mainWindow, int paneWidth, int itemTop);

    // The window the card sits beside and reports to (the main window by default).
    static CWnd* (*s_mainWindow)();
    // The width of the main window's buddy pane.
    static int (*s_paneWidth)();
    // The actions that lead to windows of other areas (song chooser, avatar
    // chooser, settings); null ones do nothing.
    static void (*s_runSongChooser)(const CString& id, const CString& nick);
    static void (*s_runAvatarChooser)(HBITMAP chooserBitmap);
    static void (*s_runSettings)();

    int Alpha() const { return m_nAlpha; }
    BOOL IsBuddyCard() const { return m_bBuddyCard; }
    BOOL IsPendingNotShown() const { return m_bPendingNotShown; }
    const CFriendItem& ShownItem() const { return m_shownItem; }

    CPictureStatic m_avatar;
    CStatusStatic m_presence;
    CImageButton m_btnClose;
    CTransparentStatic m_nick, m_signature, m_address, m_label1, m_totalSongs, m_label2, m_newSongs;
    ThemeButton m_btnAction1, m_btnAction2, m_btnAction3; // 939, 940, 938

  protected:
    CDlgBuddyInfo();
    ~CDlgBuddyInfo() override;
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnTimer(UINT_PTR nIDEvent);
    void OnDestroy();
    void OnClose();
    void OnAction1();
    void OnAction2();
    void OnAction3();
    DECLARE_MESSAGE_MAP()

  private:
    void SetUpControls();
    void FillButtons();
    void FillSongCounts();
    void SetUpTips();
    void PlaceAndFadeIn();
    void HideAtOnce();
    void SetLayeredAlpha(int alpha);
    void StopLayered();
    CString OwnId() const;
    // A language text filled with a value; "Load language file fails!" once
    // per text when it is missing (FALSE then).
    BOOL LangText(LPCWSTR key, const CString& value, CString& text);
    BOOL LangCount(LPCWSTR key, int value, CString& text);

    static CDlgBuddyInfo* s_instance;

    CFriendItem m_shownItem;
    CFriendItem m_pendingItem;
    BOOL m_bPendingNotShown;
    BOOL m_bBuddyCard;
    int m_nAlpha;
    CBitmap m_chooserBitmap;
};
