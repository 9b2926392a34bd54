#include "DlgPushSong.h"

#include "ClientApp.h"
#include "DataClient.h"
#include "DlgMessage.h"
#include "LanguageTable.h"
#include "MessagingLink.h"
#include "SmallDialogFrame.h"
#include "SongLibrary.h"
#include "resource.h"

namespace
{
void ShowSkinnedMessage(LPCWSTR text, CWnd* parent)
{
    CDlgMessage::ShowMessage(text, CDlgMessage::BUTTONS_OK, L"", CString(), 0, 0, parent);
}

void Place(CWnd& wnd, int x, int y, int cx, int cy)
{
    wnd.SetWindowPos(NULL, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The first two "%s" of a language text replaced; other '%' signs stay as
// they are, so a text of the language file cannot steer the formatting.
CString FillTwo(const CString& pattern, const CString& first, const CString& second)
{
    CString out;
    const CString* values[2] = {&first, &second};
    int used = 0;
    for (int i = 0; i < pattern.GetLength(); ++i)
    {
        if (used < 2 && pattern[i] == L'%' && i + 1 < pattern.GetLength() && pattern[i + 1] == L's')
        {
            out += *values[used++];
            ++i;
        }
        else
            out += pattern[i];
    }
    return out;
}
} // namespace

void (*CDlgPushSong::s_showMessage)(LPCWSTR, CWnd*) = ShowSkinnedMessage;

BEGIN_MESSAGE_MAP(CDlgPushSong, CSkinDialog)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CDlgPushSong::CDlgPushSong(UINT idd, const Layout& layout, CWnd* parent) : CSkinDialog(idd, parent), m_layout(layout)
{
}

BOOL CDlgPushSong::LoadOwnLibrary(CSongLibrary& library)
{
    CClientApp* app = GetClientApp();
    return app && SUCCEEDED(library.LoadFromFile(app->GetMyPlaylistPath()));
}

CString CDlgPushSong::SentText(const CString& title, const CString& nick)
{
    CString pattern = Lang(L"INFO_MAIN_DLG_SEND_SONG_OK");
    return pattern.IsEmpty() ? pattern : FillTwo(pattern, title, nick);
}

BOOL CDlgPushSong::OnInitDialog()
{
    SetSmallDialogFrame(*this);
    SetTitleBitmap(IDB_PUSH_SONG_TITLE);
    SetTitleBitmapPos(59, 8);
    CSkinDialog::OnInitDialog();
    m_strCaption = Lang(L"STR_PUSH_SONG_TITLE");
    SetWindowText(m_strCaption);
    SetWindowPos(NULL, 0, 0, 336, 306, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    CRect client;
    GetClientRect(&client);

    m_btnOK.SubclassDlgItem(IDOK, this);
    m_btnCancel.SubclassDlgItem(IDCANCEL, this);
    for (ThemeButton* button : {&m_btnOK, &m_btnCancel})
        SetSmallDialogButton(*button);
    Place(m_btnOK, 174, 265, 63, 22);
    Place(m_btnCancel, 252, 265, 63, 22);
    m_btnClose.SubclassDlgItem(m_layout.closeId, this);
    m_btnClose.SetBitmapStrip(IDB_BTN_CLOSE, RGB(255, 0, 255));
    m_btnClose.SetWindowPos(NULL, client.Width() - 34, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_btnMinimise.SubclassDlgItem(m_layout.minimiseId, this);
    m_btnMinimise.SetBitmapStrip(IDB_BTN_MINIMISE, RGB(255, 0, 255));
    m_btnMinimise.SetWindowPos(NULL, client.Width() - 60, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    if (CWnd* first = GetDlgItem(m_layout.firstPrompt))
        Place(*first, 12, 35, 120, 12);
    if (CWnd* second = GetDlgItem(m_layout.secondPrompt))
        Place(*second, 12, 237, client.Width() - 24, 12); // as wide as the list: the hint is longer than 236
    m_list.SubclassDlgItem(m_layout.listId, this);
    Place(m_list, 12, 62, 312, 166);
    CRect listClient;
    m_list.GetClientRect(&listClient);
    int half = listClient.Width() / 2;
    m_list.InsertColumn(0, Lang(m_layout.column0), LVCFMT_LEFT, half);
    m_list.InsertColumn(1, Lang(m_layout.column1), LVCFMT_LEFT, half - 2);

    CenterWindow();
    FillList();
    if (m_list.GetItemCount() > 0)
        m_list.SelectRow(0);
    if (m_list.GetStyle() & WS_VSCROLL)
    {
        m_list.SetColumnWidth(0, half - 7);
        m_list.SetColumnWidth(1, half - 10);
    }
    m_list.SetFocus();
    return FALSE;
}

void CDlgPushSong::OnSize(UINT, int, int)
{
    Default();
    if (m_list.GetSafeHwnd())
        m_list.Invalidate(FALSE);
}

SendSongItem* CDlgPushSong::ChosenRow()
{
    int row = m_list.GetSelectedRow();
    if (row < 0)
    {
        s_showMessage(Lang(L"INFO_MAIN_DLG_NOT_SEL_SEND_SONG"), this);
        return NULL;
    }
    return m_list.GetRow(row);
}

void CDlgPushSong::SendToBuddy(const SendSongItem& record, const CString& localPath)
{
    CString ownEmail;
    if (CClientApp* app = GetClientApp())
        app->GetUserEmail(ownEmail);
    CString detail = record.artist + L"??" + localPath;

    CString sent;
    sent.Format(L"%s &.& %s &.& %s &.& %s", (LPCWSTR)ownEmail, (LPCWSTR)record.buddyId, (LPCWSTR)record.hash,
                (LPCWSTR)record.title);
    CDataClient::GetInstance()->QueueRequest(7, sent, record.hash);

    CommandData command;
    command.code = 12;
    command.extra = 0;
    command.s1 = record.buddyId;
    command.s2 = record.title;
    command.s3 = record.hash;
    command.s4 = detail;
    command.s5 = ownEmail;
    command.s6 = record.fileSize;
    command.s7 = record.duration;
    command.s8 = record.songId;
    Messaging().pushCommand(command);

    m_strResult = SentText(record.title, record.nick);
}
