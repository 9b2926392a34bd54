#pragma once
#include <stddef.h>
#include "PixExport.h"

// Abstract byte stream through which every codec reads and writes, so that the
// same decoder and encoder serve a C stream and a block of memory.
class PIX_EXPORT CPixFile
{
public:
    CPixFile();
    CPixFile(const CPixFile& other);
    virtual ~CPixFile();
    CPixFile& operator=(const CPixFile& other);

    virtual bool Close() = 0;
    virtual size_t Read(void* buffer, size_t size, size_t count) = 0;
    virtual size_t Write(const void* buffer, size_t size, size_t count) = 0;
    virtual bool Seek(long offset, int origin) = 0;
    virtual long Tell() = 0;
    virtual long Size() = 0;
    virtual bool Flush() = 0;
    virtual bool Eof() = 0;
    virtual long Error() = 0;
    virtual bool PutC(unsigned char c);
    virtual long GetC() = 0;
    virtual char* GetS(char* buffer, int n) = 0;
    virtual long Scanf(const char* format, void* output) = 0;
};
