#include "PartFileDownload.h"

#include "FwInternet.h"

#include <memory>

namespace
{

// The ".part" file: closed, and removed unless kept, when it goes out of scope.
struct PartFile
{
    CString path;
    HANDLE handle = INVALID_HANDLE_VALUE;
    bool keep = false;
    ~PartFile()
    {
        Close();
        if (!keep && !path.IsEmpty())
            DeleteFileW(path);
    }
    void Close()
    {
        if (handle != INVALID_HANDLE_VALUE)
        {
            FlushFileBuffers(handle);
            CloseHandle(handle);
        }
        handle = INVALID_HANDLE_VALUE;
    }
};

} // namespace

PartFileDownload::Result PartFileDownload::Run()
{
    status = 0;
    announced = -1;
    received = 0;
    PartFile part;
    try
    {
        CInternetSession session(nullptr, 1, PRE_CONFIG_INTERNET_ACCESS);
        std::unique_ptr<CHttpFile> request;
        try
        {
            request.reset(session.OpenURL(url, 1, INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_TRANSFER_BINARY));
        }
        catch (CInternetException* e)
        {
            e->Delete();
        }
        if (!request)
            return NO_CONNECTION;
        // The request went out when the address was opened; the headers are
        // kept for servers that look at the request object afterwards.
        request->AddRequestHeaders(L"Accept: text/*\r\nUser-Agent: Qelmor Update\r\n", HTTP_ADDREQ_FLAG_ADD_IF_NEW);
        request->QueryInfoStatusCode(status);
        if (status == 407 && proxyResend)
        {
            request->SetOption(INTERNET_OPTION_PROXY_USERNAME, (LPVOID)L"", 0);
            request->SetOption(INTERNET_OPTION_PROXY_PASSWORD, (LPVOID)L"", 0);
            request->SendRequest();
            request->QueryInfoStatusCode(status);
        }
        if (status != 200)
            return NO_CONNECTION;
        CString lengthText;
        if (request->QueryInfo(HTTP_QUERY_CONTENT_LENGTH, lengthText) && !lengthText.IsEmpty())
            announced = _wtoi64(lengthText);
        if (announced < 0)
            announced = -1;
        if (onSize)
            onSize(announced);
        long long limit = lengthRequired && announced < 0 ? 0 : announced;

        part.path = path + L".part";
        part.handle = CreateFileW(part.path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (part.handle == INVALID_HANDLE_VALUE)
        {
            part.path.Empty(); // not ours to remove
            return FILE_FAILED;
        }
        BYTE block[8192];
        for (;;)
        {
            UINT got = 0;
            if (stopRequested && stopRequested())
                return TRANSFER_FAILED;
            try
            {
                got = request->Read(block, sizeof(block));
            }
            catch (CInternetException* e)
            {
                e->Delete();
                return TRANSFER_FAILED;
            }
            if (got < 1)
                break;
            DWORD written = 0;
            if (!WriteFile(part.handle, block, got, &written, nullptr) || written != got)
                return TRANSFER_FAILED;
            received += got;
            if (onBlock)
                onBlock(received);
            // More than announced or allowed can never end well.
            if ((limit >= 0 && received > limit) || (maxBytes >= 0 && received > maxBytes))
                return TRANSFER_FAILED;
        }
        if (limit >= 0 && received != limit)
            return TRANSFER_FAILED;
    }
    catch (CException* e)
    {
        e->Delete();
        return part.handle == INVALID_HANDLE_VALUE ? NO_CONNECTION : TRANSFER_FAILED;
    }
    part.Close();
    if (!MoveFileExW(part.path, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return TRANSFER_FAILED;
    part.keep = true;
    return DONE;
}
