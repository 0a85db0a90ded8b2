#pragma once
// The one way a window class takes its messages: derive through
// WithMessageMap<Derived, Base> and define Derived::kMessageMap. The map is
// asked first, then Base's chain, then the default window procedure; no
// class writes that chain itself, so none can forget its base.
#include "framework/message_map.h"
#include "framework/wnd.h"

namespace fw {

template <class Derived, class Base = CWnd>
class WithMessageMap : public Base {
public:
    using Base::Base;

protected:
    bool OnWndMsg(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override
    {
        return Dispatch(Derived::kMessageMap, static_cast<Derived&>(*this), msg, w, l, result) ||
               Base::OnWndMsg(msg, w, l, result);
    }
};

} // namespace fw
