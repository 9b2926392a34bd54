// CDlgInstantMessaging: the chat window with one buddy (template 336). It
// shows the buddy's portrait, presence, nick and signature and what the
// buddy listens to, the history and the input box, and one advertisement
// link loaded from the web site when the window opens. Lines go out through
// the messaging library. The main window keeps the open windows in its chat
// map; a window takes itself out of the map when it is closed and frees
// itself when its window is gone.
#pragma once
#include "Framework.h"
#include "AdvertiseStaticLink.h"
#include "FriendItem.h"
#include "IMHistoryRichEdit.h"
#include "ImageButton.h"
#include "ListenSongStatic.h"
#include "PictureStatic.h"
#include "SendMsgRichEdit.h"
#include "SkinDialog.h"
#include "SongInfo.h"
#include "StatusStatic.h"
#include "TransparentStatic.h"

#include <map>
#include <memory>
#include <vector>

class CDlgInstantMessaging;
typedef std::map<CString, CDlgInstantMessaging*, CStringLess> ChatWindowMap;

// The ad loader's thread tells its window that the list has arrived.
#define WM_CHAT_ADS_LOADED (WM_USER + 50)
// The control id the chat window notifies the main window with (listening line).
#define CHAT_NOTIFY_ID 336

struct ChatAdLoad;

class CDlgInstantMessaging : public CSkinDialog
{
    DECLARE_DYNAMIC(CDlgInstantMessaging)
  public:
    enum { IDD = 336, WIDTH = 300, HEIGHT = 470 };

    CDlgInstantMessaging(ChatWindowMap* chatMap, CWnd* parent = NULL);
    ~CDlgInstantMessaging() override;

    void SetScrollBarBitmap(HBITMAP bitmap);
    void SetFriendItem(const CFriendItem& item, BOOL redraw);
    void AddIncomingMessage(const CString& text);
    void AddOwnMessage(const CString& text);
    void SetAvatarFile(const CString& path, BOOL redraw);
    BOOL SetNickAndSignature(const CString& nick, const CString& signature, BOOL update);
    void SetListening(const CString& song, const CString& singer, const CString& type, BOOL redraw);
    // Sends what the input box holds (Enter, Alt+S or the send button).
    void SendInput();

    const CFriendItem& GetFriendItem() const { return m_item; }
    CSendMsgRichEdit& GetInputBox() { return m_input; }
    CIMHistoryRichEdit& GetHistoryBox() { return m_history; }

    // The listening line's mark-up for a song, singer and colour.
    static CString BuildListeningText(const CString& song, const CString& singer, const CString& colour);
    // A message header: the speaker format (language text, "%s :" when it is
    // empty or would read more than the speaker and the time) filled in.
    static CString FormatHeader(const CString& format, const CString& speaker, const CString& time);
    // The ad list of an ad file; FALSE when it is not one.
    static BOOL ParseAdList(const CString& xml, std::vector<CString>& names, std::map<CString, CString>& links);

    // How lines go out and how the window learns the time (tests replace them).
    static int (*s_sendMessage)(const wchar_t* buddy, const wchar_t* text);
    static CString (*s_clock)();
    // The address of the ad list; empty: no list is fetched.
    static CString (*s_adAddress)();

    CImageButton m_btnClose, m_btnMinimise, m_btnPushSong, m_btnSend;
    CPictureStatic m_portrait;
    CStatusStatic m_presence;
    CTransparentStatic m_nickLine;
    CListenSongStatic m_listening;
    CAdvertiseStaticLink m_adLink;
    CSendMsgRichEdit m_input;
    CIMHistoryRichEdit m_history;
    CString m_strSpeakFormat;
    std::vector<CString> m_adNames;
    std::map<CString, CString> m_adLinks;

  protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnOK() override {}
    void PostNcDestroy() override;
    void OnSendButton();
    void OnMinimiseButton();
    void OnCloseButton();
    void OnPushSongButton();
    void OnListenClicked();
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnSetFocus(CWnd* pOldWnd);
    void OnDestroy();
    LRESULT OnInputSend(WPARAM wParam, LPARAM lParam);
    LRESULT OnInputEmpty(WPARAM wParam, LPARAM lParam);
    LRESULT OnAdsLoaded(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

  private:
    void SetUpControls();
    void SetUpBoxes();
    void SetUpTooltips();
    void SetCaptionFromNick();
    void ShowNickLine();
    void UpdateListeningLine(BOOL redraw);
    void StartAdLoader();
    void Close();

    ChatWindowMap* m_pChatMap;
    CFriendItem m_item;
    HBITMAP m_hScrollBitmap;
    HICON m_hBigIcon, m_hSmallIcon;
    CHARFORMAT2W m_textFormat, m_ownHeaderFormat, m_buddyHeaderFormat;
    std::shared_ptr<ChatAdLoad> m_adLoad;
    HANDLE m_hAdThread;
};
