#include "StandInSettings.h"
#include "StandInPlayer.h"

namespace
{

std::wstring Lower(BSTR text)
{
    std::wstring out = text ? text : L"";
    for (wchar_t& c : out)
        c = towlower(c);
    return out;
}
} // namespace

StandInSettings::StandInSettings(StandInPlayer* player) : m_player(player)
{
    m_modes[L"loop"] = false;
    m_modes[L"shuffle"] = false;
    m_modes[L"autorewind"] = true;
    m_modes[L"showframe"] = false;
}

bool StandInSettings::Mode(const wchar_t* name) const
{
    auto it = m_modes.find(name);
    return it != m_modes.end() && it->second;
}

STDMETHODIMP StandInSettings::get_isAvailable(BSTR, VARIANT_BOOL* available)
{
    return OutBool(true, available);
}

STDMETHODIMP StandInSettings::get_autoStart(VARIANT_BOOL* autoStart)
{
    return OutBool(m_autoStart, autoStart);
}

STDMETHODIMP StandInSettings::put_autoStart(VARIANT_BOOL autoStart)
{
    m_autoStart = autoStart != VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP StandInSettings::get_baseURL(BSTR* url)
{
    return OutText(m_baseURL, url);
}

STDMETHODIMP StandInSettings::put_baseURL(BSTR url)
{
    m_baseURL = url ? url : L"";
    return S_OK;
}

STDMETHODIMP StandInSettings::get_defaultFrame(BSTR* frame)
{
    return OutText(m_defaultFrame, frame);
}

STDMETHODIMP StandInSettings::put_defaultFrame(BSTR frame)
{
    m_defaultFrame = frame ? frame : L"";
    return S_OK;
}

STDMETHODIMP StandInSettings::get_invokeURLs(VARIANT_BOOL* invoke)
{
    return OutBool(m_invokeURLs, invoke);
}

STDMETHODIMP StandInSettings::put_invokeURLs(VARIANT_BOOL invoke)
{
    m_invokeURLs = invoke != VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP StandInSettings::get_mute(VARIANT_BOOL* mute)
{
    return OutBool(m_mute, mute);
}

STDMETHODIMP StandInSettings::put_mute(VARIANT_BOOL mute)
{
    m_mute = mute != VARIANT_FALSE;
    m_player->ApplyVolume();
    return S_OK;
}

STDMETHODIMP StandInSettings::get_playCount(LONG* count)
{
    return OutValue(m_playCount, count);
}

STDMETHODIMP StandInSettings::put_playCount(LONG count)
{
    if (count < 1)
        return E_INVALIDARG;
    m_playCount = count;
    return S_OK;
}

STDMETHODIMP StandInSettings::get_rate(double* rate)
{
    return OutValue(m_rate, rate);
}

STDMETHODIMP StandInSettings::put_rate(double rate)
{
    if (rate <= 0)
        return E_INVALIDARG;
    m_rate = rate;
    return S_OK;
}

STDMETHODIMP StandInSettings::get_balance(LONG* balance)
{
    return OutValue(m_balance, balance);
}

STDMETHODIMP StandInSettings::put_balance(LONG balance)
{
    if (balance < -100 || balance > 100)
        return E_INVALIDARG;
    m_balance = balance;
    return S_OK;
}

STDMETHODIMP StandInSettings::get_volume(LONG* volume)
{
    return OutValue(m_volume, volume);
}

STDMETHODIMP StandInSettings::put_volume(LONG volume)
{
    // Out-of-range volumes are clamped, as the platform's player does.
    m_volume = volume < 0 ? 0 : volume > 100 ? 100 : volume;
    m_player->ApplyVolume();
    return S_OK;
}

STDMETHODIMP StandInSettings::getMode(BSTR mode, VARIANT_BOOL* value)
{
    auto it = m_modes.find(Lower(mode));
    if (it == m_modes.end())
        return E_INVALIDARG;
    return OutBool(it->second, value);
}

STDMETHODIMP StandInSettings::setMode(BSTR mode, VARIANT_BOOL value)
{
    auto it = m_modes.find(Lower(mode));
    if (it == m_modes.end())
        return E_INVALIDARG;
    it->second = value != VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP StandInSettings::get_enableErrorDialogs(VARIANT_BOOL* enable)
{
    return OutBool(m_errorDialogs, enable);
}

STDMETHODIMP StandInSettings::put_enableErrorDialogs(VARIANT_BOOL enable)
{
    m_errorDialogs = enable != VARIANT_FALSE;
    return S_OK;
}
