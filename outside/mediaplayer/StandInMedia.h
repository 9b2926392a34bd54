#pragma once
#include "StandInDispatch.h"
#include <wmp.h>
#include <map>
#include <string>

// The song the stand-in player has open: its address, duration and the item
// information a player reads from the file (title, author, size, type, tags).
class StandInMedia : public IWMPMedia
{
  public:
    explicit StandInMedia(const std::wstring& url);

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STANDIN_NO_DISPATCH

    STDMETHODIMP get_isIdentical(IWMPMedia* other, VARIANT_BOOL* same) override;
    STDMETHODIMP get_sourceURL(BSTR* url) override;
    STDMETHODIMP get_name(BSTR* name) override;
    STDMETHODIMP put_name(BSTR name) override;
    STDMETHODIMP get_imageSourceWidth(LONG* width) override;
    STDMETHODIMP get_imageSourceHeight(LONG* height) override;
    STDMETHODIMP get_markerCount(LONG* count) override;
    STDMETHODIMP getMarkerTime(LONG, double*) override { return E_INVALIDARG; }
    STDMETHODIMP getMarkerName(LONG, BSTR*) override { return E_INVALIDARG; }
    STDMETHODIMP get_duration(double* duration) override;
    STDMETHODIMP get_durationString(BSTR* duration) override;
    STDMETHODIMP get_attributeCount(LONG* count) override;
    STDMETHODIMP getAttributeName(LONG index, BSTR* name) override;
    STDMETHODIMP getItemInfo(BSTR name, BSTR* value) override;
    STDMETHODIMP setItemInfo(BSTR name, BSTR value) override;
    STDMETHODIMP getItemInfoByAtom(LONG, BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP isMemberOf(IWMPPlaylist*, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP isReadOnlyItem(BSTR name, VARIANT_BOOL* readOnly) override;

    // Filled by the player from what the decoder found.
    void SetDuration(double seconds);
    void SetInfo(const std::wstring& name, const std::wstring& value);
    double Duration() const { return m_duration; }

    // "m:ss" (or "h:mm:ss") text of a time in seconds, as players show it.
    static std::wstring TimeText(double seconds);

  private:
    virtual ~StandInMedia() = default;

    LONG m_refs = 1;
    std::wstring m_url;
    double m_duration = 0;
    std::map<std::wstring, std::wstring> m_info;
};
