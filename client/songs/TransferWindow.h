// CTransferWindow: what the download window and the upload window share: the
// skinned frame, the minimise and close buttons, the four totals (running,
// waiting, done, failed), the close confirmation while a transfer runs, and
// the advertisement link fed by the service's advertisement list.
#pragma once
#include "AdvertiseStaticLink.h"
#include "Framework.h"
#include "ImageButton.h"
#include "SkinDialog.h"
#include "TransparentStatic.h"

#include <map>
#include <vector>

class CTransferWindow : public CSkinDialog
{
  public:
    // The controls of one window, in the order running, waiting, done, failed.
    struct Controls
    {
        UINT list, minimise, close, totals[4], advertisement;
    };
    static const UINT AdvertisementMessage = WM_USER + 50;
    // Kinds of the list's messages to the window.
    enum Kind
    {
        KindDone = 8,
        KindRunning = 9,
        KindFailed = 10,
        KindRemoved = 11,
    };

    CTransferWindow(UINT templateId, const Controls& controls, UINT listMessage, LPCWSTR titleKey);
    ~CTransferWindow() override;

    int GetRunningTotal() const { return m_totals[0]; }
    int GetDoneTotal() const { return m_totals[2]; }
    int GetFailedTotal() const { return m_totals[3]; }
    int GetWaitingTotal() const;
    CString GetTotalText(int index);
    // Names of the advertisement list, once loaded.
    const std::vector<CString>& GetAdvertisementNames() const { return m_adNames; }

    // Parses the advertisement list document (root "RT", "AD" elements with
    // "LI" entries of a name and a link).
    static void ParseAdvertisements(LPCWSTR xml, std::vector<CString>& names,
                                    std::map<CString, CString>& links);

  protected:
    // The list side of a window.
    virtual int ListTaskCount() = 0;
    virtual int ListRunningCount() = 0;
    virtual void StopAllAndDelete() = 0;
    virtual void PlaceList(const CRect& rect) = 0;
    // A download completed (the album-cover job of the download window).
    virtual void OnTransferDone() {}

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnCancel() override { CloseWithConfirmation(); }
    void OnOK() override {}
    void PostNcDestroy() override;
    LRESULT OnListMessage(WPARAM kind, LPARAM value);
    LRESULT OnAdvertisements(WPARAM, LPARAM);
    void OnMinimise();
    void OnCloseButton();
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    // Each transfer window exists once: made on the first call, shown and
    // brought forward on every call; NULL when it cannot be made.
    template <class Window> static Window* ShowSingle(Window*& open, UINT templateId)
    {
        if (!open)
        {
            Window* window = new Window;
            if (!window->Create(templateId, CWnd::GetDesktopWindow()))
            {
                delete window;
                return NULL;
            }
            open = window;
        }
        open->ShowWindow(SW_SHOW);
        ::SetForegroundWindow(open->m_hWnd);
        return open;
    }
    // A 16x16 task-state icon of the program's resources.
    static HICON LoadTaskIcon(UINT id);

    // Asks while a transfer runs; destroys the window unless the user keeps it.
    void CloseWithConfirmation();
    void ShowTotal(int index, int value);
    void RefreshWaiting();

    Controls m_ids;
    UINT m_listMessage;
    CString m_titleKey;
    CImageButton m_minimise;
    CImageButton m_close;
    CTransparentStatic m_totalTexts[4];
    CAdvertiseStaticLink m_advertisement;
    CString m_formats[4];
    int m_totals[4];
    BOOL m_closing;
    std::vector<CString> m_adNames;
    std::map<CString, CString> m_adLinks;

  private:
    // The loader owns what it fetched until the window takes it with
    // AdvertisementMessage; it never touches the window object.
    static unsigned __stdcall AdvertisementThread(void* window);
};
