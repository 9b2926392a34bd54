#include "LanguageTable.h"

#include "FwThreadObject.h"

LanguageTable::LanguageTable() : m_file(nullptr), m_bLoaded(false)
{
}

LanguageTable::~LanguageTable()
{
    if (m_file)
        fclose(m_file);
}

LanguageTable& LanguageTable::Instance()
{
    static LanguageTable table;
    return table;
}

void LanguageTable::StoreLine(const wchar_t* line, int length)
{
    // The comment runs from the first ';' to the end of the line.
    for (int i = 0; i < length; ++i)
        if (line[i] == L';')
        {
            length = i;
            break;
        }
    if (length == 0 || line[0] == L'[')
        return;
    int i = 0;
    while (i < length && line[i] == L'=')
        ++i;
    int keyStart = i;
    while (i < length && line[i] != L'=')
        ++i;
    int keyLength = i - keyStart;
    if (keyLength == 0)
        return;
    if (keyLength > MaxKeyLength)
        keyLength = MaxKeyLength;
    if (i < length)
        ++i; // the '=' behind the key
    int textStart = i;
    while (i < length && line[i] != L'=')
        ++i;
    m_texts[CString(line + keyStart, keyLength)] = CString(line + textStart, i - textStart);
}

bool LanguageTable::Load(LPCWSTR path)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_texts.clear();
    m_bLoaded = false;
    if (!path)
        return false;
    // Opened by its wide name, so a program folder outside the ANSI code page
    // loads all the same.
    m_file = _wfopen(path, L"rb");
    if (!m_file)
        return false;
    m_bLoaded = true;
    unsigned char mark[2] = {};
    if (fread(mark, 1, 2, m_file) != 2 || mark[0] != 0xFF || mark[1] != 0xFE)
    {
        m_bLoaded = false;
        fclose(m_file);
        m_file = nullptr;
        return false;
    }
    wchar_t line[MaxLineLength + 1];
    int length = 0;
    unsigned char unit[2];
    while (fread(unit, 1, 2, m_file) == 2)
    {
        wchar_t c = (wchar_t)(unit[0] | (unit[1] << 8));
        if (c == L'\n')
            continue;
        if (c == L'\r')
        {
            StoreLine(line, length);
            length = 0;
            continue;
        }
        line[length++] = c;
        if (length == MaxLineLength)
        {
            StoreLine(line, length);
            length = 0;
        }
    }
    if (length > 0)
        StoreLine(line, length);
    fclose(m_file);
    m_file = nullptr;
    return m_bLoaded;
}

const CString& LanguageTable::GetString(LPCWSTR key)
{
    CString& result = FwThreadObject<CString>::Get();
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_bLoaded || !key)
    {
        result.Empty();
        return result;
    }
    CString k(key);
    if (k.GetLength() > MaxKeyLength)
        k = k.Left(MaxKeyLength);
    result = m_texts[k];
    result.Replace(L"$equal", L"=");
    return result;
}

CString Lang(LPCWSTR key)
{
    return LanguageTable::Instance().GetString(key);
}
