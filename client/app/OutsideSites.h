// The outside music sites the client opens in its web song browser: the two
// search sites of the browser's toolbar, the music search and its link
// redirects (whose targets are song files), and the host of their covers.
#pragma once
#include "Framework.h"

class COutsideSites
{
  public:
    static const wchar_t* const SearchSite1Home;
    static const wchar_t* const SearchSite2Home;
    // The start page of the radio channel of the main window's left bar.
    static const wchar_t* const RadioChannelHome;
    // Links of the search's result pages go through this redirect; the song
    // file's address is its "q=" value.
    static const wchar_t* const RedirectPrefix;
    // Cover pictures: prefix + album key + ".jpg".
    static const wchar_t* const CoverPrefix;

    // The music search for text: UTF-8, form-encoded, as "q=%s&aq=f".
    static CString MusicSearchUrl(LPCWSTR text);
    // UTF-8 of text, form-encoded. The buffer holds the worst case: every
    // byte written as "%XX" plus the terminator (3n + 1).
    static CString FormEncodeUtf8(LPCWSTR text);
};
