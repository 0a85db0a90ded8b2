#pragma once
// The C++ object behind one month-grid window, made by the window class for
// each of its windows (fw::CWnd::RegisterOwnWindowClass) and gone with it.
// Its jobs live in files of their own: the window's messages
// (month_grid_window.cpp), the properties and sizing (month_grid_control.cpp),
// input (month_grid_input.cpp), painting (month_grid_paint.cpp), the font
// and its metrics (grid_font.h), repaint tracking (repaint_tracker.h), the
// clock (grid_clock.h), what assistive technology sees and is told
// (month_grid_accessible.cpp, grid_accessible.h) and the tooltips
// (grid_tips.h, month_grid_tips.cpp).
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

struct Palette;

class GridConnection;
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

    // Onto the window's own paint DC (WM_PAINT) or any other (WM_PRINTCLIENT).
    void Paint(HDC target, const RECT& area);

    // What the accessible objects read and do (grid_accessible.h).
    const core::GridNavigation& Navigation() const { return m_nav; }
    core::GridShape Shape() const { return core::ClampGrid(m_nColumns, m_nRows); }
    core::GridLayout AccessibleLayout() { return Layout(); }
    bool HasFocus() const { return m_bFocused; }
    // As a click on the day does.
    void SelectDay(std::chrono::sys_days day);
    // As a click on a title arrow does, once per month.
    void ScrollMonths(int months);
    void TakeFocus();

    // Today's date as the grid marks it, brought up to the clock first: the
    // one date that the mark, Home and anything else about today go by.
    std::chrono::sys_days Today();

    static const fw::MessageMap<MonthGridControl, 31> kMessageMap;

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
    LRESULT OnCheckDate(WPARAM, LPARAM);
    LRESULT OnTimeChange(WPARAM, LPARAM);
    LRESULT OnSetFocus(WPARAM, LPARAM);
    LRESULT OnKillFocus(WPARAM, LPARAM);
    void OnThemeChange();
    void OnSettingChange();
    LRESULT OnPowerBroadcast(WPARAM event, LPARAM);
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

    // Accessibility (month_grid_accessible.cpp).
    LRESULT OnGetObject(WPARAM w, LPARAM objectId);
    void DisconnectAccessible();
    // Tells assistive technology what changed since it was last told: the
    // months shown or today (EVENT_OBJECT_REORDER), the selected day
    // (EVENT_OBJECT_SELECTION, and EVENT_OBJECT_FOCUS while focused).
    void AnnounceChanges();
    void AnnounceFocus();
    void ResizeToGrid(core::Size size);
    // Invalidates the whole window.
    void InvalidateAll();
    void PropertyChanged();

    // Moves the mark when the clock's date is no longer the one marked;
    // true when it did. ClockMoved also sets the midnight timer anew.
    bool FollowClock();
    void ClockMoved();

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
    RowBands BandsOf(const RECT& area, const core::GridLayout& layout) const;
    PaintState CurrentPaintState();
    PaintState CurrentPaintState(const core::GridLayout& layout, const Palette& pal);
    // One band of a paint, all of whose bands share the layout, state and
    // palette worked out once for it.
    void Render(HDC dc, const RECT& area, const core::GridLayout& layout, const PaintState& state,
                const Palette& pal);
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

    GridDispatch* m_pDispatch = nullptr;     // one reference, while the window lives
    GridConnection* m_pConnection = nullptr; // of the accessible objects, likewise

    std::array<COLORREF, static_cast<int>(ColorSlot::Count)> m_colors{};
    int m_nColumns = 1;
    int m_nRows = 1;
    bool m_bShowWeekNumbers = true;
    std::chrono::sys_days m_today; // the day marked; before m_nav, which starts on it
    bool m_bShowHolidays = false;
    core::HolidayCalendar m_holidays; // the region's, cached by year
    core::GridNavigation m_nav;
    GridFont m_font;
    RepaintTracker m_repaint;
    GridTips m_tips;
    bool m_bFocused = false;      // between WM_SETFOCUS and WM_KILLFOCUS
    bool m_bHighContrast = false; // as last read, at creation and at theme changes

    // What assistive technology was last told.
    struct Announced {
        std::chrono::year_month first{};
        int count = 0;
        std::chrono::sys_days today{};
        std::chrono::sys_days selected{};
        bool selectedShown = false;
    };
    Announced m_announced;
    Announced Observed() const;

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
