#pragma once
// The control-hosting protocol: a hosted control's window answers
// ControlDispatchMessage() with an AddRef'ed IDispatch* of itself (0 when it
// has none). Property puts and method calls then go through Invoke.
#include <windows.h>
#include <oaidl.h>

#include "framework/handles.h"

namespace fw {

UINT ControlDispatchMessage();

// The control's dispatch interface, or null.
ComPtr<IDispatch> GetControlDispatch(HWND control);

// One IDispatch::Invoke on the control: a property put (DISPATCH_PROPERTYPUT
// or DISPATCH_PROPERTYPUTREF, `argument` required) or a method call
// (DISPATCH_METHOD, `argument` optional), no result. Throws
// COleDispatchException when the control has no dispatch interface or
// refuses the call.
void InvokeControl(HWND control, DISPID dispid, WORD flags, const VARIANT* argument);

} // namespace fw
