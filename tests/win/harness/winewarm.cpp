// Resident helper of the harness: holds a Wine session's desktop open while
// programs run in it, and tells the harness whether that desktop works.
//
//   winewarm.exe MARKER
//
// A fresh Wine server starts its desktop process (explorer.exe /desktop) on
// the first window anyone asks for. When that process cannot load the X11
// driver, Wine still gives the session a desktop window, but one nobody
// serves: every window any program of the session creates from then on
// fails, until the server ends. So this helper creates a top-level window of
// its own (unmapped, never shown) and checks that the desktop answers; only
// then does it create MARKER, and it stays until the server ends it. Without
// a working desktop it writes the reason to standard error and exits 3: the
// harness then takes the session down and brings up another.
#include <windows.h>

#include <cstdio>

namespace {

int Fail(const char* what)
{
    std::fprintf(stderr, "winewarm: %s (error %lu)\n", what, ::GetLastError());
    std::fflush(stderr);
    return 3;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR cmdLine, int)
{
    // The desktop window exists as soon as anyone asked for it; whether its
    // process serves it shows in whether it answers.
    HWND desktop = ::GetDesktopWindow();
    DWORD_PTR answer = 0;
    if (!desktop || !::SendMessageTimeoutW(desktop, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer))
        return Fail("the desktop window does not answer");

    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"MorvelinWineWarm";
    if (!::RegisterClassW(&wc))
        return Fail("cannot register the window class");
    // A top-level window (unmapped) is what xdotool can find by name; that
    // it can be created at all means the display driver is loaded.
    HWND window = ::CreateWindowExW(0, wc.lpszClassName, L"MorvelinWineWarm", WS_OVERLAPPED, 0, 0, 1, 1,
                                    nullptr, nullptr, instance, nullptr);
    if (!window)
        return Fail("cannot create a top-level window: Wine's desktop has no display driver");

    if (cmdLine && *cmdLine) {
        HANDLE f = ::CreateFileW(cmdLine, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE)
            return Fail("cannot write the marker file");
        ::CloseHandle(f);
    }
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&msg);
    return 0;
}
