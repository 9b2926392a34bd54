// Images, strings and links in mark-up texts: the "bmp", "icon", "ilst" and
// "string" tags, table background pictures, strip animation, the hand cursor
// and link activation.
#include "MarkupDrawer.h"
#include "LinkPolicy.h"
#include <shellapi.h>
#include <algorithm>

std::vector<std::pair<std::wstring, std::wstring>> ParseMarkupAttributes(const std::wstring& text);

namespace
{
// Drawn sizes are capped so that a hostile size cannot ask for a huge bitmap.
const int kMaxImageSide = 4096;

int Scaled(int base, int value, BOOL percent)
{
    int v = percent ? MulDiv(base, value, 100) : value;
    return std::max(0, std::min(v, kMaxImageSide));
}
} // namespace

// ---------------------------------------------------------------------------
// Attributes

UINT MarkupDrawer::ParseImageStyle(const std::wstring& text)
{
    UINT flags = 0;
    for (wchar_t c : text)
    {
        if (c == L'g')
            flags |= EFFECT_GREY;
        else if (c == L'd')
            flags |= EFFECT_DARKER;
        else if (c == L'l')
            flags |= EFFECT_LIGHTER;
        else if (c == L's' && (m_shadowX != 0 || m_shadowY != 0))
            flags |= m_gradientShadow ? EFFECT_SOFTSHADOW : EFFECT_SHADOW;
    }
    return flags;
}

void MarkupDrawer::ReadImageAttributes(const std::wstring& attributes, MarkupImage& img)
{
    for (const auto& a : ParseMarkupAttributes(attributes))
    {
        const std::wstring& n = a.first;
        const std::wstring& v = a.second;
        if (n == L"index")
            img.index = ParseLength(v, img.index, false);
        else if (n == L"idres")
            img.idRes = ParseLength(v, img.idRes, false);
        else if (n == L"iddll")
            img.idDll = ParseLength(v, img.idDll, false);
        else if (n == L"handle")
            img.handle = (UINT_PTR)std::wcstoul(v.c_str(), NULL, 0);
        else if (n == L"cx")
            img.cx = ParseLength(v, img.cx, false);
        else if (n == L"cy")
            img.cy = ParseLength(v, img.cy, false);
        else if (n == L"width" || n == L"height")
        {
            BOOL percent = !v.empty() && v.back() == L'%';
            int value = ParseLength(v, 100, false);
            if (n == L"width")
                img.width = value, img.widthPercent = percent;
            else
                img.height = value, img.heightPercent = percent;
        }
        else if (n == L"speed")
            img.speed = ParseLength(v, img.speed, false);
        else if (n == L"style")
            img.style = img.hotStyle = ParseImageStyle(v);
        else if (n == L"hotstyle")
            img.hotStyle = ParseImageStyle(v);
        else if (n == L"mask")
        {
            img.useMask = TRUE;
            img.mask = ParseColor(v, img.mask);
        }
        else if (n == L"file")
        {
            if (!v.empty())
                img.file = v;
        }
        else if (n == L"srcdll")
        {
            if (!v.empty())
                img.module = v;
        }
    }
}

// ---------------------------------------------------------------------------
// Placing

void MarkupDrawer::PlaceBox(int boxWidth, int boxHeight, int alignHeight,
                            const std::function<void(int, int)>& draw)
{
    int areaWidth = m_area.right - m_area.left;
    int room = areaWidth + m_area.left - m_x;
    if (m_maxWidth > 0 && areaWidth != 0 && boxWidth > room && m_x != m_lineStartX)
    {
        m_line.wrapped = 1;
        NewLine(1, 1);
    }
    if (Measuring())
        m_line.align = m_style.hAlign;
    int top = ImageTop(m_y, alignHeight);
    if (!Measuring() && boxWidth > 0 && boxHeight > 0)
    {
        AddHotArea(RECT{m_x, top, m_x + boxWidth, top + boxHeight});
        draw(m_x, top);
    }
    m_x += boxWidth;
}

HBITMAP MarkupDrawer::LoadImageBitmap(const MarkupImage& img, bool* owned)
{
    *owned = true;
    if (img.idRes)
        return LoadBitmapResource(img.idRes);
    if (!img.file.empty())
        return LoadBitmapFile(img.file);
    if (img.idDll)
        return LoadBitmapFromModule(img.idDll, img.module.empty() ? NULL : img.module.c_str());
    *owned = false;
    if (img.handle != 0 && ::GetObjectType((HGDIOBJ)img.handle) == OBJ_BITMAP)
        return (HBITMAP)img.handle;
    return NULL;
}

void MarkupDrawer::PlaceImage(int tag, const std::wstring& attributes)
{
    MarkupImage img;
    ReadImageAttributes(attributes, img);
    bool hovered = m_style.linkKind != 0 && m_linkCounter == m_hoveredLink;
    UINT flags = hovered ? img.hotStyle : img.style;
    if (!m_enabled)
        flags = (flags & ~0xFFu) + 8;
    BOOL shadow = ((img.style | img.hotStyle) & (EFFECT_SHADOW | EFFECT_SOFTSHADOW)) != 0;
    bool hasSource = img.idRes || img.idDll || img.handle || !img.file.empty();
    auto box = [&](int w, int h, SIZE* b) {
        bool grow = shadow && w > 0 && h > 0;
        b->cx = w + (grow ? m_shadowX : 0);
        b->cy = h + (grow ? m_shadowY : 0);
    };

    if (tag == 17)
    {
        if (!hasSource)
            return;
        bool owned;
        HBITMAP bmp = LoadImageBitmap(img, &owned);
        if (bmp == NULL)
            return;
        SIZE bs = CEffectPainter::GetBitmapSize(bmp);
        int w = Scaled(bs.cx, img.width, img.widthPercent), h = Scaled(bs.cy, img.height, img.heightPercent);
        SIZE b;
        box(w, h, &b);
        PlaceBox(b.cx, b.cy, h, [&](int x, int y) {
            if (w > 0 && h > 0)
                m_painter.DrawImage(m_dc, x, y, w, h, bmp, img.useMask, img.mask, flags, shadow, m_shadowX,
                                    m_shadowY, m_blurWidth, m_blurHeight, m_imageShadowColor);
        });
        if (owned)
            ::DeleteObject(bmp);
        return;
    }

    if (tag == 18)
    {
        if (!hasSource)
            return;
        int rw = Scaled(::GetSystemMetrics(SM_CXICON), img.width, img.widthPercent);
        int rh = Scaled(::GetSystemMetrics(SM_CYICON), img.height, img.heightPercent);
        HICON icon = NULL;
        bool owned = true;
        if (img.idRes)
            icon = LoadIconResource(img.idRes, rw, rh);
        else if (!img.file.empty())
            icon = LoadIconFile(img.file, rw, rh);
        else if (img.idDll)
            icon = LoadIconFromModule(img.idDll, rw, rh, img.module.empty() ? NULL : img.module.c_str());
        else if (::GetObjectType((HGDIOBJ)img.handle) == 0)
        {
            icon = (HICON)img.handle;
            owned = false;
        }
        if (icon == NULL)
            return;
        SIZE is = CEffectPainter::GetIconSize(icon);
        SIZE b;
        box(is.cx, is.cy, &b);
        PlaceBox(b.cx, b.cy, is.cy, [&](int x, int y) {
            m_painter.DrawIcon(m_dc, x, y, is.cx, is.cy, icon, flags, shadow, m_shadowX, m_shadowY,
                               m_blurWidth, m_blurHeight, m_imageShadowColor);
        });
        if (owned)
            ::DestroyIcon(icon);
        return;
    }

    // "ilst": an image of the drawer's image list, or a frame of a strip.
    if (!hasSource)
    {
        if (m_imageList == NULL || img.index < 0 || img.index >= ImageList_GetImageCount(m_imageList))
            return;
        HICON icon = ImageList_GetIcon(m_imageList, img.index, ILD_NORMAL);
        if (icon == NULL)
            return;
        int w = Scaled(m_imageWidth, img.width, img.widthPercent);
        int h = Scaled(m_imageHeight, img.height, img.heightPercent);
        SIZE b;
        box(w, h, &b);
        PlaceBox(b.cx, b.cy, b.cy, [&](int x, int y) {
            m_painter.DrawIcon(m_dc, x, y, w, h, icon, flags, shadow, m_shadowX, m_shadowY, m_blurWidth,
                               m_blurHeight, m_imageShadowColor);
        });
        ::DestroyIcon(icon);
        return;
    }
    bool owned;
    HBITMAP bmp = LoadImageBitmap(img, &owned);
    if (bmp == NULL)
        return;
    SIZE bs = CEffectPainter::GetBitmapSize(bmp);
    int fw, fh;
    if (img.cx > 0)
        fw = img.cx, fh = img.cy > 0 ? img.cy : img.cx;
    else if (img.cy > 0)
        fw = fh = img.cy;
    else
        fw = fh = std::min(bs.cx, bs.cy);
    int columns = fw > 0 ? bs.cx / fw : 0, rows = fh > 0 ? bs.cy / fh : 0;
    int frames = columns * rows;
    int index = img.index;
    if (img.speed > 0)
    {
        if (Measuring())
            m_animations.push_back(MarkupAnimation{index, frames, 0, img.speed});
        else
        {
            m_animationCounter++;
            if (m_animationCounter < (int)m_animations.size())
                index = m_animations[m_animationCounter].frame;
        }
    }
    if (index >= 0 && index < frames && columns > 0 && rows > 0)
    {
        int w = Scaled(fw, img.width, img.widthPercent), h = Scaled(fh, img.height, img.heightPercent);
        SIZE b;
        box(w, h, &b);
        PlaceBox(b.cx, b.cy, b.cy, [&](int x, int y) {
            if (w > 0 && h > 0)
                m_painter.DrawImageListItem(m_dc, x, y, w, h, bmp, index, fw, fh, img.useMask, img.mask,
                                            flags, shadow, m_shadowX, m_shadowY, m_blurWidth, m_blurHeight,
                                            m_imageShadowColor);
        });
    }
    if (owned)
        ::DeleteObject(bmp);
}

void MarkupDrawer::PlaceString(const std::wstring& attributes)
{
    int id = 0;
    for (const auto& a : ParseMarkupAttributes(attributes))
        if (a.first == L"idres" || a.first == L"iddll")
            id = ParseLength(a.second, id, false);
    if (id <= 0)
        return;
    std::wstring s = LoadResourceString((UINT)id);
    if (s.empty())
        return;
    SIZE sz = {0, 0};
    ::GetTextExtentPoint32W(m_dc, s.c_str(), (int)s.size(), &sz);
    if (Measuring())
        m_line.align = m_style.hAlign;
    int top = TextTop(m_y, sz.cy);
    if (!Measuring())
    {
        AddHotArea(RECT{m_x, top, m_x + sz.cx, top + sz.cy});
        ::TextOutW(m_dc, m_x, top, s.c_str(), (int)s.size());
    }
    m_x += sz.cx;
}

bool MarkupDrawer::AnimationStep()
{
    bool changed = false;
    for (auto& a : m_animations)
    {
        if (a.frames <= 0)
            continue;
        if (++a.tick >= a.ticksPerFrame)
        {
            a.tick = 0;
            a.frame = (a.frame + 1) % a.frames;
            if (a.frame < 0)
                a.frame = 0;
            changed = true;
        }
    }
    return changed;
}

void MarkupDrawer::DrawBackgroundImage(HDC hDC, int left, int top, int width, int height,
                                       const std::wstring& source)
{
    if (!m_enabled || source.size() <= 5 || width <= 0 || height <= 0)
        return;
    size_t e = source.find_first_of(L" :");
    if (e == std::wstring::npos)
        return;
    std::wstring name = source.substr(0, e);
    size_t colon = source.find(L':', e);
    if (colon == std::wstring::npos)
        return;
    size_t vs = source.find_first_not_of(L' ', colon + 1);
    if (vs == std::wstring::npos)
        return;
    size_t ve = source.find(L';', vs);
    std::wstring value = source.substr(vs, ve == std::wstring::npos ? std::wstring::npos : ve - vs);
    HBITMAP bmp = NULL;
    if (name == L"idres")
        bmp = LoadBitmapResource(ParseLength(value, 0, false));
    else if (name == L"iddll")
        bmp = LoadBitmapFromModule(ParseLength(value, 0, false), NULL);
    else if (name == L"file")
        bmp = LoadBitmapFile(value);
    if (bmp == NULL)
        return;
    SIZE bs = CEffectPainter::GetBitmapSize(bmp);
    {
        CMemoryDC mem(bmp, hDC);
        if (mem.GetSafeHdc() != NULL)
            CEffectPainter::TileBlt(hDC, left, top, width, height, mem.GetSafeHdc(), 0, 0, bs.cx, bs.cy);
    }
    ::DeleteObject(bmp);
}

// ---------------------------------------------------------------------------
// Loaders

bool MarkupDrawer::IsSafeModulePath(const std::wstring& path)
{
    // Network paths would let a text load code or pictures from another
    // machine.
    if (path.empty())
        return false;
    if (path.size() >= 2 && (path[0] == L'\\' || path[0] == L'/') && (path[1] == L'\\' || path[1] == L'/'))
        return false;
    return path.find(L"://") == std::wstring::npos;
}

static HINSTANCE ResourceModuleFor(UINT id, LPCWSTR type, HINSTANCE fallback)
{
    HINSTANCE exe = ::GetModuleHandleW(NULL);
    if (::FindResourceW(exe, MAKEINTRESOURCEW(id), type) != NULL || fallback == NULL)
        return exe;
    return fallback;
}

HICON MarkupDrawer::LoadIconResource(UINT id, int width, int height)
{
    if (id == 0)
        return NULL;
    HINSTANCE module = ResourceModuleFor(id, RT_GROUP_ICON, m_resModule);
    return (HICON)::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, LR_DEFAULTCOLOR);
}

HICON MarkupDrawer::LoadIconFile(const std::wstring& file, int width, int height)
{
    if (!IsSafeModulePath(file))
        return NULL;
    return (HICON)::LoadImageW(NULL, file.c_str(), IMAGE_ICON, width, height, LR_LOADFROMFILE);
}

HICON MarkupDrawer::LoadIconFromModule(UINT id, int width, int height, LPCWSTR module)
{
    if (id == 0)
        return NULL;
    if (module == NULL)
        return m_resModule ? (HICON)::LoadImageW(m_resModule, MAKEINTRESOURCEW(id), IMAGE_ICON, width, height,
                                                 LR_DEFAULTCOLOR)
                           : NULL;
    if (!IsSafeModulePath(module))
        return NULL;
    HMODULE h = ::LoadLibraryExW(module, NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (h == NULL)
        return NULL;
    HICON icon = (HICON)::LoadImageW(h, MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, LR_DEFAULTCOLOR);
    ::FreeLibrary(h);
    return icon;
}

HBITMAP MarkupDrawer::LoadBitmapResource(UINT id)
{
    if (id == 0)
        return NULL;
    HINSTANCE module = ResourceModuleFor(id, RT_BITMAP, m_resModule);
    return (HBITMAP)::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR);
}

HBITMAP MarkupDrawer::LoadBitmapFile(const std::wstring& file)
{
    if (!IsSafeModulePath(file))
        return NULL;
    return (HBITMAP)::LoadImageW(NULL, file.c_str(), IMAGE_BITMAP, 0, 0,
                                 LR_CREATEDIBSECTION | LR_DEFAULTSIZE | LR_LOADFROMFILE);
}

HBITMAP MarkupDrawer::LoadBitmapFromModule(UINT id, LPCWSTR module)
{
    if (id == 0)
        return NULL;
    const UINT flags = LR_CREATEDIBSECTION | LR_DEFAULTSIZE;
    if (module == NULL)
        return m_resModule
                   ? (HBITMAP)::LoadImageW(m_resModule, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, flags)
                   : NULL;
    if (!IsSafeModulePath(module))
        return NULL;
    HMODULE h = ::LoadLibraryExW(module, NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (h == NULL)
        return NULL;
    HBITMAP bmp = (HBITMAP)::LoadImageW(h, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, flags);
    ::FreeLibrary(h);
    return bmp;
}

void MarkupDrawer::SetImageList(HIMAGELIST hList)
{
    if (m_imageList != NULL && m_imageList != hList)
        ImageList_Destroy(m_imageList);
    m_imageList = hList;
    m_imageWidth = m_imageHeight = 0;
    if (hList != NULL)
        ImageList_GetIconSize(hList, &m_imageWidth, &m_imageHeight);
}

void MarkupDrawer::SetResourceModule(HINSTANCE hModule, BOOL owned)
{
    if (m_resModuleOwned && m_resModule != NULL && m_resModule != hModule)
        ::FreeLibrary(m_resModule);
    m_resModule = hModule;
    m_resModuleOwned = owned;
}

// ---------------------------------------------------------------------------
// Links

void MarkupDrawer::LoadHandCursor()
{
    if (m_handCursor != NULL)
        return;
    // A private copy, so the destructor may destroy it.
    HCURSOR system = ::LoadCursorW(NULL, IDC_HAND);
    if (system != NULL)
        m_handCursor = (HCURSOR)::CopyIcon(system);
    if (m_handCursor != NULL)
        return;
    wchar_t folder[MAX_PATH];
    UINT n = ::GetWindowsDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH - 16)
        return;
    std::wstring path = std::wstring(folder) + L"\\winhlp32.exe";
    HMODULE h = ::LoadLibraryExW(path.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (h == NULL)
        return;
    HCURSOR c = ::LoadCursorW(h, MAKEINTRESOURCEW(106));
    if (c != NULL)
        m_handCursor = (HCURSOR)::CopyIcon(c);
    ::FreeLibrary(h);
}

bool MarkupDrawer::IsOpenableLink(const std::wstring& target)
{
    return CLinkPolicy::Classify(target.c_str()) != CLinkPolicy::LINK_NONE;
}

BOOL MarkupDrawer::OpenLink(const std::wstring& target, int showCommand)
{
    // Texts of tips may come from other users: the program's one link policy
    // decides, and nothing it refuses reaches the shell or a command line.
    if (!IsOpenableLink(target))
        return FALSE;
    if (m_handCursor != NULL)
        ::DestroyCursor(m_handCursor);
    m_handCursor = NULL;
    LoadHandCursor();
    return CLinkPolicy::Open(target.c_str(), showCommand);
}

void MarkupDrawer::ActivateLink(int index)
{
    if (index < 0 || index >= (int)m_hotAreas.size())
        return;
    HotArea area = m_hotAreas[index];
    if (area.target.empty())
        return;
    if (area.kind == 1)
        OpenLink(area.target, SW_SHOW);
    else if (area.kind == 2 && m_linkWnd != NULL && m_linkMsg != 0)
        ::SendMessageW(m_linkWnd, m_linkMsg, (WPARAM)area.target.c_str(), m_linkParam);
}
