// One work unit to draw on the sky map, as the Data Info and Completed tabs hand it over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

struct SkyPoint {
    char name[300];        // first label line: work unit name or location short name
    char recordedOn[52];   // second label line: the readable recording date and time
    int32_t colour;        // 0x00BBGGRR
    double rightAscension; // hours, 0 to 24
    double declination;    // degrees, -90 to +90
};

// Point blocks that are allocated and not yet freed: the Sky Map takes every set it is given over
// and must free each one, which the window tests check against this count.
inline long& SkyPointBlocksAlive()
{
    static long alive = 0;
    return alive;
}

// The standard allocator, counting the blocks it hands out.
template <typename T> struct SkyPointAllocator {
    using value_type = T;
    SkyPointAllocator() = default;
    template <typename U> SkyPointAllocator(const SkyPointAllocator<U>&) noexcept {}
    T* allocate(size_t count)
    {
        T* block = std::allocator<T>().allocate(count);
        ++SkyPointBlocksAlive();
        return block;
    }
    void deallocate(T* block, size_t count) noexcept
    {
        std::allocator<T>().deallocate(block, count);
        --SkyPointBlocksAlive();
    }
    template <typename U> bool operator==(const SkyPointAllocator<U>&) const noexcept { return true; }
};

// A point set: one contiguous block; value-initialised points are zero-filled, so unset texts are empty.
using SkyPointSet = std::vector<SkyPoint, SkyPointAllocator<SkyPoint>>;

// Copies a text into one of the fixed fields, cut to leave room for the terminator.
template <size_t N> void SetSkyText(char (&field)[N], std::string_view text)
{
    const size_t length = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}
