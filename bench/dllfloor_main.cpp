// The baseline dialog in a program that loads what the calendar's start-up
// loads from the platform: the same DLLs (OLE, OLE Automation, the common
// controls; the common dialogs and the shell load only when used), OLE
// initialised and the common controls set up. Given a size on its command
// line it takes that size before it is shown, so that it pays for as large a
// window as the fitted calendar (Wine keeps a surface of every window's
// pixels). Start-up and memory against it show what the calendar's own code
// costs, apart from what the platform charges.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <cwchar>

namespace {

constexpr int kDialogId = 102;

// The dialog procedure repeats baseline_main.cpp's on purpose: each floor
// is a program of its own, and the two must differ in nothing but what this
// one imports and the size it may be given.

// Never true: the calls only make the linker import their DLLs.
volatile bool g_never = false;

// The window size to take (the calendar's once it has fitted itself), or
// none: the template's.
SIZE g_size{};

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM w, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        if (g_size.cx > 0 && g_size.cy > 0) {
            // Sized and centred before it is shown, as the calendar is.
            MONITORINFO mi{};
            mi.cbSize = sizeof mi;
            ::GetMonitorInfoW(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &mi);
            ::SetWindowPos(hwnd, nullptr, mi.rcWork.left + (mi.rcWork.right - mi.rcWork.left - g_size.cx) / 2,
                           mi.rcWork.top + (mi.rcWork.bottom - mi.rcWork.top - g_size.cy) / 2, g_size.cx,
                           g_size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(w) == IDCANCEL || LOWORD(w) == IDOK) {
            ::EndDialog(hwnd, LOWORD(w));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR cmdLine, int)
{
    // "WIDTHxHEIGHT": the window size to take; "thread": one thread started
    // and ended first, as the calendar's start-up worker is (Wine keeps the
    // last ended thread's stacks until another thread ends).
    if (cmdLine && *cmdLine)
        ::swscanf(cmdLine, L"%ldx%ld", &g_size.cx, &g_size.cy);
    if (cmdLine && std::wcsstr(cmdLine, L"thread")) {
        if (HANDLE t = ::CreateThread(
                nullptr, 0, [](LPVOID) -> DWORD { return 0; }, nullptr, 0, nullptr)) {
            ::WaitForSingleObject(t, INFINITE);
            ::CloseHandle(t);
        }
    }
    if (g_never) {
        ::VariantInit(nullptr);
    }
    const HRESULT ole = ::OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    const INT_PTR result = ::DialogBoxParamW(instance, MAKEINTRESOURCEW(kDialogId), nullptr, &DialogProc, 0);
    if (SUCCEEDED(ole))
        ::OleUninitialize();
    return static_cast<int>(result);
}
