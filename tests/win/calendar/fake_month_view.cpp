#include "fake_month_view.h"

#include "framework/control_site.h"
#include "monthgrid/monthgrid.h"
#include "support/dispatch_stub.h"

#include <olectl.h>

namespace fake {
namespace {

State g_state;

class RecordingDispatch : public testsupport::DispatchStub {
public:
    explicit RecordingDispatch(HWND hwnd) : m_hwnd(hwnd) {}
    virtual ~RecordingDispatch() = default;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG n = --m_refs;
        if (n == 0)
            delete this;
        return n;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*,
                                     EXCEPINFO*, UINT*) override
    {
        Call call{id, flags, VT_EMPTY, 0};
        if (params && params->cArgs == 1) {
            const VARIANT& v = params->rgvarg[0];
            call.type = v.vt;
            switch (v.vt) {
            case VT_I4:
                call.value = v.lVal;
                break;
            case VT_I2:
                call.value = v.iVal;
                break;
            case VT_BOOL:
                call.value = v.boolVal;
                break;
            case VT_DATE:
                call.value = static_cast<LONGLONG>(v.date);
                break;
            case VT_DISPATCH:
                call.object = v.pdispVal;
                break;
            case VT_BSTR:
                call.text = v.bstrVal ? std::wstring(v.bstrVal, ::SysStringLen(v.bstrVal)) : std::wstring();
                break;
            default:
                break;
            }
        }
        g_state.calls.push_back(call);
        namespace members = monthgrid::members;
        switch (id) {
        case members::kMonthColumns.dispid:
            g_state.columns = static_cast<int>(call.value);
            break;
        case members::kMonthRows.dispid:
            g_state.rows = static_cast<int>(call.value);
            break;
        case members::kShowWeekNumbers.dispid:
            g_state.weekNumbers = call.value != 0;
            break;
        case members::kFont.dispid:
            if (FAILED(g_state.failFont))
                return g_state.failFont;
            break;
        case members::kRefresh.dispid: {
            ++g_state.refreshes;
            const int w = g_state.columns * kMonthWidth + (g_state.weekNumbers ? kWeekColumn : 0);
            const int h = g_state.rows * kMonthHeight;
            ::SetWindowPos(m_hwnd, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        }
        default:
            break;
        }
        g_state.maxMonths = std::max(g_state.maxMonths, g_state.columns * g_state.rows);
        return S_OK;
    }

private:
    HWND m_hwnd;
    ULONG m_refs = 1;
};

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM w, LPARAM l)
{
    if (msg == fw::ControlDispatchMessage())
        return reinterpret_cast<LRESULT>(static_cast<IDispatch*>(new RecordingDispatch(hwnd)));
    if (msg == monthgrid::kCheckDateMessage || msg == WM_TIMECHANGE || msg == WM_SETTINGCHANGE ||
        msg == WM_POWERBROADCAST)
        g_state.clockMessages.emplace_back(msg, w);
    return ::DefWindowProcW(hwnd, msg, w, l);
}

} // namespace

void Register()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = monthgrid::kClassName;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ::RegisterClassW(&wc);
}

State& Current() { return g_state; }

void Reset() { g_state = State{}; }

} // namespace fake
