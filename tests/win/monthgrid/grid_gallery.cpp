// Renders the grid in the configurations worth looking at into BMP files,
// for eyes rather than asserts: grid_gallery <output folder> [seconds]. With
// seconds, the last configuration also stays on screen that long.
#include <windows.h>
#include <ole2.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/dates.h"
#include "grid_fixture.h"

namespace {

struct Shot {
    const wchar_t* name;
    int columns, rows;
    bool weekNumbers;
    const wchar_t* face; // null: the GUI font
    double points;
    int selectOffsetDays; // selection relative to today
};

DATE TodayPlus(int days)
{
    SYSTEMTIME st{};
    ::GetLocalTime(&st);
    using namespace std::chrono;
    const sys_days d = sys_days{year{st.wYear} / st.wMonth / st.wDay} + std::chrono::days{days};
    return *core::ToOleDate({d, hours{12}});
}

} // namespace

int main(int argc, char** argv)
{
    ::OleInitialize(nullptr);
    std::wstring folder = L".";
    if (argc > 1) {
        const std::string a = argv[1];
        folder.assign(a.begin(), a.end());
    }
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 0;
    const Shot shots[] = {
        {L"grid-4x3-default", 4, 3, true, nullptr, 0, 0},   {L"grid-4x3-12pt", 4, 3, true, L"Tahoma", 12, 0},
        {L"grid-1x1", 1, 1, true, nullptr, 0, 0},           {L"grid-1x1-select", 1, 1, true, nullptr, 0, 4},
        {L"grid-3x1-noweeks", 3, 1, false, nullptr, 0, -2}, {L"grid-2x1-9pt", 2, 1, true, L"Tahoma", 9, 5},
    };
    gridtest::HostWindow host;
    HWND grid = nullptr;
    for (const Shot& s : shots) {
        if (grid)
            ::DestroyWindow(grid);
        grid = gridtest::CreateGrid(host.get());
        gridtest::ApplyColors(grid, gridtest::kCalendarColors);
        gridtest::PutBool(grid, monthgrid::members::kShowWeekNumbers.dispid, s.weekNumbers);
        gridtest::SetShape(grid, s.columns, s.rows);
        fw::ComPtr<IDispatch> font;
        if (s.face)
            font = gridtest::MakeFont(s.face, s.points);
        gridtest::PutFont(grid, font.get());
        gridtest::PutDate(grid, TodayPlus(0));
        if (s.selectOffsetDays) {
            // Moved by keys as the user would, so the shown months stay.
            for (int i = 0; i < std::abs(s.selectOffsetDays); ++i)
                ::SendMessageW(grid, WM_KEYDOWN, s.selectOffsetDays > 0 ? VK_RIGHT : VK_LEFT, 0);
        }
        const SIZE size = gridtest::FitGrid(grid);
        std::printf("%ls: %ld x %ld\n", s.name, size.cx, size.cy);
        gridtest::Render(grid).SaveBmp(folder + L"\\" + s.name + L".bmp");
    }
    if (seconds > 0) {
        ::SetWindowPos(host.get(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        RECT r{};
        ::GetWindowRect(grid, &r);
        RECT want{0, 0, r.right - r.left, r.bottom - r.top};
        ::AdjustWindowRectEx(&want, WS_OVERLAPPEDWINDOW, FALSE, 0);
        ::SetWindowPos(host.get(), nullptr, 0, 0, want.right - want.left, want.bottom - want.top,
                       SWP_NOZORDER);
        ::ShowWindow(host.get(), SW_SHOW);
        ::SetFocus(grid);
        const DWORD end = ::GetTickCount() + static_cast<DWORD>(seconds) * 1000;
        MSG msg;
        while (::GetTickCount() < end) {
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            ::Sleep(20);
        }
    }
    ::DestroyWindow(grid);
    ::OleUninitialize();
    return 0;
}
