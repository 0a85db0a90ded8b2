#include "support/test_support.h"

#include "framework/wnd.h"

#include <tlhelp32.h>

#include <cstdio>

namespace testsupport {
namespace {

std::wstring MakeProfilePath()
{
    wchar_t dir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, dir);
    wchar_t path[MAX_PATH + 64];
    std::swprintf(path, std::size(path), L"%lsmorvelin-test-%lu.ini", dir,
                  static_cast<unsigned long>(::GetCurrentProcessId()));
    return path;
}

} // namespace

TestApp::TestApp() : fw::CWinApp(L"Morvelin")
{
    m_profilePath = MakeProfilePath();
    ::DeleteFileW(m_profilePath.c_str());
    InitApplication(::GetModuleHandleW(nullptr));
}

TestApp::~TestApp()
{
    ::SetFileAttributesW(m_profilePath.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(m_profilePath.c_str());
}

std::wstring ProfilePath() { return fw::AfxGetApp()->m_profilePath; }

void ResetProfile()
{
    // Drops the profile API's cached copy before the file goes.
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, ProfilePath().c_str());
    ::SetFileAttributesW(ProfilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(ProfilePath().c_str());
}

std::string ProfileText()
{
    std::string text;
    FILE* f = _wfopen(ProfilePath().c_str(), L"rb");
    if (!f)
        return text;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        text.append(buf, n);
    std::fclose(f);
    return text;
}

void PumpPending()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        // As the framework's modal loop does: pre-translation first.
        if (fw::CWnd::WalkPreTranslateTree(nullptr, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void PumpFor(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms) {
        PumpPending();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

int ThreadsOfThisProcess()
{
    HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return -1;
    THREADENTRY32 te{};
    te.dwSize = sizeof te;
    int n = 0;
    for (BOOL ok = ::Thread32First(snap, &te); ok; ok = ::Thread32Next(snap, &te))
        n += te.th32OwnerProcessID == ::GetCurrentProcessId();
    ::CloseHandle(snap);
    return n;
}

long WindowsOfThisThread()
{
    long n = 0;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(), [](HWND, LPARAM l) { return ++*reinterpret_cast<long*>(l), TRUE; },
        reinterpret_cast<LPARAM>(&n));
    return n;
}

bool OnAnotherThread(const std::function<void()>& call)
{
    HANDLE thread = ::CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            (*static_cast<const std::function<void()>*>(p))();
            return 0;
        },
        const_cast<std::function<void()>*>(&call), 0, nullptr);
    if (!thread)
        return false;
    ::WaitForSingleObject(thread, 10000);
    ::CloseHandle(thread);
    return true;
}

} // namespace testsupport
