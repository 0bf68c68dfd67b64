// A 32-bit DIB section in a memory DC for painting tests: every pixel can be read back exactly.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/dib_section.h"
#include "platform/gdi_scope.h"
#include "platform/unique_handle.h"

// A colour no painter of the program uses, so untouched pixels are recognised.
inline constexpr COLORREF kUntouched = RGB(255, 0, 255);

class MemoryDc
{
public:
    MemoryDc() : hdc_(CreateCompatibleDC(nullptr)) {}
    ~MemoryDc() { DeleteDC(hdc_); }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return hdc_; }

private:
    HDC hdc_;
};

// A top-down 32-bit DIB section in a memory DC, filled with a colour no painter uses.
class Canvas
{
public:
    Canvas(int width, int height, COLORREF background = kUntouched)
        : width_(width), height_(height), bitmap_(CreatePixelBitmap(width, height, bits_))
    {
        selected_ = SelectObject(dc_.get(), bitmap_.get());
        const RECT all{0, 0, width, height};
        UniqueGdiObject brush(CreateSolidBrush(background));
        FillRect(dc_.get(), &all, static_cast<HBRUSH>(brush.get()));
    }
    ~Canvas() { SelectObject(dc_.get(), selected_); }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool Valid() const { return bits_ != nullptr; }
    HDC Dc() const { return dc_.get(); }
    COLORREF At(int x, int y) const
    {
        GdiFlush();
        const uint32_t pixel = bits_[y * width_ + x];
        return RGB((pixel >> 16) & 0xff, (pixel >> 8) & 0xff, pixel & 0xff);
    }
    int Count(const RECT& area, COLORREF colour) const
    {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                count += At(x, y) == colour;
        return count;
    }
    // For looking at a painted picture by eye.
    void SaveBitmap(const std::string& path) const
    {
        GdiFlush();
        BITMAPFILEHEADER file{};
        BITMAPINFOHEADER info{};
        info.biSize = sizeof info;
        info.biWidth = width_;
        info.biHeight = -height_;
        info.biPlanes = 1;
        info.biBitCount = 32;
        const DWORD size = static_cast<DWORD>(width_ * height_ * 4);
        file.bfType = 0x4d42;
        file.bfOffBits = sizeof file + sizeof info;
        file.bfSize = file.bfOffBits + size;
        if (FILE* out = std::fopen(path.c_str(), "wb")) {
            std::fwrite(&file, sizeof file, 1, out);
            std::fwrite(&info, sizeof info, 1, out);
            std::fwrite(bits_, size, 1, out);
            std::fclose(out);
        }
    }

private:
    int width_;
    int height_;
    MemoryDc dc_;
    uint32_t* bits_ = nullptr;
    UniqueGdiObject bitmap_;
    HGDIOBJ selected_ = nullptr;
};
