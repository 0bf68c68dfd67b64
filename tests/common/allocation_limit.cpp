// operator new and delete of the test programs, counting the bytes held so that a limit can be set.
#include "allocation_limit.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace
{

// Each block starts with its size, padded so that what follows keeps malloc's alignment.
constexpr size_t kHeader = alignof(std::max_align_t);

std::atomic<size_t> g_held{0};
std::atomic<size_t> g_limit{0}; // 0: no limit
std::atomic<size_t> g_failures{0};

} // namespace

AllocationLimit::AllocationLimit(size_t room)
{
    g_failures = 0;
    g_limit = g_held + room;
}

AllocationLimit::~AllocationLimit()
{
    g_limit = 0;
}

size_t AllocationLimit::Failures() const
{
    return g_failures;
}

size_t BytesHeld()
{
    return g_held;
}

// Every form of operator new and delete but the over-aligned ones is replaced: a sanitizer supplies
// the others itself, and a block must go back through the same pair of functions it came from.
void* operator new(size_t size)
{
    const size_t limit = g_limit;
    const size_t held = g_held;
    if (limit != 0 && (held > limit || size > limit - held)) {
        ++g_failures;
        throw std::bad_alloc();
    }
    void* block = size <= SIZE_MAX - kHeader ? std::malloc(size + kHeader) : nullptr;
    if (!block)
        throw std::bad_alloc();
    *static_cast<size_t*>(block) = size;
    g_held += size;
    return static_cast<char*>(block) + kHeader;
}

void* operator new[](size_t size)
{
    return operator new(size);
}

void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    try {
        return operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
    return operator new(size, std::nothrow);
}

void operator delete(void* pointer) noexcept
{
    if (!pointer)
        return;
    void* block = static_cast<char*>(pointer) - kHeader;
    g_held -= *static_cast<size_t*>(block);
    std::free(block);
}

void operator delete[](void* pointer) noexcept
{
    operator delete(pointer);
}

void operator delete(void* pointer, size_t) noexcept
{
    operator delete(pointer);
}

void operator delete[](void* pointer, size_t) noexcept
{
    operator delete(pointer);
}

void operator delete(void* pointer, const std::nothrow_t&) noexcept
{
    operator delete(pointer);
}

void operator delete[](void* pointer, const std::nothrow_t&) noexcept
{
    operator delete(pointer);
}
