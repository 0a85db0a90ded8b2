// Reads the running calendar from another process, as a screen reader
// does: through oleacc and the window the keyboard focus is in, never
// through the program's own code. Prints what it read and what it checked
// ("ok: ..." / "FAIL: ...") in UTF-8 to the file given; ends with 0 when
// every check held.
//
//   a11y_reader tree OUT          the calendar's focused grid and its tree
//   a11y_reader watch OUT SECONDS the events while the user presses Right,
//                                 then PageDown (the caller presses them)
//   a11y_reader swatches OUT      the parameter dialog's colour fields
#include <windows.h>
#include <oleacc.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "core/calendar_text.h"
#include "core/dates.h"
#include "core/grid_navigation.h"
#include "monthgrid/class_name.h"
#include "support/accessible_probe.h"

namespace {

using namespace std::chrono;
using a11y::Element;

FILE* g_out = nullptr;
int g_failures = 0;

void Line(const std::wstring& text)
{
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                        nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), n, nullptr,
                          nullptr);
    std::fprintf(g_out, "%s\n", bytes.c_str());
    std::fflush(g_out);
}

void Check(bool ok, const std::wstring& what)
{
    Line((ok ? L"ok: " : L"FAIL: ") + what);
    g_failures += !ok;
}

std::wstring Hex(LONG v)
{
    wchar_t b[16];
    std::swprintf(b, 16, L"0x%lX", static_cast<unsigned long>(v));
    return b;
}

std::wstring ClassOf(HWND hwnd)
{
    wchar_t name[64] = {};
    ::GetClassNameW(hwnd, name, 64);
    return name;
}

std::wstring TitleOf(HWND hwnd)
{
    wchar_t title[128] = {};
    ::GetWindowTextW(hwnd, title, 128);
    return title;
}

// The visible dialog whose title starts with `prefix`.
HWND FindDialog(const std::wstring& prefix)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
            if (::IsWindowVisible(w) && ClassOf(w) == L"#32770" && TitleOf(w).rfind(prefix, 0) == 0)
                return w;
        }
        ::Sleep(100);
    }
    return nullptr;
}

HWND FocusOf(HWND top)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(top, nullptr), &info) ? info.hwndFocus : nullptr;
}

sys_days Today()
{
    SYSTEMTIME st{};
    ::GetLocalTime(&st);
    return sys_days{year{st.wYear} / st.wMonth / st.wDay};
}

// "Woche 50", ", heute" for today, then only the holidays' part.
bool DescriptionFits(const std::wstring& text, sys_days day, bool today)
{
    const std::wstring plain = core::DayAccessibleDescription(day, today, {});
    if (text.rfind(plain, 0) != 0)
        return false;
    const std::wstring rest = text.substr(plain.size());
    return rest.empty() || rest.rfind(L", Feiertag", 0) == 0;
}

HWND FindCalendarGrid(HWND& calendar)
{
    calendar = FindDialog(L"Morvelin - ");
    Check(calendar != nullptr, L"the calendar window is up");
    if (!calendar)
        return nullptr;
    const HWND focus = FocusOf(calendar);
    Check(focus && ClassOf(focus) == L"" MONTHGRID_CLASS_NAME, L"the keyboard focus is in the month grid");
    return focus;
}

int Tree()
{
    HWND calendar = nullptr;
    const HWND grid = FindCalendarGrid(calendar);
    if (!grid)
        return 1;

    // From the window down, as a reader walking the screen does.
    const fw::ComPtr<IAccessible> window = a11y::ClientObject(calendar);
    Check(static_cast<bool>(window), L"the calendar window answers with its client object");
    const fw::ComPtr<IAccessible> root = a11y::ClientObject(grid);
    if (!root) {
        Check(false, L"the grid answers with its object");
        return 1;
    }
    const Element self{root, CHILDID_SELF};
    Line(L"grid: " + a11y::Name(self) + L" role " + Hex(a11y::Role(self)) + L" state " +
         Hex(a11y::State(self)));
    Check(a11y::Role(self) == ROLE_SYSTEM_TABLE && a11y::Name(self) == L"Monats\u00FCbersicht",
          L"the grid is the table \u201EMonats\u00FCbersicht\u201C");
    Check((a11y::State(self) & STATE_SYSTEM_FOCUSED) != 0, L"the grid has the focus");

    const sys_days today = Today();
    const year_month_day t{today};
    const Element focus = a11y::Focus(root.get());
    Line(L"focus: " + a11y::Name(focus) + L" / " + a11y::Description(focus) + L" state " +
         Hex(a11y::State(focus)));
    Check(a11y::Name(focus) == core::DayAccessibleName(today), L"the focus is on today");
    Check(a11y::State(focus) == (STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTED |
                                 STATE_SYSTEM_FOCUSED),
          L"today is selected and focused");
    Check(a11y::Name(a11y::Parent(focus)) == core::MonthTitle(t.year() / t.month()),
          L"today's parent is its month");

    const std::vector<Element> months = a11y::Children(root.get());
    Check(months.size() == 12, L"twelve months: " + std::to_wstring(months.size()));
    int days = 0;
    bool namesFit = true, descriptionsFit = true, rolesFit = true, placesFit = true;
    RECT gridRect{};
    ::GetWindowRect(grid, &gridRect);
    for (std::size_t m = 0; m < months.size(); ++m) {
        const year_month ym = core::AddMonths(t.year() / t.month(), static_cast<int>(m));
        const Element& month = months[m];
        Line(L"month " + std::to_wstring(m + 1) + L": " + a11y::Name(month));
        Check(a11y::Name(month) == core::MonthTitle(ym) && a11y::Role(month) == ROLE_SYSTEM_GROUPING,
              L"month " + std::to_wstring(m + 1) + L" is " + core::MonthTitle(ym));
        const std::vector<Element> children = a11y::Children(month.object.get());
        std::size_t first = 0;
        while (first < children.size() && a11y::Role(children[first]) == ROLE_SYSTEM_PUSHBUTTON) {
            Line(L"  button: " + a11y::Name(children[first]));
            ++first;
        }
        const std::size_t expectedArrows = (m == 0) + (m == 3);
        Check(first == expectedArrows, L"  its title's arrows: " + std::to_wstring(first));
        Check(children.size() - first == core::DaysInMonth(ym),
              L"  its own days: " + std::to_wstring(children.size() - first));
        for (std::size_t i = first; i < children.size(); ++i) {
            const sys_days day = sys_days{ym / static_cast<unsigned>(i - first + 1)};
            const std::wstring name = a11y::Name(children[i]);
            const std::wstring description = a11y::Description(children[i]);
            if (day == today || i == first)
                Line(L"  " + name + L" / " + description);
            namesFit &= name == core::DayAccessibleName(day);
            descriptionsFit &= DescriptionFits(description, day, day == today);
            rolesFit &= a11y::Role(children[i]) == ROLE_SYSTEM_CELL;
            const RECT r = a11y::Location(children[i]);
            placesFit &= r.right > r.left && r.left >= gridRect.left && r.right <= gridRect.right &&
                         r.top >= gridRect.top && r.bottom <= gridRect.bottom;
            ++days;
        }
    }
    Check(namesFit, L"every day's name is its date (" + std::to_wstring(days) + L" days)");
    Check(descriptionsFit, L"every day's description is its week, today marked");
    Check(rolesFit, L"every day is a cell");
    Check(placesFit, L"every day lies inside the grid on the screen");

    // The pointer over today's cell finds today.
    const RECT cell = a11y::Location(focus);
    const Element hit =
        a11y::DeepHitTest(root.get(), POINT{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2});
    Check(a11y::Name(hit) == core::DayAccessibleName(today), L"the hit test over today's cell finds today");
    return g_failures == 0 ? 0 : 1;
}

// --- events -----------------------------------------------------------------

struct Seen {
    DWORD event;
    std::wstring name;
    LONG state;
};
std::vector<Seen> g_seen;
HWND g_grid = nullptr;

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD)
{
    if (hwnd != g_grid || object != OBJID_CLIENT)
        return;
    Seen seen{event, {}, 0};
    fw::ComPtr<IAccessible> acc;
    VARIANT v;
    ::VariantInit(&v);
    if (event != EVENT_OBJECT_REORDER &&
        SUCCEEDED(::AccessibleObjectFromEvent(hwnd, static_cast<DWORD>(object), child, acc.put(), &v))) {
        const Element e = a11y::FromVariant(acc.get(), v);
        seen.name = a11y::Name(e);
        seen.state = a11y::State(e);
    }
    const wchar_t* kind = event == EVENT_OBJECT_FOCUS       ? L"focus"
                          : event == EVENT_OBJECT_SELECTION ? L"selection"
                                                            : L"reorder";
    Line(std::wstring(L"event: ") + kind + L" " + std::to_wstring(child) + L" " + seen.name);
    g_seen.push_back(seen);
}

int Watch(const std::wstring& out, int seconds)
{
    HWND calendar = nullptr;
    g_grid = FindCalendarGrid(calendar);
    if (!g_grid)
        return 1;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(calendar, &pid);
    HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_SELECTION, nullptr, &OnEvent,
                                           pid, 0, WINEVENT_OUTOFCONTEXT);
    Check(hook != nullptr, L"listening to the calendar's events");
    // The caller presses the keys once it sees this file.
    if (FILE* ready = _wfopen((out + L".ready").c_str(), L"w"))
        std::fclose(ready);

    // Right, then PageDown, as the grid's own navigation moves.
    core::GridNavigation nav(Today());
    nav.SetMonthCount(12);
    nav.MoveByDays(1);
    const std::wstring afterRight = core::DayAccessibleName(nav.Selected());
    nav.MoveByMonths(1);
    const std::wstring afterPageDown = core::DayAccessibleName(nav.Selected());

    const DWORD end = ::GetTickCount() + static_cast<DWORD>(seconds) * 1000;
    std::size_t step = 0; // 0: Right's focus, 1: the reorder, 2: PageDown's focus
    while (step < 3 && ::GetTickCount() < end) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
        for (; !g_seen.empty(); g_seen.erase(g_seen.begin())) {
            const Seen& s = g_seen.front();
            if (step == 0 && s.event == EVENT_OBJECT_FOCUS && s.name == afterRight &&
                (s.state & STATE_SYSTEM_FOCUSED))
                step = 1;
            else if (step == 1 && s.event == EVENT_OBJECT_REORDER)
                step = 2;
            else if (step == 2 && s.event == EVENT_OBJECT_FOCUS && s.name == afterPageDown &&
                     (s.state & STATE_SYSTEM_FOCUSED))
                step = 3;
        }
    }
    ::UnhookWinEvent(hook);
    Check(step >= 1, L"Right: the focus event names " + afterRight);
    Check(step >= 2, L"PageDown: the months shown changed (reorder)");
    Check(step >= 3, L"PageDown: the focus event names " + afterPageDown);
    return g_failures == 0 ? 0 : 1;
}

// --- the parameter dialog ----------------------------------------------------

int Swatches()
{
    const HWND dialog = FindDialog(L"Parameter");
    Check(dialog != nullptr, L"the parameter dialog is up");
    if (!dialog)
        return 1;
    const HWND focus = FocusOf(dialog);
    const Element focused{a11y::ClientObject(focus), CHILDID_SELF};
    Line(L"focus: " + a11y::Name(focused) + L" role " + Hex(a11y::Role(focused)) + L" value " +
         a11y::Value(focused));
    Check(a11y::Name(focused) == L"Textfarbe der Tage" && a11y::Role(focused) == ROLE_SYSTEM_PUSHBUTTON &&
              a11y::Value(focused) == L"#000000",
          L"the focused colour field reads as the push button \u201ETextfarbe der Tage\u201C, #000000");
    Check((a11y::State(focused) & STATE_SYSTEM_FOCUSED) != 0, L"and is focused");

    std::vector<std::wstring> names;
    for (HWND w = ::GetWindow(dialog, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
        if (ClassOf(w) == L"Static" && (::GetWindowLongPtrW(w, GWL_STYLE) & WS_TABSTOP)) {
            const Element e{a11y::ClientObject(w), CHILDID_SELF};
            names.push_back(a11y::Name(e));
            Line(L"colour field: " + a11y::Name(e) + L" = " + a11y::Value(e));
        }
    }
    const std::vector<std::wstring> expected{
        L"Textfarbe der Tage", L"Hintergrund Morvelin", L"Tage, die nicht mehr zum Morvelin geh\u00F6ren",
        L"Hintergrund Monats\u00FCberschrift", L"Text f\u00FCr Monat und Jahr"};
    Check(names == expected, L"the five colour fields are named after their labels, in the dialog's order");
    return g_failures == 0 ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    const std::wstring mode = argv[1], out = argv[2];
    g_out = _wfopen(out.c_str(), L"w");
    if (!g_out)
        return 2;
    ::CoInitialize(nullptr);
    int result = 2;
    if (mode == L"tree")
        result = Tree();
    else if (mode == L"watch")
        result = Watch(out, argc > 3 ? _wtoi(argv[3]) : 10);
    else if (mode == L"swatches")
        result = Swatches();
    ::CoUninitialize();
    std::fclose(g_out);
    return result;
}
