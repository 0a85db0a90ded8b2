// Resident helper for the test fixture: keeps wineserver and the X11 driver
// loaded between tests. Its window never shows; fixture.sh ends it with
// `wineserver -k`. Its one argument names a file it creates once it runs.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR cmdLine, int)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"MorvelinWineWarm";
    RegisterClassW(&wc);
    // A top-level window (unmapped) is what xdotool can find by name.
    CreateWindowExW(0, wc.lpszClassName, L"MorvelinWineWarm", WS_OVERLAPPED, 0, 0, 1, 1, nullptr, nullptr,
                    instance, nullptr);
    if (cmdLine && *cmdLine) {
        HANDLE f = CreateFileW(cmdLine, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (f != INVALID_HANDLE_VALUE)
            CloseHandle(f);
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
