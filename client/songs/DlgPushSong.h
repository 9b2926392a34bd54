// CDlgPushSong: what the two push dialogs share: the skinned 336 x 306
// frame with its buttons, prompts and two-column list, the own library they
// read, and the sending of the chosen song to the chosen buddy (code 12 and
// the sent-song record for the data server), which leaves the text the
// caller shows.
#pragma once

#include "ImageButton.h"
#include "ListCtrlSendSong.h"
#include "SendSongItem.h"
#include "SkinDialog.h"
#include "ThemeButton.h"

class CSongLibrary;

class CDlgPushSong : public CSkinDialog
{
  public:
    SendSongItem m_target;
    CString m_strResult;
    CListCtrlSendSong m_list;
    CImageButton m_btnClose, m_btnMinimise;
    ThemeButton m_btnOK, m_btnCancel;

    void SetScrollBarBitmap(HBITMAP bitmap) { m_list.SetScrollBarBitmap(bitmap); }

    // Message boxes of the push dialogs (a skinned box with OK by default;
    // tests record them instead).
    static void (*s_showMessage)(LPCWSTR text, CWnd* parent);
    // The own library file; FALSE when it cannot be read.
    static BOOL LoadOwnLibrary(CSongLibrary& library);
    // "INFO_MAIN_DLG_SEND_SONG_OK" with the title and the nick; "" without
    // the language text.
    static CString SentText(const CString& title, const CString& nick);

  protected:
    struct Layout
    {
        UINT listId, firstPrompt, secondPrompt, minimiseId, closeId;
        LPCWSTR column0, column1; // language keys
    };
    CDlgPushSong(UINT idd, const Layout& layout, CWnd* parent);

    BOOL OnInitDialog() override;
    virtual void FillList() = 0;
    // The selected row's record; NULL (after telling the user when no row
    // is selected) when there is none.
    SendSongItem* ChosenRow();
    // Sends record (buddy id and nick and every song field filled) with the
    // song's local path; sets the result text, which is "" when the
    // language file lacks it.
    void SendToBuddy(const SendSongItem& record, const CString& localPath);

    void OnCloseButton() { OnCancel(); }
    void OnMinimiseButton() { ShowWindow(SW_MINIMIZE); }
    void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    Layout m_layout;
};
