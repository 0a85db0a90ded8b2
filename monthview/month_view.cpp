#include "monthview/month_view.h"

#include "framework/com_values.h"
#include "monthgrid/monthgrid.h"

#include <new>

namespace {

namespace members = monthgrid::members;

// A put's value in the VARIANT type its member takes.
void Assign(VARIANT& v, COLORREF color)
{
    V_VT(&v) = VT_I4;
    V_I4(&v) = static_cast<LONG>(color);
}

void Assign(VARIANT& v, bool on)
{
    V_VT(&v) = VT_BOOL;
    V_BOOL(&v) = on ? VARIANT_TRUE : VARIANT_FALSE;
}

void Assign(VARIANT& v, short count)
{
    V_VT(&v) = VT_I2;
    V_I2(&v) = count;
}

void Assign(VARIANT& v, DATE date)
{
    V_VT(&v) = VT_DATE;
    V_DATE(&v) = date;
}

void Assign(VARIANT& v, std::wstring_view text)
{
    // The VARIANT owns the string and frees it.
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!V_BSTR(&v))
        throw std::bad_alloc();
}

void Assign(VARIANT& v, LPDISPATCH font)
{
    // A reference of the VARIANT's own, released with it: the caller's
    // stays the only one that outlives the put.
    if (font)
        font->AddRef();
    V_VT(&v) = VT_DISPATCH;
    V_DISPATCH(&v) = font;
}

} // namespace

const fw::CRuntimeClass CMonthView::classCMonthView{"CMonthView", sizeof(CMonthView), fw::kNoSchema,
                                                    []() -> fw::CWnd* { return new CMonthView; },
                                                    &fw::CWnd::classCWnd};

const fw::CRuntimeClass* CMonthView::GetRuntimeClass() const { return &classCMonthView; }

CMonthView::~CMonthView() = default;

BOOL CMonthView::Create(LPCWSTR, LPCWSTR windowName, DWORD style, const RECT& rect, fw::CWnd* parent, UINT id,
                        void*)
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (!monthgrid::RegisterMonthGridClass(instance))
        return FALSE;
    return CreateEx(0, monthgrid::kClassName, windowName, style | WS_CHILD, rect,
                    parent ? parent->GetSafeHwnd() : nullptr, id);
}

template <class T>
void CMonthView::Put(const monthgrid::Member& member, T value)
{
    fw::Variant v;
    Assign(*v.get(), value);
    InvokeHelper(member.dispid, DISPATCH_PROPERTYPUT, v.get());
}

void CMonthView::SetForeColor(COLORREF color) { Put(members::kForeColor, color); }
void CMonthView::SetMonthBackColor(COLORREF color) { Put(members::kMonthBackColor, color); }
void CMonthView::SetBackColor(COLORREF color) { Put(members::kBackColor, color); }
void CMonthView::SetTitleBackColor(COLORREF color) { Put(members::kTitleBackColor, color); }
void CMonthView::SetTitleForeColor(COLORREF color) { Put(members::kTitleForeColor, color); }
void CMonthView::SetTrailingForeColor(COLORREF color) { Put(members::kTrailingForeColor, color); }
void CMonthView::SetShowWeekNumbers(BOOL show) { Put(members::kShowWeekNumbers, show != FALSE); }
void CMonthView::SetMonthColumns(short columns) { Put(members::kMonthColumns, columns); }
void CMonthView::SetMonthRows(short rows) { Put(members::kMonthRows, rows); }
void CMonthView::SetFont(LPDISPATCH font) { Put(members::kFont, font); }
void CMonthView::SetCurrentDate(DATE date) { Put(members::kValue, date); }
void CMonthView::Refresh() { InvokeHelper(members::kRefresh.dispid, DISPATCH_METHOD, nullptr); }

void CMonthView::CheckDate()
{
    if (m_hWnd)
        SendMessage(monthgrid::kCheckDateMessage);
}

void CMonthView::PassOnNotice(UINT message, WPARAM w, LPARAM l)
{
    if (m_hWnd)
        SendMessage(message, w, l);
}

void CMonthView::SetShowHolidays(BOOL show) { Put(members::kShowHolidays, show != FALSE); }
void CMonthView::SetHolidayRegion(std::wstring_view code) { Put(members::kHolidayRegion, code); }
void CMonthView::SetHolidayForeColor(COLORREF color) { Put(members::kHolidayForeColor, color); }

std::optional<int> CMonthView::FirstShownYear() const
{
    monthgrid::GridInfo info;
    if (!m_hWnd || !SendMessage(monthgrid::kGetInfoMessage, 0, reinterpret_cast<LPARAM>(&info)))
        return std::nullopt;
    return info.firstYear;
}
