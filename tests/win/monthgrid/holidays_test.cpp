// Holidays in the grid: which days are drawn bold in the holiday colour,
// how the marks and the size behave around them, what the grid tells its
// neighbours (HolidayNamesOn, the tooltips) and what its members take.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "core/dates.h"
#include "core/holidays.h"
#include "grid_fixture.h"
#include "monthgrid/grid_clock.h"
#include "monthgrid/month_grid_control.h"
#include "support/modal_driver.h"
#include "support/test_support.h"

namespace {

using namespace gridtest;
using namespace std::chrono;
namespace members = monthgrid::members;
using core::Region;

// Distinct from each other, from the holidays' colour and from today's red.
constexpr Colors kProbe{RGB(0x10, 0x20, 0xA0), RGB(0xF0, 0xF0, 0xD0), RGB(0x30, 0x90, 0x30),
                        RGB(0x80, 0x20, 0x80), RGB(0xFF, 0xFF, 0x00), RGB(0x00, 0xB0, 0xB0)};
constexpr COLORREF kHoliday = RGB(0xD0, 0x40, 0x00);
constexpr COLORREF kTodayRed = RGB(0xE0, 0x10, 0x10);

constexpr sys_days Day(int y, unsigned m, unsigned d) { return sys_days{year{y} / month{m} / d}; }

std::string Ymd(sys_days d)
{
    const year_month_day ymd{d};
    return std::to_string(static_cast<int>(ymd.year())) + "-" +
           std::to_string(static_cast<unsigned>(ymd.month())) + "-" +
           std::to_string(static_cast<unsigned>(ymd.day()));
}

// Today, for the grid: far from every month shown unless a test moves it.
sys_days g_today;
monthgrid::LocalTime FixedClock() { return {g_today, hours{12}}; }

core::Rect CellOf(const core::GridLayout& layout, year_month first, int block, sys_days date)
{
    const core::MonthLayout month = core::LayoutMonth(core::AddMonths(first, block));
    const int i = month.IndexOf(date);
    return i < 0 ? core::Rect{} : layout.DayRect(block, i / 7, i % 7);
}

POINT Centre(const core::Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

monthgrid::MonthGridControl& Control(HWND g)
{
    monthgrid::MonthGridControl* control = monthgrid::MonthGridControl::FromHandle(g);
    if (!control)
        throw std::runtime_error("not a month grid");
    return *control;
}

std::wstring Names(HWND g, sys_days d) { return Control(g).HolidayNamesOn(d).Joined(); }

// The tooltip windows of this thread (the grid's is owned by its top-level window).
std::vector<HWND> TooltipWindows()
{
    std::vector<HWND> found;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND w, LPARAM l) -> BOOL {
            wchar_t cls[64] = {};
            ::GetClassNameW(w, cls, 64);
            if (_wcsicmp(cls, TOOLTIPS_CLASSW) == 0)
                reinterpret_cast<std::vector<HWND>*>(l)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

class MonthGridHolidays : public GridTest {
protected:
    void SetUp() override
    {
        g_today = Day(2040, 6, 15);
        monthgrid::SetClockSource(&FixedClock);
        GridTest::SetUp();
        Configure(grid, kProbe, 4, 3, true);
    }
    void TearDown() override { monthgrid::SetClockSource(nullptr); }

    // Twelve months from January 2027 with `region`'s holidays; every day
    // of every block is looked at, the selected 15 January aside.
    void ExpectExactlyTheHolidaysMarked(const wchar_t* code, Region region)
    {
        PutDate(grid, OleDate(2027, 1, 15));
        ShowHolidays(grid, code, kHoliday);
        HWND plain = CreateGrid(host.get());
        Configure(plain, kProbe, 4, 3, true);
        PutDate(plain, OleDate(2027, 1, 15));
        const Image image = Render(grid);
        const Image regular = Render(plain);
        const core::GridLayout layout = LayoutOf(grid);
        ASSERT_EQ(layout.MonthCount(), 12);

        std::set<sys_days> holidays;
        for (int y : {2026, 2027, 2028})
            for (const core::Holiday& h : core::HolidaysOf(y, region))
                holidays.insert(h.date);
        const year_month first = year{2027} / January;
        int marked = 0, trailingHolidays = 0;
        for (int block = 0; block < 12; ++block) {
            const core::MonthLayout month = core::LayoutMonth(core::AddMonths(first, block));
            for (int i = 0; i < 42; ++i) {
                const core::DayCell& cell = month.cells[static_cast<std::size_t>(i)];
                if (cell.date == Day(2027, 1, 15))
                    continue;
                const core::Rect r = layout.DayRect(block, i / 7, i % 7);
                const bool own = cell.part == core::MonthPart::Current;
                const bool holiday = holidays.contains(cell.date);
                SCOPED_TRACE(::testing::Message() << "block " << block << ", " << Ymd(cell.date));
                if (own && holiday) {
                    ++marked;
                    EXPECT_GT(image.Count(r, kHoliday), 3);
                    EXPECT_EQ(image.Count(r, kProbe.fore), 0);
                    // Bold: the same number takes more ink than in the regular face.
                    EXPECT_GT(image.Count(r, kHoliday), regular.Count(r, kProbe.fore));
                } else {
                    const COLORREF colour = own ? kProbe.fore : kProbe.trailingFore;
                    EXPECT_EQ(image.Count(r, kHoliday), 0);
                    EXPECT_GT(image.Count(r, colour), 3);
                    EXPECT_EQ(image.Count(r, colour), regular.Count(r, colour));
                    trailingHolidays += !own && holiday;
                }
            }
        }
        EXPECT_EQ(marked, static_cast<int>(core::HolidaysOf(2027, region).size()));
        // Neighbours' days that are holidays are shown: Ostermontag (29
        // March) before April, Neujahr after December.
        EXPECT_GE(trailingHolidays, 2);
    }
};

TEST_F(MonthGridHolidays, BayernsHolidaysAndOnlyTheyAreBoldInTheHolidayColour)
{
    ExpectExactlyTheHolidaysMarked(L"BY", Region::BY);
}

TEST_F(MonthGridHolidays, TheNationwideHolidaysAndOnlyTheyAreBoldInTheHolidayColour)
{
    ExpectExactlyTheHolidaysMarked(L"", Region::Nationwide);
}

TEST_F(MonthGridHolidays, SwitchedOffNothingIsMarked)
{
    PutDate(grid, OleDate(2027, 1, 15));
    ShowHolidays(grid, L"BY", kHoliday);
    PutBool(grid, members::kShowHolidays.dispid, false);
    EXPECT_EQ(Render(grid).Count({0, 0, 4000, 4000}, kHoliday), 0);
}

TEST_F(MonthGridHolidays, TodaysMarkAndTheSelectionShowOnAHoliday)
{
    g_today = Day(2027, 5, 27); // Fronleichnam
    ShowHolidays(grid, L"BY", kHoliday);
    PutDate(grid, OleDate(2027, 5, 27));
    HWND plain = CreateGrid(host.get());
    Configure(plain, kProbe, 4, 3, true);
    PutDate(plain, OleDate(2027, 5, 27));
    const core::GridLayout layout = LayoutOf(grid);
    const core::Rect cell = CellOf(layout, year{2027} / May, 0, g_today);

    // Today, selected: the frame around the selection's fill, the number
    // bold in the selection's colour.
    Image image = Render(grid);
    EXPECT_GT(image.Count(cell, kTodayRed), 2 * cell.Width());
    EXPECT_GT(image.Count(cell, kProbe.titleBack), cell.Width() * cell.Height() / 3);
    EXPECT_GT(image.Count(cell, kProbe.titleFore), Render(plain).Count(cell, kProbe.titleFore));
    EXPECT_EQ(image.Count(cell, kHoliday), 0);

    // The selection a week on: today's frame around the holiday.
    ::SendMessageW(grid, WM_KEYDOWN, VK_DOWN, 0);
    image = Render(grid);
    EXPECT_GT(image.Count(cell, kTodayRed), 2 * cell.Width());
    EXPECT_GT(image.Count(cell, kHoliday), 3);
    EXPECT_EQ(image.Count(cell, kProbe.titleBack), 0);
}

TEST_F(MonthGridHolidays, TheNaturalSizeIsTheSameWithAndWithoutHolidaysForEveryFont)
{
    PutDate(grid, OleDate(2027, 1, 15));
    const struct {
        const wchar_t* face;
        double points;
        bool bold;
    } fonts[] = {{nullptr, 0, false},  {L"Tahoma", 8, false},       {L"Tahoma", 14, false},
                 {L"Arial", 10, true}, {L"Courier New", 24, false}, {L"Times New Roman", 6, false}};
    for (const auto& f : fonts) {
        for (bool weeks : {true, false}) {
            SCOPED_TRACE(::testing::Message() << (f.face ? "font" : "GUI font") << " " << f.points
                                              << (weeks ? " with" : " without") << " week numbers");
            PutFont(grid, f.face ? MakeFont(f.face, f.points, f.bold).get() : nullptr);
            PutBool(grid, members::kShowWeekNumbers.dispid, weeks);
            PutBool(grid, members::kShowHolidays.dispid, false);
            const SIZE without = FitGrid(grid);
            const monthgrid::GridInfo before = Info(grid);
            ShowHolidays(grid, L"BY", kHoliday);
            Render(grid); // the bold face is made and measured
            const SIZE with = FitGrid(grid);
            EXPECT_EQ(with, without);
            const monthgrid::GridInfo after = Info(grid);
            EXPECT_EQ(after.metrics.numberWidth, before.metrics.numberWidth);
            EXPECT_EQ(after.metrics.textHeight, before.metrics.textHeight);
            EXPECT_EQ(after.metrics.weekdayWidth, before.metrics.weekdayWidth);
        }
    }
}

TEST_F(MonthGridHolidays, HolidayNamesOnAnswersTheChosenRegionAndNothingWhileOff)
{
    EXPECT_EQ(Names(grid, Day(2027, 5, 27)), L""); // off until put
    ShowHolidays(grid, L"BY", kHoliday);
    EXPECT_EQ(Names(grid, Day(2027, 5, 27)), L"Fronleichnam");
    EXPECT_EQ(Names(grid, Day(2027, 8, 15)), L"Mari\u00E4 Himmelfahrt (nicht in allen Gemeinden)");
    EXPECT_EQ(Names(grid, Day(2027, 5, 28)), L"");
    PutText(grid, members::kHolidayRegion.dispid, L"HH");
    EXPECT_EQ(Names(grid, Day(2027, 5, 27)), L"");
    EXPECT_EQ(Names(grid, Day(2027, 10, 31)), L"Reformationstag");
    PutText(grid, members::kHolidayRegion.dispid, L"");
    EXPECT_EQ(Names(grid, Day(2008, 5, 1)), L"Tag der Arbeit und Christi Himmelfahrt");
    EXPECT_EQ(Names(grid, Day(1990, 12, 25)), L""); // before the first year
    PutBool(grid, members::kShowHolidays.dispid, false);
    EXPECT_EQ(Names(grid, Day(2008, 5, 1)), L"");
}

TEST_F(MonthGridHolidays, TheRegionTakesALandsCodeInEitherCaseAndRefusesTheRest)
{
    ShowHolidays(grid, L"by", kHoliday);
    EXPECT_EQ(Names(grid, Day(2027, 1, 6)), L"Heilige Drei K\u00F6nige");
    for (const wchar_t* bad : {L"XX", L"Bayern", L"B", L"BYX", L"B Y"}) {
        EXPECT_EQ(PutText(grid, members::kHolidayRegion.dispid, bad), E_INVALIDARG) << bad;
        EXPECT_EQ(Names(grid, Day(2027, 1, 6)), L"Heilige Drei K\u00F6nige") << "kept after " << bad;
    }
    EXPECT_EQ(PutI4(grid, members::kHolidayRegion.dispid, 5), E_INVALIDARG); // reads as "5"
    EXPECT_EQ(PutText(grid, members::kHolidayRegion.dispid, L" \"sn\" "), S_OK);
    EXPECT_EQ(Names(grid, Day(2027, 11, 17)), L"Bu\u00DF- und Bettag");
    EXPECT_EQ(PutText(grid, members::kHolidayRegion.dispid, L""), S_OK);
    EXPECT_EQ(Names(grid, Day(2027, 11, 17)), L"");
    EXPECT_EQ(PutI4(grid, members::kShowHolidays.dispid, 0), S_OK);
    EXPECT_EQ(Names(grid, Day(2027, 12, 25)), L"");

    fw::ComPtr<IDispatch> d = DispatchOf(grid);
    const std::pair<const wchar_t*, DISPID> names[] = {
        {L"showholidays", members::kShowHolidays.dispid},
        {L"HOLIDAYREGION", members::kHolidayRegion.dispid},
        {L"HolidayForeColor", members::kHolidayForeColor.dispid}};
    for (const auto& [name, want] : names) {
        LPOLESTR n = const_cast<LPOLESTR>(name);
        DISPID id = 0;
        EXPECT_EQ(d->GetIDsOfNames(IID_NULL, &n, 1, 0, &id), S_OK) << name;
        EXPECT_EQ(id, want) << name;
    }
}

TEST_F(MonthGridHolidays, ChoosingTheRegionRepaintsAtTheNextRefreshAndTheSameAgainPaintsNothing)
{
    HostWindow shown;
    ::ShowWindow(shown.get(), SW_SHOWNOACTIVATE);
    HWND g = CreateGrid(shown.get());
    Configure(g, kProbe, 2, 1, true);
    PutDate(g, OleDate(2027, 5, 20));
    ShowHolidays(g, L"", kHoliday);
    FitGrid(g);
    ::UpdateWindow(g);
    const core::Rect fronleichnam = CellOf(LayoutOf(g), year{2027} / May, 0, Day(2027, 5, 27));
    auto onScreen = [&] {
        int n = 0;
        fw::WindowDC dc(g);
        for (int y = fronleichnam.top; y < fronleichnam.bottom; ++y)
            for (int x = fronleichnam.left; x < fronleichnam.right; ++x)
                n += ::GetPixel(dc.get(), x, y) == kHoliday;
        return n;
    };
    EXPECT_EQ(onScreen(), 0);
    PutText(g, members::kHolidayRegion.dispid, L"BY");
    CallRefresh(g);
    EXPECT_GT(onScreen(), 3);

    // The same settings again, as every layout pass puts them: nothing to paint.
    ShowHolidays(g, L"BY", kHoliday);
    CallRefresh(g);
    RECT pending{};
    EXPECT_FALSE(::GetUpdateRect(g, &pending, FALSE));
}

TEST_F(MonthGridHolidays, TheBoldFaceIsMadeOncePerFontNotPerPaint)
{
    HostWindow shown;
    ::ShowWindow(shown.get(), SW_SHOWNOACTIVATE);
    HWND g = CreateGrid(shown.get());
    Configure(g, kProbe, 4, 3, true);
    PutFont(g, MakeFont(L"Tahoma", 9).get());
    ShowHolidays(g, L"BY", kHoliday);
    FitGrid(g);
    Render(g);
    const long steady = fw::LiveGdiObjects();
    for (int i = 0; i < 50; ++i)
        ::RedrawWindow(g, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    for (int i = 0; i < 20; ++i)
        Render(g);
    EXPECT_EQ(fw::LiveGdiObjects(), steady);
    for (int i = 0; i < 20; ++i) {
        PutFont(g, MakeFont(i % 2 ? L"Tahoma" : L"Arial", 8 + i % 5).get());
        FitGrid(g);
        Render(g);
    }
    PutFont(g, MakeFont(L"Tahoma", 9).get());
    FitGrid(g);
    Render(g);
    EXPECT_EQ(fw::LiveGdiObjects(), steady);
}

// --- tooltips ---------------------------------------------------------------

// The tools are made anew when the grid paints, so these grids are shown.
class MonthGridTooltips : public MonthGridHolidays {
protected:
    void SetUp() override
    {
        MonthGridHolidays::SetUp();
        ::ShowWindow(host.get(), SW_SHOWNOACTIVATE);
        ::UpdateWindow(host.get());
    }

    // The grid's tooltip, made by the first mouse message.
    HWND Tip()
    {
        ::SendMessageW(grid, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
        const std::vector<HWND> tips = TooltipWindows();
        return tips.size() == 1 ? tips[0] : nullptr;
    }
    // What the tooltip says at a point of the grid; none where it has no tool.
    std::optional<std::wstring> TipAt(HWND tip, POINT p)
    {
        ::UpdateWindow(grid);
        TTHITTESTINFOW hit{};
        hit.hwnd = grid;
        hit.pt = p;
        hit.ti.cbSize = sizeof hit.ti;
        if (!::SendMessageW(tip, TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit)))
            return std::nullopt;
        // The text as the tooltip asks the grid for it.
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = tip;
        info.hdr.idFrom = hit.ti.uId;
        info.hdr.code = TTN_GETDISPINFOW;
        ::SendMessageW(grid, WM_NOTIFY, hit.ti.uId, reinterpret_cast<LPARAM>(&info));
        return std::wstring(info.lpszText ? info.lpszText : L"?");
    }
};

TEST_F(MonthGridTooltips, AHolidayGivesItsNamesAWeekNumberItsDaysAnOrdinaryDayNothing)
{
    PutDate(grid, OleDate(2008, 5, 10));
    ShowHolidays(grid, L"", kHoliday);
    HWND tip = Tip();
    ASSERT_NE(tip, nullptr);
    const core::GridLayout layout = LayoutOf(grid);
    const year_month first = year{2008} / May;
    EXPECT_EQ(TipAt(tip, Centre(CellOf(layout, first, 0, Day(2008, 5, 1)))),
              L"Tag der Arbeit und Christi Himmelfahrt");
    EXPECT_EQ(TipAt(tip, Centre(CellOf(layout, first, 0, Day(2008, 5, 12)))), L"Pfingstmontag");
    EXPECT_EQ(TipAt(tip, Centre(CellOf(layout, first, 0, Day(2008, 5, 2)))), std::nullopt);
    EXPECT_EQ(TipAt(tip, Centre(layout.WeekNumberRect(0, 0))), L"Woche 18: 28. April \u2013 4. Mai 2008");
    // December 2008 (block 7, a week of November first): its last line
    // reaches into 2009, and the neighbour's Neujahr says nothing.
    EXPECT_EQ(TipAt(tip, Centre(layout.WeekNumberRect(7, 5))),
              L"Woche 1: 29. Dezember 2008 \u2013 4. Januar 2009");
    EXPECT_EQ(TipAt(tip, Centre(CellOf(layout, first, 7, Day(2009, 1, 1)))), std::nullopt);
    EXPECT_EQ(TipAt(tip, Centre(CellOf(layout, first, 7, Day(2008, 12, 26)))), L"2. Weihnachtstag");
    EXPECT_EQ(TipAt(tip, Centre(layout.TitleRect(0))), std::nullopt);

    // Without week numbers and holidays there is nothing to say.
    PutBool(grid, members::kShowWeekNumbers.dispid, false);
    PutBool(grid, members::kShowHolidays.dispid, false);
    FitGrid(grid);
    ::InvalidateRect(grid, nullptr, FALSE);
    EXPECT_EQ(TipAt(tip, Centre(CellOf(LayoutOf(grid), first, 0, Day(2008, 5, 1)))), std::nullopt);
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
}

TEST_F(MonthGridTooltips, TheToolsFollowTheGridWhenItScrolls)
{
    PutDate(grid, OleDate(2026, 12, 10));
    ShowHolidays(grid, L"", kHoliday);
    HWND tip = Tip();
    ASSERT_NE(tip, nullptr);
    const core::GridLayout layout = LayoutOf(grid);
    const POINT weekOne = Centre(layout.WeekNumberRect(0, 0));
    const POINT christmas = Centre(CellOf(layout, year{2026} / December, 0, Day(2026, 12, 25)));
    ::InvalidateRect(grid, nullptr, FALSE);
    EXPECT_EQ(TipAt(tip, weekOne), L"Woche 49: 30. November \u2013 6. Dezember 2026");
    EXPECT_EQ(TipAt(tip, christmas), L"1. Weihnachtstag");
    for (auto [key, week, there] : {std::tuple{VK_NEXT, L"Woche 53: 28. Dezember 2026 \u2013 3. Januar 2027",
                                               std::optional<std::wstring>{}},
                                    std::tuple{VK_PRIOR, L"Woche 49: 30. November \u2013 6. Dezember 2026",
                                               std::optional<std::wstring>{L"1. Weihnachtstag"}},
                                    std::tuple{VK_PRIOR, L"Woche 44: 26. Oktober \u2013 1. November 2026",
                                               std::optional<std::wstring>{}}}) {
        ::SendMessageW(grid, WM_KEYDOWN, key, 0);
        EXPECT_EQ(TipAt(tip, weekOne), week);
        EXPECT_EQ(TipAt(tip, christmas), there);
    }
}

TEST_F(MonthGridTooltips, ARestingPointerSeesTheTipAndItFollowsTheGrid)
{
    HostWindow shown;
    ::SetWindowPos(shown.get(), HWND_TOPMOST, 40, 40, 900, 700, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    HWND g = CreateGrid(shown.get());
    Configure(g, kProbe, 4, 3, true);
    PutDate(g, OleDate(2026, 12, 10));
    ShowHolidays(g, L"", kHoliday);
    FitGrid(g);
    ::UpdateWindow(g);
    const core::GridLayout layout = LayoutOf(g);
    auto toScreen = [&](POINT p) {
        ::ClientToScreen(g, &p);
        return p;
    };
    // The pointer comes to rest on a holiday, as a user's would.
    const POINT christmas = toScreen(Centre(CellOf(layout, year{2026} / December, 0, Day(2026, 12, 25))));
    ::SetCursorPos(christmas.x - 3, christmas.y - 3);
    testsupport::PumpFor(100);
    ::SetCursorPos(christmas.x, christmas.y);
    HWND tip = nullptr;
    auto shownText = [&]() -> std::wstring {
        const std::vector<HWND> tips = TooltipWindows();
        tip = tips.empty() ? nullptr : tips[0];
        return tip && ::IsWindowVisible(tip) ? testsupport::WindowText(tip) : L"";
    };
    std::wstring text;
    for (int i = 0; i < 40 && text.empty(); ++i) {
        testsupport::PumpFor(100);
        text = shownText();
    }
    EXPECT_EQ(text, L"1. Weihnachtstag");

    // A page back: 20 November is under the pointer now, which says nothing.
    ::SendMessageW(g, WM_KEYDOWN, VK_PRIOR, 0);
    ::UpdateWindow(g);
    testsupport::PumpFor(1500);
    EXPECT_EQ(shownText(), L"");

    // Onto a week number, then a page on: the tip follows to the new week.
    const POINT week = toScreen(Centre(layout.WeekNumberRect(0, 0)));
    ::SetCursorPos(week.x - 2, week.y);
    testsupport::PumpFor(100);
    ::SetCursorPos(week.x, week.y);
    text.clear();
    for (int i = 0; i < 40 && text.empty(); ++i) {
        testsupport::PumpFor(100);
        text = shownText();
    }
    EXPECT_EQ(text, L"Woche 44: 26. Oktober \u2013 1. November 2026");
    ::SendMessageW(g, WM_KEYDOWN, VK_NEXT, 0);
    ::UpdateWindow(g);
    text.clear();
    for (int i = 0; i < 40 && text != L"Woche 49: 30. November \u2013 6. Dezember 2026"; ++i) {
        testsupport::PumpFor(100);
        text = shownText();
    }
    EXPECT_EQ(text, L"Woche 49: 30. November \u2013 6. Dezember 2026");
    ::SetCursorPos(0, 0);
}

TEST_F(MonthGridTooltips, TheTooltipGoesWithTheGrid)
{
    EXPECT_TRUE(TooltipWindows().empty()); // nobody pointed at the grid yet
    HWND tip = Tip();
    ASSERT_NE(tip, nullptr);
    ::SendMessageW(grid, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(TooltipWindows().size(), 1u); // one, however often the mouse moves
    ::DestroyWindow(grid);
    EXPECT_FALSE(::IsWindow(tip));
    EXPECT_TRUE(TooltipWindows().empty());

    // And with the window that holds the grid.
    {
        HostWindow other;
        HWND g = CreateGrid(other.get());
        ::SendMessageW(g, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(TooltipWindows().size(), 1u);
    }
    EXPECT_TRUE(TooltipWindows().empty());
}

} // namespace
