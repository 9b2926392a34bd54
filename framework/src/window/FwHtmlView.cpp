#include "Framework.h"
#include "FwHtmlView.h"

#include <exdispid.h>
#include <mshtmhst.h>

IMPLEMENT_DYNCREATE(CHtmlView, CWnd)

BEGIN_MESSAGE_MAP(CHtmlView, CWnd)
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace
{
// The text of an event argument that may come by reference.
CString ArgText(const VARIANTARG& arg)
{
    VARIANT value;
    ::VariantInit(&value);
    const VARIANT* source = &arg;
    if (arg.vt == (VT_VARIANT | VT_BYREF) && arg.pvarVal)
        source = arg.pvarVal;
    CString text;
    if (SUCCEEDED(::VariantChangeType(&value, const_cast<VARIANT*>(source), 0, VT_BSTR)) && value.bstrVal)
        text = value.bstrVal;
    ::VariantClear(&value);
    return text;
}

long ArgLong(const VARIANTARG& arg)
{
    VARIANT value;
    ::VariantInit(&value);
    const VARIANT* source = &arg;
    if (arg.vt == (VT_VARIANT | VT_BYREF) && arg.pvarVal)
        source = arg.pvarVal;
    long result = 0;
    if (SUCCEEDED(::VariantChangeType(&value, const_cast<VARIANT*>(source), 0, VT_I4)))
        result = value.lVal;
    ::VariantClear(&value);
    return result;
}

// The bytes of a posted-data argument (a byte safe array, usually by reference).
void ArgBytes(const VARIANTARG& arg, CByteArray& bytes)
{
    bytes.RemoveAll();
    const VARIANT* v = &arg;
    if (arg.vt == (VT_VARIANT | VT_BYREF) && arg.pvarVal)
        v = arg.pvarVal;
    if (v->vt != (VT_ARRAY | VT_UI1) || !v->parray)
        return;
    LONG low = 0, high = -1;
    ::SafeArrayGetLBound(v->parray, 1, &low);
    ::SafeArrayGetUBound(v->parray, 1, &high);
    void* data = NULL;
    if (high < low || FAILED(::SafeArrayAccessData(v->parray, &data)))
        return;
    bytes.SetSize(high - low + 1);
    memcpy(bytes.GetData(), data, high - low + 1);
    ::SafeArrayUnaccessData(v->parray);
}

void SetCancel(const VARIANTARG& arg, BOOL cancel)
{
    if (arg.vt == (VT_BOOL | VT_BYREF) && arg.pboolVal)
        *arg.pboolVal = cancel ? VARIANT_TRUE : VARIANT_FALSE;
}
} // namespace

// The view's side of the browser control: client site, in-place site and
// frame, user-interface handler and event sink in one object, owned by the
// view and reference-counted for the control.
class CHtmlView::Site : public IOleClientSite,
                        public IOleInPlaceSite,
                        public IOleInPlaceFrame,
                        public IDocHostUIHandler,
                        public IDispatch
{
  public:
    explicit Site(CHtmlView* view) : m_refs(1), m_view(view) {}

    // The view is going: events that still arrive find nobody.
    void Detach() { m_view = NULL; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = NULL;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite)
            *out = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
            *out = static_cast<IOleInPlaceSite*>(this);
        else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
            *out = static_cast<IOleInPlaceFrame*>(this);
        else if (iid == IID_IDocHostUIHandler)
            *out = static_cast<IDocHostUIHandler*>(this);
        else if (iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2)
            *out = static_cast<IDispatch*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ::InterlockedIncrement(&m_refs); }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG n = ::InterlockedDecrement(&m_refs);
        if (n == 0)
            delete this;
        return n;
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP GetContainer(IOleContainer** out) override
    {
        if (out)
            *out = NULL;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (shared by the in-place site and the frame)
    STDMETHODIMP GetWindow(HWND* out) override
    {
        if (!out)
            return E_POINTER;
        *out = m_view ? m_view->m_hWnd : NULL;
        return *out ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info) override
    {
        if (!frame || !document || !position || !clip || !info)
            return E_POINTER;
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *document = NULL;
        RECT client{};
        if (m_view)
            ::GetClientRect(m_view->m_hWnd, &client);
        *position = client;
        *clip = client;
        info->fMDIApp = FALSE;
        info->hwndFrame = m_view ? m_view->m_hWnd : NULL;
        info->haccel = NULL;
        info->cAccelEntries = 0;
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow / IOleInPlaceFrame: the view has no tool space.
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IDocHostUIHandler: no menu of the browser's own, no border, no
    // outside drop target; everything else as the browser does it.
    STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return S_OK; }
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override
    {
        if (!info)
            return E_POINTER;
        info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_DIALOG;
        info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
        return S_OK;
    }
    STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                        IOleInPlaceUIWindow*) override
    {
        return S_OK;
    }
    STDMETHODIMP HideUI() override { return S_OK; }
    STDMETHODIMP UpdateUI() override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD) override
    {
        if (key)
            *key = NULL;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget** out) override
    {
        if (out)
            *out = NULL;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetExternal(IDispatch** out) override
    {
        if (out)
            *out = NULL;
        return E_NOTIMPL;
    }
    STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override
    {
        if (out)
            *out = NULL;
        return S_FALSE;
    }
    STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** out) override
    {
        if (out)
            *out = NULL;
        return S_FALSE;
    }

    // IDispatch: the DWebBrowserEvents2 sink.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        if (count)
            *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override
    {
        if (!m_view || !params)
            return S_OK;
        // The arguments come last first: rgvarg[0] is the last one.
        const VARIANTARG* a = params->rgvarg;
        UINT n = params->cArgs;
        switch (id)
        {
        case DISPID_BEFORENAVIGATE2: // (disp, url, flags, target, post data, headers, cancel)
            if (n >= 7)
            {
                CByteArray posted;
                ArgBytes(a[2], posted);
                BOOL cancel = FALSE;
                m_view->OnBeforeNavigate2(ArgText(a[5]), ArgLong(a[4]), ArgText(a[3]), posted, ArgText(a[1]),
                                          &cancel);
                SetCancel(a[0], cancel);
            }
            break;
        case DISPID_NAVIGATECOMPLETE2: // (disp, url)
            if (n >= 2)
                m_view->OnNavigateComplete2(ArgText(a[0]));
            break;
        case DISPID_DOCUMENTCOMPLETE: // (disp, url)
            if (n >= 2)
                m_view->OnDocumentComplete(ArgText(a[0]));
            break;
        case DISPID_NAVIGATEERROR: // (disp, url, frame, status, cancel)
            if (n >= 5)
            {
                BOOL cancel = FALSE;
                m_view->OnNavigateError(ArgText(a[3]), ArgText(a[2]), static_cast<DWORD>(ArgLong(a[1])), &cancel);
                SetCancel(a[0], cancel);
            }
            break;
        case DISPID_PROGRESSCHANGE: // (progress, maximum)
            if (n >= 2)
                m_view->OnProgressChange(ArgLong(a[1]), ArgLong(a[0]));
            break;
        case DISPID_TITLECHANGE: // (text)
            if (n >= 1)
                m_view->OnTitleChange(ArgText(a[0]));
            break;
        case DISPID_COMMANDSTATECHANGE: // (command, enable)
            if (n >= 2)
                m_view->OnCommandStateChange(ArgLong(a[1]), ArgLong(a[0]) != 0);
            break;
        case DISPID_NEWWINDOW2: // (disp by reference, cancel)
            if (n >= 2 && a[1].vt == (VT_DISPATCH | VT_BYREF) && a[1].ppdispVal)
            {
                BOOL cancel = FALSE;
                m_view->OnNewWindow2(a[1].ppdispVal, &cancel);
                SetCancel(a[0], cancel);
            }
            break;
        default:
            break;
        }
        return S_OK;
    }

  private:
    virtual ~Site() {}
    LONG m_refs;
    CHtmlView* m_view;
};

CHtmlView::CHtmlView() : m_pBrowserApp(NULL), m_pOleObject(NULL), m_pSite(NULL), m_dwAdviseCookie(0) {}

CHtmlView::~CHtmlView()
{
    ReleaseBrowser();
    if (m_pSite)
    {
        m_pSite->Detach();
        m_pSite->Release();
        m_pSite = NULL;
    }
}

IDispatch* CHtmlView::GetEventSink()
{
    if (!m_pSite)
        m_pSite = new Site(this);
    return static_cast<IDispatch*>(m_pSite);
}

BOOL CHtmlView::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    if (!lpszClassName)
        lpszClassName = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    if (!CWnd::Create(lpszClassName, lpszWindowName, dwStyle | WS_CLIPCHILDREN, rect, pParentWnd, nID, pContext))
        return FALSE;
    GetEventSink();
    // A missing browser engine is no failure of the view: it stays blank.
    CreateBrowser();
    return TRUE;
}

BOOL CHtmlView::CreateBrowser()
{
    IOleObject* object = NULL;
    if (FAILED(::CoCreateInstance(CLSID_WebBrowser, NULL, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                  reinterpret_cast<void**>(&object))) ||
        !object)
        return FALSE;
    m_pOleObject = object;
    IWebBrowser2* browser = NULL;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    if (FAILED(object->SetClientSite(static_cast<IOleClientSite*>(m_pSite))) ||
        FAILED(object->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser))) || !browser ||
        FAILED(object->DoVerb(OLEIVERB_INPLACEACTIVATE, NULL, static_cast<IOleClientSite*>(m_pSite), 0, m_hWnd,
                              &client)))
    {
        if (browser)
            browser->Release();
        ReleaseBrowser();
        return FALSE;
    }
    m_pBrowserApp = browser;
    // Script errors and the like are the page's business, never a prompt.
    browser->put_Silent(VARIANT_TRUE);
    IConnectionPointContainer* container = NULL;
    if (SUCCEEDED(browser->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container))))
    {
        IConnectionPoint* point = NULL;
        if (SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point)))
        {
            if (FAILED(point->Advise(static_cast<IDispatch*>(m_pSite), &m_dwAdviseCookie)))
                m_dwAdviseCookie = 0;
            point->Release();
        }
        container->Release();
    }
    return TRUE;
}

void CHtmlView::ReleaseBrowser()
{
    if (m_pBrowserApp && m_dwAdviseCookie)
    {
        IConnectionPointContainer* container = NULL;
        if (SUCCEEDED(m_pBrowserApp->QueryInterface(IID_IConnectionPointContainer,
                                                    reinterpret_cast<void**>(&container))))
        {
            IConnectionPoint* point = NULL;
            if (SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point)))
            {
                point->Unadvise(m_dwAdviseCookie);
                point->Release();
            }
            container->Release();
        }
    }
    m_dwAdviseCookie = 0;
    if (m_pBrowserApp)
    {
        m_pBrowserApp->Release();
        m_pBrowserApp = NULL;
    }
    if (m_pOleObject)
    {
        m_pOleObject->Close(OLECLOSE_NOSAVE);
        m_pOleObject->SetClientSite(NULL);
        m_pOleObject->Release();
        m_pOleObject = NULL;
    }
}

void CHtmlView::Navigate2(LPCTSTR lpszURL, DWORD dwFlags, LPCTSTR lpszTargetFrameName, LPCTSTR lpszHeaders,
                          const void* lpvPostData, DWORD dwPostDataLen)
{
    if (!m_pBrowserApp || !lpszURL)
        return;
    VARIANT url, flags, target, post, headers;
    ::VariantInit(&url);
    ::VariantInit(&flags);
    ::VariantInit(&target);
    ::VariantInit(&post);
    ::VariantInit(&headers);
    url.vt = VT_BSTR;
    url.bstrVal = ::SysAllocString(lpszURL);
    flags.vt = VT_I4;
    flags.lVal = static_cast<LONG>(dwFlags);
    if (lpszTargetFrameName && *lpszTargetFrameName)
    {
        target.vt = VT_BSTR;
        target.bstrVal = ::SysAllocString(lpszTargetFrameName);
    }
    if (lpszHeaders && *lpszHeaders)
    {
        headers.vt = VT_BSTR;
        headers.bstrVal = ::SysAllocString(lpszHeaders);
    }
    if (lpvPostData && dwPostDataLen)
    {
        SAFEARRAY* bytes = ::SafeArrayCreateVector(VT_UI1, 0, dwPostDataLen);
        void* data = NULL;
        if (bytes && SUCCEEDED(::SafeArrayAccessData(bytes, &data)))
        {
            memcpy(data, lpvPostData, dwPostDataLen);
            ::SafeArrayUnaccessData(bytes);
            post.vt = VT_ARRAY | VT_UI1;
            post.parray = bytes;
        }
        else if (bytes)
            ::SafeArrayDestroy(bytes);
    }
    m_pBrowserApp->Navigate2(&url, &flags, &target, &post, &headers);
    ::VariantClear(&url);
    ::VariantClear(&target);
    ::VariantClear(&post);
    ::VariantClear(&headers);
}

BOOL CHtmlView::LoadFromResource(LPCTSTR lpszResource)
{
    if (!m_pBrowserApp || !lpszResource)
        return FALSE;
    wchar_t module[MAX_PATH] = {};
    if (!::GetModuleFileNameW(AfxGetResourceHandle(), module, MAX_PATH))
        return FALSE;
    CString url;
    url.Format(L"res://%s/%s", module, lpszResource);
    Navigate2(url);
    return TRUE;
}

void CHtmlView::GoBack()
{
    if (m_pBrowserApp)
        m_pBrowserApp->GoBack();
}

void CHtmlView::GoForward()
{
    if (m_pBrowserApp)
        m_pBrowserApp->GoForward();
}

BOOL CHtmlView::GetBusy() const
{
    VARIANT_BOOL busy = VARIANT_FALSE;
    if (m_pBrowserApp)
        m_pBrowserApp->get_Busy(&busy);
    return busy != VARIANT_FALSE;
}

CString CHtmlView::GetLocationURL() const
{
    CString text;
    BSTR url = NULL;
    if (m_pBrowserApp && SUCCEEDED(m_pBrowserApp->get_LocationURL(&url)) && url)
        text = url;
    ::SysFreeString(url);
    return text;
}

IDispatch* CHtmlView::GetHtmlDocument() const
{
    IDispatch* document = NULL;
    if (m_pBrowserApp && FAILED(m_pBrowserApp->get_Document(&document)))
        document = NULL;
    return document;
}

IDispatch* CHtmlView::GetApplication() const
{
    IDispatch* application = NULL;
    if (m_pBrowserApp && FAILED(m_pBrowserApp->get_Application(&application)))
        application = NULL;
    return application;
}

void CHtmlView::OnBeforeNavigate2(LPCTSTR, DWORD, LPCTSTR, CByteArray&, LPCTSTR, BOOL* pbCancel)
{
    *pbCancel = FALSE;
}
void CHtmlView::OnNavigateComplete2(LPCTSTR) {}
void CHtmlView::OnNavigateError(LPCTSTR, LPCTSTR, DWORD, BOOL* pbCancel)
{
    *pbCancel = FALSE;
}
void CHtmlView::OnDocumentComplete(LPCTSTR) {}
void CHtmlView::OnProgressChange(long, long) {}
void CHtmlView::OnTitleChange(LPCTSTR) {}
void CHtmlView::OnCommandStateChange(long, BOOL) {}
void CHtmlView::OnNewWindow2(LPDISPATCH*, BOOL*) {}

BOOL CHtmlView::PreTranslateMessage(MSG* pMsg)
{
    // Keys for the page (Tab, arrows, accelerators) go to the browser first.
    if (m_pBrowserApp && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST)
    {
        IOleInPlaceActiveObject* active = NULL;
        if (SUCCEEDED(m_pBrowserApp->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&active))))
        {
            HRESULT hr = active->TranslateAccelerator(pMsg);
            active->Release();
            if (hr == S_OK)
                return TRUE;
        }
    }
    return CWnd::PreTranslateMessage(pMsg);
}

void CHtmlView::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_pOleObject)
    {
        IOleInPlaceObject* inPlace = NULL;
        if (SUCCEEDED(m_pOleObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace))))
        {
            RECT r = {0, 0, cx, cy};
            inPlace->SetObjectRects(&r, &r);
            inPlace->Release();
        }
    }
}

void CHtmlView::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    // Without a page (or before the browser draws) the view is plain white.
    ::FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::EndPaint(m_hWnd, &ps);
}

void CHtmlView::OnDestroy()
{
    ReleaseBrowser();
    CWnd::OnDestroy();
}

void CHtmlView::PostNcDestroy() {}
