#include "OutsideSites.h"

#include "ClientApp.h"

#include <vector>

const wchar_t* const COutsideSites::SearchSite1Home = L"http://www.google.cn/music/homepage";
const wchar_t* const COutsideSites::SearchSite2Home = L"http://mp3.baidu.com/";
const wchar_t* const COutsideSites::RadioChannelHome = L"http://www.tavrin.com/";
const wchar_t* const COutsideSites::RedirectPrefix = L"http://www.google.cn/music/top100/url?";
const wchar_t* const COutsideSites::CoverPrefix = L"http://lib.img.google.cn/SpecialImg/middle_special_";

CString COutsideSites::FormEncodeUtf8(LPCWSTR text)
{
    if (!text || !*text)
        return CString();
    int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, NULL, 0, NULL, NULL);
    if (bytes <= 1)
        return CString();
    std::vector<char> utf8(bytes);
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), bytes, NULL, NULL);
    int length = bytes - 1;
    std::vector<char> encoded(3 * length + 1);
    CClientApp::UrlEncodeForm(utf8.data(), encoded.data(), static_cast<int>(encoded.size()));
    return CString(encoded.data());
}

CString COutsideSites::MusicSearchUrl(LPCWSTR text)
{
    CString url;
    url.Format(L"http://www.google.cn/music/search?q=%s&aq=f", (LPCWSTR)FormEncodeUtf8(text));
    return url;
}
