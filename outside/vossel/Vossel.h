#pragma once
// Vossel: the messaging library through which the client logs in and exchanges
// command records with the service and its buddies.
//
// Texts are zero-terminated UTF-16. Everything the service says arrives through
// the callback given to yebJinClientLogin, on a thread of the library, as one
// CommandData record that the library owns and frees after the callback returns.
#include <windows.h>
#include <oleauto.h>
#include <new>

#ifdef VOSSEL_EXPORTS
#define VOSSEL_API __declspec(dllexport)
#else
#define VOSSEL_API __declspec(dllimport)
#endif

// One text slot of a command record: a BSTR that is never null. A fresh slot
// holds an allocated empty text; assigning copies the new text by its byte
// length and frees the old one (nothing happens when both are the same
// allocation). A failed allocation throws std::bad_alloc (the out-of-memory
// error) and leaves the old text in place.
class CommandText
{
  public:
    CommandText() : m_str(Allocate(L"")) {}
    CommandText(const CommandText& other) : m_str(CopyOf(other.m_str)) {}
    ~CommandText() { ::SysFreeString(m_str); }

    CommandText& operator=(const CommandText& other)
    {
        if (m_str != other.m_str)
            Replace(CopyOf(other.m_str));
        return *this;
    }
    // A null text is stored as the empty text.
    CommandText& operator=(const wchar_t* text)
    {
        if (text != m_str)
            Replace(Allocate(text ? text : L""));
        return *this;
    }

    operator BSTR() const { return m_str; }
    UINT Length() const { return ::SysStringLen(m_str); }
    bool IsEmpty() const { return Length() == 0; }

    BSTR m_str;

  private:
    static BSTR Allocate(const wchar_t* text)
    {
        BSTR s = ::SysAllocString(text);
        if (!s)
            throw std::bad_alloc();
        return s;
    }
    static BSTR CopyOf(BSTR src)
    {
        if (!src)
            return Allocate(L"");
        BSTR s = ::SysAllocStringByteLen(reinterpret_cast<LPCSTR>(src), ::SysStringByteLen(src));
        if (!s)
            throw std::bad_alloc();
        return s;
    }
    void Replace(BSTR fresh)
    {
        ::SysFreeString(m_str);
        m_str = fresh;
    }
};

// The command record: eight text slots, the command code and one further
// number. The slots are destroyed s8 first and s1 last. A new record has
// every slot empty, extra 0 and code 0 (no command; every builder sets it).
class CommandData
{
  public:
    CommandData() : code(0), extra(0) {}
    CommandData(const CommandData& other) = default;
    CommandData& operator=(const CommandData& other) = default;
    virtual ~CommandData() {}

    CommandText s1, s2, s3, s4, s5, s6, s7, s8;
    int code;
    int extra;
};

// The callback of yebJinClientLogin; it runs on a library thread.
typedef void(CALLBACK* YebJinCommandCallback)(CommandData* record);

extern "C" {
// Tells the library the servers of the next login: pairs of host name and
// address joined by "&"; the first pair names the messaging server (its
// address may end in ":port").
VOSSEL_API void yebJinSetOptions(const wchar_t* options);
// Starts logging in and returns at once; code 1 (logged in) or code 25 (error
// name in s4) follows through the callback.
VOSSEL_API int yebJinClientLogin(const wchar_t* user, const wchar_t* password, const wchar_t* reserved,
                                 YebJinCommandCallback callback, HWND window);
// Sends one command record; the record stays the caller's.
VOSSEL_API int yebJinPushCommand(CommandData& record);
VOSSEL_API int yebJinMessage(const wchar_t* buddy, const wchar_t* text);
VOSSEL_API int yebJinAddFriend(const wchar_t* address, const wchar_t* text);
VOSSEL_API int yebJinDelFriend(const wchar_t* buddy);
VOSSEL_API void yebJinAccept(const wchar_t* requester, int accept);
VOSSEL_API void yebJinReject(const wchar_t* requester);
// Ends the running song transfer from a buddy; the part received stays in the
// cache file and a later request for the song resumes it.
VOSSEL_API void yebJinCancelOldSession();
// Ends the connection; no callback runs after it returns.
VOSSEL_API void yebJinRelease(int reason);
}
