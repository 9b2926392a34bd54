#include "PixExifInfo.h"
#include <math.h>
#include <stdlib.h>
#include <string.h>

namespace
{
const int BytesPerFormat[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
const int NUM_FORMATS = 12;

enum
{
    FMT_BYTE = 1,
    FMT_STRING,
    FMT_USHORT,
    FMT_ULONG,
    FMT_URATIONAL,
    FMT_SBYTE,
    FMT_UNDEFINED,
    FMT_SSHORT,
    FMT_SLONG,
    FMT_SRATIONAL,
    FMT_SINGLE,
    FMT_DOUBLE
};

enum
{
    M_SOF0 = 0xC0,
    M_SOF15 = 0xCF,
    M_DHT = 0xC4,
    M_JPG = 0xC8,
    M_DAC = 0xCC,
    M_SOI = 0xD8,
    M_EOI = 0xD9,
    M_SOS = 0xDA,
    M_JFIF = 0xE0,
    M_EXIF = 0xE1,
    M_COM = 0xFE
};

enum
{
    TAG_MAKE = 0x010F,
    TAG_MODEL = 0x0110,
    TAG_ORIENTATION = 0x0112,
    TAG_XRESOLUTION = 0x011A,
    TAG_YRESOLUTION = 0x011B,
    TAG_RESOLUTIONUNIT = 0x0128,
    TAG_THUMBNAIL_OFFSET = 0x0201,
    TAG_THUMBNAIL_LENGTH = 0x0202,
    TAG_EXPOSURETIME = 0x829A,
    TAG_FNUMBER = 0x829D,
    TAG_EXIF_OFFSET = 0x8769,
    TAG_EXPOSURE_PROGRAM = 0x8822,
    TAG_ISO_EQUIVALENT = 0x8827,
    TAG_EXIF_VERSION = 0x9000,
    TAG_DATETIME_ORIGINAL = 0x9003,
    TAG_COMPRESSION_LEVEL = 0x9102,
    TAG_SHUTTERSPEED = 0x9201,
    TAG_APERTURE = 0x9202,
    TAG_BRIGHTNESS = 0x9203,
    TAG_EXPOSURE_BIAS = 0x9204,
    TAG_MAXAPERTURE = 0x9205,
    TAG_SUBJECT_DISTANCE = 0x9206,
    TAG_METERING_MODE = 0x9207,
    TAG_WHITEBALANCE = 0x9208,
    TAG_FLASH = 0x9209,
    TAG_FOCALLENGTH = 0x920A,
    TAG_USERCOMMENT = 0x9286,
    TAG_EXIF_IMAGEWIDTH = 0xA002,
    TAG_EXIF_IMAGELENGTH = 0xA003,
    TAG_INTEROP_OFFSET = 0xA005,
    TAG_FOCALPLANEXRES = 0xA20E,
    TAG_FOCALPLANEYRES = 0xA20F,
    TAG_FOCALPLANEUNITS = 0xA210
};

// Inches per unit of a resolution-unit tag; 0 for values that name no unit.
float UnitInches(int unit)
{
    switch (unit)
    {
    case 1: return 1.0f;
    case 2: return 1.0f;
    case 3: return 0.3937007874f;
    case 4: return 0.03937007874f;
    case 5: return 0.00003937007874f;
    default: return 0.0f;
    }
}

void CopyText(char* dst, size_t dstSize, const unsigned char* src, unsigned long long srcBytes)
{
    size_t n = srcBytes < dstSize - 1 ? (size_t)srcBytes : dstSize - 1;
    size_t i = 0;
    for (; i < n && src[i]; i++)
        dst[i] = (char)src[i];
    dst[i] = 0;
}
} // namespace

CPixExifInfo::CPixExifInfo(ExifRecord* info)
{
    if (info)
    {
        m_exifinfo = info;
        freeinfo = false;
    }
    else
    {
        m_exifinfo = new ExifRecord;
        memset(m_exifinfo, 0, sizeof(ExifRecord));
        freeinfo = true;
    }
    m_szLastError[0] = 0;
    ExifImageWidth = MotorolaOrder = 0;
    SectionsRead = 0;
    memset(Sections, 0, sizeof(Sections));
    m_numSeenDirs = 0;
}

CPixExifInfo::~CPixExifInfo()
{
    for (int i = 0; i < MAX_SECTIONS; i++)
    {
        // The thumbnail lies inside a section: the record must not keep pointing into freed memory.
        if (Sections[i].Data && m_exifinfo->ThumbnailPointer >= Sections[i].Data &&
            m_exifinfo->ThumbnailPointer < Sections[i].Data + Sections[i].Size)
        {
            m_exifinfo->ThumbnailPointer = nullptr;
            m_exifinfo->ThumbnailSize = 0;
        }
        free(Sections[i].Data);
    }
    if (freeinfo)
        delete m_exifinfo;
}

bool CPixExifInfo::DecodeExif(CPixFile* hFile)
{
    if (!hFile)
        return false;
    long a = hFile->GetC();
    if (a != 0xFF || hFile->GetC() != M_SOI)
        return false;

    bool HaveCom = false;
    for (;;)
    {
        if (SectionsRead >= MAX_SECTIONS)
        {
            strcpy(m_szLastError, "Too many sections in jpg file");
            return false;
        }
        long marker = 0;
        for (a = 0; a < 7; a++)
        {
            marker = hFile->GetC();
            if (marker != 0xFF)
                break;
            if (a >= 6)
            {
                strcpy(m_szLastError, "too many padding bytes");
                return false;
            }
        }
        long lh = hFile->GetC();
        long ll = hFile->GetC();
        if (marker < 0 || lh < 0 || ll < 0)
        {
            strcpy(m_szLastError, "Premature end of file?");
            return false;
        }
        unsigned itemlen = (unsigned)((lh << 8) | ll);
        if (itemlen < 2)
        {
            strcpy(m_szLastError, "invalid marker");
            return false;
        }
        Section& sec = Sections[SectionsRead];
        sec.Type = (int)marker;
        sec.Size = itemlen;
        sec.Data = (unsigned char*)malloc(itemlen);
        if (!sec.Data)
        {
            strcpy(m_szLastError, "Could not allocate memory");
            return false;
        }
        sec.Data[0] = (unsigned char)lh;
        sec.Data[1] = (unsigned char)ll;
        if (hFile->Read(sec.Data + 2, 1, itemlen - 2) != itemlen - 2)
        {
            strcpy(m_szLastError, "Premature end of file?");
            return false;
        }
        SectionsRead++;

        bool drop = false;
        switch (marker)
        {
        case M_SOS: return true;
        case M_EOI: strcpy(m_szLastError, "No image in jpeg!"); return false;
        case M_COM:
            if (HaveCom)
            {
                drop = true;
            }
            else
            {
                ProcessCOM(sec.Data, itemlen);
                HaveCom = true;
            }
            break;
        case M_JFIF: drop = true; break;
        case M_EXIF:
            if (itemlen >= 6 && memcmp(sec.Data + 2, "Exif", 4) == 0)
                m_exifinfo->IsExif = ProcessExif(sec.Data + 2, itemlen - 2);
            else
                drop = true;
            break;
        default:
            if (marker >= M_SOF0 && marker <= M_SOF15 && marker != M_DHT && marker != M_JPG && marker != M_DAC)
                ProcessSOFn(sec.Data, itemlen, (int)marker);
            break;
        }
        if (drop)
        {
            free(sec.Data);
            sec.Data = nullptr;
            SectionsRead--;
        }
    }
}

int CPixExifInfo::Get16u(const void* Short) const
{
    const unsigned char* p = (const unsigned char*)Short;
    if (MotorolaOrder)
        return (p[0] << 8) | p[1];
    return (p[1] << 8) | p[0];
}

long CPixExifInfo::Get32s(const void* Long) const
{
    return (long)Get32u(Long);
}

unsigned long CPixExifInfo::Get32u(const void* Long) const
{
    const unsigned char* p = (const unsigned char*)Long;
    if (MotorolaOrder)
        return ((unsigned long)p[0] << 24) | ((unsigned long)p[1] << 16) | ((unsigned long)p[2] << 8) | p[3];
    return ((unsigned long)p[3] << 24) | ((unsigned long)p[2] << 16) | ((unsigned long)p[1] << 8) | p[0];
}

double CPixExifInfo::ConvertAnyFormat(const void* ValuePtr, int Format) const
{
    const unsigned char* p = (const unsigned char*)ValuePtr;
    switch (Format)
    {
    case FMT_SBYTE: return *(const signed char*)p;
    case FMT_BYTE: return *p;
    case FMT_USHORT: return Get16u(p);
    case FMT_ULONG: return (double)Get32u(p);
    case FMT_URATIONAL:
    case FMT_SRATIONAL: {
        long Num = Get32s(p);
        long Den = Get32s(p + 4);
        return Den == 0 ? 0 : (double)Num / Den;
    }
    case FMT_SSHORT: return (signed short)Get16u(p);
    case FMT_SLONG: return Get32s(p);
    case FMT_SINGLE: {
        unsigned long v = Get32u(p);
        float f;
        memcpy(&f, &v, 4);
        return f;
    }
    case FMT_DOUBLE: {
        unsigned long lo = Get32u(MotorolaOrder ? p + 4 : p);
        unsigned long hi = Get32u(MotorolaOrder ? p : p + 4);
        unsigned long long bits = ((unsigned long long)hi << 32) | lo;
        double d;
        memcpy(&d, &bits, 8);
        return d;
    }
    default: return 0;
    }
}

bool CPixExifInfo::SeenDirectory(const unsigned char* DirStart)
{
    for (int i = 0; i < m_numSeenDirs; i++)
    {
        if (m_seenDirs[i] == DirStart)
            return true;
    }
    if (m_numSeenDirs >= (int)(sizeof(m_seenDirs) / sizeof(m_seenDirs[0])))
        return true;
    m_seenDirs[m_numSeenDirs++] = DirStart;
    return false;
}

// CharBuf: the section's contents after its length bytes, starting with "Exif".
bool CPixExifInfo::ProcessExif(const unsigned char* CharBuf, unsigned length)
{
    m_exifinfo->FlashUsed = 0;
    m_exifinfo->Comments[0] = 0;
    ExifImageWidth = 0;
    m_numSeenDirs = 0;

    static const unsigned char ExifHeader[] = "Exif\0\0";
    if (length < 14 || memcmp(CharBuf, ExifHeader, 6))
    {
        strcpy(m_szLastError, "Incorrect Exif header");
        return false;
    }
    if (memcmp(CharBuf + 6, "II", 2) == 0)
        MotorolaOrder = 0;
    else if (memcmp(CharBuf + 6, "MM", 2) == 0)
        MotorolaOrder = 1;
    else
    {
        strcpy(m_szLastError, "Invalid Exif alignment marker.");
        return false;
    }
    if (Get16u(CharBuf + 8) != 0x2A)
    {
        strcpy(m_szLastError, "Invalid Exif start (1)");
        return false;
    }
    unsigned long FirstOffset = Get32u(CharBuf + 10);
    unsigned ExifLength = length - 6;
    const unsigned char* base = CharBuf + 6;

    if (!ProcessExifDir(CharBuf + 14, base, ExifLength, 0))
        return false;
    if (FirstOffset > 8)
    {
        if ((unsigned long long)FirstOffset + 2 > ExifLength)
        {
            strcpy(m_szLastError, "Illegal subdirectory link");
            return false;
        }
        if (!ProcessExifDir(base + FirstOffset, base, ExifLength, 0))
            return false;
    }
    if (m_exifinfo->FocalplaneXRes != 0)
        m_exifinfo->CCDWidth =
            (float)(ExifImageWidth * m_exifinfo->FocalplaneUnits / m_exifinfo->FocalplaneXRes);
    return true;
}

bool CPixExifInfo::ProcessExifDir(const unsigned char* DirStart, const unsigned char* OffsetBase,
                                  unsigned ExifLength, int NestingLevel)
{
    if (NestingLevel > 4)
    {
        strcpy(m_szLastError, "Maximum directory nesting exceeded (corrupt exif header)");
        return false;
    }
    const unsigned char* end = OffsetBase + ExifLength;
    if (DirStart < OffsetBase || DirStart + 2 > end)
    {
        strcpy(m_szLastError, "Illegally sized directory");
        return false;
    }
    if (SeenDirectory(DirStart))
        return true;
    int NumDirEntries = Get16u(DirStart);
    if (DirStart + 2 + NumDirEntries * 12 > end)
    {
        strcpy(m_szLastError, "Illegally sized directory");
        return false;
    }

    unsigned long ThumbnailOffset = 0, ThumbnailSize = 0;
    for (int de = 0; de < NumDirEntries; de++)
    {
        const unsigned char* DirEntry = DirStart + 2 + 12 * de;
        int Tag = Get16u(DirEntry);
        int Format = Get16u(DirEntry + 2);
        unsigned long Components = Get32u(DirEntry + 4);
        if (Format - 1 >= NUM_FORMATS && Format != 0)
        {
            strcpy(m_szLastError, "Illegal format code in EXIF dir");
            return false;
        }
        unsigned long long ByteCount = (unsigned long long)Components * BytesPerFormat[Format];
        const unsigned char* ValuePtr;
        if (ByteCount > 4)
        {
            unsigned long OffsetVal = Get32u(DirEntry + 8);
            if (OffsetVal + ByteCount > ExifLength)
            {
                strcpy(m_szLastError, "Illegal pointer offset value in EXIF.");
                return false;
            }
            ValuePtr = OffsetBase + OffsetVal;
        }
        else
        {
            ValuePtr = DirEntry + 8;
        }
        const unsigned char* last = ValuePtr + ByteCount;
        (void)last;

        // A value shorter than one component (a count of 0) reads as 0.
        double Value = ByteCount >= (unsigned)BytesPerFormat[Format] && Format ? ConvertAnyFormat(ValuePtr, Format) : 0;
        switch (Tag)
        {
        case TAG_MAKE: CopyText(m_exifinfo->CameraMake, 32, ValuePtr, ByteCount); break;
        case TAG_MODEL: CopyText(m_exifinfo->CameraModel, 40, ValuePtr, ByteCount); break;
        case TAG_EXIF_VERSION: CopyText(m_exifinfo->Version, 5, ValuePtr, ByteCount); break;
        case TAG_DATETIME_ORIGINAL: CopyText(m_exifinfo->DateTime, 20, ValuePtr, ByteCount); break;
        case TAG_USERCOMMENT: {
            unsigned n = ByteCount < 4096 ? (unsigned)ByteCount : 4096;
            unsigned char buf[4097];
            memcpy(buf, ValuePtr, n);
            buf[n] = 0;
            for (long a = (long)n - 1; a >= 0; a--)
            {
                if (buf[a] == ' ')
                    buf[a] = 0;
                else
                    break;
            }
            m_exifinfo->Comments[0] = 0;
            if (n >= 5 && memcmp(buf, "ASCII", 5) == 0)
            {
                for (unsigned a = 5; a < 10 && a < n; a++)
                {
                    if (buf[a] != 0 && buf[a] != ' ')
                    {
                        CopyText(m_exifinfo->Comments, 200, buf + a, n - a);
                        break;
                    }
                }
            }
            else
            {
                CopyText(m_exifinfo->Comments, 200, buf, n);
            }
            break;
        }
        case TAG_ORIENTATION:
            m_exifinfo->Orientation = (int)Value;
            if (m_exifinfo->Orientation < 1 || m_exifinfo->Orientation > 8)
            {
                strcpy(m_szLastError, "Undefined rotation value");
                m_exifinfo->Orientation = 0;
            }
            break;
        case TAG_FNUMBER: m_exifinfo->ApertureFNumber = (float)Value; break;
        case TAG_APERTURE:
        case TAG_MAXAPERTURE:
            if (m_exifinfo->ApertureFNumber == 0)
                m_exifinfo->ApertureFNumber = (float)exp(Value * log(2.0) * 0.5);
            break;
        case TAG_BRIGHTNESS: m_exifinfo->Brightness = (float)Value; break;
        case TAG_FOCALLENGTH: m_exifinfo->FocalLength = (float)Value; break;
        case TAG_SUBJECT_DISTANCE: m_exifinfo->Distance = (float)Value; break;
        case TAG_EXPOSURETIME: m_exifinfo->ExposureTime = (float)Value; break;
        case TAG_SHUTTERSPEED:
            if (m_exifinfo->ExposureTime == 0)
                m_exifinfo->ExposureTime = (float)(1 / exp(Value * log(2.0)));
            break;
        case TAG_FLASH: m_exifinfo->FlashUsed = ((int)Value & 7) ? 1 : 0; break;
        case TAG_EXIF_IMAGELENGTH:
        case TAG_EXIF_IMAGEWIDTH: {
            int a = (int)Value;
            if (ExifImageWidth < a)
                ExifImageWidth = a;
            break;
        }
        case TAG_FOCALPLANEXRES: m_exifinfo->FocalplaneXRes = (float)Value; break;
        case TAG_FOCALPLANEYRES: m_exifinfo->FocalplaneYRes = (float)Value; break;
        case TAG_FOCALPLANEUNITS: {
            float u = UnitInches((int)Value);
            if (u != 0)
                m_exifinfo->FocalplaneUnits = u;
            break;
        }
        case TAG_RESOLUTIONUNIT: {
            float u = UnitInches((int)Value);
            if (u != 0)
                m_exifinfo->ResolutionUnit = u;
            break;
        }
        case TAG_XRESOLUTION: m_exifinfo->Xresolution = (float)Value; break;
        case TAG_YRESOLUTION: m_exifinfo->Yresolution = (float)Value; break;
        case TAG_EXPOSURE_BIAS: m_exifinfo->ExposureBias = (float)Value; break;
        case TAG_WHITEBALANCE: m_exifinfo->Whitebalance = (int)Value; break;
        case TAG_METERING_MODE: m_exifinfo->MeteringMode = (int)Value; break;
        case TAG_EXPOSURE_PROGRAM: m_exifinfo->ExposureProgram = (int)Value; break;
        case TAG_ISO_EQUIVALENT:
            m_exifinfo->ISOequivalent = (int)Value;
            if (m_exifinfo->ISOequivalent < 50)
                m_exifinfo->ISOequivalent *= 200;
            break;
        case TAG_COMPRESSION_LEVEL: m_exifinfo->CompressionLevel = (int)Value; break;
        case TAG_THUMBNAIL_OFFSET: ThumbnailOffset = (unsigned long)Value; break;
        case TAG_THUMBNAIL_LENGTH: ThumbnailSize = (unsigned long)Value; break;
        default: break;
        }

        if (Tag == TAG_EXIF_OFFSET || Tag == TAG_INTEROP_OFFSET)
        {
            unsigned long Offset = ByteCount >= 4 ? Get32u(ValuePtr) : 0;
            if (Offset > 8)
            {
                if ((unsigned long long)Offset + 2 > ExifLength)
                {
                    strcpy(m_szLastError, "Illegal subdirectory link");
                    return false;
                }
                ProcessExifDir(OffsetBase + Offset, OffsetBase, ExifLength, NestingLevel + 1);
            }
        }
    }

    // The link to the next directory follows the entries.
    const unsigned char* next = DirStart + 2 + 12 * NumDirEntries;
    if (next + 4 <= end)
    {
        unsigned long Offset = Get32u(next);
        if (Offset)
        {
            if ((unsigned long long)Offset + 2 > ExifLength)
            {
                strcpy(m_szLastError, "Illegal subdirectory link");
                return false;
            }
            if (Offset > 8)
                ProcessExifDir(OffsetBase + Offset, OffsetBase, ExifLength, NestingLevel + 1);
        }
    }

    if (ThumbnailSize && ThumbnailOffset &&
        (unsigned long long)ThumbnailOffset + ThumbnailSize <= ExifLength)
    {
        m_exifinfo->ThumbnailPointer = const_cast<unsigned char*>(OffsetBase) + ThumbnailOffset;
        m_exifinfo->ThumbnailSize = ThumbnailSize;
    }
    return true;
}

void CPixExifInfo::ProcessCOM(const unsigned char* Data, unsigned length)
{
    char Comment[1001];
    unsigned nch = 0;
    if (length > 1000)
        length = 1000;
    for (unsigned a = 2; a < length; a++)
    {
        int ch = Data[a];
        if (ch == '\r' && a + 1 < length && Data[a + 1] == '\n')
            continue;
        if ((ch >= 0x20 && ch < 0x7F) || ch == '\n' || ch == '\t')
            Comment[nch++] = (char)ch;
        else
            Comment[nch++] = '?';
    }
    Comment[nch] = 0;
    strcpy(m_exifinfo->Comments, Comment);
}

void CPixExifInfo::ProcessSOFn(const unsigned char* Data, unsigned length, int marker)
{
    if (length < 8)
        return;
    m_exifinfo->Height = (Data[3] << 8) | Data[4];
    m_exifinfo->Width = (Data[5] << 8) | Data[6];
    m_exifinfo->IsColor = Data[7] == 3 ? 1 : 0;
    m_exifinfo->Process = marker;
}
