// CHtmlCtrl: the browser view used as an ordinary child control of a dialog
// by every embedded page of the client. It takes the place of a static
// placeholder control, lets the first navigation wait behind the program's
// own "loading.htm" page, turns links that begin with its page-command
// prefix into WM_COMMAND messages for its parent, and keeps the browser's
// context menu and a few keys from the user.
#pragma once
#include "Framework.h"
#include "FwHtmlView.h"

#include <vector>

// One navigation kept until the placeholder page has loaded.
struct HtmlNavigateRequest
{
    CString url;
    DWORD flags = 0;
    CString targetFrame;
    CString headers;
    std::vector<BYTE> postData;
};

class CHtmlCtrl : public CHtmlView
{
public:
    // One page command: links "<prefix><word><argument>" post WM_COMMAND
    // (id, heap copy of the argument or null) to the parent.
    struct PageCommand
    {
        LPCWSTR word; // not owned
        UINT id;
    };

    CHtmlCtrl();
    ~CHtmlCtrl() override;

    // Replaces the static control nID of pParent by the view; FALSE when the
    // static does not exist.
    BOOL CreateFromStatic(UINT nID, CWnd* pParent);
    // The navigation every caller uses (see the placeholder flags).
    void SafeNavigate(LPCTSTR lpszURL, DWORD dwFlags = 0, LPCTSTR lpszTargetFrameName = NULL,
                      LPCTSTR lpszHeaders = NULL, const void* lpvPostData = NULL, DWORD dwPostDataLen = 0);
    // The page's active element (0), or E_FAIL when there is no document or none.
    HRESULT GetActiveElement(IHTMLElement** element);
    // 1 for an "http://" address whose path (before any "?") ends in ".mp3"
    // or ".wma", case ignored.
    static BOOL IsMediaLink(LPCTSTR lpszURL);

    // The page-command prefix (at most 129 characters); "app:" when none is set.
    void SetCommandPrefix(LPCTSTR prefix);
    void AddPageCommand(LPCWSTR word, UINT id) { m_pageCommands.push_back({word, id}); }

    // Runs one command text (after the prefix) against the table: every
    // entry whose word begins the text posts its message.
    virtual void OnAppCmd(LPCTSTR lpszCommand);

    void OnBeforeNavigate2(LPCTSTR lpszURL, DWORD nFlags, LPCTSTR lpszTargetFrameName, CByteArray& baPostedData,
                           LPCTSTR lpszHeaders, BOOL* pbCancel) override;
    void OnNavigateComplete2(LPCTSTR lpszURL) override;
    void OnNavigateError(LPCTSTR lpszURL, LPCTSTR lpszFrame, DWORD dwError, BOOL* pbCancel) override;
    void OnDocumentComplete(LPCTSTR lpszURL) override;
    void OnProgressChange(long nProgress, long nProgressMax) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    std::vector<PageCommand> m_pageCommands;
    BOOL m_bLocked;
    wchar_t m_prefix[130];
    BOOL m_bLoadDone;
    BOOL m_bShowPlaceholder;
    BOOL m_bBlankFirst;
    HtmlNavigateRequest* m_pPending;

protected:
    void OnSize(UINT nType, int cx, int cy);
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()

    void RunRequest(const HtmlNavigateRequest& request);
    void DropPending();
};
