#pragma once
// Move-only owners for GDI, USER and COM handles, and scoped selections.
// Every owner counts the objects it holds alive: Wine answers 0 to
// GetGuiResources, so leak tests read these counts instead.
#include <windows.h>
#include <ole2.h>

#include <atomic>
#include <utility>

namespace fw {

// Live objects created through the owners below, by kind.
long LiveGdiObjects();
long LiveUserObjects();
long LiveKernelObjects();

namespace detail {
extern std::atomic<long> g_liveGdi;
extern std::atomic<long> g_liveUser;
extern std::atomic<long> g_liveKernel;

template <class H>
void DeleteGdi(H h)
{
    ::DeleteObject(h);
}
inline void DestroyMenuHandle(HMENU h) { ::DestroyMenu(h); }
inline void DestroyIconHandle(HICON h) { ::DestroyIcon(h); }
inline void DeleteDcHandle(HDC h) { ::DeleteDC(h); }
inline void CloseKernelHandle(HANDLE h) { ::CloseHandle(h); }
inline void UnmapView(void* view) { ::UnmapViewOfFile(view); }
} // namespace detail

// Owns one handle; `Deleter` frees it, `Counter` tracks how many are alive.
template <class H, void (*Deleter)(H), std::atomic<long>* Counter>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(H h) noexcept : m_h(h) { Track(); }
    UniqueHandle(UniqueHandle&& o) noexcept : m_h(std::exchange(o.m_h, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept
    {
        if (this != &o)
            reset(std::exchange(o.m_h, nullptr), false);
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    H get() const noexcept { return m_h; }
    explicit operator bool() const noexcept { return m_h != nullptr; }

    void reset(H h = nullptr) noexcept { reset(h, true); }

    // Gives up ownership, e.g. to a window that destroys the object itself.
    [[nodiscard]] H release() noexcept
    {
        if (m_h)
            --*Counter;
        return std::exchange(m_h, nullptr);
    }

private:
    void reset(H h, bool track) noexcept
    {
        if (m_h) {
            Deleter(m_h);
            --*Counter;
        }
        m_h = h;
        if (track)
            Track();
    }
    void Track() noexcept
    {
        if (m_h)
            ++*Counter;
    }
    H m_h = nullptr;
};

template <class H>
using UniqueGdi = UniqueHandle<H, &detail::DeleteGdi<H>, &detail::g_liveGdi>;

using UniqueFont = UniqueGdi<HFONT>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniquePen = UniqueGdi<HPEN>;
using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniqueMemoryDC = UniqueHandle<HDC, &detail::DeleteDcHandle, &detail::g_liveGdi>;
using UniqueMenu = UniqueHandle<HMENU, &detail::DestroyMenuHandle, &detail::g_liveUser>;
// Only for icons the program creates; icons loaded from resources are
// shared by the system and must not be destroyed.
using UniqueIcon = UniqueHandle<HICON, &detail::DestroyIconHandle, &detail::g_liveUser>;

// Kernel objects: threads, mutexes, file mappings (never a
// pseudo-handle, nor INVALID_HANDLE_VALUE: hold those as null).
using UniqueKernelHandle = UniqueHandle<HANDLE, &detail::CloseKernelHandle, &detail::g_liveKernel>;
// A view of a file mapping.
using UniqueMappedView = UniqueHandle<void*, &detail::UnmapView, &detail::g_liveKernel>;

// A window's device context from GetDC, released on scope exit.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) noexcept : m_hwnd(hwnd), m_dc(::GetDC(hwnd))
    {
        if (m_dc)
            ++detail::g_liveGdi;
    }
    ~WindowDC()
    {
        if (m_dc) {
            ::ReleaseDC(m_hwnd, m_dc);
            --detail::g_liveGdi;
        }
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const noexcept { return m_dc; }
    explicit operator bool() const noexcept { return m_dc != nullptr; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// BeginPaint/EndPaint pair.
class PaintDC {
public:
    explicit PaintDC(HWND hwnd) noexcept : m_hwnd(hwnd) { m_dc = ::BeginPaint(hwnd, &m_ps); }
    ~PaintDC() { ::EndPaint(m_hwnd, &m_ps); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const noexcept { return m_dc; }
    const PAINTSTRUCT& info() const noexcept { return m_ps; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_ps{};
    HDC m_dc = nullptr;
};

// Selects an object into a DC and puts the previous one back on scope exit.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ obj) noexcept : m_dc(dc), m_old(obj ? ::SelectObject(dc, obj) : nullptr)
    {}
    ~SelectObjectScope()
    {
        if (m_old)
            ::SelectObject(m_dc, m_old);
    }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// Owns one COM reference.
template <class I>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Takes over a reference the caller already owns.
    static ComPtr Adopt(I* p) noexcept
    {
        ComPtr c;
        c.m_p = p;
        return c;
    }
    // Takes a new reference of its own.
    static ComPtr Share(I* p) noexcept
    {
        if (p)
            p->AddRef();
        return Adopt(p);
    }
    ComPtr(const ComPtr& o) noexcept : m_p(o.m_p)
    {
        if (m_p)
            m_p->AddRef();
    }
    ComPtr(ComPtr&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    ComPtr& operator=(ComPtr o) noexcept
    {
        std::swap(m_p, o.m_p);
        return *this;
    }
    ~ComPtr() { reset(); }

    void reset() noexcept
    {
        if (I* p = std::exchange(m_p, nullptr))
            p->Release();
    }
    I* get() const noexcept { return m_p; }
    I* operator->() const noexcept { return m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }
    [[nodiscard]] I* detach() noexcept { return std::exchange(m_p, nullptr); }
    // For out-parameters of COM calls: releases what is held first.
    I** put() noexcept
    {
        reset();
        return &m_p;
    }
    template <class Q>
    ComPtr<Q> query(REFIID iid) const noexcept
    {
        ComPtr<Q> q;
        if (m_p)
            m_p->QueryInterface(iid, reinterpret_cast<void**>(q.put()));
        return q;
    }

private:
    I* m_p = nullptr;
};

} // namespace fw
