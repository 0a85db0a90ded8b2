#pragma once
// Reading accessible objects as a client does: an element is an object and
// a child ID (CHILDID_SELF for the object itself), answers come back as
// plain values. Header-only, so that a program of its own (the reader that
// looks at the calendar from another process) can use it too.
#include <windows.h>
#include <oleacc.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "framework/handles.h"

namespace a11y {

inline VARIANT Id(LONG child)
{
    VARIANT v;
    ::VariantInit(&v);
    V_VT(&v) = VT_I4;
    V_I4(&v) = child;
    return v;
}

struct Element {
    fw::ComPtr<IAccessible> object;
    LONG child = CHILDID_SELF;

    explicit operator bool() const { return static_cast<bool>(object); }
    VARIANT Var() const { return Id(child); }
};

inline fw::ComPtr<IAccessible> ObjectOf(IDispatch* dispatch)
{
    fw::ComPtr<IAccessible> object;
    if (dispatch)
        dispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(object.put()));
    return object;
}

// What an element-valued answer names, asked of `from`; takes the VARIANT
// over. Empty for VT_EMPTY.
inline Element FromVariant(IAccessible* from, VARIANT& v)
{
    Element e;
    if (V_VT(&v) == VT_I4) {
        e.object = fw::ComPtr<IAccessible>::Share(from);
        e.child = V_I4(&v);
    } else if (V_VT(&v) == VT_DISPATCH) {
        e.object = ObjectOf(V_DISPATCH(&v));
    }
    ::VariantClear(&v);
    return e;
}

inline fw::ComPtr<IAccessible> ClientObject(HWND hwnd)
{
    fw::ComPtr<IAccessible> object;
    ::AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                 reinterpret_cast<void**>(object.put()));
    return object;
}

template <class Get>
std::wstring TextOf(Get get)
{
    BSTR s = nullptr;
    if (FAILED(get(&s)) || !s)
        return {};
    std::wstring text(s, ::SysStringLen(s));
    ::SysFreeString(s);
    return text;
}

inline std::wstring Name(const Element& e)
{
    return TextOf([&](BSTR* s) { return e.object->get_accName(e.Var(), s); });
}
inline std::wstring Description(const Element& e)
{
    return TextOf([&](BSTR* s) { return e.object->get_accDescription(e.Var(), s); });
}
inline std::wstring DefaultAction(const Element& e)
{
    return TextOf([&](BSTR* s) { return e.object->get_accDefaultAction(e.Var(), s); });
}
inline std::wstring Value(const Element& e)
{
    return TextOf([&](BSTR* s) { return e.object->get_accValue(e.Var(), s); });
}

// -1 when the object does not answer with a number.
inline LONG NumberOf(HRESULT hr, VARIANT& v)
{
    const LONG n = SUCCEEDED(hr) && V_VT(&v) == VT_I4 ? V_I4(&v) : -1;
    ::VariantClear(&v);
    return n;
}
inline LONG Role(const Element& e)
{
    VARIANT v;
    ::VariantInit(&v);
    return NumberOf(e.object->get_accRole(e.Var(), &v), v);
}
inline LONG State(const Element& e)
{
    VARIANT v;
    ::VariantInit(&v);
    return NumberOf(e.object->get_accState(e.Var(), &v), v);
}

// On the screen; empty when the object does not answer.
inline RECT Location(const Element& e)
{
    long x = 0, y = 0, w = 0, h = 0;
    if (FAILED(e.object->accLocation(&x, &y, &w, &h, e.Var())))
        return {};
    return {x, y, x + w, y + h};
}

inline LONG ChildCount(IAccessible* object)
{
    long n = -1;
    return SUCCEEDED(object->get_accChildCount(&n)) ? n : -1;
}

// The children as AccessibleChildren hands them out.
inline std::vector<Element> Children(IAccessible* object)
{
    std::vector<Element> out;
    const LONG count = ChildCount(object);
    if (count <= 0)
        return out;
    std::vector<VARIANT> vars(static_cast<std::size_t>(count));
    LONG got = 0;
    if (FAILED(::AccessibleChildren(object, 0, count, vars.data(), &got)))
        return out;
    for (LONG i = 0; i < got; ++i)
        out.push_back(FromVariant(object, vars[static_cast<std::size_t>(i)]));
    return out;
}

inline Element Parent(const Element& e)
{
    if (e.child != CHILDID_SELF)
        return {fw::ComPtr<IAccessible>::Share(e.object.get()), CHILDID_SELF};
    fw::ComPtr<IDispatch> parent;
    e.object->get_accParent(parent.put());
    return {ObjectOf(parent.get()), CHILDID_SELF};
}

inline Element Navigate(const Element& e, long direction)
{
    VARIANT v;
    ::VariantInit(&v);
    if (FAILED(e.object->accNavigate(direction, e.Var(), &v)))
        return {};
    return FromVariant(e.object.get(), v);
}

inline Element HitTest(IAccessible* object, POINT screen)
{
    VARIANT v;
    ::VariantInit(&v);
    if (FAILED(object->accHitTest(screen.x, screen.y, &v)))
        return {};
    return FromVariant(object, v);
}

// Down through the objects, as a client following the pointer does.
inline Element DeepHitTest(IAccessible* object, POINT screen)
{
    Element e = HitTest(object, screen);
    while (e && e.child == CHILDID_SELF && e.object.get() != object) {
        object = e.object.get();
        Element inner = HitTest(object, screen);
        if (!inner)
            break;
        e = inner;
    }
    return e;
}

inline Element Focus(IAccessible* object)
{
    VARIANT v;
    ::VariantInit(&v);
    if (FAILED(object->get_accFocus(&v)))
        return {};
    return FromVariant(object, v);
}

inline Element Selection(IAccessible* object)
{
    VARIANT v;
    ::VariantInit(&v);
    if (FAILED(object->get_accSelection(&v)))
        return {};
    return FromVariant(object, v);
}

} // namespace a11y
