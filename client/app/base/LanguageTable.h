// The table of user-visible texts, read by key (INFO_..., STR_..., CONST_...)
// from the language file "lng\default.LNG": UTF-16 little-endian with a
// byte-order mark, key=value lines ending in CR LF, ";" comments, lines
// beginning with "[" ignored, "$equal" standing for "=" in a text.
#pragma once

#include "Framework.h"

#include <map>
#include <mutex>
#include <stdio.h>

class LanguageTable
{
  public:
    LanguageTable();
    ~LanguageTable();

    // Loads a language file; returns whether it was loaded. The table is
    // emptied first, also when the load fails.
    bool Load(LPCWSTR path);
    bool IsLoaded() const { return m_bLoaded; }
    // The text of key ("" when no file is loaded or the key is unknown; an
    // unknown key is remembered with an empty text). The result lives in a
    // buffer of the calling thread that its next lookup overwrites: copy it
    // before a second lookup.
    const CString& GetString(LPCWSTR key);

    // The one table of the process.
    static LanguageTable& Instance();

    // Longest key kept (longer keys are cut to this length).
    static const int MaxKeyLength = 49;
    // Longest line read at once; the rest of a longer line is a further line.
    static const int MaxLineLength = 512;

  private:
    LanguageTable(const LanguageTable&) = delete;
    LanguageTable& operator=(const LanguageTable&) = delete;
    void StoreLine(const wchar_t* line, int length);

    std::map<CString, CString> m_texts;
    FILE* m_file;
    bool m_bLoaded;
    std::mutex m_lock;
};

// A copy of the text of key in the process's table.
CString Lang(LPCWSTR key);
