// Opens the named mutex given as the argument and tells through its exit
// code what it found: 10 held by another process, 11 free (taken and given
// back), 12 not existing before, 2 bad usage.
#include "Framework.h"

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    CMutex mutex(FALSE, CString(argv[1]));
    if (GetLastError() != ERROR_ALREADY_EXISTS)
        return 12;
    CSingleLock lock(&mutex);
    return lock.Lock(0) ? 11 : 10;
}
