#include "framework/accessible.h"

#include <oleauto.h>

#include "framework/late_bound.h"

namespace fw {
namespace {

using LresultFromObjectFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using CreateStdAccessibleObjectFn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);

// Resolved once, on the first request; null when oleacc is missing.
struct Oleacc {
    LresultFromObjectFn lresultFromObject =
        LateBound<LresultFromObjectFn>(L"oleacc.dll", "LresultFromObject");
    CreateStdAccessibleObjectFn createStdAccessibleObject =
        LateBound<CreateStdAccessibleObjectFn>(L"oleacc.dll", "CreateStdAccessibleObject");
};

const Oleacc& TheOleacc()
{
    static const Oleacc oleacc;
    return oleacc;
}

} // namespace

bool AsksForClientObject(LPARAM objectId)
{
    // A 32-bit value that may arrive sign-extended or not.
    return static_cast<DWORD>(objectId) == static_cast<DWORD>(OBJID_CLIENT);
}

LRESULT LresultFromAccessible(IAccessible* object, WPARAM w)
{
    const Oleacc& oleacc = TheOleacc();
    if (!object || !oleacc.lresultFromObject)
        return 0;
    const LRESULT result = oleacc.lresultFromObject(__uuidof(IAccessible), w, object);
    return result < 0 ? 0 : result; // a failure code is no answer
}

ComPtr<IDispatch> StandardWindowObject(HWND hwnd)
{
    const Oleacc& oleacc = TheOleacc();
    ComPtr<IDispatch> window;
    if (oleacc.createStdAccessibleObject)
        oleacc.createStdAccessibleObject(hwnd, OBJID_WINDOW, __uuidof(IDispatch),
                                         reinterpret_cast<void**>(window.put()));
    return window;
}

void NotifyClientEvent(DWORD event, HWND hwnd, LONG child)
{
    if (hwnd)
        ::NotifyWinEvent(event, hwnd, OBJID_CLIENT, child);
}

HRESULT AccessibleObject::QueryInterface(REFIID riid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible))
        *out = static_cast<IAccessible*>(this);
    else
        *out = OtherInterface(riid);
    if (!*out)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG AccessibleObject::AddRef() { return ++m_refs; }

ULONG AccessibleObject::Release()
{
    const ULONG left = --m_refs;
    if (left == 0)
        delete this;
    return left;
}

HRESULT AccessibleObject::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_INVALIDARG;
    *count = 0;
    return S_OK;
}

HRESULT AccessibleObject::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (!info)
        return E_INVALIDARG;
    *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT AccessibleObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT AccessibleObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT AccessibleObject::get_accHelp(VARIANT, BSTR* help)
{
    if (!help)
        return E_POINTER;
    *help = nullptr;
    return S_FALSE;
}

HRESULT AccessibleObject::get_accHelpTopic(BSTR* file, VARIANT, long* topic)
{
    if (file)
        *file = nullptr;
    if (topic)
        *topic = -1;
    return S_FALSE;
}

HRESULT AccessibleObject::get_accKeyboardShortcut(VARIANT, BSTR* shortcut)
{
    if (!shortcut)
        return E_POINTER;
    *shortcut = nullptr;
    return S_FALSE;
}

HRESULT AccessibleObject::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }

HRESULT AccessibleObject::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

bool AccessibleObject::ChildOf(const VARIANT& v, LONG& child)
{
    if (V_VT(&v) == VT_I4) {
        child = V_I4(&v);
        return true;
    }
    if (V_VT(&v) == VT_I2) {
        child = V_I2(&v);
        return true;
    }
    return false;
}

HRESULT AccessibleObject::Text(BSTR* out, std::wstring_view text)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (text.empty())
        return S_FALSE;
    *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

void AccessibleObject::SetI4(VARIANT* out, LONG value)
{
    ::VariantInit(out);
    V_VT(out) = VT_I4;
    V_I4(out) = value;
}

void AccessibleObject::SetDispatch(VARIANT* out, IDispatch* object)
{
    ::VariantInit(out);
    if (!object)
        return;
    V_VT(out) = VT_DISPATCH;
    V_DISPATCH(out) = object;
}

} // namespace fw
