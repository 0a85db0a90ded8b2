#include "monthgrid/month_grid_dispatch.h"

#include <ocidl.h>
#include <olectl.h>
#include <oleauto.h>

#include <new>
#include <optional>

#include "core/dates.h"
#include "core/holidays.h"
#include "framework/com_values.h"
#include "framework/handles.h"
#include "monthgrid/month_grid_control.h"
#include "monthgrid/monthgrid.h"

namespace monthgrid {
namespace {

// The argument as `type`; a failure is reported as the coercion's own
// overflow or as a type mismatch.
HRESULT Coerce(const VARIANT& in, VARTYPE type, LCID lcid, fw::Variant& out)
{
    fw::Variant direct;
    HRESULT hr = ::VariantCopyInd(direct.get(), const_cast<VARIANT*>(&in));
    if (SUCCEEDED(hr))
        hr = ::VariantChangeTypeEx(out.get(), direct.get(), lcid, 0, type);
    if (SUCCEEDED(hr) && V_VT(out.get()) == type)
        return S_OK;
    return hr == DISP_E_OVERFLOW ? DISP_E_OVERFLOW : DISP_E_TYPEMISMATCH;
}

// Whether the call's kind and parameters fit the member: a method takes no
// argument, a property only a put (a font also a put by reference) with
// its value as the one, named argument.
HRESULT CheckCall(const Member& member, WORD flags, const DISPPARAMS& p, UINT* argErr)
{
    if ((p.cArgs && !p.rgvarg) || (p.cNamedArgs && !p.rgdispidNamedArgs) || p.cNamedArgs > p.cArgs)
        return E_INVALIDARG;
    if (member.kind == MemberKind::Method) {
        if (!(flags & DISPATCH_METHOD))
            return DISP_E_MEMBERNOTFOUND;
        if (p.cNamedArgs)
            return DISP_E_NONAMEDARGS;
        return p.cArgs ? DISP_E_BADPARAMCOUNT : S_OK;
    }
    const WORD puts =
        member.type == VT_DISPATCH ? (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF) : DISPATCH_PROPERTYPUT;
    if (!(flags & puts))
        return DISP_E_MEMBERNOTFOUND;
    if (p.cArgs != 1)
        return DISP_E_BADPARAMCOUNT;
    if (p.cNamedArgs != 1 || p.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
        if (argErr)
            *argErr = 0;
        return DISP_E_PARAMNOTFOUND;
    }
    return S_OK;
}

HRESULT ApplyFont(MonthGridControl& control, IDispatch* disp)
{
    if (!disp) {
        control.SetFont(nullptr);
        return S_OK;
    }
    fw::ComPtr<IFont> font;
    if (FAILED(disp->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.put()))) || !font)
        return DISP_E_TYPEMISMATCH;
    const FontDescription description = DescribeFont(font.get());
    control.SetFont(&description);
    return S_OK;
}

// Hands a coerced value to the control; a value it cannot take is the
// argument's fault.
HRESULT Apply(MonthGridControl& control, const Member& member, const VARIANT& value)
{
    if (member.slot != ColorSlot::Count) {
        control.SetColor(member.slot, static_cast<COLORREF>(V_I4(&value)));
    } else if (member.dispid == members::kShowWeekNumbers.dispid) {
        control.SetShowWeekNumbers(V_BOOL(&value) != VARIANT_FALSE);
    } else if (member.dispid == members::kMonthColumns.dispid) {
        control.SetColumns(V_I2(&value));
    } else if (member.dispid == members::kMonthRows.dispid) {
        control.SetRows(V_I2(&value));
    } else if (member.dispid == members::kValue.dispid) {
        const std::optional<core::DateTime> date = core::FromOleDate(V_DATE(&value));
        if (!date)
            return E_INVALIDARG;
        control.SetCurrentDate(date->day);
    } else if (member.dispid == members::kFont.dispid) {
        return ApplyFont(control, V_DISPATCH(&value));
    } else if (member.dispid == members::kShowHolidays.dispid) {
        control.SetShowHolidays(V_BOOL(&value) != VARIANT_FALSE);
    } else if (member.dispid == members::kHolidayRegion.dispid) {
        const BSTR code = V_BSTR(&value);
        const core::RegionSetting region =
            core::ParseRegion(code ? std::wstring_view(code, ::SysStringLen(code)) : std::wstring_view());
        if (!region.readable)
            return E_INVALIDARG;
        control.SetHolidayRegion(region.region);
    } else {
        return E_UNEXPECTED;
    }
    return S_OK;
}

HRESULT Put(MonthGridControl& control, const Member& member, const VARIANT& arg, LCID lcid, UINT* argErr)
{
    fw::Variant value;
    HRESULT hr = Coerce(arg, member.type, lcid, value);
    if (SUCCEEDED(hr))
        hr = Apply(control, member, *value.get());
    if (FAILED(hr) && argErr)
        *argErr = 0;
    return hr;
}

} // namespace

const Member* FindMember(DISPID dispid)
{
    for (const Member* m : members::kAll) {
        if (m->dispid == dispid)
            return m;
    }
    return nullptr;
}

HRESULT GridDispatch::QueryInterface(REFIID riid, void** out)
{
    if (!out)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG GridDispatch::AddRef() { return ++m_refs; }

ULONG GridDispatch::Release()
{
    const ULONG left = --m_refs;
    if (left == 0)
        delete this;
    return left;
}

HRESULT GridDispatch::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_INVALIDARG;
    *count = 0;
    return S_OK;
}

HRESULT GridDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (!info)
        return E_INVALIDARG;
    *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT GridDispatch::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (riid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids || count == 0)
        return E_INVALIDARG;
    for (UINT i = 0; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    if (!names[0])
        return DISP_E_UNKNOWNNAME;
    for (const Member* m : members::kAll) {
        if (::CompareStringOrdinal(names[0], -1, m->name, -1, TRUE) == CSTR_EQUAL) {
            ids[0] = m->dispid;
            // No member has named parameters.
            return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
        }
    }
    return DISP_E_UNKNOWNNAME;
}

HRESULT GridDispatch::Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                             VARIANT* result, EXCEPINFO*, UINT* argErr)
{
    if (riid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    const Member* member = FindMember(id);
    if (!member)
        return DISP_E_MEMBERNOTFOUND;
    if (result)
        ::VariantInit(result);
    static DISPPARAMS noParams{};
    const DISPPARAMS& p = params ? *params : noParams;
    if (const HRESULT hr = CheckCall(*member, flags, p, argErr); FAILED(hr))
        return hr;

    // The control and its window belong to one thread; the interface is
    // not marshalled, so another thread must not reach into them.
    if (::GetCurrentThreadId() != m_thread)
        return RPC_E_WRONG_THREAD;
    MonthGridControl* control = m_control;
    if (!control || !control->Alive())
        return RPC_E_DISCONNECTED;
    const fw::CWnd::CallScope scope(*control);
    // A COM boundary: nothing may unwind into the caller.
    try {
        if (member->kind == MemberKind::Method) {
            control->Refresh();
            return S_OK;
        }
        return Put(*control, *member, p.rgvarg[0], lcid, argErr);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

} // namespace monthgrid
