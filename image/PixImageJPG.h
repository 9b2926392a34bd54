#pragma once
#include "PixExifInfo.h"
#include "PixImage.h"

// JPEG files through libjpeg, with the resolution taken from the EXIF block or
// the JFIF header.
class CPixImageJPG : public CPixImage
{
public:
    CPixImageJPG();
    ~CPixImageJPG() override;
    CPixImageJPG(const CPixImageJPG&) = delete;
    CPixImageJPG& operator=(const CPixImageJPG&) = delete;

    bool Decode(CPixFile* hFile);
    bool Encode(CPixFile* hFile);

    const ExifRecord& GetExifInfo() const { return m_exifinfo; }

    // Steps of the decode and encode that run between libjpeg calls.
    bool DecodeStart(void* cinfo);
    void DecodeLine(const BYTE* line, long y, int components, bool quantized);
    void EncodeLine(BYTE* line, long y, int components);

    CPixExifInfo* m_exif;
    ExifRecord m_exifinfo;
    int m_nPredictor;
    int m_nPointTransform;
    int m_nSmoothing;
    int m_nQuantize;
    int m_nDither;
};
