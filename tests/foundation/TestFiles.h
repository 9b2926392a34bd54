// A scratch folder per test under the Windows temp folder, removed afterwards.
#pragma once

#include "Framework.h"

#include <string>

class ScratchFolder
{
  public:
    ScratchFolder();
    ~ScratchFolder();
    CString Path(LPCWSTR name) const; // folder + "\" + name
    const CString& Folder() const { return m_folder; }

  private:
    CString m_folder;
};

std::string ReadFileBytes(LPCWSTR path);
void WriteFileBytes(LPCWSTR path, const std::string& bytes);
CString DataPath(LPCWSTR name); // YEB_TEST_DATA + "\" + name
// The Base32 name of the SHA-1 of bytes, as songs and files are named.
CString Sha1NameOf(const std::string& bytes);
