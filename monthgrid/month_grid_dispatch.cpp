#include "monthgrid/month_grid_dispatch.h"

#include <ocidl.h>
#include <olectl.h>
#include <oleauto.h>

#include <new>
#include <optional>

#include "core/dates.h"
#include "framework/handles.h"
#include "monthgrid/month_grid_control.h"
#include "monthgrid/monthgrid.h"

namespace monthgrid {
namespace {

static_assert(dispid::kForeColor == DISPID_FORECOLOR);
static_assert(dispid::kBackColor == DISPID_BACKCOLOR);
static_assert(dispid::kFont == DISPID_FONT);
static_assert(dispid::kRefresh == DISPID_REFRESH);

enum class Kind { Color, Bool, Short, Font, Date, Method };

struct Member {
    DISPID id;
    const wchar_t* name;
    Kind kind;
    ColorSlot slot = ColorSlot::Count;
};

constexpr Member kMembers[] = {
    {dispid::kForeColor, L"ForeColor", Kind::Color, ColorSlot::Fore},
    {dispid::kMonthBackColor, L"MonthBackColor", Kind::Color, ColorSlot::MonthBack},
    {dispid::kBackColor, L"BackColor", Kind::Color, ColorSlot::Back},
    {dispid::kTitleBackColor, L"TitleBackColor", Kind::Color, ColorSlot::TitleBack},
    {dispid::kTitleForeColor, L"TitleForeColor", Kind::Color, ColorSlot::TitleFore},
    {dispid::kTrailingForeColor, L"TrailingForeColor", Kind::Color, ColorSlot::TrailingFore},
    {dispid::kShowWeekNumbers, L"ShowWeekNumbers", Kind::Bool},
    {dispid::kMonthColumns, L"MonthColumns", Kind::Short},
    {dispid::kMonthRows, L"MonthRows", Kind::Short},
    {dispid::kFont, L"Font", Kind::Font},
    {dispid::kValue, L"Value", Kind::Date},
    {dispid::kValue, L"CurrentDate", Kind::Date},
    {dispid::kRefresh, L"Refresh", Kind::Method},
};

const Member* FindMember(DISPID id)
{
    for (const Member& m : kMembers) {
        if (m.id == id)
            return &m;
    }
    return nullptr;
}

// A VARIANT that clears itself.
struct Variant {
    VARIANT v;
    Variant() { ::VariantInit(&v); }
    ~Variant() { ::VariantClear(&v); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
};

// The argument as `type`; a failure is reported as the coercion's own
// overflow or as a type mismatch.
HRESULT Coerce(const VARIANT& in, VARTYPE type, LCID lcid, Variant& out)
{
    Variant direct;
    HRESULT hr = ::VariantCopyInd(&direct.v, const_cast<VARIANT*>(&in));
    if (SUCCEEDED(hr))
        hr = ::VariantChangeTypeEx(&out.v, &direct.v, lcid, 0, type);
    if (SUCCEEDED(hr) && V_VT(&out.v) == type)
        return S_OK;
    return hr == DISP_E_OVERFLOW ? DISP_E_OVERFLOW : DISP_E_TYPEMISMATCH;
}

} // namespace

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
    for (const Member& m : kMembers) {
        if (::CompareStringOrdinal(names[0], -1, m.name, -1, TRUE) == CSTR_EQUAL) {
            ids[0] = m.id;
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
    if ((p.cArgs && !p.rgvarg) || (p.cNamedArgs && !p.rgdispidNamedArgs) || p.cNamedArgs > p.cArgs)
        return E_INVALIDARG;

    const bool isMethod = member->kind == Kind::Method;
    if (isMethod) {
        if (!(flags & DISPATCH_METHOD))
            return DISP_E_MEMBERNOTFOUND;
        if (p.cNamedArgs)
            return DISP_E_NONAMEDARGS;
        if (p.cArgs)
            return DISP_E_BADPARAMCOUNT;
    } else {
        // Write-only properties; a font may also be put by reference.
        const WORD puts = member->kind == Kind::Font ? (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)
                                                     : DISPATCH_PROPERTYPUT;
        if (!(flags & puts))
            return DISP_E_MEMBERNOTFOUND;
        if (p.cArgs != 1)
            return DISP_E_BADPARAMCOUNT;
        if (p.cNamedArgs != 1 || p.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
            if (argErr)
                *argErr = 0;
            return DISP_E_PARAMNOTFOUND;
        }
    }

    // The control and its window belong to one thread; the interface is
    // not marshalled, so another thread must not reach into them.
    if (::GetCurrentThreadId() != m_thread)
        return RPC_E_WRONG_THREAD;
    MonthGridControl* control = m_control;
    if (!control || !control->Alive())
        return RPC_E_DISCONNECTED;
    MonthGridControl::CallScope scope(*control);

    try {
        if (isMethod) {
            control->Refresh();
            return S_OK;
        }
        const VARIANT& arg = p.rgvarg[0];
        auto mismatch = [&](HRESULT hr) {
            if (argErr)
                *argErr = 0;
            return hr;
        };
        Variant value;
        switch (member->kind) {
        case Kind::Color:
            if (HRESULT hr = Coerce(arg, VT_I4, lcid, value); FAILED(hr))
                return mismatch(hr);
            control->SetColor(member->slot, static_cast<COLORREF>(V_I4(&value.v)));
            return S_OK;
        case Kind::Bool:
            if (HRESULT hr = Coerce(arg, VT_BOOL, lcid, value); FAILED(hr))
                return mismatch(hr);
            control->SetShowWeekNumbers(V_BOOL(&value.v) != VARIANT_FALSE);
            return S_OK;
        case Kind::Short:
            if (HRESULT hr = Coerce(arg, VT_I2, lcid, value); FAILED(hr))
                return mismatch(hr);
            if (id == dispid::kMonthColumns)
                control->SetColumns(V_I2(&value.v));
            else
                control->SetRows(V_I2(&value.v));
            return S_OK;
        case Kind::Date: {
            if (HRESULT hr = Coerce(arg, VT_DATE, lcid, value); FAILED(hr))
                return mismatch(hr);
            const std::optional<core::DateTime> date = core::FromOleDate(V_DATE(&value.v));
            if (!date)
                return mismatch(E_INVALIDARG);
            control->SetCurrentDate(date->day);
            return S_OK;
        }
        case Kind::Font: {
            if (HRESULT hr = Coerce(arg, VT_DISPATCH, lcid, value); FAILED(hr))
                return mismatch(hr);
            IDispatch* disp = V_DISPATCH(&value.v);
            if (!disp) {
                control->SetFont(nullptr);
                return S_OK;
            }
            fw::ComPtr<IFont> font;
            if (FAILED(disp->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.put()))) || !font)
                return mismatch(DISP_E_TYPEMISMATCH);
            const FontDescription description = DescribeFont(font.get());
            control->SetFont(&description);
            return S_OK;
        }
        case Kind::Method:
            break;
        }
        return E_UNEXPECTED;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

} // namespace monthgrid
