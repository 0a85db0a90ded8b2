#include "monthgrid/month_grid_control.h"

#include <windowsx.h>

#include <algorithm>
#include <new>
#include <span>

#include "core/dates.h"
#include "core/monthgrid_state.h"
#include "framework/control_site.h"
#include "monthgrid/month_grid_dispatch.h"

namespace monthgrid {

using namespace std::chrono;

namespace {

constexpr UINT_PTR kMidnightTimer = 1;
// Posted after property puts: the window is invalidated then, and only if
// its pixels no longer show what it would paint.
constexpr UINT kCatchUpMessage = WM_USER + 0x3FF;
constexpr UINT_PTR kRepeatTimer = 2;
constexpr UINT kRepeatDelayMs = 400;
constexpr UINT kRepeatIntervalMs = 120;

HFONT StockGuiFont()
{
    if (HGDIOBJ f = ::GetStockObject(DEFAULT_GUI_FONT))
        return static_cast<HFONT>(f);
    return static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
}

SIZE Extent(HDC dc, std::wstring_view text)
{
    SIZE s{};
    ::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &s);
    return s;
}

} // namespace

sys_days LocalToday()
{
    SYSTEMTIME st{};
    ::GetLocalTime(&st);
    const year_month_day ymd{year{st.wYear}, month{st.wMonth}, day{st.wDay}};
    return ymd.ok() ? sys_days{ymd} : sys_days{year{2000} / January / 1};
}

// ---------------------------------------------------------------------------
// Fonts

FontDescription DescribeFont(IFont* font)
{
    FontDescription d;
    if (!font)
        return d;
    BSTR name = nullptr;
    if (SUCCEEDED(font->get_Name(&name)) && name)
        d.face.assign(name, ::SysStringLen(name));
    ::SysFreeString(name);
    CY size{};
    if (SUCCEEDED(font->get_Size(&size)))
        d.size = size.int64;
    SHORT weight = 0;
    BOOL flag = FALSE;
    if (SUCCEEDED(font->get_Weight(&weight)))
        d.weight = weight;
    else if (SUCCEEDED(font->get_Bold(&flag)))
        d.weight = flag ? FW_BOLD : FW_NORMAL;
    SHORT charset = 0;
    if (SUCCEEDED(font->get_Charset(&charset)))
        d.charset = charset;
    if (SUCCEEDED(font->get_Italic(&flag)))
        d.italic = flag != FALSE;
    if (SUCCEEDED(font->get_Underline(&flag)))
        d.underline = flag != FALSE;
    if (SUCCEEDED(font->get_Strikethrough(&flag)))
        d.strikethrough = flag != FALSE;
    return d;
}

LOGFONTW ToLogFont(const FontDescription& font, int dpi)
{
    // Whatever the description lacks comes from the GUI font.
    LOGFONTW lf{};
    if (::GetObjectW(StockGuiFont(), sizeof lf, &lf) != sizeof lf)
        lf = LOGFONTW{};
    if (lf.lfHeight == 0)
        lf.lfHeight = -11;
    dpi = std::clamp(dpi, 48, 960);
    // Up to 1000 pt, so the product below cannot overflow; the pixel height
    // is then kept where the grid's geometry can still lay it out.
    const long long size = std::clamp(font.size, 0LL, 10'000'000LL);
    if (size > 0) {
        const long long px = (size * dpi + 360'000) / 720'000;
        lf.lfHeight = -static_cast<LONG>(std::clamp(px, 1LL, 96LL));
    }
    lf.lfWidth = 0;
    lf.lfEscapement = 0;
    lf.lfOrientation = 0;
    lf.lfWeight = std::clamp(font.weight, 0, 1000);
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfStrikeOut = font.strikethrough;
    lf.lfCharSet = static_cast<BYTE>(std::clamp(font.charset, 0, 255));
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    if (!font.face.empty() && font.face[0] != L'\0') {
        const std::size_t n = std::min<std::size_t>(font.face.size(), LF_FACESIZE - 1);
        std::copy_n(font.face.data(), n, lf.lfFaceName);
        lf.lfFaceName[n] = L'\0';
    }
    return lf;
}

// ---------------------------------------------------------------------------
// Lifetime

MonthGridControl::MonthGridControl(HWND hwnd) : hwnd_(hwnd), nav_(LocalToday())
{
    colors_[static_cast<int>(ColorSlot::Fore)] = RGB(0, 0, 0);
    colors_[static_cast<int>(ColorSlot::MonthBack)] = RGB(255, 255, 255);
    colors_[static_cast<int>(ColorSlot::Back)] = RGB(255, 255, 255);
    colors_[static_cast<int>(ColorSlot::TitleBack)] = RGB(0xDC, 0xDC, 0xDC);
    colors_[static_cast<int>(ColorSlot::TitleFore)] = RGB(0, 0, 0);
    colors_[static_cast<int>(ColorSlot::TrailingFore)] = RGB(0x80, 0x80, 0x80);
}

MonthGridControl::~MonthGridControl()
{
    if (dispatch_) {
        dispatch_->Disconnect();
        dispatch_->Release();
    }
}

MonthGridControl::CallScope::~CallScope()
{
    if (--m_c.callDepth_ == 0 && m_c.detached_)
        delete &m_c;
}

void MonthGridControl::Detach()
{
    if (dispatch_) {
        dispatch_->Disconnect();
        dispatch_->Release();
        dispatch_ = nullptr;
    }
    hwnd_ = nullptr;
    detached_ = true;
    if (callDepth_ == 0)
        delete this;
}

LRESULT CALLBACK MonthGridControl::WindowProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l)
{
    try {
        if (msg == WM_NCCREATE) {
            auto* self = new (std::nothrow) MonthGridControl(hwnd);
            if (!self)
                return FALSE;
            ::SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(self));
            const LRESULT ok = ::DefWindowProcW(hwnd, msg, w, l);
            if (!ok) {
                ::SetWindowLongPtrW(hwnd, 0, 0);
                delete self;
            }
            return ok;
        }
        auto* self = reinterpret_cast<MonthGridControl*>(::GetWindowLongPtrW(hwnd, 0));
        if (!self)
            return ::DefWindowProcW(hwnd, msg, w, l);
        if (msg == WM_NCDESTROY) {
            ::SetWindowLongPtrW(hwnd, 0, 0);
            self->Detach();
            return ::DefWindowProcW(hwnd, msg, w, l);
        }
        CallScope scope(*self);
        return self->HandleMessage(msg, w, l);
    } catch (...) {
        // Nothing may unwind into the system's dispatch; the message simply
        // has no effect.
        return 0;
    }
}

IDispatch* MonthGridControl::Dispatch()
{
    if (!dispatch_)
        dispatch_ = new (std::nothrow) GridDispatch(this);
    if (dispatch_)
        dispatch_->AddRef();
    return dispatch_;
}

// ---------------------------------------------------------------------------
// Messages

LRESULT MonthGridControl::HandleMessage(UINT msg, WPARAM w, LPARAM l)
{
    if (msg == fw::ControlDispatchMessage())
        return reinterpret_cast<LRESULT>(Dispatch());

    switch (msg) {
    case WM_CREATE:
        ArmMidnightTimer();
        return 0;
    case kCatchUpMessage:
        catchUpPosted_ = false;
        if (!shownKnown_ || !(CurrentPaintState() == shown_))
            Invalidate();
        return 0;
    case kLoadStateMessage:
        return LoadState(w, l);
    case kGetInfoMessage: {
        auto* info = reinterpret_cast<GridInfo*>(l);
        if (!info || info->cbSize != sizeof(GridInfo))
            return FALSE;
        FillInfo(*info);
        return TRUE;
    }
    case WM_PAINT: {
        fw::PaintDC dc(hwnd_);
        renderedThisPaint_ = false;
        if (dc.get())
            Paint(dc.get(), dc.info().rcPaint);
        NotePainted();
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT all{};
        ::GetClientRect(hwnd_, &all);
        Paint(reinterpret_cast<HDC>(w), all);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;  // Paint covers every pixel
    case WM_SIZE:
        Invalidate();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(Font());
    case WM_KEYDOWN:
        OnKeyDown(w);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // a quick second click on an arrow is one more month
        OnButtonDown({GET_X_LPARAM(l), GET_Y_LPARAM(l)});
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove({GET_X_LPARAM(l), GET_Y_LPARAM(l)});
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp();
        return 0;
    case WM_CAPTURECHANGED:
        if (repeatDirection_ != 0) {
            repeatDirection_ = 0;
            ::KillTimer(hwnd_, kRepeatTimer);
        }
        return 0;
    case WM_MOUSEWHEEL:
        OnWheel(GET_WHEEL_DELTA_WPARAM(w));
        return 0;
    case WM_TIMER:
        if (w == kMidnightTimer) {
            if (LocalToday() != shownToday_)
                Invalidate();
            ArmMidnightTimer();
        } else if (w == kRepeatTimer) {
            OnRepeatTimer();
        }
        return 0;
    case WM_TIMECHANGE:
        ArmMidnightTimer();
        Invalidate();
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();
        return 0;
    case WM_UPDATEUISTATE:
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE:
    case 0x02E3:  // WM_DPICHANGED_AFTERPARENT: the font is remade at the next use
        Invalidate();
        break;
    default:
        break;
    }
    return ::DefWindowProcW(hwnd_, msg, w, l);
}

bool MonthGridControl::LoadState(WPARAM length, LPARAM bytes)
{
    if (!bytes)
        return false;
    // The length is checked before a single byte is read.
    const auto state = core::DecodeMonthGridState(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes), length));
    if (!state)
        return false;
    colors_[static_cast<int>(ColorSlot::Fore)] = state->foreColor;
    colors_[static_cast<int>(ColorSlot::MonthBack)] = state->monthBackColor;
    colors_[static_cast<int>(ColorSlot::Back)] = state->backColor;
    colors_[static_cast<int>(ColorSlot::TitleBack)] = state->titleBackColor;
    colors_[static_cast<int>(ColorSlot::TitleFore)] = state->titleForeColor;
    colors_[static_cast<int>(ColorSlot::TrailingFore)] = state->trailingForeColor;
    showWeekNumbers_ = state->ShowWeekNumbers();
    columns_ = state->columns;
    rows_ = state->rows;
    const core::GridShape shape = core::ClampGrid(columns_, rows_);
    nav_.SetMonthCount(shape.columns * shape.rows);
    Invalidate();
    return true;
}

void MonthGridControl::FillInfo(GridInfo& info)
{
    info.metrics = Metrics();
    info.shape = core::ClampGrid(columns_, rows_);
    info.showWeekNumbers = showWeekNumbers_;
    const year_month first = nav_.First();
    info.firstYear = static_cast<int>(first.year());
    info.firstMonth = static_cast<int>(static_cast<unsigned>(first.month()));
    const year_month_day sel{nav_.Selected()};
    info.selectedYear = static_cast<int>(sel.year());
    info.selectedMonth = static_cast<int>(static_cast<unsigned>(sel.month()));
    info.selectedDay = static_cast<int>(static_cast<unsigned>(sel.day()));
}

void MonthGridControl::Invalidate()
{
    if (!hwnd_)
        return;
    wholeWindowInvalid_ = true;
    ::InvalidateRect(hwnd_, nullptr, FALSE);
}

// ---------------------------------------------------------------------------
// Properties

// Property puts leave the invalidation to a message of their own, posted
// once for a run of puts. A host's layout pass puts every property each
// time, columns to 1 and back among them, and usually ends where it
// started: invalidating on each put would repaint the whole grid for
// nothing. A Refresh in the same run repaints at once if anything changed.
void MonthGridControl::PropertyChanged()
{
    if (!hwnd_ || catchUpPosted_)
        return;
    if (::PostMessageW(hwnd_, kCatchUpMessage, 0, 0))
        catchUpPosted_ = true;
    else
        Invalidate();
}

void MonthGridControl::SetColor(ColorSlot slot, COLORREF color)
{
    const int i = static_cast<int>(slot);
    if (i < 0 || i >= static_cast<int>(colors_.size()) || colors_[i] == color)
        return;
    colors_[i] = color;
    PropertyChanged();
}

void MonthGridControl::SetShowWeekNumbers(bool show)
{
    if (showWeekNumbers_ == show)
        return;
    showWeekNumbers_ = show;
    PropertyChanged();
}

void MonthGridControl::SetColumns(int columns)
{
    if (columns_ == columns)
        return;
    columns_ = columns;
    const core::GridShape shape = core::ClampGrid(columns_, rows_);
    nav_.SetMonthCount(shape.columns * shape.rows);
    PropertyChanged();
}

void MonthGridControl::SetRows(int rows)
{
    if (rows_ == rows)
        return;
    rows_ = rows;
    const core::GridShape shape = core::ClampGrid(columns_, rows_);
    nav_.SetMonthCount(shape.columns * shape.rows);
    PropertyChanged();
}

void MonthGridControl::SetFont(const FontDescription* font)
{
    // The same description makes the same GDI font: the one made is kept,
    // and with it the measured metrics.
    if (font ? hasFontDescription_ && *font == fontDescription_ : !hasFontDescription_)
        return;
    hasFontDescription_ = font != nullptr;
    if (font)
        fontDescription_ = *font;
    font_.reset();
    fontDpi_ = 0;
    ++fontGeneration_;
    Font();  // made now, at the window's DPI
    PropertyChanged();
}

void MonthGridControl::SetCurrentDate(sys_days day)
{
    nav_.SetCurrentDate(day);
    Invalidate();
}

void MonthGridControl::Refresh()
{
    if (!hwnd_)
        return;
    const core::Size size = Layout().TotalSize();
    RECT now{};
    ::GetClientRect(hwnd_, &now);
    if (now.right - now.left != size.width || now.bottom - now.top != size.height) {
        // The client area, not the window, must get the grid's size: a
        // border given by the host's template is added around it.
        const LONG style = static_cast<LONG>(::GetWindowLongPtrW(hwnd_, GWL_STYLE));
        const LONG exStyle = static_cast<LONG>(::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
        RECT want{0, 0, size.width, size.height};
        ::AdjustWindowRectEx(&want, static_cast<DWORD>(style), FALSE, static_cast<DWORD>(exStyle));
        int width = want.right - want.left;
        int height = want.bottom - want.top;
        for (int attempt = 0; attempt < 3; ++attempt) {
            ::SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            if (!hwnd_)
                return;  // destroyed by whoever watched the resize
            RECT client{};
            ::GetClientRect(hwnd_, &client);
            const int dx = size.width - (client.right - client.left);
            const int dy = size.height - (client.bottom - client.top);
            if (dx == 0 && dy == 0)
                break;
            width += dx;
            height += dy;
        }
    }
    // Repainting what is already on the screen would change no pixel.
    if (ShowsCurrentState())
        return;
    wholeWindowInvalid_ = true;
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

// ---------------------------------------------------------------------------
// Font and metrics

int MonthGridControl::CurrentDpi() const
{
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow"));
    if (getDpiForWindow && hwnd_) {
        if (const UINT dpi = getDpiForWindow(hwnd_); dpi > 0)
            return static_cast<int>(dpi);
    }
    fw::WindowDC dc(hwnd_);
    const int dpi = dc ? ::GetDeviceCaps(dc.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : 96;
}

HFONT MonthGridControl::Font()
{
    if (!hasFontDescription_)
        return StockGuiFont();
    const int dpi = CurrentDpi();
    if (!font_ || fontDpi_ != dpi) {
        const LOGFONTW lf = ToLogFont(fontDescription_, dpi);
        font_.reset(::CreateFontIndirectW(&lf));
        fontDpi_ = dpi;
    }
    return font_ ? font_.get() : StockGuiFont();
}

const core::FontMetrics& MonthGridControl::Metrics()
{
    const int dpi = CurrentDpi();
    HFONT font = Font();
    if (metricsGeneration_ == fontGeneration_ && metricsDpi_ == dpi && metricsFont_ == font)
        return metrics_;

    metrics_ = core::FontMetrics{};
    textHeight_ = 0;
    digitWidths_.fill(0);
    fw::WindowDC dc(hwnd_);
    if (dc) {
        fw::SelectObjectScope select(dc.get(), font);
        TEXTMETRICW tm{};
        if (::GetTextMetricsW(dc.get(), &tm)) {
            metrics_.textHeight = tm.tmHeight;
            metrics_.averageCharWidth = tm.tmAveCharWidth;
            textHeight_ = tm.tmHeight;
        }
        // Day and week numbers: measured as drawn, pair by pair, so kerning
        // and proportional digits are both covered.
        wchar_t pair[2];
        int widestDigit = 0;
        wchar_t widestDigitChar = L'0';
        for (int d = 0; d < 10; ++d) {
            pair[0] = static_cast<wchar_t>(L'0' + d);
            digitWidths_[d] = Extent(dc.get(), {pair, 1}).cx;
            if (digitWidths_[d] > widestDigit) {
                widestDigit = digitWidths_[d];
                widestDigitChar = pair[0];
            }
        }
        for (int n = 0; n <= 53; ++n) {
            pair[0] = static_cast<wchar_t>(L'0' + n / 10);
            pair[1] = static_cast<wchar_t>(L'0' + n % 10);
            metrics_.numberWidth = std::max<int>(metrics_.numberWidth, Extent(dc.get(), {pair, 2}).cx);
        }
        for (std::wstring_view abbreviation : core::kWeekdayAbbreviations)
            metrics_.weekdayWidth = std::max<int>(metrics_.weekdayWidth, Extent(dc.get(), abbreviation).cx);
        // Every month name with the widest four-digit year: the size then
        // depends on the font alone, never on the months shown.
        const std::wstring year(4, widestDigitChar);
        for (std::wstring_view name : core::kMonthNames) {
            std::wstring title(name);
            title += L' ';
            title += year;
            metrics_.titleWidth = std::max<int>(metrics_.titleWidth, Extent(dc.get(), title).cx);
        }
    }
    metricsGeneration_ = fontGeneration_;
    metricsDpi_ = dpi;
    metricsFont_ = font;
    return metrics_;
}

core::GridLayout MonthGridControl::Layout()
{
    return core::GridLayout(Metrics(), columns_, rows_, showWeekNumbers_);
}

// ---------------------------------------------------------------------------
// Input

void MonthGridControl::Changed(bool changed)
{
    if (changed)
        Invalidate();
}

void MonthGridControl::OnKeyDown(WPARAM key)
{
    const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
    switch (key) {
    case VK_LEFT:
        Changed(nav_.MoveByDays(-1));
        break;
    case VK_RIGHT:
        Changed(nav_.MoveByDays(1));
        break;
    case VK_UP:
        Changed(nav_.MoveByDays(-7));
        break;
    case VK_DOWN:
        Changed(nav_.MoveByDays(7));
        break;
    case VK_PRIOR:
        Changed(nav_.MoveByMonths(ctrl ? -12 : -1));
        break;
    case VK_NEXT:
        Changed(nav_.MoveByMonths(ctrl ? 12 : 1));
        break;
    case VK_HOME:
        Changed(nav_.GoToToday(LocalToday()));
        break;
    default:
        break;
    }
}

void MonthGridControl::OnButtonDown(POINT p)
{
    if (::GetFocus() != hwnd_)
        ::SetFocus(hwnd_);
    if (!hwnd_)
        return;
    const core::GridLayout layout = Layout();
    const core::HitResult hit = layout.HitTest({p.x, p.y});
    switch (hit.kind) {
    case core::HitKind::PrevArrow:
    case core::HitKind::NextArrow:
        repeatDirection_ = hit.kind == core::HitKind::PrevArrow ? -1 : 1;
        repeatOverArrow_ = true;
        Changed(nav_.Scroll(repeatDirection_));
        ::SetCapture(hwnd_);
        ::SetTimer(hwnd_, kRepeatTimer, kRepeatDelayMs, nullptr);
        break;
    case core::HitKind::Day: {
        const core::MonthLayout month = core::LayoutMonth(core::AddMonths(nav_.First(), hit.month));
        const auto& cell = month.cells[static_cast<std::size_t>(hit.line * 7 + hit.weekday)];
        Changed(nav_.Select(cell.date));
        break;
    }
    default:
        break;
    }
}

void MonthGridControl::OnMouseMove(POINT p)
{
    if (repeatDirection_ == 0)
        return;
    const core::HitKind arrow = repeatDirection_ < 0 ? core::HitKind::PrevArrow : core::HitKind::NextArrow;
    repeatOverArrow_ = Layout().HitTest({p.x, p.y}).kind == arrow;
}

void MonthGridControl::OnButtonUp() { StopRepeat(); }

void MonthGridControl::StopRepeat()
{
    if (repeatDirection_ == 0)
        return;
    repeatDirection_ = 0;
    ::KillTimer(hwnd_, kRepeatTimer);
    if (::GetCapture() == hwnd_)
        ::ReleaseCapture();
}

void MonthGridControl::OnRepeatTimer()
{
    if (repeatDirection_ == 0) {
        ::KillTimer(hwnd_, kRepeatTimer);
        return;
    }
    if (repeatOverArrow_)
        Changed(nav_.Scroll(repeatDirection_));
    ::SetTimer(hwnd_, kRepeatTimer, kRepeatIntervalMs, nullptr);
}

void MonthGridControl::OnWheel(int delta)
{
    // A turn the other way drops what was left of the previous direction.
    if ((delta > 0 && wheelRemainder_ < 0) || (delta < 0 && wheelRemainder_ > 0))
        wheelRemainder_ = 0;
    wheelRemainder_ += delta;
    const int notches = wheelRemainder_ / WHEEL_DELTA;
    wheelRemainder_ -= notches * WHEEL_DELTA;
    // Turning the wheel away from the user goes back in time, as scrolling
    // up does in a list.
    if (notches != 0)
        Changed(nav_.Scroll(-notches));
}

void MonthGridControl::ArmMidnightTimer()
{
    if (!hwnd_)
        return;
    SYSTEMTIME st{};
    ::GetLocalTime(&st);
    const long long msOfDay = ((st.wHour * 60LL + st.wMinute) * 60 + st.wSecond) * 1000 + st.wMilliseconds;
    // Just past midnight; at most an hour ahead, so a day of 23 or 25 hours
    // (daylight saving) or a suspended machine is caught up soon after.
    const long long untilMidnight = 86'400'000 - msOfDay + 500;
    const UINT wait = static_cast<UINT>(std::clamp(untilMidnight, 1'000LL, 3'600'000LL));
    ::SetTimer(hwnd_, kMidnightTimer, wait, nullptr);
}

// ---------------------------------------------------------------------------
// Registration

bool RegisterMonthGridClass(HINSTANCE instance)
{
    if (!instance)
        instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (::GetClassInfoExW(instance, kClassName, &wc))
        return true;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &MonthGridControl::WindowProc;
    wc.cbWndExtra = sizeof(void*);
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr;  // Paint covers every pixel
    wc.lpszClassName = kClassName;
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace monthgrid
