// One update package, a zip archive, read through minizip. Entries are found
// by the file names of the manifest; each is read whole and checked against
// the size and CRC-32 recorded in the archive before any of it is used.
#pragma once

#include "Framework.h"

#include <vector>

// Largest entry a package may hold (64 MiB).
const DWORD ZIP_MAX_ENTRY_SIZE = 64u * 1024 * 1024;

class CZipPackage
{
  public:
    CZipPackage() : m_zip(nullptr) {}
    ~CZipPackage() { Close(); }

    // FALSE when the file is no zip archive or holds two entries of one name
    // (letter case and '\\' against '/' ignored).
    BOOL Open(LPCWSTR path);
    void Close();
    BOOL IsOpen() const { return m_zip != nullptr; }

    // The bytes of the entry called name ('\' and '/' both separate levels;
    // letter case ignored). FALSE when there is no such entry, when it is a
    // folder, larger than maxBytes, shorter than recorded, or its CRC differs.
    BOOL ReadEntry(LPCWSTR name, std::vector<BYTE>& bytes, DWORD maxBytes = ZIP_MAX_ENTRY_SIZE);

  private:
    CZipPackage(const CZipPackage&) = delete;
    CZipPackage& operator=(const CZipPackage&) = delete;
    BOOL Locate(LPCWSTR name);
    BOOL HasUniqueNames();

    void* m_zip;
};
