// Move-only owners for Win32 handles: one template, one small traits struct per handle kind.
// The destructor releases the handle, so every early return and every exception path cleans up.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

namespace mw {

// Traits: `type`, `Invalid()` and `Close(type)`. Close is only called for valid values.
template <typename Traits> class UniqueAny {
  public:
    using T = typename Traits::type;

    UniqueAny() noexcept = default;
    explicit UniqueAny(T value) noexcept : value_(value) {}
    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    UniqueAny(UniqueAny&& other) noexcept : value_(other.release()) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    ~UniqueAny() { reset(); }

    T get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::Invalid(); }

    // Hands the handle over to the caller; the owner forgets it.
    T release() noexcept { return std::exchange(value_, Traits::Invalid()); }

    void reset(T value = Traits::Invalid()) noexcept {
        T old = std::exchange(value_, value);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }

    // For APIs that write a handle through a pointer: releases what is held first.
    T* put() noexcept {
        reset();
        return &value_;
    }

  private:
    T value_ = Traits::Invalid();
};

// Traits for handle kinds whose invalid value is null.
template <typename H, void (*CloseFn)(H)> struct NullTraits {
    using type = H;
    static constexpr H Invalid() noexcept { return H{}; }
    static void Close(H h) noexcept { CloseFn(h); }
};

namespace detail {
inline void CloseKernel(HANDLE h) noexcept {
    ::CloseHandle(h);
}
inline void CloseIcon(HICON h) noexcept {
    ::DestroyIcon(h);
}
template <typename H> inline void CloseGdi(H h) noexcept {
    ::DeleteObject(h);
}
inline void CloseMemDc(HDC h) noexcept {
    ::DeleteDC(h);
}
inline void CloseMenu(HMENU h) noexcept {
    ::DestroyMenu(h);
}
inline void CloseModule(HMODULE h) noexcept {
    ::FreeLibrary(h);
}
inline void CloseKey(HKEY h) noexcept {
    ::RegCloseKey(h);
}
inline void CloseWindow(HWND h) noexcept {
    ::DestroyWindow(h);
}
inline void CloseLocal(HLOCAL h) noexcept {
    ::LocalFree(h);
}
} // namespace detail

struct FileHandleTraits {
    using type = HANDLE;
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};

using UniqueHandle = UniqueAny<NullTraits<HANDLE, detail::CloseKernel>>;
using UniqueFileHandle = UniqueAny<FileHandleTraits>;
using UniqueIcon = UniqueAny<NullTraits<HICON, detail::CloseIcon>>;
using UniqueBitmap = UniqueAny<NullTraits<HBITMAP, detail::CloseGdi<HBITMAP>>>;
using UniqueFont = UniqueAny<NullTraits<HFONT, detail::CloseGdi<HFONT>>>;
using UniquePen = UniqueAny<NullTraits<HPEN, detail::CloseGdi<HPEN>>>;
using UniqueBrush = UniqueAny<NullTraits<HBRUSH, detail::CloseGdi<HBRUSH>>>;
using UniqueMemDc = UniqueAny<NullTraits<HDC, detail::CloseMemDc>>;
using UniqueMenu = UniqueAny<NullTraits<HMENU, detail::CloseMenu>>;
using UniqueModule = UniqueAny<NullTraits<HMODULE, detail::CloseModule>>;
using UniqueKey = UniqueAny<NullTraits<HKEY, detail::CloseKey>>;
using UniqueWindow = UniqueAny<NullTraits<HWND, detail::CloseWindow>>;
using UniqueLocal = UniqueAny<NullTraits<HLOCAL, detail::CloseLocal>>;

// A window DC taken with GetDC and given back with ReleaseDC.
class WindowDc {
  public:
    explicit WindowDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_)
            ::ReleaseDC(hwnd_, dc_);
    }
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// The DC of a WM_PAINT, taken with BeginPaint and given back with EndPaint.
class PaintDc {
  public:
    explicit PaintDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &paint_)) {}
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    ~PaintDc() { ::EndPaint(hwnd_, &paint_); }
    HDC get() const noexcept { return dc_; }
    const RECT& area() const noexcept { return paint_.rcPaint; } // what needs painting

  private:
    HWND hwnd_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects a GDI object into a DC and puts the previous one back on scope exit. Declare the
// object's owner before the guard, so the guard restores first and the object is deleted second.
class SelectGuard {
  public:
    SelectGuard(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(obj ? ::SelectObject(dc, obj) : nullptr) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() {
        if (old_)
            ::SelectObject(dc_, old_);
    }

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// The component system for the lifetime of the scope, apartment-threaded (what the shell's
// functions need), undone only when it succeeded. Nested owners on one thread are counted.
class ComInit {
  public:
    ComInit() noexcept : hr_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ComInit(const ComInit&) = delete;
    ComInit& operator=(const ComInit&) = delete;
    ~ComInit() {
        if (SUCCEEDED(hr_))
            ::CoUninitialize();
    }
    bool ok() const noexcept { return SUCCEEDED(hr_); }

  private:
    HRESULT hr_;
};

// Releases a COM interface pointer on scope exit.
template <typename I> class ComPtr {
  public:
    ComPtr() noexcept = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { reset(); }
    I* get() const noexcept { return p_; }
    I* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    I** put() noexcept {
        reset();
        return &p_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
    void reset() noexcept {
        if (p_) {
            p_->Release();
            p_ = nullptr;
        }
    }

  private:
    I* p_ = nullptr;
};

} // namespace mw
