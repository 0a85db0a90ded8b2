#include "monthgrid/grid_accessible.h"

#include <oleidl.h>

#include <new>
#include <string>

#include "core/calendar_text.h"
#include "core/dates.h"
#include "monthgrid/grid_clock.h"
#include "monthgrid/month_grid_control.h"

namespace monthgrid {

using namespace std::chrono;

namespace {

constexpr std::wstring_view kGridName = L"Monats\u00FCbersicht";
constexpr std::wstring_view kPrevName = L"Vorheriger Monat";
constexpr std::wstring_view kNextName = L"N\u00E4chster Monat";
constexpr std::wstring_view kPress = L"Dr\u00FCcken";
constexpr std::wstring_view kSelect = L"Ausw\u00E4hlen";

constexpr int kDaysPerWeek = 7;

enum class Kind { Grid, Month, PrevArrow, NextArrow, Day };

// One element of the tree, by what it shows. An arrow's month is where it
// was met; which month holds it is the layout's business.
struct Element {
    Kind kind = Kind::Grid;
    year_month month{};
    sys_days day{};

    bool Same(const Element& o) const
    {
        if (kind != o.kind)
            return false;
        if (kind == Kind::Month)
            return month == o.month;
        if (kind == Kind::Day)
            return day == o.day;
        return true;
    }
    bool IsArrow() const { return kind == Kind::PrevArrow || kind == Kind::NextArrow; }
};

Element MonthElement(year_month ym) { return {Kind::Month, ym, {}}; }

Element DayElement(sys_days day)
{
    const year_month_day ymd{day};
    return {Kind::Day, ymd.year() / ymd.month(), day};
}

// The grid as one call sees it: read once from the control, so that the
// answers of one call agree with each other.
class Tree {
public:
    explicit Tree(MonthGridControl& control)
        : m_control(control), m_nav(control.Navigation()), m_first(m_nav.First()),
          m_count(m_nav.MonthCount()), m_columns(control.Shape().columns)
    {}

    int Count() const { return m_count; }
    year_month MonthAt(int index) const { return core::AddMonths(m_first, index); }
    // The block showing `ym`, or -1.
    int IndexOf(year_month ym) const
    {
        const long long n = core::MonthsBetween(m_first, ym);
        return n >= 0 && n < m_count ? static_cast<int>(n) : -1;
    }
    bool Present(const Element& e) const
    {
        return (e.kind != Kind::Month && e.kind != Kind::Day) || IndexOf(e.month) >= 0;
    }
    // The block whose title holds an arrow.
    int ArrowBlock(Kind arrow) const { return arrow == Kind::PrevArrow ? 0 : m_columns - 1; }
    // Where an element sits in the tree: its block, for an arrow the one
    // that holds it.
    int BlockOf(const Element& e) const { return e.IsArrow() ? ArrowBlock(e.kind) : IndexOf(e.month); }

    // A month's children: its arrows, then its days.
    int ArrowCount(int block) const { return (block == 0) + (block == m_columns - 1); }
    int ChildCount(year_month ym) const
    {
        return ArrowCount(IndexOf(ym)) + static_cast<int>(core::DaysInMonth(ym));
    }
    std::optional<Element> ChildOfMonth(year_month ym, LONG id) const
    {
        const int block = IndexOf(ym);
        if (block < 0 || id < 1 || id > ChildCount(ym))
            return std::nullopt;
        const int arrows = ArrowCount(block);
        if (id <= arrows) {
            const bool prev = block == 0 && id == 1;
            return Element{prev ? Kind::PrevArrow : Kind::NextArrow, ym, {}};
        }
        return DayElement(core::FirstDayOfMonth(ym) + days{id - arrows - 1});
    }
    // An arrow's or a day's child ID in its month.
    LONG LocalId(const Element& e) const
    {
        const int block = BlockOf(e);
        if (e.kind == Kind::PrevArrow)
            return 1;
        if (e.kind == Kind::NextArrow)
            return block == 0 ? 2 : 1;
        return ArrowCount(block) + static_cast<LONG>(static_cast<unsigned>(year_month_day{e.day}.day()));
    }
    year_month MonthOfChild(const Element& e) const { return e.IsArrow() ? MonthAt(BlockOf(e)) : e.month; }

    std::wstring Name(const Element& e) const
    {
        switch (e.kind) {
        case Kind::Grid:
            return std::wstring(kGridName);
        case Kind::Month:
            return core::MonthTitle(e.month);
        case Kind::PrevArrow:
            return std::wstring(kPrevName);
        case Kind::NextArrow:
            return std::wstring(kNextName);
        case Kind::Day:
            return core::DayAccessibleName(e.day);
        }
        return {};
    }
    std::wstring Description(const Element& e) const
    {
        if (e.kind != Kind::Day)
            return {};
        // The clock is read for the one answer that names today: a reader
        // takes the whole tree in a few thousand calls, and a look at the
        // clock was most of what the others cost.
        return core::DayAccessibleDescription(e.day, e.day == m_control.Today(), m_control.HolidayNamesOn(e.day));
    }
    LONG Role(const Element& e) const
    {
        switch (e.kind) {
        case Kind::Grid:
            return ROLE_SYSTEM_TABLE;
        case Kind::Month:
            return ROLE_SYSTEM_GROUPING;
        case Kind::PrevArrow:
        case Kind::NextArrow:
            return ROLE_SYSTEM_PUSHBUTTON;
        case Kind::Day:
            return ROLE_SYSTEM_CELL;
        }
        return ROLE_SYSTEM_CLIENT;
    }
    LONG State(const Element& e) const
    {
        LONG state = m_control.IsWindowVisible() ? 0 : STATE_SYSTEM_INVISIBLE;
        const bool focused = m_control.HasFocus();
        switch (e.kind) {
        case Kind::Grid:
            state |= STATE_SYSTEM_FOCUSABLE | (focused ? STATE_SYSTEM_FOCUSED : 0);
            break;
        case Kind::Month:
            break;
        case Kind::PrevArrow:
            state |= m_first == core::kFirstMonth ? STATE_SYSTEM_UNAVAILABLE : 0;
            break;
        case Kind::NextArrow:
            state |= m_nav.Last() == core::kLastMonth ? STATE_SYSTEM_UNAVAILABLE : 0;
            break;
        case Kind::Day:
            state |= STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
            if (e.day == m_nav.Selected())
                state |= STATE_SYSTEM_SELECTED | (focused ? STATE_SYSTEM_FOCUSED : 0);
            break;
        }
        return state;
    }
    std::wstring_view DefaultAction(const Element& e) const
    {
        return e.kind == Kind::Day ? kSelect : e.IsArrow() ? kPress : std::wstring_view{};
    }

    // In client coordinates.
    core::Rect Location(const Element& e, const core::GridLayout& layout) const
    {
        switch (e.kind) {
        case Kind::Grid: {
            const RECT client = m_control.GetClientRect();
            return {client.left, client.top, client.right, client.bottom};
        }
        case Kind::Month:
            return layout.MonthRect(IndexOf(e.month));
        case Kind::PrevArrow:
            return layout.PrevArrowRect();
        case Kind::NextArrow:
            return layout.NextArrowRect();
        case Kind::Day: {
            const int cell = CellOf(e.day);
            return layout.DayRect(IndexOf(e.month), cell / kDaysPerWeek, cell % kDaysPerWeek);
        }
        }
        return {};
    }
    // The cell of an own day in its month's block.
    static int CellOf(sys_days day)
    {
        const year_month_day ymd{day};
        return core::LeadingDays(ymd.year() / ymd.month()) +
               static_cast<int>(static_cast<unsigned>(ymd.day())) - 1;
    }

    // What lies under a client point, inside `container`.
    std::optional<Element> HitTest(const Element& container, core::Point p,
                                   const core::GridLayout& layout) const
    {
        if (!Location(container, layout).Contains(p))
            return std::nullopt;
        if (container.kind == Kind::Grid) {
            for (int m = 0; m < m_count; ++m) {
                if (layout.MonthRect(m).Contains(p))
                    return MonthElement(MonthAt(m));
            }
            return container;
        }
        if (container.kind != Kind::Month)
            return container;
        const int block = IndexOf(container.month);
        for (Kind arrow : {Kind::PrevArrow, Kind::NextArrow}) {
            const Element e{arrow, container.month, {}};
            if (ArrowBlock(arrow) == block && Location(e, layout).Contains(p))
                return e;
        }
        const core::HitResult hit = layout.HitTest(p);
        if (hit.kind == core::HitKind::Day && hit.month == block) {
            const sys_days first = core::FirstDayOfMonth(container.month);
            const sys_days day = first + days{hit.line * kDaysPerWeek + hit.weekday - CellOf(first)};
            if (DayElement(day).month == container.month)
                return DayElement(day);
        }
        return container;
    }

    std::optional<Element> Navigate(const Element& start, long direction) const
    {
        switch (direction) {
        case NAVDIR_FIRSTCHILD:
        case NAVDIR_LASTCHILD: {
            const bool first = direction == NAVDIR_FIRSTCHILD;
            if (start.kind == Kind::Grid)
                return MonthElement(MonthAt(first ? 0 : m_count - 1));
            if (start.kind == Kind::Month)
                return ChildOfMonth(start.month, first ? 1 : ChildCount(start.month));
            return std::nullopt;
        }
        case NAVDIR_NEXT:
        case NAVDIR_PREVIOUS: {
            const int step = direction == NAVDIR_NEXT ? 1 : -1;
            if (start.kind == Kind::Month) {
                // By block: at the ends of the range AddMonths stands still.
                const int block = IndexOf(start.month) + step;
                return block >= 0 && block < m_count ? std::optional<Element>(MonthElement(MonthAt(block)))
                                                     : std::nullopt;
            }
            if (start.kind == Kind::Grid)
                return std::nullopt;
            return ChildOfMonth(MonthOfChild(start), LocalId(start) + step);
        }
        case NAVDIR_LEFT:
        case NAVDIR_RIGHT:
        case NAVDIR_UP:
        case NAVDIR_DOWN: {
            const int days = direction == NAVDIR_LEFT    ? -1
                             : direction == NAVDIR_RIGHT ? 1
                             : direction == NAVDIR_UP    ? -kDaysPerWeek
                                                         : kDaysPerWeek;
            if (start.kind == Kind::Day)
                return Shown(DayElement(start.day + std::chrono::days{days}));
            if (start.kind != Kind::Month)
                return std::nullopt;
            // Blocks: across within their row, up and down by a row.
            const int block = IndexOf(start.month);
            const int target =
                days == -1 || days == 1 ? block + days : block + (days < 0 ? -m_columns : m_columns);
            const bool sameRow = target / m_columns == block / m_columns;
            if (target < 0 || target >= m_count || ((days == -1 || days == 1) && !sameRow))
                return std::nullopt;
            return MonthElement(MonthAt(target));
        }
        default:
            return std::nullopt;
        }
    }

    // The selected day, where the tree holds it.
    std::optional<Element> Selected() const { return Shown(DayElement(m_nav.Selected())); }
    bool HasFocus() const { return m_control.HasFocus(); }

private:
    std::optional<Element> Shown(const Element& e) const
    {
        return Present(e) ? std::optional<Element>(e) : std::nullopt;
    }

    MonthGridControl& m_control;
    const core::GridNavigation& m_nav;
    year_month m_first;
    int m_count;
    int m_columns;
};

// Every element's object; the grid's own also answers for its window.
class GridElement final : public fw::AccessibleObject, public IOleWindow {
public:
    GridElement(GridConnection* connection, const Element& self)
        : m_connection(fw::ComPtr<GridConnection>::Share(connection)), m_self(self)
    {}

    // IUnknown, for both bases.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        return AccessibleObject::QueryInterface(riid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return AccessibleObject::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return AccessibleObject::Release(); }

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override
    {
        if (!hwnd)
            return E_POINTER;
        *hwnd = m_connection->Window();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;

protected:
    void* OtherInterface(REFIID riid) override
    {
        // Only the grid stands for a window of its own.
        if (riid == __uuidof(IOleWindow) && m_self.kind == Kind::Grid)
            return static_cast<IOleWindow*>(this);
        return nullptr;
    }

private:
    // Runs `answer(tree, control)` once the call may reach the grid and
    // this object still shows something: the one COM boundary of every
    // call, which no exception crosses.
    template <class F>
    HRESULT Call(F answer);
    // The same, with the element a child ID names (0: this object).
    template <class F>
    HRESULT WithChild(const VARIANT& child, F answer);

    std::optional<Element> Resolve(const Tree& tree, LONG id) const;
    // An element as this object names it: CHILDID_SELF, a child ID of its
    // own, or else the element's own object.
    HRESULT Reply(const Tree& tree, const std::optional<Element>& e, VARIANT* out) const;
    IDispatch* ObjectOf(const Tree& tree, const Element& e) const;

    fw::ComPtr<GridConnection> m_connection;
    Element m_self;
};

template <class F>
HRESULT GridElement::Call(F answer)
{
    if (const HRESULT hr = m_connection->Check(); FAILED(hr))
        return hr;
    MonthGridControl& control = *m_connection->Control();
    const fw::CWnd::CallScope scope(control);
    try {
        const Tree tree(control);
        if (!tree.Present(m_self))
            return E_FAIL;
        return answer(tree, control);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

template <class F>
HRESULT GridElement::WithChild(const VARIANT& child, F answer)
{
    LONG id = 0;
    if (!ChildOf(child, id))
        return E_INVALIDARG;
    return Call([&](const Tree& tree, MonthGridControl& control) -> HRESULT {
        const std::optional<Element> e = Resolve(tree, id);
        if (!e)
            return E_INVALIDARG;
        return answer(tree, control, *e);
    });
}

std::optional<Element> GridElement::Resolve(const Tree& tree, LONG id) const
{
    if (id == CHILDID_SELF)
        return m_self;
    if (m_self.kind == Kind::Month)
        return tree.ChildOfMonth(m_self.month, id);
    if (m_self.kind != Kind::Grid)
        return std::nullopt;
    if (id >= 1 && id <= tree.Count())
        return MonthElement(tree.MonthAt(id - 1));
    if (const std::optional<sys_days> day = DayOfChildId(id); day && tree.Present(DayElement(*day)))
        return DayElement(*day);
    return std::nullopt;
}

IDispatch* GridElement::ObjectOf(const Tree& tree, const Element& e) const
{
    Element bound = e;
    if (e.IsArrow())
        bound.month = tree.MonthOfChild(e);
    return new GridElement(m_connection.get(), bound); // its reference goes to the caller
}

HRESULT GridElement::Reply(const Tree& tree, const std::optional<Element>& e, VARIANT* out) const
{
    ::VariantInit(out);
    if (!e)
        return S_FALSE;
    if (e->Same(m_self)) {
        SetI4(out, CHILDID_SELF);
    } else if (m_self.kind == Kind::Month && e->kind != Kind::Grid && e->kind != Kind::Month &&
               tree.MonthOfChild(*e) == m_self.month) {
        SetI4(out, tree.LocalId(*e));
    } else {
        SetDispatch(out, ObjectOf(tree, *e));
    }
    return S_OK;
}

HRESULT GridElement::get_accParent(IDispatch** parent)
{
    if (!parent)
        return E_POINTER;
    *parent = nullptr;
    return Call([&](const Tree& tree, MonthGridControl& control) -> HRESULT {
        switch (m_self.kind) {
        case Kind::Grid:
            *parent = fw::StandardWindowObject(control.m_hWnd).detach();
            return *parent ? S_OK : S_FALSE;
        case Kind::Month:
            *parent = ObjectOf(tree, Element{});
            return S_OK;
        default:
            *parent = ObjectOf(tree, MonthElement(tree.MonthOfChild(m_self)));
            return S_OK;
        }
    });
}

HRESULT GridElement::get_accChildCount(long* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return Call([&](const Tree& tree, MonthGridControl&) -> HRESULT {
        if (m_self.kind == Kind::Grid)
            *count = tree.Count();
        else if (m_self.kind == Kind::Month)
            *count = tree.ChildCount(m_self.month);
        return S_OK;
    });
}

HRESULT GridElement::get_accChild(VARIANT child, IDispatch** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    return WithChild(child, [&](const Tree& tree, MonthGridControl&, const Element& e) -> HRESULT {
        if (e.Same(m_self))
            return E_INVALIDARG;
        if (m_self.kind == Kind::Month)
            return S_FALSE; // a simple element of this month
        *object = ObjectOf(tree, e);
        return S_OK;
    });
}

HRESULT GridElement::get_accName(VARIANT child, BSTR* name)
{
    if (!name)
        return E_POINTER;
    *name = nullptr;
    return WithChild(child, [&](const Tree& tree, MonthGridControl&, const Element& e) {
        return Text(name, tree.Name(e));
    });
}

HRESULT GridElement::get_accValue(VARIANT child, BSTR* value)
{
    if (!value)
        return E_POINTER;
    *value = nullptr;
    return WithChild(child, [](const Tree&, MonthGridControl&, const Element&) { return S_FALSE; });
}

HRESULT GridElement::get_accDescription(VARIANT child, BSTR* description)
{
    if (!description)
        return E_POINTER;
    *description = nullptr;
    return WithChild(child, [&](const Tree& tree, MonthGridControl&, const Element& e) {
        return Text(description, tree.Description(e));
    });
}

HRESULT GridElement::get_accRole(VARIANT child, VARIANT* role)
{
    if (!role)
        return E_POINTER;
    ::VariantInit(role);
    return WithChild(child, [&](const Tree& tree, MonthGridControl&, const Element& e) {
        SetI4(role, tree.Role(e));
        return S_OK;
    });
}

HRESULT GridElement::get_accState(VARIANT child, VARIANT* state)
{
    if (!state)
        return E_POINTER;
    ::VariantInit(state);
    return WithChild(child, [&](const Tree& tree, MonthGridControl&, const Element& e) {
        SetI4(state, tree.State(e));
        return S_OK;
    });
}

HRESULT GridElement::get_accFocus(VARIANT* child)
{
    if (!child)
        return E_POINTER;
    ::VariantInit(child);
    return Call([&](const Tree& tree, MonthGridControl&) -> HRESULT {
        if (!tree.HasFocus())
            return S_FALSE;
        const std::optional<Element> selected = tree.Selected();
        switch (m_self.kind) {
        case Kind::Grid:
            return Reply(tree, selected ? *selected : m_self, child);
        case Kind::Month:
        case Kind::Day:
            if (selected &&
                (selected->Same(m_self) || (m_self.kind == Kind::Month && selected->month == m_self.month)))
                return Reply(tree, selected, child);
            return S_FALSE;
        default:
            return S_FALSE;
        }
    });
}

HRESULT GridElement::get_accSelection(VARIANT* children)
{
    if (!children)
        return E_POINTER;
    ::VariantInit(children);
    return Call([&](const Tree& tree, MonthGridControl&) -> HRESULT {
        const std::optional<Element> selected = tree.Selected();
        if (!selected || (m_self.kind != Kind::Grid && m_self.kind != Kind::Month) ||
            (m_self.kind == Kind::Month && selected->month != m_self.month))
            return S_FALSE;
        return Reply(tree, selected, children);
    });
}

HRESULT GridElement::get_accDefaultAction(VARIANT child, BSTR* action)
{
    if (!action)
        return E_POINTER;
    *action = nullptr;
    return WithChild(child, [&](const Tree& tree, MonthGridControl&, const Element& e) {
        return Text(action, tree.DefaultAction(e));
    });
}

HRESULT GridElement::accSelect(long flags, VARIANT child)
{
    // One day is selected at any time: there is nothing to add to, extend
    // or take away.
    if (flags & (SELFLAG_REMOVESELECTION | SELFLAG_EXTENDSELECTION))
        return E_INVALIDARG;
    return WithChild(child, [&](const Tree&, MonthGridControl& control, const Element& e) -> HRESULT {
        const bool select = flags & (SELFLAG_TAKESELECTION | SELFLAG_ADDSELECTION);
        if (e.kind != Kind::Day && (select || (e.kind != Kind::Grid && (flags & SELFLAG_TAKEFOCUS))))
            return E_INVALIDARG;
        // The focus follows the selection in this grid: a day that takes
        // the focus is selected too, before the focus arrives.
        if (e.kind == Kind::Day && (select || (flags & SELFLAG_TAKEFOCUS)))
            control.SelectDay(e.day);
        if ((flags & SELFLAG_TAKEFOCUS) && control.Alive())
            control.TakeFocus();
        return S_OK;
    });
}

HRESULT GridElement::accLocation(long* left, long* top, long* width, long* height, VARIANT child)
{
    if (!left || !top || !width || !height)
        return E_POINTER;
    *left = *top = *width = *height = 0;
    return WithChild(child, [&](const Tree& tree, MonthGridControl& control, const Element& e) -> HRESULT {
        const core::Rect r = tree.Location(e, control.AccessibleLayout());
        POINT origin{0, 0};
        ::ClientToScreen(control.m_hWnd, &origin);
        *left = origin.x + r.left;
        *top = origin.y + r.top;
        *width = r.Width();
        *height = r.Height();
        return S_OK;
    });
}

HRESULT GridElement::accNavigate(long direction, VARIANT start, VARIANT* end)
{
    if (!end)
        return E_POINTER;
    ::VariantInit(end);
    if (direction < NAVDIR_UP || direction > NAVDIR_LASTCHILD)
        return E_INVALIDARG;
    return WithChild(start, [&](const Tree& tree, MonthGridControl&, const Element& e) -> HRESULT {
        const bool toChild = direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD;
        if (toChild && !e.Same(m_self))
            return E_INVALIDARG;
        return Reply(tree, tree.Navigate(e, direction), end);
    });
}

HRESULT GridElement::accHitTest(long left, long top, VARIANT* child)
{
    if (!child)
        return E_POINTER;
    ::VariantInit(child);
    return Call([&](const Tree& tree, MonthGridControl& control) -> HRESULT {
        POINT p{left, top};
        ::ScreenToClient(control.m_hWnd, &p);
        return Reply(tree, tree.HitTest(m_self, {p.x, p.y}, control.AccessibleLayout()), child);
    });
}

HRESULT GridElement::accDoDefaultAction(VARIANT child)
{
    return WithChild(child, [&](const Tree&, MonthGridControl& control, const Element& e) -> HRESULT {
        switch (e.kind) {
        case Kind::Day:
            control.SelectDay(e.day);
            return S_OK;
        case Kind::PrevArrow:
        case Kind::NextArrow:
            control.ScrollMonths(e.kind == Kind::PrevArrow ? -1 : 1);
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    });
}

} // namespace

LONG DayChildId(sys_days day)
{
    const year_month_day ymd{day};
    return static_cast<LONG>(static_cast<int>(ymd.year()) * 10000 +
                             static_cast<int>(static_cast<unsigned>(ymd.month())) * 100 +
                             static_cast<int>(static_cast<unsigned>(ymd.day())));
}

std::optional<sys_days> DayOfChildId(LONG id)
{
    if (id <= 0)
        return std::nullopt;
    const year_month_day ymd{year{static_cast<int>(id / 10000)}, month{static_cast<unsigned>(id / 100 % 100)},
                             day{static_cast<unsigned>(id % 100)}};
    const year_month ym = ymd.year() / ymd.month();
    if (!ymd.ok() || ym < core::kFirstMonth || ym > core::kLastMonth)
        return std::nullopt;
    return sys_days{ymd};
}

GridConnection::GridConnection(MonthGridControl* control, HWND hwnd)
    : m_control(control), m_hwnd(hwnd), m_thread(::GetCurrentThreadId())
{}

ULONG GridConnection::Release()
{
    const ULONG left = --m_refs;
    if (left == 0)
        delete this;
    return left;
}

MonthGridControl* GridConnection::Control() const { return SUCCEEDED(Check()) ? m_control : nullptr; }

HRESULT GridConnection::Check() const
{
    // The control and its window belong to one thread; a caller in another
    // process reaches this one through COM, a caller on another thread of
    // this process must not reach in.
    if (::GetCurrentThreadId() != m_thread)
        return RPC_E_WRONG_THREAD;
    if (!m_control || !m_control->Alive())
        return RPC_E_DISCONNECTED;
    return S_OK;
}

IAccessible* NewGridAccessible(GridConnection* connection)
{
    return new (std::nothrow) GridElement(connection, Element{});
}

} // namespace monthgrid
