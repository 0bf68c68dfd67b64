// Scopes for borrowed drawing state: a device context, the objects and colours selected into it.
#pragma once

#include <windows.h>

// Puts a GDI object into a device context for one scope and the previous one back afterwards.
class SelectedObject
{
public:
    SelectedObject(HDC hdc, HGDIOBJ object) : hdc_(hdc), previous_(SelectObject(hdc, object)) {}
    ~SelectedObject() { SelectObject(hdc_, previous_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC hdc_;
    HGDIOBJ previous_;
};

// A window's device context for one scope.
class WindowDc
{
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), hdc_(GetDC(hwnd)) {}
    ~WindowDc()
    {
        if (hdc_)
            ReleaseDC(hwnd_, hdc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return hdc_; }

private:
    HWND hwnd_;
    HDC hdc_;
};

// Text and background colours of a device context for one scope.
class DcColours
{
public:
    DcColours(HDC hdc, COLORREF text, COLORREF background)
        : hdc_(hdc), text_(SetTextColor(hdc, text)), background_(SetBkColor(hdc, background))
    {
    }
    ~DcColours()
    {
        SetTextColor(hdc_, text_);
        SetBkColor(hdc_, background_);
    }
    DcColours(const DcColours&) = delete;
    DcColours& operator=(const DcColours&) = delete;

private:
    HDC hdc_;
    COLORREF text_;
    COLORREF background_;
};

// The system's painting scope.
class PaintScope
{
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd), hdc_(BeginPaint(hwnd, &paint_)) {}
    ~PaintScope() { EndPaint(hwnd_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Dc() const { return hdc_; }
    const RECT& Area() const { return paint_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT paint_{};
    HDC hdc_;
};

// A memory DC for one scope.
class CompatibleDc
{
public:
    explicit CompatibleDc(HDC hdc) : hdc_(CreateCompatibleDC(hdc)) {}
    ~CompatibleDc()
    {
        if (hdc_)
            DeleteDC(hdc_);
    }
    CompatibleDc(const CompatibleDc&) = delete;
    CompatibleDc& operator=(const CompatibleDc&) = delete;
    HDC get() const { return hdc_; }

private:
    HDC hdc_;
};

// The device context's drawing origin moved for one scope.
class WindowOrigin
{
public:
    WindowOrigin(HDC hdc, int x, int y) : hdc_(hdc) { SetWindowOrgEx(hdc, x, y, &previous_); }
    ~WindowOrigin() { SetWindowOrgEx(hdc_, previous_.x, previous_.y, nullptr); }
    WindowOrigin(const WindowOrigin&) = delete;
    WindowOrigin& operator=(const WindowOrigin&) = delete;

private:
    HDC hdc_;
    POINT previous_{};
};

// The device context's whole state (origin, clip region, colours, alignment, selected objects)
// saved for one scope and restored at its end.
class SavedDc
{
public:
    explicit SavedDc(HDC hdc) : hdc_(hdc), saved_(SaveDC(hdc)) {}
    ~SavedDc() { RestoreDC(hdc_, saved_); }
    SavedDc(const SavedDc&) = delete;
    SavedDc& operator=(const SavedDc&) = delete;

private:
    HDC hdc_;
    int saved_;
};
