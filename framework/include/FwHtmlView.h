// CHtmlView: a child window that hosts the WebBrowser control in place. The
// view is the control's client site, in-place site and frame, answers its
// user-interface questions (no context menu of its own, no 3-D border) and
// receives its navigation events (DWebBrowserEvents2), which it hands to
// virtual handlers.
//
// Where the platform has no browser engine the view stays a plain window
// with a white background: creation still succeeds, navigations are
// dropped, no prompt appears. The event sink works either way, so the
// handlers can be driven by raising the events on it (GetEventSink).
#pragma once
#include "FwWnd.h"

#include <exdisp.h>
#include <mshtml.h>

class CHtmlView : public CWnd
{
    DECLARE_DYNCREATE(CHtmlView)
public:
    CHtmlView();
    ~CHtmlView() override;

    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext = NULL) override;

    // The browser control; null where there is none.
    IWebBrowser2* GetBrowser() const { return m_pBrowserApp; }
    BOOL HasBrowser() const { return m_pBrowserApp != NULL; }

    // Navigation (all quietly nothing without a browser).
    void Navigate2(LPCTSTR lpszURL, DWORD dwFlags = 0, LPCTSTR lpszTargetFrameName = NULL,
                   LPCTSTR lpszHeaders = NULL, const void* lpvPostData = NULL, DWORD dwPostDataLen = 0);
    // The page kept as a resource of the program (res: protocol).
    BOOL LoadFromResource(LPCTSTR lpszResource);
    void GoBack();
    void GoForward();
    BOOL GetBusy() const;
    CString GetLocationURL() const;
    // The current document and the browser's application object; the caller
    // releases them. Null when there is none.
    IDispatch* GetHtmlDocument() const;
    IDispatch* GetApplication() const;

    // Navigation events, as the browser raises them.
    virtual void OnBeforeNavigate2(LPCTSTR lpszURL, DWORD nFlags, LPCTSTR lpszTargetFrameName, CByteArray& baPostedData,
                                   LPCTSTR lpszHeaders, BOOL* pbCancel);
    virtual void OnNavigateComplete2(LPCTSTR lpszURL);
    virtual void OnNavigateError(LPCTSTR lpszURL, LPCTSTR lpszFrame, DWORD dwError, BOOL* pbCancel);
    virtual void OnDocumentComplete(LPCTSTR lpszURL);
    virtual void OnProgressChange(long nProgress, long nProgressMax);
    virtual void OnTitleChange(LPCTSTR lpszText);
    virtual void OnCommandStateChange(long nCommand, BOOL bEnable);
    virtual void OnNewWindow2(LPDISPATCH* ppDisp, BOOL* pbCancel);

    // The DWebBrowserEvents2 sink of this view (not add-ref'ed).
    IDispatch* GetEventSink();

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void OnSize(UINT nType, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnDestroy();
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

    // Drops the browser: unhooks the sink, deactivates and releases.
    void ReleaseBrowser();
    // The browser application interface, released before the window goes
    // so that destroying the view does not close a frame.
    IWebBrowser2* m_pBrowserApp;

private:
    class Site;
    BOOL CreateBrowser();

    IOleObject* m_pOleObject;
    Site* m_pSite;
    DWORD m_dwAdviseCookie;
};
