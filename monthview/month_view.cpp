#include "monthview/month_view.h"

#include "monthgrid/monthgrid.h"

namespace {

VARIANT Argument(VARTYPE type)
{
    VARIANT v;
    ::VariantInit(&v);
    V_VT(&v) = type;
    return v;
}

} // namespace

const fw::CRuntimeClass CMonthView::classCMonthView{
    "CMonthView", sizeof(CMonthView), 0xFFFF, []() -> fw::CWnd* { return new CMonthView; },
    &fw::CWnd::classCWnd};

const fw::CRuntimeClass* CMonthView::GetRuntimeClass() const { return &classCMonthView; }

CMonthView::~CMonthView() = default;

BOOL CMonthView::Create(LPCWSTR, LPCWSTR windowName, DWORD style, const RECT& rect, fw::CWnd* parent,
                        UINT id, void*)
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (!monthgrid::RegisterMonthGridClass(instance))
        return FALSE;
    return CreateEx(0, monthgrid::kClassName, windowName, style | WS_CHILD, rect,
                    parent ? parent->GetSafeHwnd() : nullptr, id);
}

void CMonthView::SetForeColor(COLORREF color)
{
    VARIANT v = Argument(VT_I4);
    V_I4(&v) = static_cast<LONG>(color);
    InvokeHelper(monthgrid::dispid::kForeColor, DISPATCH_PROPERTYPUT, &v);
}

void CMonthView::SetMonthBackColor(COLORREF color)
{
    VARIANT v = Argument(VT_I4);
    V_I4(&v) = static_cast<LONG>(color);
    InvokeHelper(monthgrid::dispid::kMonthBackColor, DISPATCH_PROPERTYPUT, &v);
}

void CMonthView::SetBackColor(COLORREF color)
{
    VARIANT v = Argument(VT_I4);
    V_I4(&v) = static_cast<LONG>(color);
    InvokeHelper(monthgrid::dispid::kBackColor, DISPATCH_PROPERTYPUT, &v);
}

void CMonthView::SetTitleBackColor(COLORREF color)
{
    VARIANT v = Argument(VT_I4);
    V_I4(&v) = static_cast<LONG>(color);
    InvokeHelper(monthgrid::dispid::kTitleBackColor, DISPATCH_PROPERTYPUT, &v);
}

void CMonthView::SetTitleForeColor(COLORREF color)
{
    VARIANT v = Argument(VT_I4);
    V_I4(&v) = static_cast<LONG>(color);
    InvokeHelper(monthgrid::dispid::kTitleForeColor, DISPATCH_PROPERTYPUT, &v);
}

void CMonthView::SetTrailingForeColor(COLORREF color)
{
    VARIANT v = Argument(VT_I4);
    V_I4(&v) = static_cast<LONG>(color);
    InvokeHelper(monthgrid::dispid::kTrailingForeColor, DISPATCH_PROPERTYPUT, &v);
}

void CMonthView::SetShowWeekNumbers(BOOL show)
{
    VARIANT v = Argument(VT_BOOL);
    V_BOOL(&v) = show ? VARIANT_TRUE : VARIANT_FALSE;
    InvokeHelper(monthgrid::dispid::kShowWeekNumbers, DISPATCH_PROPERTYPUT, &v);
}

void CMonthView::SetMonthColumns(short columns)
{
    VARIANT v = Argument(VT_I2);
    V_I2(&v) = columns;
    InvokeHelper(monthgrid::dispid::kMonthColumns, DISPATCH_PROPERTYPUT, &v);
}

void CMonthView::SetMonthRows(short rows)
{
    VARIANT v = Argument(VT_I2);
    V_I2(&v) = rows;
    InvokeHelper(monthgrid::dispid::kMonthRows, DISPATCH_PROPERTYPUT, &v);
}

void CMonthView::SetFont(LPDISPATCH font)
{
    // Invoke borrows the reference; the caller's stays the only one.
    VARIANT v = Argument(VT_DISPATCH);
    V_DISPATCH(&v) = font;
    InvokeHelper(monthgrid::dispid::kFont, DISPATCH_PROPERTYPUT, &v);
}

void CMonthView::SetCurrentDate(DATE date)
{
    VARIANT v = Argument(VT_DATE);
    V_DATE(&v) = date;
    InvokeHelper(monthgrid::dispid::kValue, DISPATCH_PROPERTYPUT, &v);
}

void CMonthView::Refresh() { InvokeHelper(monthgrid::dispid::kRefresh, DISPATCH_METHOD, nullptr); }
