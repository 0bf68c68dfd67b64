// Loads that stop cleanly when memory runs out: whether it did comes back as a value.
#pragma once

#include <new>

// Runs the work and tells whether an allocation failed in it. The work stops at the failure; what
// it built so far is its caller's to keep or to free.
template <typename Work> bool RanOutOfMemory(Work&& work)
{
    try {
        work();
        return false;
    } catch (const std::bad_alloc&) {
        return true;
    }
}
