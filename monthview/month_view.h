#pragma once
// CMonthView: the calendar window's handle on the month-grid component
// (monthgrid/monthgrid.h). Attached to the component's window, it sets the
// grid up through the component's dispatch interface, by the members of its
// table (monthgrid::members); each operation is one Invoke, and a call the component refuses throws
// fw::COleDispatchException out of the operation.
#include <windows.h>
#include <oaidl.h>

#include "framework/wnd.h"

#include <optional>
#include <string_view>

namespace monthgrid {
struct Member;
}

class CMonthView : public fw::CWnd {
public:
    const fw::CRuntimeClass* GetRuntimeClass() const override;
    ~CMonthView() override;
    // Creates the component as a child window with the given name, style,
    // rectangle, parent and ID, in its initial state. The class name and the
    // context are not used: the component has one class of its own.
    BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, fw::CWnd* parent,
                UINT id, void* context = nullptr) override;

    static const fw::CRuntimeClass classCMonthView;

    void SetForeColor(COLORREF color);
    void SetMonthBackColor(COLORREF color);
    void SetBackColor(COLORREF color);
    void SetTitleBackColor(COLORREF color);
    void SetTitleForeColor(COLORREF color);
    void SetTrailingForeColor(COLORREF color);
    // Any non-zero value turns them on.
    void SetShowWeekNumbers(BOOL show);
    void SetMonthColumns(short columns);
    void SetMonthRows(short rows);
    // An IFontDisp, or null for the standard GUI font. The component copies
    // what it needs; the caller keeps its reference.
    void SetFont(LPDISPATCH font);
    // Selects the date and shows its month first.
    void SetCurrentDate(DATE date);
    // Sizes the component's window to its grid and repaints it at once.
    void Refresh();
    // Germany's public holidays in the grid: on or off, whose (a Land's
    // two-letter code, empty for the nationwide ones) and in which colour.
    void SetShowHolidays(BOOL show);
    void SetHolidayRegion(std::wstring_view code);
    void SetHolidayForeColor(COLORREF color);

    // The year of the first month the grid shows; none when the component
    // does not say.
    std::optional<int> FirstShownYear() const;

    // Not dispatch calls but window messages. CheckDate, for the host's
    // every-second tick: the component looks at the clock again and moves
    // its today mark if the date has changed. PassOnNotice hands on a
    // notice that only top-level windows get (WM_TIMECHANGE,
    // WM_SETTINGCHANGE, WM_SYSCOLORCHANGE, WM_POWERBROADCAST). Nothing
    // happens before the component exists.
    void CheckDate();
    void PassOnNotice(UINT message, WPARAM w, LPARAM l);

private:
    // One property put of the component's member table (monthgrid.h).
    template <class T>
    void Put(const monthgrid::Member& member, T value);
};
