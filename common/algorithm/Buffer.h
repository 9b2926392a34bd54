#pragma once
#include "FwString.h"

// A growable memory file: bytes on the C heap with a position, a capacity
// that grows in whole steps, and a size (the high-water mark of what was
// written or set). Only data the buffer owns is freed. The operations are
// virtual so that a buffer over other memory can replace the allocator.
class Buffer
{
  public:
    explicit Buffer(long growStep = 1024);

    virtual void* Allocate(size_t bytes);
    virtual void* Reallocate(void* data, size_t bytes);
    virtual void Copy(void* target, const void* source, size_t bytes);
    virtual void Free(void* data);
    // Raises the capacity in whole grow steps until it holds n bytes; FALSE
    // when memory is short (the data stays as it was).
    virtual BOOL Grow(long n);
    virtual ~Buffer();
    virtual long GetPosition() const;
    virtual long GetRemaining() const;
    virtual long GetSize();
    // origin 0 from the start, 1 from the position, 2 from the size; any
    // other origin gives -1. Returns the new position.
    virtual long Seek(long offset, int origin);
    virtual BOOL SetLength(long n);
    virtual long Read(void* target, long n);
    virtual long Write(const void* source, long n);
    virtual void Close();
    virtual void Rewind();
    virtual void Clear();
    // Mode 0: the readable range from the position (n -1: to the end), and the
    // position moves over it; mode 1: grows and gives the writable range; mode
    // 2: commits n bytes written in place; mode 3: 1. Modes 0 and 1 return
    // the range's length.
    virtual long DirectAccess(int mode, long n, BYTE** begin, BYTE** end);
    // Up to maxBytes from the position, decoded with the code page.
    virtual CString ToWideString(long maxBytes, UINT codePage);

    const BYTE* GetData() const { return m_data; }

  private:
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

    long m_growStep;
    long m_position;
    long m_capacity;
    long m_size;
    BYTE* m_data;
    BOOL m_ownsData;
};
