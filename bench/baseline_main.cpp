// The bench's floor: a bare dialog program. It shows the empty dialog of
// baseline.rc and ends on Escape or WM_CLOSE, as the calendar does.
#include <windows.h>

namespace {

constexpr int kDialogId = 102;

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM w, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
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

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    return static_cast<int>(
        ::DialogBoxParamW(instance, MAKEINTRESOURCEW(kDialogId), nullptr, &DialogProc, 0));
}
