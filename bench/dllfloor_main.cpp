// The baseline dialog in a program that loads what the calendar's start-up
// loads from the platform: the same DLLs (OLE, OLE Automation, the common
// controls; the common dialogs and the shell load only when used), OLE
// initialised and the
// common controls set up. Start-up and memory against it show what the
// calendar's own code costs, apart from what the platform charges.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

namespace {

constexpr int kDialogId = 102;

// The dialog procedure repeats baseline_main.cpp's on purpose: each floor
// is a program of its own, and the two must differ in nothing but what this
// one imports.

// Never true: the calls only make the linker import their DLLs.
volatile bool g_never = false;

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
