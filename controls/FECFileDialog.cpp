#include "FECFileDialog.h"

namespace
{
const wchar_t kHookProperty[] = L"YebFecFileDialog";
}

CFECFileDialog::CFECFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                               LPCTSTR lpszFilter, CWnd* pParentWnd)
    : CFileDialog(bOpenFileDialog, lpszDefExt, lpszFileName, dwFlags, lpszFilter, pParentWnd), m_bConverted(FALSE),
      m_hDialog(NULL)
{
}

CFECFileDialog::~CFECFileDialog() = default;

void CFECFileDialog::FreeOwnBuffers()
{
    m_folder.clear();
    m_names.clear();
    m_bConverted = FALSE;
}

UINT_PTR CALLBACK CFECFileDialog::FecHookProc(HWND hDlg, UINT msg, WPARAM, LPARAM lParam)
{
    if (msg == WM_INITDIALOG)
    {
        ::SetPropW(hDlg, kHookProperty, (HANDLE)((OPENFILENAMEW*)lParam)->lCustData);
        return 0;
    }
    if (msg == WM_DESTROY)
    {
        ::RemovePropW(hDlg, kHookProperty);
        return 0;
    }
    if (msg == WM_NOTIFY && ((NMHDR*)lParam)->code == CDN_SELCHANGE)
        if (CFECFileDialog* pThis = (CFECFileDialog*)::GetPropW(hDlg, kHookProperty))
        {
            pThis->m_hDialog = ::GetParent(hDlg);
            pThis->OnFileNameChange();
        }
    return 0;
}

INT_PTR CFECFileDialog::DoModal()
{
    FreeOwnBuffers();
    m_ofn.lpfnHook = FecHookProc;
    m_ofn.lCustData = (LPARAM)this;
    INT_PTR result = CFileDialog::DoModal();
    if (result == IDCANCEL && ::CommDlgExtendedError() == FNERR_BUFFERTOOSMALL && !m_names.empty())
        return IDOK;
    return result;
}

void CFECFileDialog::OnFileNameChange()
{
    if (m_hDialog)
    {
        wchar_t probe[1] = {0};
        int specLength = (int)::SendMessageW(m_hDialog, CDM_GETSPEC, 1, (LPARAM)probe);
        int folderLength = (int)::SendMessageW(m_hDialog, CDM_GETFOLDERPATH, 1, (LPARAM)probe);
        if (specLength > 0 && folderLength > 0 && (long long)m_ofn.nMaxFile < (long long)specLength + folderLength)
        {
            m_bConverted = FALSE;
            m_names.assign(specLength + 1, 0);
            ::SendMessageW(m_hDialog, CDM_GETSPEC, specLength + 1, (LPARAM)m_names.data());
            m_folder.assign(folderLength + 1, 0);
            ::SendMessageW(m_hDialog, CDM_GETFOLDERPATH, folderLength + 1, (LPARAM)m_folder.data());
        }
        else
            FreeOwnBuffers();
    }
    CFileDialog::OnFileNameChange();
}

std::vector<wchar_t> CFECFileDialog::ConvertNameList(const CString& spec)
{
    CString text = spec;
    text.Replace(L"\" \"", L"\"");
    std::vector<wchar_t> names;
    if (text.GetLength() >= 2 && text[0] == L'"' && text[text.GetLength() - 1] == L'"')
    {
        text = text.Mid(1, text.GetLength() - 2);
        for (int i = 0; i < text.GetLength(); ++i)
            names.push_back(text[i] == L'"' ? L'\0' : text[i]);
        names.push_back(L'\0');
    }
    names.push_back(L'\0'); // the empty name that ends the list
    return names;
}

POSITION CFECFileDialog::GetStartPosition()
{
    if (m_names.empty())
        return CFileDialog::GetStartPosition();
    if (!m_bConverted)
    {
        m_names = ConvertNameList(CString(m_names.data()));
        m_bConverted = TRUE;
    }
    return m_names[0] ? (POSITION)m_names.data() : NULL;
}

CString CFECFileDialog::GetNextPathName(POSITION& pos)
{
    if (m_names.empty())
        return CFileDialog::GetNextPathName(pos);
    const wchar_t* begin = m_names.data();
    const wchar_t* end = begin + m_names.size();
    const wchar_t* name = (const wchar_t*)pos;
    if (!name || name < begin || name >= end)
    {
        pos = NULL;
        return CString();
    }
    CString path = CString(m_folder.empty() ? L"" : m_folder.data()) + L"\\" + name;
    const wchar_t* next = name + wcsnlen(name, end - name) + 1;
    pos = (next < end && *next) ? (POSITION)next : NULL;
    return path;
}
