#include "framework/dpi.h"

#include "framework/late_bound.h"

#include <atomic>

namespace fw {
namespace {

std::atomic<WindowDpiSource> g_source{nullptr};

// The dialog manager's per-monitor behaviour (winuser.h's
// DIALOG_DPI_CHANGE_BEHAVIORS, Windows 10 1703).
constexpr int kDialogDpiChangeDisableAll = 0x0001;

} // namespace

UINT SystemDpi()
{
    // A process keeps the system DPI it started with, even when the user
    // changes the scaling while it runs.
    static const UINT system = [] {
        HDC screen = ::GetDC(nullptr);
        const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
        if (screen)
            ::ReleaseDC(nullptr, screen);
        return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
    }();
    return system;
}

UINT WindowDpi(HWND window)
{
    if (const WindowDpiSource source = g_source.load()) {
        if (const UINT dpi = source(window); dpi > 0)
            return dpi;
    }
    // Windows 10 1607 and later; earlier systems know one DPI only.
    static const auto getDpiForWindow = LateBound<UINT(WINAPI*)(HWND)>(L"user32.dll", "GetDpiForWindow");
    if (getDpiForWindow && window) {
        if (const UINT dpi = getDpiForWindow(window); dpi > 0)
            return dpi;
    }
    return SystemDpi();
}

int ScaleForDpi(int px, UINT dpi)
{
    return ::MulDiv(px, static_cast<int>(dpi), static_cast<int>(kDefaultDpi));
}

WindowDpiSource SetWindowDpiSource(WindowDpiSource source) { return g_source.exchange(source); }

bool DisableDialogDpiScaling(HWND dialog)
{
    using SetBehavior = BOOL(WINAPI*)(HWND, int, int);
    static const auto setBehavior = LateBound<SetBehavior>(L"user32.dll", "SetDialogDpiChangeBehavior");
    return setBehavior && setBehavior(dialog, kDialogDpiChangeDisableAll, kDialogDpiChangeDisableAll);
}

} // namespace fw
