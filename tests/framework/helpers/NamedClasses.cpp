// Classes that the tests create by name only; no symbol of this file is
// referred to from the test program.
#include "Framework.h"

class CFwTestShape : public CObject
{
    DECLARE_DYNCREATE(CFwTestShape)
  public:
    int m_nSides = 0;
};

class CFwTestTriangle : public CFwTestShape
{
    DECLARE_DYNCREATE(CFwTestTriangle)
  public:
    CFwTestTriangle() { m_nSides = 3; }
};

IMPLEMENT_DYNCREATE(CFwTestShape, CObject)
IMPLEMENT_DYNCREATE(CFwTestTriangle, CFwTestShape)
