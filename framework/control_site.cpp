#include "framework/control_site.h"

#include "framework/com_values.h"
#include "framework/exceptions.h"

#include <oleauto.h>

namespace fw {

UINT ControlDispatchMessage()
{
    static const UINT message = ::RegisterWindowMessageW(L"Morvelin.ControlDispatch");
    return message;
}

ComPtr<IDispatch> GetControlDispatch(HWND control)
{
    if (!control || !::IsWindow(control))
        return nullptr;
    auto* dispatch = reinterpret_cast<IDispatch*>(::SendMessageW(control, ControlDispatchMessage(), 0, 0));
    return ComPtr<IDispatch>::Adopt(dispatch);
}

void InvokeControl(HWND control, DISPID dispid, WORD flags, const VARIANT* argument)
{
    ComPtr<IDispatch> dispatch = GetControlDispatch(control);
    if (!dispatch)
        throw COleDispatchException(E_NOINTERFACE, dispid);

    VARIANT arg;
    ::VariantInit(&arg);
    if (argument)
        arg = *argument; // shallow: Invoke does not take ownership of arguments
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{};
    if (argument) {
        params.rgvarg = &arg;
        params.cArgs = 1;
    }
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    ExcepInfo excep;
    EXCEPINFO& info = excep.info;
    UINT argError = 0;
    const HRESULT hr =
        dispatch->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, nullptr, &info, &argError);
    if (SUCCEEDED(hr))
        return;
    if (hr == DISP_E_EXCEPTION) {
        if (info.pfnDeferredFillIn)
            info.pfnDeferredFillIn(&info);
        std::wstring description;
        if (info.bstrDescription)
            description.assign(info.bstrDescription, ::SysStringLen(info.bstrDescription));
        throw COleDispatchException(info.scode ? info.scode : hr, dispid, std::move(description));
    }
    throw COleDispatchException(hr, dispid);
}

} // namespace fw
