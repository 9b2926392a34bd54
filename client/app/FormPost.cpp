#include "FormPost.h"
#include "Base64Codec.h"
#include "FwInternet.h"
#include "UrlDecoder.h"
#include <climits>
#include <memory>
#include <vector>

BOOL PostForm(LPCWSTR host, int port, LPCWSTR path, const CStringA& body, DWORD* status, CStringA* answer,
              DWORD maxAnswer)
{
    if (status)
        *status = 0;
    if (answer)
        answer->Empty();
    try
    {
        CInternetSession session;
        std::unique_ptr<CHttpConnection> connection(session.GetHttpConnection(host, (INTERNET_PORT)port));
        std::unique_ptr<CHttpFile> file(connection->OpenRequest(CHttpConnection::HTTP_VERB_POST, path));
        CString headers = L"Content-Type: application/x-www-form-urlencoded";
        file->SendRequest(headers, (LPVOID)body.GetString(), (DWORD)body.GetLength());
        DWORD code = 0;
        file->QueryInfoStatusCode(code);
        if (status)
            *status = code;
        if (answer && maxAnswer > 0)
        {
            std::vector<char> bytes(maxAnswer);
            DWORD got = 0;
            UINT n;
            while (got < maxAnswer && (n = file->Read(&bytes[got], maxAnswer - got)) > 0)
                got += n;
            *answer = CStringA(&bytes[0], (int)got);
        }
        file->Close();
        return TRUE;
    }
    catch (CInternetException* e)
    {
        e->Delete();
        return FALSE;
    }
}

CStringA Utf8Cut(LPCWSTR text, int maxBytes)
{
    std::string bytes = FwWideToMultiByte(text ? text : L"", -1, CP_UTF8);
    if ((int)bytes.size() > maxBytes)
    {
        size_t cut = maxBytes < 0 ? 0 : (size_t)maxBytes;
        // Back up over continuation bytes so that no character is split.
        while (cut > 0 && ((unsigned char)bytes[cut] & 0xC0) == 0x80)
            --cut;
        bytes.resize(cut);
    }
    return CStringA(bytes);
}

CStringA EncodeFormValue(LPCWSTR text, int maxBytes)
{
    CStringA bytes = Utf8Cut(text, maxBytes);
    std::vector<char> encoded(bytes.GetLength() * 3 + 1);
    UrlEncodeForm(bytes, &encoded[0], (int)encoded.size());
    return CStringA(&encoded[0]);
}

CStringA Base64FieldBody(const char* prefix, LPCWSTR text)
{
    CStringA utf8 = Utf8Cut(text, INT_MAX);
    if (utf8.IsEmpty())
        return CStringA();
    std::vector<char> base64((utf8.GetLength() + 2) / 3 * 4 + 1);
    Base64Codec codec;
    codec.Encode((const BYTE*)utf8.GetString(), &base64[0], utf8.GetLength());
    CStringA body = prefix;
    body += &base64[0];
    body.Replace("+", "%2B");
    return body;
}
