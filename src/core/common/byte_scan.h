// Finding the first of two bytes in a text eight bytes at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// The offset of the first byte equal to a or b, or size when there is none. One pass over the
// text in place of two memchr calls: the Windows builds take memchr from the system's C runtime,
// which under some systems compares a byte at a time, and SETILog.csv is scanned for line ends
// and commas across hundreds of megabytes.
inline size_t FindEitherByte(const char* text, size_t size, char a, char b)
{
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    constexpr uint64_t kHighs = 0x8080808080808080ull;
    const uint64_t repeatedA = kOnes * static_cast<unsigned char>(a);
    const uint64_t repeatedB = kOnes * static_cast<unsigned char>(b);
    // A zero byte of x sets its high bit here. Bits above the first zero byte may be set falsely
    // by the borrow, never below it, so a word with no bit set holds no match; a word with one is
    // then searched byte by byte, which keeps the answer the same on any byte order.
    const auto holds = [&](const char* at) {
        uint64_t word;
        std::memcpy(&word, at, 8);
        const uint64_t xa = word ^ repeatedA;
        const uint64_t xb = word ^ repeatedB;
        return (((xa - kOnes) & ~xa) | ((xb - kOnes) & ~xb)) & kHighs;
    };
    size_t at = 0;
    while (size - at >= 16 && !(holds(text + at) | holds(text + at + 8)))
        at += 16;
    while (size - at >= 8 && !holds(text + at))
        at += 8;
    for (; at < size; ++at)
        if (text[at] == a || text[at] == b)
            return at;
    return size;
}
