#pragma once
#include "PixFile.h"

// A CPixFile over a growable block of C-heap memory. The buffer grows in steps
// of 64 KiB; once grown (or opened empty) the object owns it and frees it on Close.
class CPixMemFile : public CPixFile
{
public:
    PIX_EXPORT CPixMemFile(unsigned char* buffer = nullptr, long size = 0);
    // A copy gets its own copy of the content, so that the two never free one buffer twice.
    PIX_EXPORT CPixMemFile(const CPixMemFile& other);
    ~CPixMemFile() override;
    PIX_EXPORT CPixMemFile& operator=(const CPixMemFile& other);

    bool Open();
    unsigned char* GetBuffer(bool detach = true);

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

    long Capacity() const { return m_Edge; }

protected:
    bool Alloc(unsigned long bytes);
    void CopyFrom(const CPixMemFile& other);

    unsigned char* m_pBuffer;
    long m_Size;
    bool m_bFreeOnClose;
    long m_Position;
    long m_Edge; // capacity
};
