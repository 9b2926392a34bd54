#include "Locvane.h"

#include <wincrypt.h>

#include <string>
#include <vector>

// Cipher text layout (before hex coding):
//   1 byte format version, 16 bytes salt, 16 bytes CBC start vector,
//   AES-256-CBC cipher text of the UTF-8 plain text (PKCS#7 padding),
//   32 bytes HMAC-SHA-256 over everything before it.
// The two keys (cipher and MAC) are stretched from the key text and the salt,
// so one key text never gives the same cipher text twice.
namespace
{
typedef std::vector<BYTE> Bytes;

const BYTE kVersion = 1;
const size_t kSaltSize = 16, kIvSize = 16, kMacSize = 32, kKeySize = 32, kBlock = 16;
const int kStretchRounds = 2048;
const wchar_t kLicencePhrase[] = L"Seven quiet herons walk past the mills.";

// One CryptoAPI provider for the life of an operation.
class Provider
{
  public:
    Provider()
    {
        if (!::CryptAcquireContextW(&m_handle, NULL, NULL, PROV_RSA_AES, CRYPT_VERIFYCONTEXT | CRYPT_SILENT))
            m_handle = 0;
    }
    ~Provider()
    {
        if (m_handle)
            ::CryptReleaseContext(m_handle, 0);
    }
    Provider(const Provider&) = delete;
    Provider& operator=(const Provider&) = delete;
    HCRYPTPROV Get() const { return m_handle; }

  private:
    HCRYPTPROV m_handle = 0;
};

bool Sha256(HCRYPTPROV provider, const std::initializer_list<const Bytes*>& parts, Bytes& digest)
{
    HCRYPTHASH hash = 0;
    if (!::CryptCreateHash(provider, CALG_SHA_256, 0, 0, &hash))
        return false;
    bool ok = true;
    for (const Bytes* part : parts)
        if (!part->empty() && !::CryptHashData(hash, part->data(), static_cast<DWORD>(part->size()), 0))
            ok = false;
    DWORD size = kMacSize;
    digest.assign(kMacSize, 0);
    if (ok && !::CryptGetHashParam(hash, HP_HASHVAL, digest.data(), &size, 0))
        ok = false;
    ::CryptDestroyHash(hash);
    return ok && size == kMacSize;
}

bool HmacSha256(HCRYPTPROV provider, const Bytes& key, const Bytes& message, Bytes& mac)
{
    // The key is at most one SHA-256 block (64 bytes) here: it is a digest.
    Bytes inner(64, 0x36), outer(64, 0x5c);
    for (size_t i = 0; i < key.size() && i < 64; ++i)
    {
        inner[i] ^= key[i];
        outer[i] ^= key[i];
    }
    Bytes innerDigest;
    return Sha256(provider, {&inner, &message}, innerDigest) && Sha256(provider, {&outer, &innerDigest}, mac);
}

Bytes Utf8(const wchar_t* text)
{
    Bytes bytes;
    int n = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, NULL, 0, NULL, NULL);
    if (n > 1)
    {
        bytes.resize(n);
        ::WideCharToMultiByte(CP_UTF8, 0, text, -1, reinterpret_cast<char*>(bytes.data()), n, NULL, NULL);
        bytes.resize(n - 1);
    }
    return bytes;
}

// A key of kKeySize bytes for one purpose ('E' cipher, 'M' MAC).
bool StretchKey(HCRYPTPROV provider, const wchar_t* keyText, const Bytes& salt, BYTE purpose, Bytes& key)
{
    Bytes secret = Utf8(keyText);
    Bytes label(1, purpose);
    if (!Sha256(provider, {&label, &salt, &secret}, key))
        return false;
    for (int round = 1; round < kStretchRounds; ++round)
    {
        Bytes next;
        if (!Sha256(provider, {&key, &salt, &secret}, next))
            return false;
        key.swap(next);
    }
    return true;
}

// The cipher key and the MAC key of a key text and salt.
bool DeriveKeys(HCRYPTPROV provider, const wchar_t* keyText, const Bytes& salt, Bytes& cipherKey, Bytes& macKey)
{
    return StretchKey(provider, keyText, salt, 'E', cipherKey) && StretchKey(provider, keyText, salt, 'M', macKey);
}

// An AES-256 key in CBC mode with the given start vector.
class AesKey
{
  public:
    AesKey(HCRYPTPROV provider, const Bytes& key, const Bytes& iv)
    {
        struct
        {
            BLOBHEADER header;
            DWORD size;
            BYTE bytes[kKeySize];
        } blob{};
        blob.header.bType = PLAINTEXTKEYBLOB;
        blob.header.bVersion = CUR_BLOB_VERSION;
        blob.header.aiKeyAlg = CALG_AES_256;
        blob.size = kKeySize;
        memcpy(blob.bytes, key.data(), kKeySize);
        if (!::CryptImportKey(provider, reinterpret_cast<const BYTE*>(&blob), sizeof(blob), 0, 0, &m_key))
            m_key = 0;
        SecureZeroMemory(&blob, sizeof(blob));
        DWORD mode = CRYPT_MODE_CBC;
        if (m_key && (!::CryptSetKeyParam(m_key, KP_MODE, reinterpret_cast<const BYTE*>(&mode), 0) ||
                      !::CryptSetKeyParam(m_key, KP_IV, iv.data(), 0)))
        {
            ::CryptDestroyKey(m_key);
            m_key = 0;
        }
    }
    ~AesKey()
    {
        if (m_key)
            ::CryptDestroyKey(m_key);
    }
    AesKey(const AesKey&) = delete;
    AesKey& operator=(const AesKey&) = delete;
    HCRYPTKEY Get() const { return m_key; }

  private:
    HCRYPTKEY m_key = 0;
};

std::wstring ToHex(const Bytes& bytes)
{
    static const wchar_t digits[] = L"0123456789ABCDEF";
    std::wstring text;
    text.reserve(bytes.size() * 2);
    for (BYTE b : bytes)
    {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

bool FromHex(const wchar_t* text, Bytes& bytes)
{
    auto value = [](wchar_t c) -> int {
        if (c >= L'0' && c <= L'9')
            return c - L'0';
        if (c >= L'A' && c <= L'F')
            return c - L'A' + 10;
        if (c >= L'a' && c <= L'f')
            return c - L'a' + 10;
        return -1;
    };
    size_t n = wcslen(text);
    if (n % 2)
        return false;
    bytes.resize(n / 2);
    for (size_t i = 0; i < n; i += 2)
    {
        int high = value(text[i]), low = value(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes[i / 2] = static_cast<BYTE>(high * 16 + low);
    }
    return true;
}

bool EqualInConstantTime(const BYTE* a, const BYTE* b, size_t n)
{
    BYTE difference = 0;
    for (size_t i = 0; i < n; ++i)
        difference |= a[i] ^ b[i];
    return difference == 0;
}

BSTR AllocText(const std::wstring& text)
{
    return ::SysAllocStringLen(text.c_str(), static_cast<UINT>(text.size()));
}
} // namespace

CLocvane::CLocvane() : m_unlocked(0) {}

CLocvane::~CLocvane() {}

int CLocvane::Check(const wchar_t* phrase)
{
    m_unlocked = phrase && wcscmp(phrase, kLicencePhrase) == 0 ? 1 : 0;
    return m_unlocked;
}

// The checks both operations begin with; 0 when they may go on.
static long Precondition(int unlocked, const wchar_t* key, const wchar_t* text, BSTR* out)
{
    if (!out)
        return LOCVANE_E_ARGUMENT;
    *out = NULL;
    if (!unlocked)
        return LOCVANE_E_LOCKED;
    return key && text ? 0 : LOCVANE_E_ARGUMENT;
}

long CLocvane::Encrypt(const wchar_t* key, const wchar_t* plainText, BSTR* out)
{
    if (long refused = Precondition(m_unlocked, key, plainText, out))
        return refused;
    Provider provider;
    if (!provider.Get())
        return LOCVANE_E_CRYPTO;

    Bytes salt(kSaltSize), iv(kIvSize);
    if (!::CryptGenRandom(provider.Get(), kSaltSize, salt.data()) ||
        !::CryptGenRandom(provider.Get(), kIvSize, iv.data()))
        return LOCVANE_E_CRYPTO;
    Bytes cipherKey, macKey;
    if (!DeriveKeys(provider.Get(), key, salt, cipherKey, macKey))
        return LOCVANE_E_CRYPTO;

    Bytes body = Utf8(plainText);
    DWORD length = static_cast<DWORD>(body.size());
    body.resize(body.size() + kBlock);
    {
        AesKey aes(provider.Get(), cipherKey, iv);
        if (!aes.Get() || !::CryptEncrypt(aes.Get(), 0, TRUE, 0, body.data(), &length, static_cast<DWORD>(body.size())))
            return LOCVANE_E_CRYPTO;
    }
    body.resize(length);

    Bytes message(1, kVersion);
    message.insert(message.end(), salt.begin(), salt.end());
    message.insert(message.end(), iv.begin(), iv.end());
    message.insert(message.end(), body.begin(), body.end());
    Bytes mac;
    if (!HmacSha256(provider.Get(), macKey, message, mac))
        return LOCVANE_E_CRYPTO;
    message.insert(message.end(), mac.begin(), mac.end());
    *out = AllocText(ToHex(message));
    return *out ? 0 : LOCVANE_E_CRYPTO;
}

long CLocvane::Decrypt(const wchar_t* cipherText, const wchar_t* key, BSTR* out)
{
    if (long refused = Precondition(m_unlocked, key, cipherText, out))
        return refused;
    Bytes message;
    if (!FromHex(cipherText, message) || message.size() < 1 + kSaltSize + kIvSize + kBlock + kMacSize ||
        message[0] != kVersion || (message.size() - 1 - kSaltSize - kIvSize - kMacSize) % kBlock != 0)
        return LOCVANE_E_FORMAT;
    Provider provider;
    if (!provider.Get())
        return LOCVANE_E_CRYPTO;

    Bytes salt(message.begin() + 1, message.begin() + 1 + kSaltSize);
    Bytes iv(message.begin() + 1 + kSaltSize, message.begin() + 1 + kSaltSize + kIvSize);
    Bytes cipherKey, macKey;
    if (!DeriveKeys(provider.Get(), key, salt, cipherKey, macKey))
        return LOCVANE_E_CRYPTO;
    Bytes signedPart(message.begin(), message.end() - kMacSize), mac;
    if (!HmacSha256(provider.Get(), macKey, signedPart, mac))
        return LOCVANE_E_CRYPTO;
    if (!EqualInConstantTime(mac.data(), message.data() + signedPart.size(), kMacSize))
        return LOCVANE_E_INTEGRITY;

    Bytes body(signedPart.begin() + 1 + kSaltSize + kIvSize, signedPart.end());
    DWORD length = static_cast<DWORD>(body.size());
    {
        AesKey aes(provider.Get(), cipherKey, iv);
        if (!aes.Get() || !::CryptDecrypt(aes.Get(), 0, TRUE, 0, body.data(), &length))
            return LOCVANE_E_INTEGRITY;
    }
    int n = length ? ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(body.data()),
                                           static_cast<int>(length), NULL, 0)
                   : 0;
    if (length && n <= 0)
        return LOCVANE_E_FORMAT;
    std::wstring text(n, L'\0');
    if (n)
        ::MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(body.data()), static_cast<int>(length),
                              &text[0], n);
    SecureZeroMemory(body.data(), body.size());
    *out = AllocText(text);
    return *out ? 0 : LOCVANE_E_CRYPTO;
}
