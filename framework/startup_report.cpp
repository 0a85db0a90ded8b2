#include "framework/startup_report.h"

#include "framework/app.h"
#include "framework/handles.h"

namespace fw {
namespace {

bool Usable(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }

bool WriteAll(HANDLE h, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        DWORD written = 0;
        if (!::WriteFile(h, bytes, static_cast<DWORD>(size), &written, nullptr) || written == 0)
            return false;
        bytes += written;
        size -= written;
    }
    return true;
}

bool WriteTo(HANDLE h, const std::wstring& text)
{
    DWORD mode = 0;
    if (::GetConsoleMode(h, &mode)) {
        DWORD written = 0;
        return ::WriteConsoleW(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != FALSE;
    }
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                        nullptr, nullptr);
    if (n <= 0)
        return false;
    std::string utf8(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), n, nullptr,
                          nullptr);
    return WriteAll(h, utf8.data(), utf8.size());
}

} // namespace

std::wstring OneLine(std::wstring_view text)
{
    std::wstring line;
    line.reserve(text.size());
    bool blank = false;
    for (wchar_t c : text) {
        if (c == L'\r' || c == L'\n') {
            blank = !line.empty();
            continue;
        }
        if (blank && line.back() != L' ')
            line += L' ';
        blank = false;
        line += c;
    }
    return line;
}

bool WriteStandardError(std::wstring_view line) noexcept
{
    try {
        const std::wstring text = std::wstring(line) + L"\r\n";
        HANDLE err = ::GetStdHandle(STD_ERROR_HANDLE);
        if (Usable(err))
            return WriteTo(err, text);
        // Started from a console without redirection: a windowed program is
        // given no handles, but may write to the console of its starter.
        if (!::AttachConsole(ATTACH_PARENT_PROCESS))
            return false;
        HANDLE out = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        UniqueKernelHandle console(Usable(out) ? out : nullptr);
        const bool written = console && WriteTo(console.get(), text);
        console.reset();
        ::FreeConsole();
        return written;
    } catch (...) {
        return false;
    }
}

unsigned ReportStartupFailure(const std::wstring& text) noexcept
{
    unsigned reached = kReportedNowhere;
    try {
        CWinApp* app = AfxGetApp();
        const std::wstring name = app && !app->m_appName.empty() ? app->m_appName : std::wstring(L"Morvelin");
        const std::wstring line = name + L": " + OneLine(text);
        ::OutputDebugStringW((line + L"\n").c_str());
        // No owner: nothing of the program is on the screen, and the box
        // must not hide behind whatever is. Only a button pressed counts as
        // shown: besides 0, Wine answers -1 when it cannot make the box.
        if (::MessageBoxW(nullptr, text.c_str(), name.c_str(), MB_OK | MB_ICONERROR | MB_SETFOREGROUND) > 0)
            reached |= kReportedInBox;
        else if (WriteStandardError(line))
            reached |= kReportedOnStandardError;
    } catch (...) {
    }
    return reached;
}

} // namespace fw
