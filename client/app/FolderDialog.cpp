#include "FolderDialog.h"

#include "LanguageTable.h"

#include <shlobj.h>

int CALLBACK CFolderDialog::BrowseCallback(HWND hwnd, UINT msg, LPARAM, LPARAM data)
{
    const CFolderDialog* self = reinterpret_cast<const CFolderDialog*>(data);
    if (msg == BFFM_INITIALIZED && self && !self->m_strInitialSelection.IsEmpty())
        ::SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>((LPCWSTR)self->m_strInitialSelection));
    return 0;
}

int CFolderDialog::DoModal(HWND owner)
{
    IMalloc* allocator = nullptr;
    if (FAILED(::SHGetMalloc(&allocator)) || !allocator)
        return 0;

    LPITEMIDLIST root = nullptr;
    if (!m_strRoot.IsEmpty())
    {
        IShellFolder* desktop = nullptr;
        HRESULT hr = ::SHGetDesktopFolder(&desktop);
        if (SUCCEEDED(hr))
        {
            CString name(m_strRoot);
            hr = desktop->ParseDisplayName(owner, NULL, name.GetBuffer(), NULL, &root, NULL);
            name.ReleaseBuffer();
            desktop->Release();
        }
        if (FAILED(hr) || !root)
        {
            allocator->Release();
            return 0;
        }
    }

    CString title = m_strTitle.IsEmpty() ? Lang(L"INFO_DIR_SELECT_PATH_TIP") : m_strTitle;
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = root;
    info.pszDisplayName = displayName;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS | BIF_NEWDIALOGSTYLE;
    info.lpfn = &CFolderDialog::BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);

    LPITEMIDLIST chosen = ::SHBrowseForFolderW(&info);
    int result = 0;
    if (chosen)
    {
        m_nImageIndex = info.iImage;
        wchar_t path[MAX_PATH] = {};
        if (::SHGetPathFromIDListW(chosen, path))
        {
            m_strChosenPath = path;
            result = 1;
        }
        allocator->Free(chosen);
    }
    if (root)
        allocator->Free(root);
    allocator->Release();
    return result;
}
