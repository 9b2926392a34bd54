#include "PixFile.h"

CPixFile::CPixFile() {}

CPixFile::CPixFile(const CPixFile&) {}

CPixFile::~CPixFile() {}

CPixFile& CPixFile::operator=(const CPixFile&)
{
    return *this;
}

bool CPixFile::PutC(unsigned char c)
{
    return Write(&c, 1, 1) == 1;
}
