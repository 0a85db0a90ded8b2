// The grid as a screen reader sees it, through oleacc on the real window:
// the tree of a 4 x 3 grid against the dates of core/, states, hit tests,
// navigation, actions, the events, and objects that outlive their window.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <chrono>
#include <tuple>
#include <vector>

#include "core/calendar_text.h"
#include "core/dates.h"
#include "grid_fixture.h"
#include "monthgrid/grid_accessible.h"
#include "monthgrid/grid_clock.h"
#include "support/accessible_probe.h"
#include "support/test_support.h"

inline bool operator==(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }
inline std::ostream& operator<<(std::ostream& o, const RECT& r)
{
    return o << '(' << r.left << ',' << r.top << ")-(" << r.right << ',' << r.bottom << ')';
}

namespace {

using namespace gridtest;
using namespace std::chrono;
using a11y::Element;

constexpr sys_days kToday = sys_days{year{2026} / December / 7};

monthgrid::LocalTime FixedClock() { return {kToday, hours{12}}; }

POINT ScreenCentre(HWND grid, const core::Rect& r)
{
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ::ClientToScreen(grid, &p);
    return p;
}

RECT OnScreen(HWND grid, const core::Rect& r)
{
    POINT origin{0, 0};
    ::ClientToScreen(grid, &origin);
    return {origin.x + r.left, origin.y + r.top, origin.x + r.right, origin.y + r.bottom};
}

core::Rect DayCell(const core::GridLayout& layout, year_month first, int block, sys_days day)
{
    const int i = core::LayoutMonth(core::AddMonths(first, block)).IndexOf(day);
    return layout.DayRect(block, i / 7, i % 7);
}

class MonthGridAccessible : public GridTest {
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        monthgrid::SetClockSource(&FixedClock);
        Configure(grid, kCalendarColors, 4, 3, true);
        PutDate(grid, OleDate(2026, 12, 7));
        ::ShowWindow(host.get(), SW_SHOWNA);
        root = a11y::ClientObject(grid);
        ASSERT_TRUE(root);
    }
    void TearDown() override { monthgrid::SetClockSource(nullptr); }

    Element Month(int index)
    {
        fw::ComPtr<IDispatch> d;
        root->get_accChild(a11y::Id(index + 1), d.put());
        return {a11y::ObjectOf(d.get()), CHILDID_SELF};
    }
    // A day as a child of its month's object.
    Element DayIn(int block, unsigned day)
    {
        const Element month = Month(block);
        const LONG arrows = (block == 0) + (block == 3);
        return {month.object, arrows + static_cast<LONG>(day)};
    }
    void Key(UINT vk) { ::SendMessageW(grid, WM_KEYDOWN, vk, 1); }
    sys_days Selected()
    {
        const monthgrid::GridInfo i = Info(grid);
        return sys_days{year{i.selectedYear} / i.selectedMonth / i.selectedDay};
    }

    fw::ComPtr<IAccessible> root;
    const year_month first = year{2026} / December;
};

TEST_F(MonthGridAccessible, TheTreeOfAFourByThreeGridIsItsMonthsAndTheirDays)
{
    const core::GridLayout layout = LayoutOf(grid);
    const Element grid_{root, CHILDID_SELF};
    EXPECT_EQ(a11y::Role(grid_), ROLE_SYSTEM_TABLE);
    EXPECT_EQ(a11y::Name(grid_), L"Monats\u00FCbersicht");
    RECT client{};
    ::GetClientRect(grid, &client);
    EXPECT_EQ(a11y::Location(grid_), OnScreen(grid, {0, 0, client.right, client.bottom}));

    const std::vector<Element> months = a11y::Children(root.get());
    ASSERT_EQ(months.size(), 12u);
    for (int m = 0; m < 12; ++m) {
        SCOPED_TRACE(m);
        const year_month ym = core::AddMonths(first, m);
        const Element& month = months[static_cast<std::size_t>(m)];
        ASSERT_TRUE(month);
        ASSERT_EQ(month.child, CHILDID_SELF) << "each month is an object of its own";
        EXPECT_EQ(a11y::Name(month), core::MonthTitle(ym));
        EXPECT_EQ(a11y::Role(month), ROLE_SYSTEM_GROUPING);
        EXPECT_EQ(a11y::Location(month), OnScreen(grid, layout.MonthRect(m)));
        EXPECT_EQ(a11y::Role(a11y::Parent(month)), ROLE_SYSTEM_TABLE);

        // The arrows of the first and the last title of the first row.
        std::vector<std::tuple<std::wstring, core::Rect>> arrows;
        if (m == 0)
            arrows.emplace_back(L"Vorheriger Monat", layout.PrevArrowRect());
        if (m == 3)
            arrows.emplace_back(L"N\u00E4chster Monat", layout.NextArrowRect());
        const std::vector<Element> children = a11y::Children(month.object.get());
        ASSERT_EQ(children.size(), arrows.size() + core::DaysInMonth(ym));
        for (std::size_t i = 0; i < arrows.size(); ++i) {
            EXPECT_EQ(a11y::Name(children[i]), std::get<0>(arrows[i]));
            EXPECT_EQ(a11y::Role(children[i]), ROLE_SYSTEM_PUSHBUTTON);
            EXPECT_EQ(a11y::DefaultAction(children[i]), L"Dr\u00FCcken");
            EXPECT_EQ(a11y::Location(children[i]), OnScreen(grid, std::get<1>(arrows[i])));
        }
        for (unsigned d = 1; d <= core::DaysInMonth(ym); ++d) {
            const sys_days day = sys_days{ym / d};
            const Element& cell = children[arrows.size() + d - 1];
            ASSERT_EQ(cell.object.get(), month.object.get()) << "days are simple elements of their month";
            EXPECT_EQ(a11y::Name(cell), core::DayAccessibleName(day));
            EXPECT_EQ(a11y::Description(cell), core::DayAccessibleDescription(day, day == kToday, {}));
            EXPECT_EQ(a11y::Role(cell), ROLE_SYSTEM_CELL);
            EXPECT_EQ(a11y::DefaultAction(cell), L"Ausw\u00E4hlen");
            EXPECT_EQ(a11y::Location(cell), OnScreen(grid, DayCell(layout, first, m, day)));
            const LONG selected = day == kToday ? STATE_SYSTEM_SELECTED : 0;
            EXPECT_EQ(a11y::State(cell), STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE | selected);
        }
    }
    EXPECT_EQ(a11y::Description(DayIn(0, 7)), L"Woche 50, heute");
    EXPECT_EQ(a11y::Name(DayIn(0, 7)), L"Montag, 7. Dezember 2026");
}

TEST_F(MonthGridAccessible, StatesFollowTheSelectionAndTheFocus)
{
    const LONG day = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    EXPECT_EQ(a11y::State({root, CHILDID_SELF}), STATE_SYSTEM_FOCUSABLE);
    EXPECT_EQ(a11y::State(DayIn(0, 7)), day | STATE_SYSTEM_SELECTED);
    EXPECT_EQ(a11y::Focus(root.get()).object.get(), nullptr) << "no focus, nothing focused";

    ::SetFocus(grid);
    EXPECT_EQ(a11y::State({root, CHILDID_SELF}), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
    EXPECT_EQ(a11y::State(DayIn(0, 7)), day | STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED);
    Element focus = a11y::Focus(root.get());
    EXPECT_EQ(a11y::Name(focus), L"Montag, 7. Dezember 2026");
    EXPECT_EQ(a11y::Name(a11y::Parent(focus)), L"Dezember 2026");

    Key(VK_RIGHT);
    EXPECT_EQ(a11y::State(DayIn(0, 7)), day);
    EXPECT_EQ(a11y::State(DayIn(0, 8)), day | STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED);
    EXPECT_EQ(a11y::Name(a11y::Selection(root.get())), L"Dienstag, 8. Dezember 2026");
    const Element inMonth = a11y::Selection(Month(0).object.get());
    EXPECT_EQ(inMonth.child, DayIn(0, 8).child);
    EXPECT_EQ(a11y::Selection(Month(1).object.get()).object.get(), nullptr);

    ::SetFocus(host.get());
    EXPECT_EQ(a11y::State(DayIn(0, 8)), day | STATE_SYSTEM_SELECTED);

    // Scrolled out of view, the selected day is nowhere in the tree, and
    // the focus is the grid's own.
    ::SetFocus(grid);
    for (int i = 0; i < 12; ++i)
        ::SendMessageW(grid, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(a11y::Selection(root.get()).object.get(), nullptr);
    focus = a11y::Focus(root.get());
    EXPECT_EQ(focus.object.get(), root.get());
    EXPECT_EQ(focus.child, CHILDID_SELF);
}

TEST_F(MonthGridAccessible, HitTestFindsTheCellUnderThePoint)
{
    const core::GridLayout layout = LayoutOf(grid);
    for (int m : {0, 5, 11}) {
        const year_month ym = core::AddMonths(first, m);
        for (unsigned d = 1; d <= core::DaysInMonth(ym); ++d) {
            const sys_days day = sys_days{ym / d};
            const Element hit =
                a11y::DeepHitTest(root.get(), ScreenCentre(grid, DayCell(layout, first, m, day)));
            ASSERT_TRUE(hit) << m << '/' << d;
            EXPECT_EQ(a11y::Name(hit), core::DayAccessibleName(day));
        }
    }
    // The first step goes to the month; the month finds the day.
    const POINT seventh = ScreenCentre(grid, DayCell(layout, first, 0, kToday));
    const Element month = a11y::HitTest(root.get(), seventh);
    EXPECT_EQ(a11y::Name(month), L"Dezember 2026");
    EXPECT_EQ(a11y::HitTest(month.object.get(), seventh).child, DayIn(0, 7).child);

    // A neighbour's day, a title, the arrows, the margin, and outside.
    const sys_days lastOfNovember = sys_days{year{2026} / November / 30};
    const Element trailing =
        a11y::DeepHitTest(root.get(), ScreenCentre(grid, DayCell(layout, first, 0, lastOfNovember)));
    EXPECT_EQ(a11y::Name(trailing), L"Dezember 2026");
    EXPECT_EQ(a11y::Name(a11y::DeepHitTest(root.get(), ScreenCentre(grid, layout.TitleTextRect(2)))),
              L"Februar 2027");
    EXPECT_EQ(a11y::Name(a11y::DeepHitTest(root.get(), ScreenCentre(grid, layout.PrevArrowRect()))),
              L"Vorheriger Monat");
    EXPECT_EQ(a11y::Name(a11y::DeepHitTest(root.get(), ScreenCentre(grid, layout.NextArrowRect()))),
              L"N\u00E4chster Monat");
    POINT margin{1, 1};
    ::ClientToScreen(grid, &margin);
    const Element self = a11y::DeepHitTest(root.get(), margin);
    EXPECT_EQ(self.object.get(), root.get());
    EXPECT_EQ(self.child, CHILDID_SELF);
    POINT outside{-5, -5};
    ::ClientToScreen(grid, &outside);
    EXPECT_FALSE(a11y::HitTest(root.get(), outside));
}

TEST_F(MonthGridAccessible, NavigationMovesBetweenDaysAndMonths)
{
    // Within a month, answers are the month's own child IDs.
    const Element seventh = DayIn(0, 7);
    EXPECT_EQ(a11y::Navigate(seventh, NAVDIR_RIGHT).child, DayIn(0, 8).child);
    EXPECT_EQ(a11y::Navigate(seventh, NAVDIR_LEFT).child, DayIn(0, 6).child);
    EXPECT_EQ(a11y::Navigate(seventh, NAVDIR_DOWN).child, DayIn(0, 14).child);
    EXPECT_EQ(a11y::Navigate(seventh, NAVDIR_NEXT).child, DayIn(0, 8).child);
    EXPECT_FALSE(a11y::Navigate(seventh, NAVDIR_UP)) << "30 November is not shown";
    EXPECT_EQ(a11y::Name(a11y::Navigate(DayIn(0, 1), NAVDIR_PREVIOUS)), L"Vorheriger Monat");
    EXPECT_EQ(a11y::Name(a11y::Navigate(Month(0), NAVDIR_FIRSTCHILD)), L"Vorheriger Monat");
    EXPECT_EQ(a11y::Name(a11y::Navigate(Month(0), NAVDIR_LASTCHILD)), L"Donnerstag, 31. Dezember 2026");
    EXPECT_EQ(a11y::Name(a11y::Navigate(Month(3), NAVDIR_FIRSTCHILD)), L"N\u00E4chster Monat");

    // Into the next month: the day as an object, under its month.
    const Element january = a11y::Navigate(DayIn(0, 31), NAVDIR_DOWN);
    ASSERT_TRUE(january);
    EXPECT_EQ(january.child, CHILDID_SELF);
    EXPECT_EQ(a11y::Name(january), L"Donnerstag, 7. Januar 2027");
    EXPECT_EQ(a11y::Name(a11y::Parent(january)), L"Januar 2027");
    EXPECT_EQ(a11y::Name(a11y::Navigate(january, NAVDIR_LEFT)), L"Mittwoch, 6. Januar 2027");
    EXPECT_EQ(a11y::Name(a11y::Navigate(a11y::Navigate(january, NAVDIR_UP), NAVDIR_RIGHT)),
              L"Freitag, 1. Januar 2027");
    EXPECT_FALSE(a11y::Navigate(DayIn(11, 30), NAVDIR_RIGHT)) << "1 December 2027 is not shown";

    // Months: first and last, siblings, the blocks around them.
    EXPECT_EQ(a11y::Name(a11y::Navigate({root, CHILDID_SELF}, NAVDIR_FIRSTCHILD)), L"Dezember 2026");
    EXPECT_EQ(a11y::Name(a11y::Navigate({root, CHILDID_SELF}, NAVDIR_LASTCHILD)), L"November 2027");
    EXPECT_EQ(a11y::Name(a11y::Navigate(Month(0), NAVDIR_NEXT)), L"Januar 2027");
    EXPECT_EQ(a11y::Name(a11y::Navigate(Month(0), NAVDIR_RIGHT)), L"Januar 2027");
    EXPECT_EQ(a11y::Name(a11y::Navigate(Month(0), NAVDIR_DOWN)), L"April 2027");
    EXPECT_FALSE(a11y::Navigate(Month(0), NAVDIR_LEFT));
    EXPECT_FALSE(a11y::Navigate(Month(3), NAVDIR_RIGHT)) << "the next row is not to the right";
    EXPECT_FALSE(a11y::Navigate(Month(0), NAVDIR_PREVIOUS));
    VARIANT end;
    ::VariantInit(&end);
    EXPECT_EQ(root->accNavigate(NAVDIR_FIRSTCHILD, a11y::Id(1), &end), E_INVALIDARG)
        << "only from the object itself";
}

TEST_F(MonthGridAccessible, AtTheEndsOfTheRangeNothingLiesBeyond)
{
    PutDate(grid, OleDate(1601, 1, 5));
    const Element prev = a11y::Navigate(Month(0), NAVDIR_FIRSTCHILD);
    EXPECT_EQ(a11y::State(prev), STATE_SYSTEM_UNAVAILABLE) << "the grid cannot go back";
    EXPECT_EQ(a11y::State(a11y::Navigate(Month(3), NAVDIR_FIRSTCHILD)), 0);
    EXPECT_FALSE(a11y::Navigate(Month(0), NAVDIR_PREVIOUS));
    EXPECT_FALSE(a11y::Navigate(DayIn(0, 1), NAVDIR_LEFT));

    PutDate(grid, OleDate(9999, 12, 31));
    EXPECT_EQ(a11y::Name(Month(11)), L"Dezember 9999");
    EXPECT_EQ(a11y::State(a11y::Navigate(Month(3), NAVDIR_FIRSTCHILD)), STATE_SYSTEM_UNAVAILABLE);
    EXPECT_FALSE(a11y::Navigate(Month(11), NAVDIR_NEXT));
    EXPECT_FALSE(a11y::Navigate(DayIn(11, 31), NAVDIR_RIGHT));
    EXPECT_EQ(a11y::Name({root, 99991231}), L"Freitag, 31. Dezember 9999");
}

TEST_F(MonthGridAccessible, DefaultActionsSelectDaysAndMoveTheGrid)
{
    ASSERT_EQ(DayIn(0, 15).object->accDoDefaultAction(DayIn(0, 15).Var()), S_OK);
    EXPECT_EQ(Selected(), sys_days{year{2026} / December / 15});

    const Element december = Month(0);
    const Element next = a11y::Navigate(Month(3), NAVDIR_FIRSTCHILD);
    ASSERT_EQ(next.object->accDoDefaultAction(next.Var()), S_OK);
    EXPECT_EQ(Info(grid).firstMonth, 1);
    // December is no longer shown: its object says so instead of naming
    // another month.
    BSTR name = nullptr;
    EXPECT_EQ(december.object->get_accName(december.Var(), &name), E_FAIL);
    EXPECT_EQ(a11y::Name(Month(0)), L"Januar 2027");
    const Element prev = a11y::Navigate(Month(0), NAVDIR_FIRSTCHILD);
    ASSERT_EQ(prev.object->accDoDefaultAction(prev.Var()), S_OK);
    EXPECT_EQ(Info(grid).firstMonth, 12);
    EXPECT_EQ(root->accDoDefaultAction(a11y::Id(CHILDID_SELF)), DISP_E_MEMBERNOTFOUND);
}

TEST_F(MonthGridAccessible, SelectTakesTheSelectionAndTheFocus)
{
    const Element twentieth = DayIn(1, 20);
    EXPECT_EQ(twentieth.object->accSelect(SELFLAG_TAKESELECTION, twentieth.Var()), S_OK);
    EXPECT_EQ(Selected(), sys_days{year{2027} / January / 20});
    EXPECT_NE(::GetFocus(), grid);
    EXPECT_EQ(twentieth.object->accSelect(SELFLAG_TAKEFOCUS, DayIn(1, 21).Var()), S_OK);
    EXPECT_EQ(Selected(), sys_days{year{2027} / January / 21});
    EXPECT_EQ(::GetFocus(), grid);
    EXPECT_EQ(a11y::Name(a11y::Focus(root.get())), L"Donnerstag, 21. Januar 2027");
    EXPECT_EQ(twentieth.object->accSelect(SELFLAG_REMOVESELECTION, DayIn(1, 21).Var()), E_INVALIDARG);
    EXPECT_EQ(twentieth.object->accSelect(SELFLAG_TAKESELECTION, a11y::Id(CHILDID_SELF)), E_INVALIDARG);
    EXPECT_EQ(Selected(), sys_days{year{2027} / January / 21});
}

TEST_F(MonthGridAccessible, ADaysDateIsAChildIdOfTheGrid)
{
    EXPECT_EQ(monthgrid::DayChildId(kToday), 20261207);
    EXPECT_EQ(monthgrid::DayOfChildId(20261207), kToday);
    for (LONG bad : {0L, 12L, 20260230L, 16001231L, 100000101L, -20261207L})
        EXPECT_FALSE(monthgrid::DayOfChildId(bad)) << bad;

    const Element byDate{root, 20270214};
    EXPECT_EQ(a11y::Name(byDate), L"Sonntag, 14. Februar 2027");
    EXPECT_EQ(a11y::Role(byDate), ROLE_SYSTEM_CELL);
    fw::ComPtr<IDispatch> object;
    ASSERT_EQ(root->get_accChild(a11y::Id(20270214), object.put()), S_OK);
    const Element asObject{a11y::ObjectOf(object.get()), CHILDID_SELF};
    EXPECT_EQ(a11y::Name(asObject), L"Sonntag, 14. Februar 2027");
    EXPECT_EQ(a11y::Name(a11y::Parent(asObject)), L"Februar 2027");
    EXPECT_EQ(a11y::Location(asObject), a11y::Location(byDate));

    BSTR name = nullptr;
    EXPECT_EQ(root->get_accName(a11y::Id(20261130), &name), E_INVALIDARG) << "a neighbour's day only";
    EXPECT_EQ(root->get_accName(a11y::Id(13), &name), E_INVALIDARG);
    fw::ComPtr<IDispatch> none;
    EXPECT_EQ(Month(0).object->get_accChild(a11y::Id(9), none.put()), S_FALSE) << "simple elements";
}

// The events as an out-of-context hook sees them, for the grid's window.
struct Event {
    DWORD event;
    LONG child;
    bool operator==(const Event&) const = default;
};
std::ostream& operator<<(std::ostream& o, const Event& e)
{
    return o << std::hex << e.event << std::dec << ':' << e.child;
}

std::vector<Event> g_events;
HWND g_watched = nullptr;

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD)
{
    if (hwnd == g_watched && object == OBJID_CLIENT)
        g_events.push_back({event, child});
}

class MonthGridEvents : public MonthGridAccessible {
protected:
    void SetUp() override
    {
        MonthGridAccessible::SetUp();
        g_watched = grid;
        hook = ::SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_SELECTION, nullptr, &OnEvent,
                                 ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
        ASSERT_NE(hook, nullptr);
        testsupport::PumpFor(50);
        g_events.clear();
    }
    void TearDown() override
    {
        ::UnhookWinEvent(hook);
        MonthGridAccessible::TearDown();
    }
    std::vector<Event> Seen()
    {
        testsupport::PumpFor(50);
        return std::exchange(g_events, {});
    }

    HWINEVENTHOOK hook = nullptr;
};

TEST_F(MonthGridEvents, SelectionAndFocusFollowKeysClicksAndActions)
{
    // Without the focus: the selection alone.
    Key(VK_RIGHT);
    EXPECT_EQ(Seen(), (std::vector<Event>{{EVENT_OBJECT_SELECTION, 20261208}}));

    ::SetFocus(grid);
    std::vector<Event> seen = Seen();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), (Event{EVENT_OBJECT_FOCUS, 20261208})) << "the day, after the window's own";

    Key(VK_RIGHT);
    EXPECT_EQ(Seen(),
              (std::vector<Event>{{EVENT_OBJECT_SELECTION, 20261209}, {EVENT_OBJECT_FOCUS, 20261209}}));
    Key(VK_NEXT);
    EXPECT_EQ(Seen(), (std::vector<Event>{{EVENT_OBJECT_REORDER, CHILDID_SELF},
                                          {EVENT_OBJECT_SELECTION, 20270109},
                                          {EVENT_OBJECT_FOCUS, 20270109}}));

    const core::GridLayout layout = LayoutOf(grid);
    const POINT at =
        ScreenCentre(grid, DayCell(layout, year{2027} / January, 1, sys_days{year{2027} / February / 3}));
    POINT client = at;
    ::ScreenToClient(grid, &client);
    ::SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    ::SendMessageW(grid, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    EXPECT_EQ(Seen(),
              (std::vector<Event>{{EVENT_OBJECT_SELECTION, 20270203}, {EVENT_OBJECT_FOCUS, 20270203}}));

    const Element fifth = DayIn(1, 5);
    fifth.object->accDoDefaultAction(fifth.Var());
    EXPECT_EQ(Seen(),
              (std::vector<Event>{{EVENT_OBJECT_SELECTION, 20270205}, {EVENT_OBJECT_FOCUS, 20270205}}));

    // What an event names is what the grid answers for it.
    fw::ComPtr<IAccessible> object;
    VARIANT child;
    ::VariantInit(&child);
    ASSERT_EQ(
        ::AccessibleObjectFromEvent(grid, static_cast<DWORD>(OBJID_CLIENT), 20270205, object.put(), &child),
        S_OK);
    const Element fromEvent = a11y::FromVariant(object.get(), child);
    EXPECT_EQ(a11y::Name(fromEvent), L"Freitag, 5. Februar 2027");
    EXPECT_EQ(a11y::State(fromEvent) & STATE_SYSTEM_FOCUSED, STATE_SYSTEM_FOCUSED);

    // Nothing moved, nothing said.
    Key(VK_F5);
    EXPECT_TRUE(Seen().empty());
}

TEST_F(MonthGridEvents, TheShownMonthsChangingIsAReorder)
{
    ::SetFocus(grid);
    Seen();
    // The wheel scrolls the months alone; once December leaves the grid,
    // the selected day leaves the tree and the focus falls back to the
    // grid; it comes back with December.
    ::SendMessageW(grid, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(WHEEL_DELTA)), 0);
    EXPECT_EQ(Seen(), (std::vector<Event>{{EVENT_OBJECT_REORDER, CHILDID_SELF}}));
    ::SendMessageW(grid, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-2 * WHEEL_DELTA)), 0);
    EXPECT_EQ(Seen(),
              (std::vector<Event>{{EVENT_OBJECT_REORDER, CHILDID_SELF}, {EVENT_OBJECT_FOCUS, CHILDID_SELF}}));
    ::SendMessageW(grid, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(WHEEL_DELTA)), 0);
    EXPECT_EQ(Seen(), (std::vector<Event>{{EVENT_OBJECT_REORDER, CHILDID_SELF},
                                          {EVENT_OBJECT_SELECTION, 20261207},
                                          {EVENT_OBJECT_FOCUS, 20261207}}));

    // A layout pass that ends where it began says nothing; a new shape is
    // a reorder once the run of puts is over.
    SetShape(grid, 4, 3);
    EXPECT_TRUE(Seen().empty());
    SetShape(grid, 2, 1);
    EXPECT_EQ(Seen(), (std::vector<Event>{{EVENT_OBJECT_REORDER, CHILDID_SELF}}));

    // Midnight: today is another day.
    static sys_days s_day = kToday;
    monthgrid::SetClockSource([] { return monthgrid::LocalTime{s_day, hours{0}}; });
    s_day += days{1};
    ::SendMessageW(grid, WM_TIMER, monthgrid::MidnightTimer::kId, 0);
    EXPECT_EQ(Seen(), (std::vector<Event>{{EVENT_OBJECT_REORDER, CHILDID_SELF}}));
    EXPECT_EQ(a11y::Description({root, 20261208}), L"Woche 50, heute");
    EXPECT_EQ(a11y::Description({root, 20261207}), L"Woche 50");
}

TEST_F(MonthGridAccessible, ObjectsOutliveTheirWindowSafely)
{
    const Element month = Month(0);
    const Element day = DayIn(0, 9);
    fw::ComPtr<IDispatch> byDate;
    root->get_accChild(a11y::Id(20261224), byDate.put());
    ::DestroyWindow(grid);
    BSTR name = nullptr;
    EXPECT_EQ(root->get_accName(a11y::Id(CHILDID_SELF), &name), RPC_E_DISCONNECTED);
    EXPECT_EQ(month.object->get_accName(day.Var(), &name), RPC_E_DISCONNECTED);
    EXPECT_EQ(a11y::ObjectOf(byDate.get())->accDoDefaultAction(a11y::Id(CHILDID_SELF)), RPC_E_DISCONNECTED);
    long count = 7;
    EXPECT_EQ(root->get_accChildCount(&count), RPC_E_DISCONNECTED);
    EXPECT_EQ(name, nullptr);
}

TEST_F(MonthGridAccessible, OtherThreadsAreTurnedAway)
{
    HRESULT hr = S_OK;
    ASSERT_TRUE(testsupport::OnAnotherThread([&] {
        long count = 0;
        hr = root->get_accChildCount(&count);
    }));
    EXPECT_EQ(hr, RPC_E_WRONG_THREAD);
}

} // namespace
