#pragma once
// What the program's own accessible objects (MSAA's IAccessible) share: the
// COM plumbing, the answers for what an object does not offer, and the few
// oleacc functions a window needs to hand its object out.
//
// oleacc.dll is loaded at the first WM_GETOBJECT that asks for one of our
// objects, never at start-up: most sessions have no client that asks.
//
// The objects built on it keep one rule: an object belongs to its window's
// thread, and a call from another thread (in-process, unmarshalled) answers
// RPC_E_WRONG_THREAD; calls from other processes arrive marshalled on that
// thread. Once its window is gone, an object answers RPC_E_DISCONNECTED to
// everything but its reference count.
#include <windows.h>
#include <oleacc.h>

#include <atomic>
#include <string_view>

#include "framework/handles.h"

namespace fw {

// WM_GETOBJECT's lParam asks for the window's client object.
bool AsksForClientObject(LPARAM objectId);
// The answer to WM_GETOBJECT for `object` (LresultFromObject); 0 when
// oleacc cannot be had, which leaves the window to the system's proxy.
LRESULT LresultFromAccessible(IAccessible* object, WPARAM w);
// The system's object for a window's frame (OBJID_WINDOW): the parent of
// a window's client object.
ComPtr<IDispatch> StandardWindowObject(HWND hwnd);
// Raises a WinEvent for a window's client object and one of its children.
void NotifyClientEvent(DWORD event, HWND hwnd, LONG child);

class AccessibleObject : public IAccessible {
public:
    AccessibleObject(const AccessibleObject&) = delete;
    AccessibleObject& operator=(const AccessibleObject&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: no type information; clients call the interface directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excep, UINT* argErr) override;

    // What no object of ours offers: help, help topics, keyboard
    // shortcuts of elements, and setting names or values.
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

protected:
    AccessibleObject() = default;
    virtual ~AccessibleObject() = default;

    // A further interface the object offers (IOleWindow, say), or null.
    virtual void* OtherInterface(REFIID) { return nullptr; }

    // The child a VARIANT names: VT_I4 (or VT_I2); false for anything else.
    static bool ChildOf(const VARIANT& v, LONG& child);
    // A text result: S_OK with a new BSTR, E_OUTOFMEMORY when none can be
    // had; an empty text is S_FALSE with no string, as for "no name".
    static HRESULT Text(BSTR* out, std::wstring_view text);
    static void SetI4(VARIANT* out, LONG value);
    // Hands over one reference.
    static void SetDispatch(VARIANT* out, IDispatch* object);

private:
    std::atomic<ULONG> m_refs{1};
};

} // namespace fw
