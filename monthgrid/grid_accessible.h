#pragma once
// The month grid as assistive technology sees it: MSAA's IAccessible, which
// Windows' UI Automation bridges for current screen readers. The window
// answers WM_GETOBJECT (OBJID_CLIENT) with the grid's object.
//
//   grid   role table, "Monatsübersicht"; children 1..N: the shown months,
//          each an object of its own
//   month  role grouping, "Dezember 2026"; children 1..k, simple elements:
//          its title's arrows where it has them (previous before next),
//          then its own days from the 1st (not the neighbours' days)
//   arrow  role push button, "Vorheriger Monat" / "Nächster Monat"; its
//          default action moves the grid by a month
//   day    role cell, "Montag, 7. Dezember 2026", description "Woche 50"
//          (", heute", ", Feiertag: Karfreitag"); selectable and focusable,
//          selected and (while the grid has the keyboard focus) focused when
//          it is the selected day; its default action and accSelect select it
//
// The grid also takes a shown day's date as a child ID, yyyymmdd
// (20261207): the events name days so (NotifyWinEvent on OBJID_CLIENT),
// get_accChild gives the day as an object of its own, whose parent is its
// month, and every property asked with that ID is the day's. What a call
// answers as another element (navigation, hit test, focus, selection,
// parent) is a child ID of the asked object where it has one for it, and
// else that element's own object.
//
// Objects are bound to what they show, a month to its month and a day to
// its date, not to a place: one that a client keeps stays right when the
// grid scrolls, and once its month is no longer shown it answers E_FAIL.
// All objects of a window share one connection to it, which the window cuts
// when it goes: from then on they answer RPC_E_DISCONNECTED.
//
// Navigation from a day: left and right are the day before and after, up
// and down the same weekday a week before and after, also into a
// neighbouring shown month; next and previous are its neighbours among its
// month's children. From a month: left, right, up and down are the month
// blocks beside it, next and previous the months before and after.
#include <windows.h>
#include <oleacc.h>

#include <atomic>
#include <chrono>
#include <optional>

#include "framework/accessible.h"

namespace monthgrid {

class MonthGridControl;

// The child ID of a day: yyyymmdd. Months take 1..12, so the two never meet.
LONG DayChildId(std::chrono::sys_days day);
// The date of such an ID; nothing for an ID that names no date.
std::optional<std::chrono::sys_days> DayOfChildId(LONG id);

// The link of one window's objects to its control.
class GridConnection {
public:
    explicit GridConnection(MonthGridControl* control, HWND hwnd);

    ULONG AddRef() { return ++m_refs; }
    ULONG Release();

    void Disconnect() { m_control = nullptr; }
    // The control, when the call may reach it: null after Disconnect, and
    // on another thread than the window's (see `Check`).
    MonthGridControl* Control() const;
    HRESULT Check() const;
    HWND Window() const { return m_hwnd; }

private:
    std::atomic<ULONG> m_refs{1};
    MonthGridControl* m_control;
    HWND m_hwnd;
    DWORD m_thread;
};

// The grid's own object (the tree's root), with one reference for the caller.
IAccessible* NewGridAccessible(GridConnection* connection);

} // namespace monthgrid
