#pragma once
#include <stdio.h>
#include "PixFile.h"

// A CPixFile over a C stream. A stream handed in is never closed by the object;
// one opened by Open is closed on Close and on destruction.
class PIX_EXPORT CPixIOFile : public CPixFile
{
public:
    CPixIOFile(FILE* stream = nullptr);
    // A copy shares the stream but never owns it, so that only the original closes it.
    CPixIOFile(const CPixIOFile& other);
    ~CPixIOFile() override;
    CPixIOFile& operator=(const CPixIOFile& other);

    bool Open(const wchar_t* fileName, const wchar_t* mode);

    bool Close() override;
    size_t Read(void* buffer, size_t size, size_t count) override;
    size_t Write(const void* buffer, size_t size, size_t count) override;
    bool Seek(long offset, int origin) override;
    long Tell() override;
    long Size() override;
    bool Flush() override;
    bool Eof() override;
    long Error() override;
    bool PutC(unsigned char c) override;
    long GetC() override;
    char* GetS(char* buffer, int n) override;
    long Scanf(const char* format, void* output) override;

protected:
    FILE* m_fp;
    bool m_bCloseFile;
};
