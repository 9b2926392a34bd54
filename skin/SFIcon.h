// The images of one command at one width: up to eight icon handles for its
// drawing states (normal first), with an attribute word.
#pragma once
#include "SFIconHandle.h"

class CSFIconSet;

class CSFIcon : public CCmdTarget
{
    DECLARE_DYNCREATE(CSFIcon)
public:
    CSFIcon();
    ~CSFIcon() override;

    enum
    {
        kImageCount = 8,
        kFormatVersion = 33,
        kLoaderAttributes = 15
    };

    UINT GetId() const { return m_id; }
    int GetWidth() const { return m_width; }
    DWORD GetAttributes() const { return m_attributes; }
    CSFIconHandle& Image(int index) { return m_images[index]; }
    void Init(CSFIconSet* set, UINT id, int width, CSFImageManager* owner);
    // Releases the eight images.
    void Clear();

    // The attribute word, the format version, then the images 1, 7, 4, 5
    // (version above 7) and 6 (above 16); images 2, 3 and 8 are not stored.
    void Serialize(CArchive& ar) override;

private:
    UINT m_id;
    int m_width;
    DWORD m_attributes;
    CSFIconHandle m_images[kImageCount];
    CSFIconSet* m_set;
};
