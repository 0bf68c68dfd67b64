// A limit on the memory the program's own allocations may hold, for tests of running out of it.
#pragma once

#include <cstddef>

// While one exists, an allocation through operator new that would make the bytes held through it
// exceed the limit fails with std::bad_alloc, as every allocation does once a 32-bit process has
// used up its address space; freeing makes room again. The test programs replace operator new and
// delete for it, so every allocation of the code under test counts, whoever makes it.
class AllocationLimit
{
public:
    // Room for this many bytes more than are held now.
    explicit AllocationLimit(size_t room);
    ~AllocationLimit();
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;

    // How many allocations failed since the limit was set.
    size_t Failures() const;
};

// The bytes held through operator new now.
size_t BytesHeld();
