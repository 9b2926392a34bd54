// Nothing throws across the skinning framework's boundary: work that may
// meet a framework exception (a failed BeginPaint, a damaged archive) or
// short memory answers FALSE instead.
#pragma once
#include <Framework.h>
#include <new>

template <class Work> BOOL SFNoThrow(Work work)
{
    try
    {
        return work();
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (const std::bad_alloc&)
    {
    }
    return FALSE;
}
