#pragma once
// The C++ object behind one month-grid window, made by the window class for
// each of its windows (fw::CWnd::RegisterOwnWindowClass) and gone with it.
// Its jobs live in files of their own: the window's messages
// (month_grid_window.cpp), the properties and sizing (month_grid_control.cpp),
// input (month_grid_input.cpp), painting (month_grid_paint.cpp), the font
// and its metrics (grid_font.h), repaint tracking (repaint_tracker.h), the
// clock (grid_clock.h) and the tooltips (grid_tips.h, month_grid_tips.cpp).
#include <windows.h>
#include <commctrl.h>
#include <oaidl.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

#include "core/grid_geometry.h"
#include "core/grid_navigation.h"
#include "core/holidays.h"
#include "core/monthgrid_state.h"
#include "framework/handles.h"
#include "framework/window_base.h"
#include "monthgrid/grid_font.h"
#include "monthgrid/grid_tips.h"
#include "monthgrid/monthgrid.h"
#include "monthgrid/repaint_tracker.h"

namespace monthgrid {

class GridDispatch;

class MonthGridControl : public fw::WithMessageMap<MonthGridControl> {
public:
    MonthGridControl();
    ~MonthGridControl() override;

    bool Alive() const { return m_hWnd != nullptr; }
    // The object of one of the grid's windows; null for any other window.
    static MonthGridControl* FromHandle(HWND hwnd);

    // The operations of the dispatch interface.
    void SetColor(ColorSlot slot, COLORREF color);
    void SetShowWeekNumbers(bool show);
    void SetColumns(int columns);
    void SetRows(int rows);
    void SetFont(const FontDescription* font); // null: the GUI font
    void SetCurrentDate(std::chrono::sys_days day);
    void Refresh();
    void SetShowHolidays(bool show);
    void SetHolidayRegion(core::Region region);

    // The chosen region's holiday names for a day; empty while holidays
    // are switched off. What the tooltips and the accessible objects say.
    core::HolidayNames HolidayNamesOn(std::chrono::sys_days day) const;

    void Paint(HDC target, const RECT& area);

    static const fw::MessageMap<MonthGridControl, 29> kMessageMap;

protected:
    void PostNcDestroy() override;
    // Hands the mouse messages to the tooltips before they are handled.
    LRESULT WindowProc(UINT msg, WPARAM w, LPARAM l) override;

private:
    // Messages (month_grid_window.cpp).
    LRESULT OnGetDispatch(WPARAM, LPARAM);
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnCatchUp(WPARAM, LPARAM);
    LRESULT OnLoadState(WPARAM length, LPARAM bytes);
    LRESULT OnGetInfo(WPARAM, LPARAM info);
    void OnPaint();
    LRESULT OnPrintClient(WPARAM dc, LPARAM);
    LRESULT OnEraseBkgnd(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnGetDlgCode(WPARAM, LPARAM);
    LRESULT OnGetFont(WPARAM, LPARAM);
    LRESULT OnTimeChange(WPARAM, LPARAM);
    LRESULT OnFocusChange(WPARAM, LPARAM);
    LRESULT OnNotify(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    void OnTimer(UINT_PTR id);

    // Input (month_grid_input.cpp).
    void OnKeyDown(UINT key);
    void OnLButtonDown(POINT p);
    void OnMouseMove(POINT p);
    void OnLButtonUp(POINT) { StopRepeat(); }
    LRESULT OnCaptureChanged(WPARAM, LPARAM);
    void OnMouseWheel(int delta);
    void OnRepeatTimer();
    void StopRepeat();
    void Changed(bool changed);

    // State and sizing (month_grid_control.cpp).
    void ApplyState(const core::MonthGridState& state);
    void SetShape(int columns, int rows);
    void FillInfo(GridInfo& info);
    IDispatch* NewDispatchReference();
    void DisconnectDispatch();
    void ResizeToGrid(core::Size size);
    // Invalidates the whole window.
    void InvalidateAll();
    void PropertyChanged();

    // Font and metrics at the window's DPI.
    int CurrentDpi() const;
    HFONT Font() { return m_font.Get(CurrentDpi()); }
    core::GridLayout Layout();

    // Painting (month_grid_paint.cpp).
    PaintState CurrentPaintState();
    void Render(HDC dc, const RECT& area);
    // True when the window's pixels are those a full repaint would make.
    bool ShowsCurrentState();
    // The holidays of a month shown, as core::HolidayCalendar::DaysIn; none
    // while they are switched off.
    std::uint32_t HolidaysIn(std::chrono::year_month ym) const;

    // Tooltips (month_grid_tips.cpp).
    void RelayToTips(UINT msg, WPARAM w, LPARAM l);
    // Makes the tools anew if what they describe has moved.
    void SyncTips();
    std::vector<TipItem> TipItems(const core::GridLayout& layout) const;
    LRESULT OnTipText(NMTTDISPINFOW& info);

    GridDispatch* m_pDispatch = nullptr; // one reference, while the window lives

    std::array<COLORREF, static_cast<int>(ColorSlot::Count)> m_colors{};
    int m_nColumns = 1;
    int m_nRows = 1;
    bool m_bShowWeekNumbers = true;
    bool m_bShowHolidays = false;
    core::HolidayCalendar m_holidays; // the region's, cached by year
    core::GridNavigation m_nav;
    GridFont m_font;
    RepaintTracker m_repaint;
    std::chrono::sys_days m_shownToday{}; // the day the last paint marked
    GridTips m_tips;

    core::WheelNotches m_wheel;
    int m_nRepeatDirection = 0; // -1 / +1 while a title arrow is held
    bool m_bRepeatOverArrow = false;
};

// The auto-repeat of a held title arrow (the midnight timer is
// MidnightTimer::kId).
inline constexpr UINT_PTR kRepeatTimer = 2;
// Posted after property puts: the window is invalidated then, and only if
// its pixels no longer show what it would paint.
inline constexpr UINT kCatchUpMessage = WM_USER + 0x3FF;

} // namespace monthgrid
