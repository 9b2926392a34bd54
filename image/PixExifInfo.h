#pragma once
#include "PixFile.h"

// What the EXIF block and the marker sections at the start of a JPEG file say.
struct ExifRecord
{
    char Version[5];
    char CameraMake[32];
    char CameraModel[40];
    char DateTime[20];
    int Height, Width;
    int Orientation;
    int IsColor;
    int Process;
    int FlashUsed;
    float FocalLength;
    float ExposureTime;
    float ApertureFNumber;
    float Distance;
    float CCDWidth;
    float ExposureBias;
    int Whitebalance;
    int MeteringMode;
    int ExposureProgram;
    int ISOequivalent;
    int CompressionLevel;
    float FocalplaneXRes;
    float FocalplaneYRes;
    float FocalplaneUnits;
    float Xresolution;
    float Yresolution;
    float ResolutionUnit;
    float Brightness;
    char Comments[1000];
    unsigned char* ThumbnailPointer;
    unsigned ThumbnailSize;
    bool IsExif;
};

// Reads the marker sections at the start of a JPEG file up to the compressed
// data, decoding the EXIF block and the first comment into an ExifRecord.
class CPixExifInfo
{
public:
    enum
    {
        MAX_SECTIONS = 20
    };
    explicit CPixExifInfo(ExifRecord* info = nullptr);
    ~CPixExifInfo();
    CPixExifInfo(const CPixExifInfo&) = delete;
    CPixExifInfo& operator=(const CPixExifInfo&) = delete;

    bool DecodeExif(CPixFile* hFile);
    const char* GetErrorText() const { return m_szLastError; }

protected:
    struct Section
    {
        unsigned char* Data;
        int Type;
        unsigned Size;
    };

    bool ProcessExif(const unsigned char* CharBuf, unsigned length);
    bool ProcessExifDir(const unsigned char* DirStart, const unsigned char* OffsetBase, unsigned ExifLength,
                        int NestingLevel);
    void ProcessCOM(const unsigned char* Data, unsigned length);
    void ProcessSOFn(const unsigned char* Data, unsigned length, int marker);
    int Get16u(const void* Short) const;
    long Get32s(const void* Long) const;
    unsigned long Get32u(const void* Long) const;
    double ConvertAnyFormat(const void* ValuePtr, int Format) const;
    bool SeenDirectory(const unsigned char* DirStart);

    ExifRecord* m_exifinfo;
    char m_szLastError[256];
    int ExifImageWidth;
    int MotorolaOrder;
    Section Sections[MAX_SECTIONS];
    int SectionsRead;
    bool freeinfo;
    // Directories already walked in the current block (a block may link one
    // directory many times; each is read once).
    const unsigned char* m_seenDirs[64];
    int m_numSeenDirs;
};
