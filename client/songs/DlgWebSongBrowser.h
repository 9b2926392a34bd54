// CDlgWebSongBrowser: the free-standing, resizable window that shows the
// service's pages and outside music sites. Its pages talk back through
// "yeb360://" page commands; media links clicked in them become song
// downloads. An optional bottom advertisement page, an optional toolbar with
// two outside search sites and one advertisement line under the page. The
// window is modeless, owned by the desktop, registered with the pop-up
// registry, and deletes itself when its window is destroyed.
#pragma once
#include "AdvertisementList.h"
#include "AdvertiseStaticLink.h"
#include "DlgBrowserToolBar.h"
#include "ImageButton.h"
#include "SkinDialog.h"
#include "WebSongBrowserCtrl.h"

#include <map>
#include <vector>

// The advertisement list read by the loader thread, posted with
// WM_BROWSER_ADS_LOADED (the window frees it).
using BrowserAdList = AdvertisementList;

class CDlgWebSongBrowser : public CSkinDialog
{
public:
    // No history entry, no read from and no write to the cache.
    enum { NAVIGATE_FRESH = 14 };

    CDlgWebSongBrowser(BOOL showBottomAd, BOOL showToolbar, CWnd* parent);
    ~CDlgWebSongBrowser() override;

    // A fixed size: the first page then sizes the window to exactly this.
    void SetWindowSize(int width, int height);
    void Navigate(LPCTSTR url, DWORD flags = 0, LPCTSTR targetFrame = NULL, LPCTSTR headers = NULL,
                  const void* postData = NULL, DWORD postLength = 0);
    // Closes through the pop-up registry (which destroys the window).
    void Close();

    // The body of the own song-list post: "a=" + Base64 of the UTF-8 form
    // text (with two zero bytes after it), every "+" as "%2B". Only the
    // first three lists are named.
    static CStringA SongListPostBody(LPCWSTR email, LPCWSTR nick, const std::vector<CString>& ownLists);
    // The advertisement file ("RT" / "AD" / "LI name= link="); FALSE when it
    // cannot be read.
    static BOOL ParseAdList(LPCWSTR text, BrowserAdList& out);
    // The edge-resizing answer for a point in window coordinates of a window
    // of the given size (0 for none of the edges or corners).
    static UINT EdgeHitTest(CPoint point, CSize size);

    // Where page commands and downloads go (tests replace them). The main
    // window: null when there is none.
    static HWND (*s_mainWindow)();
    // Asks where to save a stored download and starts it; the default asks
    // the main window's download command.
    static void (*s_startDownload)(CDlgWebSongBrowser* browser, const CString& url, const CString& fileName,
                                   const CString& coverUrl);
    // Offers the shown page to a buddy.
    static void (*s_pushPage)(CDlgWebSongBrowser* browser, const CString& url);

    CImageButton m_btnClose, m_btnMinimise, m_btnMaximise, m_btnBack, m_btnForward, m_btnPush;
    CAdvertiseStaticLink m_adLink;
    CWebSongBrowserCtrl m_browser;
    CWebSongBrowserCtrl m_bottomBrowser;
    CDlgBrowserToolBar m_toolbar;
    BOOL m_bShowBottomAd;
    BOOL m_bShowToolbar;
    BOOL m_bFixedSize;
    CSize m_requestedSize;
    BOOL m_bMaximised;
    CRect m_normalRect;
    std::vector<CString> m_adNames;
    std::map<CString, CString> m_adLinks;
    HANDLE m_hAdLoader;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override {}
    void OnCancel() override {}
    void PostNcDestroy() override;
    void OnSize(UINT nType, int cx, int cy);
    void OnDestroy();
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnGetMinMaxInfo(MINMAXINFO* info);
    LRESULT OnNcHitTest(CPoint point);
    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    LRESULT OnBrowserEvent(WPARAM wParam, LPARAM lParam);
    LRESULT OnAdsLoaded(WPARAM wParam, LPARAM lParam);
    LRESULT OnCommandState(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void SetUpButton(CImageButton& button, UINT id, UINT bitmap, LPCWSTR tip);
    void LayoutControls();
    void ToggleMaximise();
    void SizeToFirstPage(int width, int height);
    void DownloadStoredLink();
    void PushShownPage();
    void OpenSite(int kind);
    void PostOwnSongLists();
    void ForwardToMain(UINT id, LPARAM argument);
    void StartAdLoader();
    static DWORD WINAPI AdLoaderProc(LPVOID param);
    int CaptionHeight();
    int LeftFrameWidth();
    int BottomFrameHeight();
};
