#pragma once
// The C++ object behind one month-grid window. It lives exactly as long as
// its window: the window procedure creates it at WM_NCCREATE and lets it go
// at WM_NCDESTROY (later, if a call into it is still on the stack).
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <array>
#include <chrono>
#include <string>

#include "core/grid_geometry.h"
#include "framework/handles.h"
#include "monthgrid/grid_navigation.h"
#include "monthgrid/monthgrid.h"

namespace monthgrid {

class GridDispatch;

enum class ColorSlot { Fore, MonthBack, Back, TitleBack, TitleFore, TrailingFore, Count };

// What the grid keeps of a font object: its description, never the object.
struct FontDescription {
    std::wstring face;
    long long size = 0;  // 1/10000 pt, as IFont's CY
    int weight = FW_NORMAL;
    int charset = DEFAULT_CHARSET;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;

    bool operator==(const FontDescription&) const = default;
};

// Everything the pixels of a paint depend on: two equal states paint the
// same pixels.
struct PaintState {
    std::array<COLORREF, 9> palette{};
    std::chrono::sys_days today{};
    std::chrono::sys_days selected{};
    std::chrono::sys_days firstShown{};  // the first day of the first month
    int columns = 0;
    int rows = 0;
    bool showWeekNumbers = false;
    HFONT font = nullptr;
    unsigned fontGeneration = 0;
    int dpi = 0;
    bool focusCue = false;
    int width = 0;
    int height = 0;

    bool operator==(const PaintState&) const = default;
};

// The local date now.
std::chrono::sys_days LocalToday();

// Reads an IFont; fields it cannot answer keep the defaults above.
FontDescription DescribeFont(IFont* font);
// The GDI font for a description at a vertical DPI:
// lfHeight = -round(size * dpi / 720000), kept within 1..96 pixels.
LOGFONTW ToLogFont(const FontDescription& font, int dpi);

class MonthGridControl {
public:
    explicit MonthGridControl(HWND hwnd);
    ~MonthGridControl();
    MonthGridControl(const MonthGridControl&) = delete;
    MonthGridControl& operator=(const MonthGridControl&) = delete;

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);

    // Keeps the object alive while a call into it runs: the window may be
    // destroyed from inside (a host reacting to a resize, say).
    class CallScope {
    public:
        explicit CallScope(MonthGridControl& c) : m_c(c) { ++m_c.callDepth_; }
        ~CallScope();
        CallScope(const CallScope&) = delete;
        CallScope& operator=(const CallScope&) = delete;

    private:
        MonthGridControl& m_c;
    };
    bool Alive() const { return hwnd_ != nullptr; }

    // The operations of the dispatch interface.
    void SetColor(ColorSlot slot, COLORREF color);
    void SetShowWeekNumbers(bool show);
    void SetColumns(int columns);
    void SetRows(int rows);
    void SetFont(const FontDescription* font);  // null: the GUI font
    void SetCurrentDate(std::chrono::sys_days day);
    void Refresh();

    void Paint(HDC target, const RECT& area);

private:
    LRESULT HandleMessage(UINT msg, WPARAM w, LPARAM l);
    void Detach();

    bool LoadState(WPARAM length, LPARAM bytes);
    IDispatch* Dispatch();
    void FillInfo(GridInfo& info);

    // Font and metrics.
    int CurrentDpi() const;
    HFONT Font();  // ensures the font matches the DPI
    const core::FontMetrics& Metrics();
    core::GridLayout Layout();

    // Painting.
    PaintState CurrentPaintState();
    void Render(HDC dc, const RECT& area);
    // After a paint of the window itself: what its pixels show now.
    void NotePainted();
    // True when the window's pixels are those a full repaint would make.
    bool ShowsCurrentState();

    // Input.
    void OnKeyDown(WPARAM key);
    void OnButtonDown(POINT p);
    void OnMouseMove(POINT p);
    void OnButtonUp();
    void OnWheel(int delta);
    void OnRepeatTimer();
    void StopRepeat();
    void ArmMidnightTimer();
    void Changed(bool changed);
    void Invalidate();  // the whole window
    void PropertyChanged();

    HWND hwnd_;
    int callDepth_ = 0;
    bool detached_ = false;
    GridDispatch* dispatch_ = nullptr;  // one reference, while the window lives

    std::array<COLORREF, static_cast<int>(ColorSlot::Count)> colors_{};
    int columns_ = 1;
    int rows_ = 1;
    bool showWeekNumbers_ = true;
    GridNavigation nav_;

    bool hasFontDescription_ = false;
    FontDescription fontDescription_;
    fw::UniqueFont font_;  // made from fontDescription_; null: the stock GUI font
    int fontDpi_ = 0;
    unsigned fontGeneration_ = 1;

    core::FontMetrics metrics_;
    unsigned metricsGeneration_ = 0;  // fontGeneration_ it was measured for
    int metricsDpi_ = 0;
    HFONT metricsFont_ = nullptr;
    std::array<int, 10> digitWidths_{};
    int textHeight_ = 0;

    std::chrono::sys_days shownToday_{};  // the day the last paint marked

    // Whether a Refresh may leave the window as it is: the state of the last
    // paint, the state the window's pixels show (when known) and whether
    // the whole window has been invalidated since its last paint.
    PaintState lastRendered_;
    bool renderedThisPaint_ = false;
    PaintState shown_;
    bool shownKnown_ = false;
    bool wholeWindowInvalid_ = false;
    bool catchUpPosted_ = false;

    int wheelRemainder_ = 0;
    int repeatDirection_ = 0;  // -1 / +1 while an arrow is held
    bool repeatOverArrow_ = false;
};

} // namespace monthgrid
