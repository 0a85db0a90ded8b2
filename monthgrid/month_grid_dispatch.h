#pragma once
// The grid's dispatch interface: a small COM object with its own reference
// count. Its host may hold it longer than the window lives, so the window
// disconnects it when it goes, and every later Invoke answers
// RPC_E_DISCONNECTED instead of reaching freed memory.
#include <windows.h>
#include <oaidl.h>

#include <atomic>

namespace monthgrid {

class MonthGridControl;

class GridDispatch final : public IDispatch {
public:
    explicit GridDispatch(MonthGridControl* control) : m_control(control), m_thread(::GetCurrentThreadId()) {}

    void Disconnect() { m_control = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excep, UINT* argErr) override;

private:
    ~GridDispatch() = default;

    std::atomic<ULONG> m_refs{1};
    MonthGridControl* m_control;
    DWORD m_thread; // the window's thread
};

} // namespace monthgrid
