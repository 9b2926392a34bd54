// One object of T for each thread that asks for it: made on first use and
// deleted when the thread ends.
//
// A thread_local object with a destructor is not used for this: with the
// MinGW run time its destructor may run after the run time has already freed
// the thread's own storage, so it reads freed memory (seen as heap faults
// when user-interface threads end). The object is held by a trivial
// thread_local pointer and deleted by a fiber-local-storage callback, which
// the system runs at the thread's end before the run time's clean-up.
#pragma once
#include <windows.h>

template <class T> class FwThreadObject
{
public:
    static T& Get()
    {
        if (!t_object)
        {
            static const DWORD slot = ::FlsAlloc(&End);
            t_object = new T;
            if (slot != FLS_OUT_OF_INDEXES)
                ::FlsSetValue(slot, t_object);
        }
        return *t_object;
    }
    // This thread's object, or NULL when it has none (yet, or any more).
    static T* Peek() { return t_object; }

private:
    static void WINAPI End(void* object)
    {
        // Code that runs from T's destructor still finds the object it is
        // part of, as it would during any other destruction.
        delete static_cast<T*>(object);
        t_object = nullptr;
    }
    static thread_local T* t_object;
};

template <class T> thread_local T* FwThreadObject<T>::t_object = nullptr;
