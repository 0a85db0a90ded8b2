#pragma once
// Helpers of the month-grid tests: a host window, the grid in it, OLE fonts,
// dispatch calls and rendering into a bitmap whose pixels can be read.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/grid_geometry.h"
#include "core/settings_keys.h"
#include "framework/handles.h"
#include "monthgrid/monthgrid.h"

#include <ostream>

inline bool operator==(const SIZE& a, const SIZE& b) { return a.cx == b.cx && a.cy == b.cy; }
inline std::ostream& operator<<(std::ostream& o, const SIZE& s) { return o << s.cx << 'x' << s.cy; }

namespace gridtest {

// A plain top-level window to hold grids; destroyed with its children.
class HostWindow {
public:
    HostWindow();
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND get() const { return m_hwnd; }

private:
    HWND m_hwnd = nullptr;
};

// A grid created in code, as a child of `parent`.
HWND CreateGrid(HWND parent, int x = 0, int y = 0, int width = 100, int height = 100, DWORD style = 0);

fw::ComPtr<IDispatch> DispatchOf(HWND grid);

// One put through the dispatch interface, the way a host makes it.
HRESULT Put(IDispatch* d, DISPID id, const VARIANT& value, UINT* argErr = nullptr);
HRESULT PutI4(HWND grid, DISPID id, LONG value);
HRESULT PutI2(HWND grid, DISPID id, SHORT value);
HRESULT PutBool(HWND grid, DISPID id, bool value);
HRESULT PutDate(HWND grid, DATE value);
HRESULT PutText(HWND grid, DISPID id, const wchar_t* text);
// Holidays on, for a Land's code or "" (the nationwide ones), in `colour`.
void ShowHolidays(HWND grid, const wchar_t* region, COLORREF colour);
HRESULT PutFont(HWND grid, IDispatch* font);
HRESULT CallRefresh(HWND grid);
// The calendar's order of puts: columns 1, rows, columns, so that the
// product never passes twelve on the way.
void SetShape(HWND grid, int columns, int rows);

// Moves the grid to (0,0,0,0) and refreshes it, as the calendar's layout
// pass does; returns the client size it took.
SIZE FitGrid(HWND grid);

// An OLE font (IFontDisp) of the given face and size in points.
fw::ComPtr<IDispatch> MakeFont(const wchar_t* face, double points, bool bold = false);

monthgrid::GridInfo Info(HWND grid);
core::GridLayout LayoutOf(HWND grid);

DATE OleDate(int year, int month, int day);

// The grid's client area as drawn by WM_PRINTCLIENT into a 32-bit DIB.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB, top-down

    COLORREF At(int x, int y) const;
    // Pixels of exactly `color` inside the half-open rectangle.
    int Count(const core::Rect& r, COLORREF color) const;
    bool SaveBmp(const std::wstring& path) const;
};
Image Render(HWND grid);

// The colours the calendar starts with.
struct Colors {
    COLORREF fore, monthBack, back, titleBack, titleFore, trailingFore;
};
inline constexpr Colors kCalendarColors{
    core::keys::kForeColor.defaultValue,      core::keys::kMonthBackColor.defaultValue,
    core::keys::kMonthBackColor.defaultValue, core::keys::kTitleBackColor.defaultValue,
    core::keys::kTitleForeColor.defaultValue, core::keys::kTrailingForeColor.defaultValue};
void ApplyColors(HWND grid, const Colors& c);
// Colours, shape and week numbers as a layout pass puts them, then fitted.
void Configure(HWND grid, const Colors& c, int columns, int rows, bool weekNumbers);

// One grid in a hidden host window, created before each test.
class GridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid = CreateGrid(host.get());
        ASSERT_NE(grid, nullptr);
    }

    HostWindow host;
    HWND grid = nullptr;
};

} // namespace gridtest
