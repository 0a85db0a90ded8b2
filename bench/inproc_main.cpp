// The real calendar window in a process of its own, timed from inside its
// modal loop with everything warm:
//   layout  one ApplyCalendarSettings (4 x 3 months, week numbers) against
//           moving and centring the same window, each with the paints it
//           causes;
//   font    WM_FONT_CHANGED against one layout pass;
//   paint   the month grid's full repaint of twelve months into a memory
//           DC against the platform's month calendar control painting
//           twelve months at the same pixel size; and the same repaint
//           with Bayern's holidays against one without holidays;
//   open    the calendar window from its creation to its first paint
//           against the empty dialog of the start-up baseline, at the
//           calendar's fitted size and at its template's: the share of
//           start-up that is the calendar's own code, warm, without the
//           process start and the DLLs (see bench_launch for those);
//   a11y    a screen reader's reading of the whole accessible tree of the
//           twelve months (every name, role, state, description and
//           location, through IAccessible as a client calls it) against
//           one full paint of the grid as it stands;
//   steps   the program's own start-up (its application object) timed step
//           by step through its step marks (framework/step_trace.h): the
//           process's first start-up, then --reps more in the same process;
//   floorsteps  the same for the floor: the empty dialog (at --size WxH)
//           after OLE and the common controls.
// The two sides alternate, medians are compared (bench_stats.h); steps and
// floorsteps print one STEP line per step and run, and tools/bench.sh takes
// the medians over many processes.
//
//   bench_inproc --part open|layout|font|clock|paint|holidays|a11y|steps|floorsteps [--reps N] [--size WxH]
#include "bench_stats.h"

#include "app/calendar_app.h"
#include "app/private_messages.h"
#include "app/settings_store.h"
#include "calendar/calendar_window.h"
#include "core/settings_keys.h"
#include "framework/app.h"
#include "framework/com_values.h"
#include "framework/control_site.h"
#include "framework/handles.h"
#include "framework/step_trace.h"
#include "monthgrid/monthgrid.h"

#include <commctrl.h>
#include <ole2.h>
#include <oleacc.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace bench;

// A profile of its own in the temporary folder, holding the defaults, so
// that every read finds a real file as it does on a user's machine.
class BenchApp : public fw::CWinApp {
public:
    BenchApp() : fw::CWinApp(L"Morvelin")
    {
        wchar_t dir[MAX_PATH];
        ::GetTempPathW(MAX_PATH, dir);
        wchar_t path[MAX_PATH + 64];
        std::swprintf(path, std::size(path), L"%lsmorvelin-bench-%lu.ini", dir,
                      static_cast<unsigned long>(::GetCurrentProcessId()));
        m_profilePath = path;
        ::DeleteFileW(m_profilePath.c_str());
        InitApplication(::GetModuleHandleW(nullptr));
        using namespace core::keys;
        for (const core::SettingKey* key : kAll) {
            if (key->kind == core::KeyKind::Text)
                WriteProfileString(key->section, key->name, L"");
            else if (key->kind != core::KeyKind::Binary)
                WriteProfileInt(key->section, key->name, key->defaultValue);
        }
    }
    ~BenchApp() override
    {
        ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, m_profilePath.c_str());
        ::DeleteFileW(m_profilePath.c_str());
    }
};

int g_reps = 101;
int g_failures = 0;
CCalendarDlg* g_dlg = nullptr;

// As the tests' pump does (tests/win/support), repeated here on purpose:
// the bench links only what it measures, not the test support library.
void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (fw::CWnd::WalkPreTranslateTree(nullptr, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Times `measured` and `baseline` alternately (ABBA), after a few unmeasured
// rounds; messages left behind are handled between the timings.
void Compare(const char* name, const std::function<void()>& measured, const std::function<void()>& baseline,
             int reps)
{
    std::vector<double> a, b;
    auto time = [](const std::function<void()>& f) {
        const double t0 = NowMs();
        f();
        return (NowMs() - t0) * 1000.0;
    };
    for (int i = 0; i < std::max(5, reps / 10); ++i) {
        measured();
        baseline();
        Pump();
    }
    for (int i = 0; i < reps; ++i) {
        if (i % 2 == 0) {
            a.push_back(time(measured));
            Pump();
            b.push_back(time(baseline));
        } else {
            b.push_back(time(baseline));
            Pump();
            a.push_back(time(measured));
        }
        Pump();
    }
    PrintComparison(name, "us", a, b);
}

// One figure alone, for the breakdown of a comparison.
void Detail(const char* name, const std::function<void()>& f, int reps)
{
    std::vector<double> v;
    for (int i = 0; i < reps; ++i) {
        const double t0 = NowMs();
        f();
        v.push_back((NowMs() - t0) * 1000.0);
        Pump();
    }
    std::printf("DETAIL %s reps=%d median_us=%.4g iqr_pct=%.1f\n", name, reps, Median(v), SpreadPct(v));
    std::fflush(stdout);
}

// What is left for one window to do once a call returns: its pending paint
// and the messages posted to it (the clock's timer and the like are not
// part of any figure, and wait for the next Pump).
void Finish(HWND top, HWND child)
{
    ::UpdateWindow(top);
    MSG msg;
    for (HWND h : {top, child}) {
        while (::PeekMessageW(&msg, h, 0, WM_TIMER - 1, PM_REMOVE) ||
               ::PeekMessageW(&msg, h, WM_TIMER + 1, 0xFFFFFFFF, PM_REMOVE))
            ::DispatchMessageW(&msg);
    }
}

// A layout pass with the paints it causes, and what any program does to
// move and centre a window, in plain calls: the same rectangle again, then
// centred on the work area, with no setting read and no grid touched.
struct Passes {
    CCalendarDlg& dlg;
    HWND hwnd = dlg.m_hWnd;
    HWND grid = dlg.MonthView().m_hWnd;

    void Layout() const
    {
        dlg.ApplyCalendarSettings();
        Finish(hwnd, grid);
    }
    void MoveAndCentre() const
    {
        RECT r{};
        ::GetWindowRect(hwnd, &r);
        const int w = r.right - r.left, h = r.bottom - r.top;
        ::MoveWindow(hwnd, r.left, r.top, w, h, TRUE);
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        ::GetMonitorInfoW(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &mi);
        const int x = mi.rcWork.left + (mi.rcWork.right - mi.rcWork.left - w) / 2;
        const int y = mi.rcWork.top + (mi.rcWork.bottom - mi.rcWork.top - h) / 2;
        ::SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Finish(hwnd, grid);
    }
};

int DetailReps() { return std::max(5, g_reps / 2); }

// The pass, taken apart first (each piece alone), then against its baseline.
// What a layout pass reads: ten numbers and the holidays' Land.
constexpr const core::SettingKey* kPassNumbers[] = {
    &core::keys::kColumns,           &core::keys::kRows,           &core::keys::kForeColor,
    &core::keys::kMonthBackColor,    &core::keys::kTitleBackColor, &core::keys::kTitleForeColor,
    &core::keys::kTrailingForeColor, &core::keys::kWeekNumbers,    &core::keys::kHolidayForeColor,
    &core::keys::kHolidays};

void LayoutPart(CCalendarDlg& dlg)
{
    const Passes passes{dlg};
    Detail(
        "layout.read_settings",
        [] {
            SettingsStore::Sections stored;
            for (const core::SettingKey* key : kPassNumbers)
                stored.Int(*key);
            stored.Text(core::keys::kHolidayRegion);
        },
        DetailReps());
    // The same values read key by key, as the pass once did, and through
    // the platform's profile function alone.
    Detail(
        "layout.read_settings_by_key",
        [] {
            for (const core::SettingKey* key : kPassNumbers)
                SettingsStore::ReadInt(*key);
            SettingsStore::ReadString(core::keys::kHolidayRegion);
        },
        DetailReps());
    Detail(
        "layout.read_settings_api_alone",
        [] {
            using namespace core::keys;
            wchar_t value[256];
            const std::wstring& path = fw::AfxGetApp()->m_profilePath;
            for (const core::SettingKey* key : kPassNumbers)
                ::GetPrivateProfileStringW(key->section, key->name, L"", value, 256, path.c_str());
            ::GetPrivateProfileStringW(kHolidayRegion.section, kHolidayRegion.name, L"", value, 256,
                                       path.c_str());
        },
        DetailReps());
    Detail(
        "layout.puts",
        [&] {
            using namespace core::keys;
            CMonthView& view = dlg.MonthView();
            view.SetForeColor(static_cast<COLORREF>(kForeColor.defaultValue));
            view.SetMonthBackColor(static_cast<COLORREF>(kMonthBackColor.defaultValue));
            view.SetBackColor(static_cast<COLORREF>(kMonthBackColor.defaultValue));
            view.SetTitleBackColor(static_cast<COLORREF>(kTitleBackColor.defaultValue));
            view.SetTitleForeColor(static_cast<COLORREF>(kTitleForeColor.defaultValue));
            view.SetTrailingForeColor(static_cast<COLORREF>(kTrailingForeColor.defaultValue));
            view.SetShowWeekNumbers(kWeekNumbers.defaultValue != 0);
            view.SetMonthColumns(1);
            view.SetMonthRows(static_cast<short>(kRows.defaultValue));
            view.SetMonthColumns(static_cast<short>(kColumns.defaultValue));
            view.SetHolidayForeColor(static_cast<COLORREF>(kHolidayForeColor.defaultValue));
            view.SetShowHolidays(kHolidays.defaultValue != 0);
            view.SetHolidayRegion(L"");
            Finish(passes.hwnd, passes.grid);
        },
        DetailReps());
    Detail(
        "layout.month_view_refresh",
        [&] {
            dlg.MonthView().Refresh();
            Finish(passes.hwnd, passes.grid);
        },
        DetailReps());
    Compare(
        "layout", [&] { passes.Layout(); }, [&] { passes.MoveAndCentre(); }, g_reps);
}

void FontPart(CCalendarDlg& dlg)
{
    const Passes passes{dlg};
    Detail(
        "font.read_logfont", [] { SettingsStore::ReadLogFont(); }, DetailReps());
    Detail(
        "font.apply_font",
        [&] {
            dlg.ApplyCalendarFont();
            Finish(passes.hwnd, passes.grid);
        },
        DetailReps());
    auto fontChanged = [&] {
        dlg.SendMessage(WM_FONT_CHANGED);
        Finish(passes.hwnd, passes.grid);
    };
    Compare(
        "font", fontChanged, [&] { passes.Layout(); }, g_reps);
}

// Idling is the caption clock: one tick's caption, the grid's look at the
// date, and what the platform alone takes to show a new caption of that
// length.
void ClockPart(CCalendarDlg& dlg)
{
    const Passes passes{dlg};
    Detail(
        "clock.update_title",
        [&] {
            dlg.UpdateTitleClock();
            Finish(passes.hwnd, passes.grid);
        },
        DetailReps());
    // What each tick adds for the grid: a look at the date that finds it
    // unchanged.
    Detail(
        "clock.date_check",
        [&] {
            dlg.MonthView().CheckDate();
            Finish(passes.hwnd, passes.grid);
        },
        DetailReps());
    const std::wstring caption = dlg.GetWindowText();
    int tick = 0;
    Detail(
        "clock.caption_alone",
        [&] {
            std::wstring text = caption;
            if (!text.empty())
                text.back() = static_cast<wchar_t>(L'0' + (++tick % 10));
            ::SetWindowTextW(passes.hwnd, text.c_str());
            Finish(passes.hwnd, passes.grid);
        },
        DetailReps());
}

void Paint(CCalendarDlg& dlg)
{
    const HWND grid = dlg.MonthView().m_hWnd;
    RECT gr{};
    ::GetClientRect(grid, &gr);
    int w = gr.right, h = gr.bottom;

    // The platform's control, hidden (printing needs no screen), with the
    // grid's font, today selected and week numbers, like the grid.
    HWND cal = ::CreateWindowExW(0, MONTHCAL_CLASSW, L"", WS_CHILD | MCS_WEEKNUMBERS, 0, 0, w, h, dlg.m_hWnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(0x7E57)),
                                 ::GetModuleHandleW(nullptr), nullptr);
    if (!cal) {
        std::fprintf(stderr, "bench_inproc: no month calendar control (error %lu)\n", ::GetLastError());
        ++g_failures;
        return;
    }
    ::SendMessageW(cal, WM_SETFONT, static_cast<WPARAM>(::SendMessageW(grid, WM_GETFONT, 0, 0)), FALSE);
    SYSTEMTIME today{};
    ::GetLocalTime(&today);
    ::SendMessageW(cal, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&today));
    // Both at one pixel size that shows twelve months in each: the grid's
    // natural size, widened (or heightened) until the control, whose months
    // are larger, fits four by three. The grid fills what it does not need
    // with its background, as it would in a larger window.
    RECT one{};
    ::SendMessageW(cal, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&one));
    w = std::max<int>(w, 4 * (one.right - one.left));
    h = std::max<int>(h, 3 * (one.bottom - one.top));
    int calendars = 0;
    for (int grow = 0; grow < 64; ++grow) {
        ::SetWindowPos(cal, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        calendars = static_cast<int>(::SendMessageW(cal, MCM_GETCALENDARCOUNT, 0, 0));
        if (calendars >= 12)
            break;
        w += 4;
        h += 4;
    }
    ::SetWindowPos(grid, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::GetClientRect(grid, &gr);
    monthgrid::GridInfo info{};
    ::SendMessageW(grid, monthgrid::kGetInfoMessage, 0, reinterpret_cast<LPARAM>(&info));
    std::printf("INFO paint size=%dx%d grid_client=%ldx%ld grid_months=%d control_months=%d "
                "control_month_size=%ldx%ld\n",
                w, h, gr.right, gr.bottom, info.shape.columns * info.shape.rows, calendars,
                one.right - one.left, one.bottom - one.top);
    std::fflush(stdout);
    if (calendars < 12 || gr.right != w || gr.bottom != h) {
        std::fprintf(stderr, "bench_inproc: no common size with twelve months in both\n");
        ++g_failures;
    }

    fw::WindowDC screen(grid);
    HDC dcA = ::CreateCompatibleDC(screen.get());
    HDC dcB = ::CreateCompatibleDC(screen.get());
    HBITMAP bmA = ::CreateCompatibleBitmap(screen.get(), w, h);
    HBITMAP bmB = ::CreateCompatibleBitmap(screen.get(), w, h);
    HGDIOBJ oldA = ::SelectObject(dcA, bmA);
    HGDIOBJ oldB = ::SelectObject(dcB, bmB);
    auto gridPaint = [&] { ::SendMessageW(grid, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dcA), PRF_CLIENT); };
    // A full repaint of the control is its background and then its paint,
    // as BeginPaint would have it.
    auto controlPaint = [&] {
        ::SendMessageW(cal, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dcB), 0);
        ::SendMessageW(cal, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dcB), PRF_CLIENT | PRF_ERASEBKGND);
    };
    Compare("paint", gridPaint, controlPaint, g_reps * 2);

    ::SelectObject(dcA, oldA);
    ::SelectObject(dcB, oldB);
    ::DeleteObject(bmA);
    ::DeleteObject(bmB);
    ::DeleteDC(dcA);
    ::DeleteDC(dcB);
    ::DestroyWindow(cal);
    dlg.ApplyCalendarSettings(); // the grid back to its natural size
}

// Everything a client reads of one element.
void ReadElement(IAccessible* object, LONG child)
{
    VARIANT id;
    ::VariantInit(&id);
    V_VT(&id) = VT_I4;
    V_I4(&id) = child;
    BSTR text = nullptr;
    if (SUCCEEDED(object->get_accName(id, &text)))
        ::SysFreeString(text);
    text = nullptr;
    if (SUCCEEDED(object->get_accDescription(id, &text)))
        ::SysFreeString(text);
    VARIANT v;
    ::VariantInit(&v);
    object->get_accRole(id, &v);
    ::VariantClear(&v);
    object->get_accState(id, &v);
    ::VariantClear(&v);
    long x = 0, y = 0, w = 0, h = 0;
    object->accLocation(&x, &y, &w, &h, id);
}

// The tree as a screen reader walks it: the grid, its months (objects),
// their children (simple elements), each one read whole.
int ReadTree(IAccessible* grid)
{
    int elements = 1;
    ReadElement(grid, CHILDID_SELF);
    VARIANT months[core::kMaxMonths];
    LONG count = 0;
    ::AccessibleChildren(grid, 0, core::kMaxMonths, months, &count);
    for (LONG m = 0; m < count; ++m) {
        fw::ComPtr<IAccessible> month;
        if (V_VT(&months[m]) == VT_DISPATCH)
            V_DISPATCH(&months[m])
                ->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(month.put()));
        ::VariantClear(&months[m]);
        if (!month)
            continue;
        ReadElement(month.get(), CHILDID_SELF);
        ++elements;
        VARIANT children[40];
        LONG n = 0;
        ::AccessibleChildren(month.get(), 0, 40, children, &n);
        for (LONG i = 0; i < n; ++i) {
            if (V_VT(&children[i]) == VT_I4) {
                ReadElement(month.get(), V_I4(&children[i]));
                ++elements;
            }
            ::VariantClear(&children[i]);
        }
    }
    return elements;
}

void AccessiblePart(CCalendarDlg& dlg)
{
    const HWND grid = dlg.MonthView().m_hWnd;
    fw::ComPtr<IAccessible> root;
    auto getRoot = [&] {
        root.reset();
        ::AccessibleObjectFromWindow(grid, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                     reinterpret_cast<void**>(root.put()));
    };
    Detail("a11y.object_from_window", getRoot, DetailReps());
    if (!root) {
        std::fprintf(stderr, "bench_inproc: the grid answers no accessible object\n");
        ++g_failures;
        return;
    }
    const int elements = ReadTree(root.get());
    std::printf("INFO a11y elements=%d\n", elements);
    std::fflush(stdout);
    if (elements < 12 + 365) {
        std::fprintf(stderr, "bench_inproc: the tree has %d elements, not twelve months of days\n", elements);
        ++g_failures;
    }

    RECT gr{};
    ::GetClientRect(grid, &gr);
    fw::WindowDC screen(grid);
    fw::UniqueMemoryDC dc(::CreateCompatibleDC(screen.get()));
    fw::UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), gr.right, gr.bottom));
    fw::SelectObjectScope select(dc.get(), bitmap.get());
    auto paint = [&] {
        ::SendMessageW(grid, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    };
    Compare(
        "a11y", [&] { ReadTree(root.get()); }, paint, g_reps);
}

// One put on a grid, as the calendar's month view makes it.
void PutOn(HWND grid, DISPID dispid, VARTYPE type, LONG value, const wchar_t* text = nullptr)
{
    fw::Variant v;
    V_VT(v.get()) = type;
    if (type == VT_BSTR)
        V_BSTR(v.get()) = ::SysAllocString(text);
    else if (type == VT_BOOL)
        V_BOOL(v.get()) = value ? VARIANT_TRUE : VARIANT_FALSE;
    else if (type == VT_I2)
        V_I2(v.get()) = static_cast<SHORT>(value);
    else
        V_I4(v.get()) = value;
    fw::InvokeControl(grid, dispid, DISPATCH_PROPERTYPUT, v.get());
}

// A full repaint of twelve months with Bayern's holidays (2027: thirteen
// of them, all in view) against the same grid without holidays: two grids
// alike in every other setting, the calendar's font and colours.
void HolidaysPaint(CCalendarDlg& dlg)
{
    namespace members = monthgrid::members;
    using namespace core::keys;
    HWND grids[2] = {};
    for (HWND& g : grids) {
        g = ::CreateWindowExW(0, monthgrid::kClassName, L"", WS_CHILD, 0, 0, 10, 10, dlg.m_hWnd, nullptr,
                              ::GetModuleHandleW(nullptr), nullptr);
        if (!g) {
            std::fprintf(stderr, "bench_inproc: no grid for the holidays\n");
            ++g_failures;
            return;
        }
        PutOn(g, members::kForeColor.dispid, VT_I4, kForeColor.defaultValue);
        PutOn(g, members::kMonthBackColor.dispid, VT_I4, kMonthBackColor.defaultValue);
        PutOn(g, members::kBackColor.dispid, VT_I4, kMonthBackColor.defaultValue);
        PutOn(g, members::kTitleBackColor.dispid, VT_I4, kTitleBackColor.defaultValue);
        PutOn(g, members::kTitleForeColor.dispid, VT_I4, kTitleForeColor.defaultValue);
        PutOn(g, members::kTrailingForeColor.dispid, VT_I4, kTrailingForeColor.defaultValue);
        PutOn(g, members::kShowWeekNumbers.dispid, VT_BOOL, 1);
        PutOn(g, members::kMonthColumns.dispid, VT_I2, 4);
        PutOn(g, members::kMonthRows.dispid, VT_I2, 3);
        fw::Variant font;
        V_VT(font.get()) = VT_DISPATCH;
        V_DISPATCH(font.get()) = dlg.CurrentFont();
        if (dlg.CurrentFont())
            dlg.CurrentFont()->AddRef();
        fw::InvokeControl(g, members::kFont.dispid, DISPATCH_PROPERTYPUT, font.get());
        fw::Variant date;
        V_VT(date.get()) = VT_DATE;
        V_DATE(date.get()) = 46402.0; // 15 January 2027
        fw::InvokeControl(g, members::kValue.dispid, DISPATCH_PROPERTYPUT, date.get());
        PutOn(g, members::kHolidayForeColor.dispid, VT_I4, kHolidayForeColor.defaultValue);
        PutOn(g, members::kHolidayRegion.dispid, VT_BSTR, 0, L"BY");
        fw::InvokeControl(g, members::kRefresh.dispid, DISPATCH_METHOD, nullptr);
    }
    PutOn(grids[0], members::kShowHolidays.dispid, VT_BOOL, 1);
    PutOn(grids[1], members::kShowHolidays.dispid, VT_BOOL, 0);

    RECT r{};
    ::GetClientRect(grids[0], &r);
    fw::WindowDC screen(grids[0]);
    fw::UniqueMemoryDC dc(::CreateCompatibleDC(screen.get()));
    fw::UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), r.right, r.bottom));
    fw::SelectObjectScope select(dc.get(), bitmap.get());
    auto paint = [&](HWND g) {
        ::SendMessageW(g, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    };
    std::printf("INFO holidays size=%ldx%ld region=BY year=2027\n", r.right, r.bottom);
    Compare(
        "holidays", [&] { paint(grids[0]); }, [&] { paint(grids[1]); }, g_reps * 2);
    for (HWND g : grids)
        ::DestroyWindow(g);
}

// Opening a window, timed to the end of its first paint: the calendar's
// paint is done with its grid's, the empty dialog's with its own.
enum class Opening { None, Calendar, Baseline };
Opening g_opening = Opening::None;
double g_paintedMs = 0;
SIZE g_calendarSize{};

// The end of a window's first paint, seen without a hook: a hook on the
// thread would cost every message sent on it a few calls into the window
// system, which the program never pays, and the calendar sends many more
// than the empty dialog. The calendar's grid paint ends at its step mark,
// the empty dialog's paint in its own procedure.
void OpenPainted(HWND root)
{
    if (g_opening == Opening::None || g_paintedMs != 0)
        return;
    g_paintedMs = NowMs();
    // The fitted calendar's size, for the empty dialog that stands for it.
    RECT r{};
    if (g_opening == Opening::Calendar && ::GetWindowRect(root, &r))
        g_calendarSize = {r.right - r.left, r.bottom - r.top};
    ::PostMessageW(root, WM_COMMAND, IDCANCEL, 0);
}

void OpenStep(const char* step, bool begins)
{
    if (!begins && g_opening == Opening::Calendar && std::strcmp(step, "grid.paint") == 0) {
        if (fw::CWnd* main = fw::AfxGetMainWnd())
            OpenPainted(main->m_hWnd);
    }
}

// Told when the empty dialog has painted (null: nobody is told).
void (*g_emptyPainted)(HWND) = nullptr;

// The empty dialog's window size when it stands for the calendar window at
// its fitted size (zero: the template's own).
SIZE g_emptySize{};

INT_PTR CALLBACK EmptyDialogProc(HWND hwnd, UINT msg, WPARAM w, LPARAM)
{
    if (msg == WM_INITDIALOG) {
        if (g_emptySize.cx > 0 && g_emptySize.cy > 0) {
            // Sized and centred as the calendar's layout pass does it.
            MONITORINFO mi{};
            mi.cbSize = sizeof mi;
            ::GetMonitorInfoW(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &mi);
            ::SetWindowPos(hwnd, nullptr,
                           mi.rcWork.left + (mi.rcWork.right - mi.rcWork.left - g_emptySize.cx) / 2,
                           mi.rcWork.top + (mi.rcWork.bottom - mi.rcWork.top - g_emptySize.cy) / 2,
                           g_emptySize.cx, g_emptySize.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return TRUE;
    }
    if (msg == WM_PAINT) {
        // What the default does for a dialog: its background, erased as
        // BeginPaint asks for it.
        PAINTSTRUCT ps;
        ::BeginPaint(hwnd, &ps);
        ::EndPaint(hwnd, &ps);
        if (g_emptyPainted)
            g_emptyPainted(hwnd);
        return TRUE;
    }
    if (msg == WM_COMMAND && LOWORD(w) == IDCANCEL) {
        ::DestroyWindow(hwnd);
        return TRUE;
    }
    return FALSE;
}

// The empty dialog run as the calendar's framework runs its window: shown
// and painted at once when the queue first runs dry.
void RunEmptyDialog(HINSTANCE instance)
{
    HWND dialog = ::CreateDialogParamW(instance, MAKEINTRESOURCEW(0x7E57), nullptr, &EmptyDialogProc, 0);
    bool shown = false;
    MSG msg;
    while (dialog && ::IsWindow(dialog)) {
        if (!shown && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            ::ShowWindow(dialog, SW_SHOWNORMAL);
            ::UpdateWindow(dialog);
            shown = true;
            continue;
        }
        if (::GetMessageW(&msg, nullptr, 0, 0) <= 0)
            break;
        if (!::IsDialogMessageW(dialog, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

void OpenWindows(fw::CWinApp& app)
{
    fw::g_stepSink = &OpenStep;
    g_emptyPainted = &OpenPainted;
    auto open = [&](Opening which) {
        g_opening = which;
        g_paintedMs = 0;
        const double t0 = NowMs();
        if (which == Opening::Calendar) {
            CCalendarDlg dlg;
            app.m_pMainWnd = &dlg;
            dlg.DoModal();
            app.m_pMainWnd = nullptr;
        } else {
            RunEmptyDialog(app.m_hInstance);
        }
        g_emptySize = {}; // each empty dialog is sized on purpose
        g_opening = Opening::None;
        Pump();
        if (g_paintedMs == 0) {
            std::fprintf(stderr, "bench_inproc: a window opened without painting\n");
            ++g_failures;
        }
        return (g_paintedMs - t0) * 1000.0;
    };
    // The empty dialog twice: at the calendar's fitted size, so that both
    // pay for as large a window, and at its template's size.
    auto fitted = [&] {
        g_emptySize = g_calendarSize;
        return open(Opening::Baseline);
    };
    auto asTemplate = [&] { return open(Opening::Baseline); };
    std::vector<double> a, b, c;
    open(Opening::Calendar); // the first of each pays for what is loaded once
    fitted();
    asTemplate();
    const int reps = std::max(3, g_reps / 4);
    for (int i = 0; i < reps; ++i) {
        if (i % 2 == 0) {
            a.push_back(open(Opening::Calendar));
            b.push_back(fitted());
            c.push_back(asTemplate());
        } else {
            c.push_back(asTemplate());
            b.push_back(fitted());
            a.push_back(open(Opening::Calendar));
        }
    }
    fw::g_stepSink = nullptr;
    g_emptyPainted = nullptr;
    std::printf("INFO open fitted_size=%ldx%ld\n", g_calendarSize.cx, g_calendarSize.cy);
    PrintComparison("open", "us", a, b);
    PrintComparison("open_template", "us", a, c);
}

// Start-up step by step: the program's own start-up (its application
// object, as wWinMain runs it) with a sink on its step marks, first in a
// fresh process and then again in the same one. Each step's time is printed
// once per run (STEP lines); tools/bench.sh takes the medians over many
// processes.
namespace steps {

struct Event {
    const char* name;
    bool begins;
    double ms;
};
std::vector<Event> g_events;
HWND g_calendar = nullptr;
int g_layoutsEnded = 0;
double g_gridPaintedMs = 0;
SIZE g_windowSize{};

void CloseOnceSettled()
{
    // The worker's pass is the third; the window is closed once it and the
    // first paint have both happened.
    if (g_layoutsEnded >= 3 && g_gridPaintedMs > 0 && g_calendar)
        ::PostMessageW(g_calendar, WM_COMMAND, IDCANCEL, 0);
}

void Record(const char* name, bool begins)
{
    const double now = NowMs();
    g_events.push_back({name, begins, now});
    if (!begins && std::strcmp(name, "layout") == 0) {
        ++g_layoutsEnded;
        CloseOnceSettled();
    }
    // The grid's first paint, told by its step mark (no hook: see
    // OpenPainted).
    if (!begins && g_gridPaintedMs == 0 && std::strcmp(name, "grid.paint") == 0) {
        fw::CWnd* main = fw::AfxGetMainWnd();
        g_calendar = main ? main->m_hWnd : nullptr;
        if (!g_calendar)
            return;
        g_gridPaintedMs = now;
        RECT r{};
        ::GetWindowRect(g_calendar, &r);
        g_windowSize = {r.right - r.left, r.bottom - r.top};
        CloseOnceSettled();
    }
}

void CALLBACK GiveUp(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    std::fprintf(stderr, "bench_inproc: start-up did not settle (%d layout passes, painted %d)\n",
                 g_layoutsEnded, g_gridPaintedMs > 0);
    ++g_failures;
    if (fw::CWnd* main = fw::AfxGetMainWnd())
        main->PostMessage(WM_COMMAND, IDCANCEL);
}

// The n-th (from 1) begin or end of `name`, or a negative time.
double At(const char* name, bool begins, int n = 1)
{
    for (const Event& e : g_events) {
        if (e.begins == begins && std::strcmp(e.name, name) == 0 && --n == 0)
            return e.ms;
    }
    return -1;
}

void Print(const char* phase, const char* name, double fromMs, double toMs)
{
    if (fromMs <= 0 || toMs <= 0)
        return;
    std::printf("STEP %s %s %.1f\n", phase, name, (toMs - fromMs) * 1000.0);
}

int Run(const std::wstring& profile, const char* phase)
{
    g_events.clear();
    g_layoutsEnded = 0;
    g_gridPaintedMs = 0;
    g_calendar = nullptr;
    int exitCode = -1;
    {
        CCalendarApp app;
        app.m_profilePath = profile;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 10000, &GiveUp);
        fw::g_stepSink = &Record;
        const double startMs = NowMs();
        exitCode = fw::AfxWinMain(::GetModuleHandleW(nullptr), SW_SHOWNORMAL);
        fw::g_stepSink = nullptr;
        ::KillTimer(nullptr, timer);
        // Before the application object: the whole run, as the program's
        // entry point makes it.
        Print(phase, "start_to_first_paint", startMs, g_gridPaintedMs);
    }
    if (exitCode != 0) {
        std::fprintf(stderr, "bench_inproc: start-up ended with %d\n", exitCode);
        ++g_failures;
    }
    // Every mark, by name and occurrence ("layout#2" is the second pass).
    std::map<std::string, int> seen;
    std::vector<std::pair<std::string, double>> open;
    for (const Event& e : g_events) {
        if (e.begins) {
            const int k = ++seen[e.name];
            open.emplace_back(k == 1 ? std::string(e.name) : std::string(e.name) + "#" + std::to_string(k),
                              e.ms);
            continue;
        }
        for (auto it = open.rbegin(); it != open.rend(); ++it) {
            if (it->first == e.name || it->first.rfind(std::string(e.name) + "#", 0) == 0) {
                Print(phase, it->first.c_str(), it->second, e.ms);
                open.erase(std::next(it).base());
                break;
            }
        }
    }
    // And the stretches between marks that belong to no step of their own.
    Print(phase, "window.create_to_first_paint", At("window.create", true), g_gridPaintedMs);
    Print(phase, "window.create.before_init", At("window.create", true), At("init.controls", true));
    Print(phase, "init.system_menu_and_icons", At("init.controls", false), At("font", true));
    Print(phase, "init.post_f5", At("init.date", false), At("clock", true));
    Print(phase, "init.timer", At("clock", false, 1), At("init.worker", true));
    Print(phase, "window.create.after_init", At("init.worker", false), At("window.create", false));
    Print(phase, "loop_to_show", At("window.create", false), At("window.show", true));
    Print(phase, "show_to_first_paint", At("window.show", true), g_gridPaintedMs);
    std::printf("INFO steps window=%ldx%ld\n", g_windowSize.cx, g_windowSize.cy);
    std::fflush(stdout);
    return exitCode;
}

// The profile as a user's machine has it: a file with every default, not
// yet read by this process.
std::wstring WriteDefaults()
{
    wchar_t dir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, dir);
    wchar_t path[MAX_PATH + 64];
    std::swprintf(path, std::size(path), L"%lsmorvelin-steps-%lu.ini", dir,
                  static_cast<unsigned long>(::GetCurrentProcessId()));
    using namespace core::keys;
    for (const core::SettingKey* key : kAll) {
        if (key->kind != core::KeyKind::Binary)
            ::WritePrivateProfileStringW(key->section, key->name, std::to_wstring(key->defaultValue).c_str(),
                                         path);
    }
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, path);
    return path;
}

} // namespace steps

// From the process's creation to here: the loader and the DLLs'
// initialisation, before any code of ours.
void PrintProcessEntry()
{
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    ::GetSystemTimePreciseAsFileTime(&now);
    if (::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user)) {
        const auto ticks = [](FILETIME f) { return (ULONGLONG{f.dwHighDateTime} << 32) | f.dwLowDateTime; };
        std::printf("STEP first process.entry %.1f\n",
                    static_cast<double>(ticks(now) - ticks(created)) / 10.0);
    }
}

void StartUpSteps(int again)
{
    PrintProcessEntry();
    const std::wstring profile = steps::WriteDefaults();
    steps::Run(profile, "first");
    for (int i = 0; i < again; ++i)
        steps::Run(profile, "again");
    ::DeleteFileW(profile.c_str());
}

// The same steps of the floor: the empty dialog (at the calendar's fitted
// size when one is given) in a program that does what the calendar's
// start-up asks of the platform, and nothing else: OLE, the common controls,
// the dialog, shown when the queue first runs dry, to its first paint.
namespace floorsteps {

double g_paintedMs = 0;

void Painted(HWND)
{
    if (g_paintedMs == 0)
        g_paintedMs = NowMs();
}

void Run(const char* phase)
{
    g_paintedMs = 0;
    const double t0 = NowMs();
    const HRESULT ole = ::OleInitialize(nullptr);
    const double t1 = NowMs();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    const double t2 = NowMs();
    g_emptyPainted = &Painted;
    HWND dialog = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(0x7E57), nullptr,
                                       &EmptyDialogProc, 0);
    const double t3 = NowMs();
    double t4 = 0, t5 = 0;
    MSG msg;
    while (dialog && ::IsWindow(dialog) && g_paintedMs == 0) {
        if (t4 == 0 && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            t4 = NowMs();
            ::ShowWindow(dialog, SW_SHOWNORMAL);
            ::UpdateWindow(dialog);
            t5 = NowMs();
            continue;
        }
        if (::GetMessageW(&msg, nullptr, 0, 0) <= 0)
            break;
        if (!::IsDialogMessageW(dialog, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    g_emptyPainted = nullptr;
    if (!dialog || g_paintedMs == 0) {
        std::fprintf(stderr, "bench_inproc: the floor dialog did not paint\n");
        ++g_failures;
    }
    if (dialog)
        ::DestroyWindow(dialog);
    Pump();
    if (SUCCEEDED(ole))
        ::OleUninitialize();
    steps::Print(phase, "start_to_first_paint", t0, g_paintedMs);
    steps::Print(phase, "app.ole", t0, t1);
    steps::Print(phase, "app.common_controls", t1, t2);
    steps::Print(phase, "window.create_to_first_paint", t2, g_paintedMs);
    steps::Print(phase, "window.create", t2, t3);
    steps::Print(phase, "loop_to_show", t3, t4);
    steps::Print(phase, "window.show", t4, t5);
    steps::Print(phase, "show_to_first_paint", t4, g_paintedMs);
    std::fflush(stdout);
}

} // namespace floorsteps

void FloorSteps(int again)
{
    PrintProcessEntry();
    floorsteps::Run("first");
    for (int i = 0; i < again; ++i)
        floorsteps::Run("again");
}

// Which part this process measures: each runs in a process of its own, so
// that no part runs in the wake of another's thousands of calls.
std::wstring g_part;

void CALLBACK RunPart(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    CCalendarDlg& dlg = *g_dlg;
    if (!dlg.m_hWnd || !dlg.IsWindowVisible()) {
        std::fprintf(stderr, "bench_inproc: the calendar window is not up\n");
        ++g_failures;
    } else {
        const RECT client = dlg.GetClientRect();
        std::printf("INFO window client=%ldx%ld\n", client.right, client.bottom);
        if (g_part == L"layout")
            LayoutPart(dlg);
        else if (g_part == L"font")
            FontPart(dlg);
        else if (g_part == L"clock")
            ClockPart(dlg);
        else if (g_part == L"paint")
            Paint(dlg);
        else if (g_part == L"holidays")
            HolidaysPaint(dlg);
        else if (g_part == L"a11y")
            AccessiblePart(dlg);
    }
    ::PostMessageW(dlg.m_hWnd, WM_COMMAND, IDCANCEL, 0);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::wcscmp(argv[i], L"--reps") == 0)
            g_reps = std::max(1, _wtoi(argv[i + 1]));
        else if (std::wcscmp(argv[i], L"--part") == 0)
            g_part = argv[i + 1];
        else if (std::wcscmp(argv[i], L"--size") == 0)
            std::swscanf(argv[i + 1], L"%ldx%ld", &g_emptySize.cx, &g_emptySize.cy);
    }
    if (g_part == L"floorsteps") {
        FloorSteps(std::max(1, g_reps));
        std::printf("DONE failures=%d\n", g_failures);
        return g_failures == 0 ? 0 : 1;
    }
    if (g_part == L"steps") {
        // Nothing before the program's own start-up, which brings up OLE
        // and the rest itself.
        StartUpSteps(std::max(1, g_reps));
        std::printf("DONE failures=%d\n", g_failures);
        return g_failures == 0 ? 0 : 1;
    }
    if (g_part != L"open" && g_part != L"layout" && g_part != L"font" && g_part != L"clock" &&
        g_part != L"paint" && g_part != L"holidays" && g_part != L"a11y") {
        std::fprintf(stderr,
                     "usage: bench_inproc --part "
                     "open|layout|font|clock|paint|holidays|a11y|steps|floorsteps [--reps N] [--size WxH]\n");
        return 2;
    }
    ::OleInitialize(nullptr);
    {
        BenchApp app;
        monthgrid::RegisterMonthGridClass(app.m_hInstance);
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_DATE_CLASSES};
        ::InitCommonControlsEx(&icc);
        if (g_part == L"open") {
            OpenWindows(app);
        } else {
            CCalendarDlg dlg;
            g_dlg = &dlg;
            app.m_pMainWnd = &dlg;
            // Once the start-up worker has settled the window.
            ::SetTimer(nullptr, 0, 1000, &RunPart);
            if (dlg.DoModal() == -1) {
                std::fprintf(stderr, "bench_inproc: the calendar window did not open\n");
                ++g_failures;
            }
            app.m_pMainWnd = nullptr;
        }
    }
    ::OleUninitialize();
    std::printf("DONE failures=%d\n", g_failures);
    return g_failures == 0 ? 0 : 1;
}
