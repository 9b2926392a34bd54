#include "TextUtil.h"
#include "PercentCoding.h"
#include <windows.h>

namespace text
{
std::wstring Widen(const std::string& utf8)
{
    if (utf8.empty())
        return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), &out[0], n);
    return out;
}

std::string Narrow(const std::wstring& wide)
{
    if (wide.empty())
        return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), (int)wide.size(), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), (int)wide.size(), &out[0], n, nullptr, nullptr);
    return out;
}

std::string Lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

std::string Trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return std::string();
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

bool StartsWith(const std::string& s, const std::string& prefix)
{
    return s.compare(0, prefix.size(), prefix) == 0;
}

std::string PercentDecode(const std::string& s, bool plusIsSpace)
{
    return PercentCoding::Decode(s, plusIsSpace, PercentCoding::Escapes::Strict);
}

std::vector<std::pair<std::string, std::string>> ParseForm(const std::string& body)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    size_t start = 0;
    while (start <= body.size())
    {
        size_t end = body.find('&', start);
        if (end == std::string::npos)
            end = body.size();
        std::string part = body.substr(start, end - start);
        if (!part.empty())
        {
            size_t eq = part.find('=');
            if (eq == std::string::npos)
                pairs.emplace_back(PercentDecode(part, true), std::string());
            else
                pairs.emplace_back(PercentDecode(part.substr(0, eq), true), PercentDecode(part.substr(eq + 1), true));
        }
        start = end + 1;
    }
    return pairs;
}

std::string FormValue(const std::string& body, const std::string& key)
{
    for (auto& kv : ParseForm(body))
        if (kv.first == key)
            return kv.second;
    return std::string();
}

std::string XmlEscape(const std::string& s)
{
    std::string out;
    for (char c : s)
    {
        switch (c)
        {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string Base64Decode(const std::string& in)
{
    static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned buffer = 0;
    int bits = 0;
    for (char c : in)
    {
        size_t v = alphabet.find(c);
        if (v == std::string::npos)
            continue; // '=' fill and anything else
        buffer = (buffer << 6) | (unsigned)v;
        bits += 6;
        if (bits >= 8)
        {
            out += char((buffer >> (bits - 8)) & 0xFF);
            bits -= 8;
        }
    }
    return out;
}

std::string DecodeFieldBody(const std::string& body, const std::string& prefix)
{
    if (!text::StartsWith(body, prefix))
        return std::string();
    std::string b64 = body.substr(prefix.size());
    for (size_t at; (at = b64.find("%2B")) != std::string::npos;)
        b64.replace(at, 3, "+");
    return Base64Decode(b64);
}
} // namespace text
