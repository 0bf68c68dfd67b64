// A 32-bit top-down device-independent bitmap whose pixels the program reads and writes itself.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/unique_handle.h"

// The bitmap and its pixels, rows from the top, blue in the low byte of each; null (and no
// pixels) when the system has no memory for it.
inline UniqueGdiObject CreatePixelBitmap(int width, int height, uint32_t*& pixels)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueGdiObject bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    pixels = bitmap ? static_cast<uint32_t*>(bits) : nullptr;
    if (!pixels)
        bitmap.reset();
    return bitmap;
}
