#include "SFSkinResourceFile.h"
#include "SFSkinDefaultSchema.h"
#include "SFSkinFramework.h"
#include "SFStyleImage.h"
#include <new>

namespace
{
BOOL IsPlainFile(const CString& path)
{
    DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The UTF-16 text of a "TEXTFILE" resource without its byte-order mark,
// cut to an even byte count.
BOOL ResourceText(HMODULE module, LPCWSTR name, const wchar_t** begin, const wchar_t** end)
{
    HRSRC res = ::FindResourceW(module, name, L"TEXTFILE");
    HGLOBAL handle = res ? ::LoadResource(module, res) : NULL;
    const wchar_t* text = handle ? (const wchar_t*)::LockResource(handle) : NULL;
    if (text == NULL)
        return FALSE;
    DWORD bytes = ::SizeofResource(module, res) & ~1u;
    *end = text + bytes / sizeof(wchar_t);
    if (text < *end && *text == 0xFEFF)
        text++;
    *begin = text;
    return TRUE;
}
} // namespace

CSFSkinResourceFile::CSFSkinResourceFile(CSFSkinFramework* manager)
    : m_readPos(NULL), m_textEnd(NULL), m_module(NULL), m_manager(manager), m_iniFile(NULL)
{
}

CSFSkinResourceFile::~CSFSkinResourceFile() { Close(); }

CString CSFSkinResourceFile::ToResourceName(const CString& name)
{
    CString result(name);
    result.Replace(L'.', L'_');
    result.Replace(L'\\', L'_');
    return result;
}

CString CSFSkinResourceFile::ReadDefaultIniName(HMODULE module)
{
    const wchar_t *text, *end;
    if (module == NULL || !ResourceText(module, L"THEMES_INI", &text, &end))
        return CString();
    static const wchar_t kMark[] = L"[File.";
    const size_t markLength = 6;
    for (const wchar_t* p = text; p + markLength <= end; p++)
    {
        if (wmemcmp(p, kMark, markLength) != 0)
            continue;
        const wchar_t* nameStart = p + markLength;
        const wchar_t* close = nameStart;
        while (close < end && *close != L']')
            close++;
        if (close == end)
            return CString();
        return CString(nameStart, (int)(close - nameStart)) + L"_ini";
    }
    return CString();
}

void CSFSkinResourceFile::Close()
{
    delete m_iniFile;
    m_iniFile = NULL;
    if (m_module)
        ::FreeLibrary(m_module);
    m_module = NULL;
    m_readPos = m_textEnd = NULL;
}

BOOL CSFSkinResourceFile::Open(LPCWSTR path, LPCWSTR iniName)
{
    Close();
    m_stylePath = path ? path : L"";
    m_iniName = iniName ? iniName : L"";
    if (m_stylePath.IsEmpty())
        return FALSE;

    CString iniPath = m_stylePath + L"\\" + m_iniName;
    if (!m_iniName.IsEmpty() && IsPlainFile(iniPath))
    {
        m_iniFile = new (std::nothrow) CStdioFile;
        if (m_iniFile && m_iniFile->Open(iniPath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeText))
            return TRUE;
        delete m_iniFile;
        m_iniFile = NULL;
        return FALSE;
    }

    m_module = ::LoadLibraryW(m_stylePath);
    if (m_module == NULL)
        m_module = ::LoadLibraryExW(m_stylePath, NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (m_module == NULL)
        return FALSE;
    if (m_iniName.IsEmpty())
        m_iniName = ReadDefaultIniName(m_module);
    // The library stays loaded until Close even when it has no such text.
    return !m_iniName.IsEmpty() && ResourceText(m_module, ToResourceName(m_iniName), &m_readPos, &m_textEnd);
}

BOOL CSFSkinResourceFile::ReadString(CString& line)
{
    if (m_iniFile != NULL)
    {
        if (m_iniFile->m_hFile == CFile::hFileNull)
            return FALSE;
        try
        {
            if (m_iniFile->ReadString(line))
                return TRUE;
        }
        catch (CException* e)
        {
            e->Delete();
        }
        // The file object stays: it marks the style as a folder style for its pictures.
        m_iniFile->Abort();
        return FALSE;
    }
    if (m_readPos == NULL)
        return FALSE;
    const wchar_t* cr = m_readPos;
    while (cr < m_textEnd && *cr != L'\r')
        cr++;
    if (cr >= m_textEnd)
        return FALSE;
    line = CString(m_readPos, (int)(cr - m_readPos));
    m_readPos = cr + 1;
    if (m_readPos < m_textEnd && *m_readPos == L'\n')
        m_readPos++;
    return TRUE;
}

CSFStyleImage* CSFSkinResourceFile::LoadImage(const CString& name)
{
    if (name.IsEmpty())
        return NULL;
    BOOL premultiply = TRUE;
    if (m_manager && m_manager->GetSchema())
        premultiply = m_manager->GetSchema()->GetPremultiply();
    if (m_iniFile != NULL)
    {
        CString path = m_stylePath + L"\\" + name;
        if (!IsPlainFile(path))
            return NULL;
        CSFStyleImage* image = new (std::nothrow) CSFStyleImage(m_manager);
        if (image == NULL)
            return NULL;
        image->SetPremultiply(premultiply);
        if (image->LoadFile(path))
            return image;
        delete image;
        return NULL;
    }
    if (m_module == NULL)
        return NULL;
    CSFStyleImage* image = new (std::nothrow) CSFStyleImage(m_manager);
    if (image == NULL)
        return NULL;
    image->SetPremultiply(premultiply);
    if (image->LoadResource(m_module, ToResourceName(name)))
        return image;
    delete image;
    return NULL;
}

CSFSkinSchema* CSFSkinResourceFile::CreateSchema() { return new (std::nothrow) CSFSkinDefaultSchema(m_manager); }
