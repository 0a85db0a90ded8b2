#pragma once
// The C++ object behind one month-grid window, made by the window class for
// each of its windows (fw::CWnd::RegisterOwnWindowClass) and gone with it.
// Its jobs live in files of their own: the window's messages
// (month_grid_window.cpp), the properties and sizing (month_grid_control.cpp),
// input (month_grid_input.cpp), painting (month_grid_paint.cpp), the font
// and its metrics (grid_font.h), repaint tracking (repaint_tracker.h) and the
// clock (grid_clock.h).
#include <windows.h>
#include <oaidl.h>

#include <array>
#include <chrono>

#include "core/grid_geometry.h"
#include "core/grid_navigation.h"
#include "core/monthgrid_state.h"
#include "framework/handles.h"
#include "framework/window_base.h"
#include "monthgrid/grid_font.h"
#include "monthgrid/monthgrid.h"
#include "monthgrid/repaint_tracker.h"

namespace monthgrid {

class GridDispatch;

class MonthGridControl : public fw::WithMessageMap<MonthGridControl> {
public:
    MonthGridControl();
    ~MonthGridControl() override;

    bool Alive() const { return m_hWnd != nullptr; }

    // The operations of the dispatch interface.
    void SetColor(ColorSlot slot, COLORREF color);
    void SetShowWeekNumbers(bool show);
    void SetColumns(int columns);
    void SetRows(int rows);
    void SetFont(const FontDescription* font); // null: the GUI font
    void SetCurrentDate(std::chrono::sys_days day);
    void Refresh();

    // `onScreen`: the target is the window's own paint DC (WM_PAINT);
    // otherwise (WM_PRINTCLIENT) it may be any DC.
    void Paint(HDC target, const RECT& area, bool onScreen = false);

    static const fw::MessageMap<MonthGridControl, 27> kMessageMap;

protected:
    void PostNcDestroy() override;

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
    // The paint area cut at the rows of months, top to bottom.
    struct RowBands {
        std::array<RECT, core::kMaxMonths> rects{};
        int count = 0;
        const RECT* begin() const { return rects.data(); }
        const RECT* end() const { return rects.data() + count; }
    };
    RowBands BandsOf(const RECT& area);
    PaintState CurrentPaintState();
    void Render(HDC dc, const RECT& area);
    // True when the window's pixels are those a full repaint would make.
    bool ShowsCurrentState();

    GridDispatch* m_pDispatch = nullptr; // one reference, while the window lives

    std::array<COLORREF, static_cast<int>(ColorSlot::Count)> m_colors{};
    int m_nColumns = 1;
    int m_nRows = 1;
    bool m_bShowWeekNumbers = true;
    core::GridNavigation m_nav;
    GridFont m_font;
    RepaintTracker m_repaint;
    std::chrono::sys_days m_shownToday{}; // the day the last paint marked

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
