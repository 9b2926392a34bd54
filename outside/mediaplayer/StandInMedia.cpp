#include "StandInMedia.h"
#include <cstdio>

namespace
{

// The file name of an address without its folder, query and extension.
std::wstring BaseName(const std::wstring& url)
{
    std::wstring path = url.substr(0, url.find(L'?'));
    size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

std::wstring Extension(const std::wstring& url)
{
    std::wstring path = url.substr(0, url.find(L'?'));
    size_t slash = path.find_last_of(L"\\/");
    size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        return std::wstring();
    std::wstring ext = path.substr(dot + 1);
    for (wchar_t& c : ext)
        c = towlower(c);
    return ext;
}
} // namespace

StandInMedia::StandInMedia(const std::wstring& url) : m_url(url)
{
    m_info[L"SourceURL"] = url;
    m_info[L"Title"] = BaseName(url);
    m_info[L"Name"] = BaseName(url);
    m_info[L"FileType"] = Extension(url);
    m_info[L"Author"] = L"";
    m_info[L"FileSize"] = L"0";
    m_info[L"Duration"] = L"0";
}

STDMETHODIMP StandInMedia::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IWMPMedia))
    {
        *object = static_cast<IWMPMedia*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) StandInMedia::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

STDMETHODIMP_(ULONG) StandInMedia::Release()
{
    LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return refs;
}

STDMETHODIMP StandInMedia::get_isIdentical(IWMPMedia* other, VARIANT_BOOL* same)
{
    return OutValue(other == static_cast<IWMPMedia*>(this) ? VARIANT_TRUE : VARIANT_FALSE, same);
}

STDMETHODIMP StandInMedia::get_sourceURL(BSTR* url)
{
    return OutText(m_url, url);
}

STDMETHODIMP StandInMedia::get_name(BSTR* name)
{
    return OutText(m_info[L"Name"], name);
}

STDMETHODIMP StandInMedia::put_name(BSTR name)
{
    m_info[L"Name"] = name ? name : L"";
    return S_OK;
}

STDMETHODIMP StandInMedia::get_imageSourceWidth(LONG* width)
{
    return OutValue(0, width);
}

STDMETHODIMP StandInMedia::get_imageSourceHeight(LONG* height)
{
    return OutValue(0, height);
}

STDMETHODIMP StandInMedia::get_markerCount(LONG* count)
{
    return OutValue(0, count);
}

STDMETHODIMP StandInMedia::get_duration(double* duration)
{
    return OutValue(m_duration, duration);
}

STDMETHODIMP StandInMedia::get_durationString(BSTR* duration)
{
    return OutText(m_duration > 0 ? TimeText(m_duration) : std::wstring(), duration);
}

STDMETHODIMP StandInMedia::get_attributeCount(LONG* count)
{
    return OutValue(static_cast<LONG>(m_info.size()), count);
}

STDMETHODIMP StandInMedia::getAttributeName(LONG index, BSTR* name)
{
    if (index < 0 || index >= static_cast<LONG>(m_info.size()))
        return E_INVALIDARG;
    auto it = m_info.begin();
    std::advance(it, index);
    return OutText(it->first, name);
}

STDMETHODIMP StandInMedia::getItemInfo(BSTR name, BSTR* value)
{
    auto it = m_info.find(name ? name : L"");
    return OutText(it == m_info.end() ? std::wstring() : it->second, value);
}

STDMETHODIMP StandInMedia::setItemInfo(BSTR name, BSTR value)
{
    if (!name)
        return E_INVALIDARG;
    m_info[name] = value ? value : L"";
    return S_OK;
}

STDMETHODIMP StandInMedia::isReadOnlyItem(BSTR, VARIANT_BOOL* readOnly)
{
    return OutValue(VARIANT_FALSE, readOnly);
}

void StandInMedia::SetDuration(double seconds)
{
    m_duration = seconds;
    wchar_t text[32];
    swprintf(text, 32, L"%.3f", seconds);
    m_info[L"Duration"] = text;
}

void StandInMedia::SetInfo(const std::wstring& name, const std::wstring& value)
{
    m_info[name] = value;
}

std::wstring StandInMedia::TimeText(double seconds)
{
    long total = seconds > 0 ? static_cast<long>(seconds + 0.5) : 0;
    wchar_t text[32];
    if (total >= 3600)
        swprintf(text, 32, L"%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
    else
        swprintf(text, 32, L"%02ld:%02ld", total / 60, total % 60);
    return text;
}
