#pragma once
// Locvane: the string encryption class with which the login dialog keeps the
// saved account. A text is encrypted under a key text; the result is a text
// again (upper-case hexadecimal) that fits an INI value. Decrypt gives the
// original text back only under the same key: a wrong key or a changed
// cipher text fails.
//
// Use: construct, Check the licence phrase once, then Encrypt and Decrypt.
// Result texts are BSTRs allocated by the library; the caller frees them with
// SysFreeString.
#include <windows.h>
#include <oleauto.h>

#ifdef LOCVANE_EXPORTS
#define LOCVANE_API __declspec(dllexport)
#else
#define LOCVANE_API __declspec(dllimport)
#endif

class LOCVANE_API CLocvane
{
  public:
    CLocvane();
    ~CLocvane();

    // Unlocks the object with the program's licence phrase; 1 when the phrase
    // is the one the library was made for, else 0 (and the object stays locked).
    int Check(const wchar_t* phrase);
    // 0 and the cipher text in *out; a non-zero error code and a null *out
    // when the object is locked, an argument is null or the platform's
    // cryptography fails.
    long Encrypt(const wchar_t* key, const wchar_t* plainText, BSTR* out);
    // 0 and the plain text in *out; non-zero and a null *out when the object is
    // locked, the text is not a cipher text of this library, or the key is not
    // the one it was made with, or the text was changed.
    long Decrypt(const wchar_t* cipherText, const wchar_t* key, BSTR* out);

  private:
    CLocvane(const CLocvane&) = delete;
    CLocvane& operator=(const CLocvane&) = delete;
    int m_unlocked;
};

// Error codes of Encrypt and Decrypt.
#define LOCVANE_E_LOCKED 1L
#define LOCVANE_E_ARGUMENT 2L
#define LOCVANE_E_CRYPTO 3L
#define LOCVANE_E_FORMAT 4L
#define LOCVANE_E_INTEGRITY 5L
