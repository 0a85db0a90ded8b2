#pragma once
// Static, type-safe message maps.
//
// Each window class derives through fw::WithMessageMap (window_base.h),
// declares
//     static const fw::MessageMap<CMyWnd, 2> kMessageMap;
// and defines it in its .cpp from typed entries:
//     decltype(CMyWnd::kMessageMap) CMyWnd::kMessageMap{
//         fw::On<WM_TIMER, &CMyWnd::OnTimer>(),
//         fw::OnCommand<ID_X, &CMyWnd::OnX>(),
//     };
// Each entry's factory accepts only a handler of the right signature (a
// wrong one fails to compile with the concept's name in the message). A
// message the map does not take goes on to the base class's map, and from
// the last one to the default window procedure.
#include <windows.h>

#include <array>
#include <cstddef>
#include <type_traits>

namespace fw {

template <class T>
struct MessageEntry {
    // Window messages, registered ones included, are 16-bit numbers.
    WORD message = 0;
    WORD id = 0;    // WM_COMMAND only: the command or control ID
    WORD code = 0;  // WM_COMMAND only: the notification code
    WORD flags = 0; // kAlsoAccelerator
    // Runs the handler; false lets the message go on to the default.
    bool (*invoke)(T& self, WPARAM, LPARAM, LRESULT& result) = nullptr;
    // A message whose number is known only at run time (registered ones).
    UINT (*messageOf)() = nullptr;

    // WM_COMMAND only: also taken from an accelerator (code 1).
    static constexpr WORD kAlsoAccelerator = 1;

    bool Matches(UINT msg, WPARAM w) const
    {
        if ((messageOf ? messageOf() : message) != msg)
            return false;
        if (msg != WM_COMMAND)
            return true;
        const UINT c = HIWORD(w);
        return id == LOWORD(w) && (code == c || ((flags & kAlsoAccelerator) && c == 1));
    }
};

// A class's map holds exactly N entries, N given where the map is declared
// (static const fw::MessageMap<CMyWnd, 2> kMessageMap;), so that no map
// keeps room it does not use; a definition with another count fails to
// compile.
template <class T, std::size_t N>
class MessageMap {
public:
    template <class... E>
    constexpr MessageMap(const E&... entries) : m_entries{entries...}
    {
        static_assert(sizeof...(E) == N, "the map's declared size is not its number of entries");
    }
    constexpr const MessageEntry<T>* begin() const { return m_entries.data(); }
    constexpr const MessageEntry<T>* end() const { return m_entries.data() + N; }

private:
    std::array<MessageEntry<T>, N> m_entries{};
};

namespace detail {
template <class F>
struct MemberOf;
template <class C, class R, class... A>
struct MemberOf<R (C::*)(A...)> {
    using Class = C;
};
template <auto H>
using ClassOf = typename MemberOf<decltype(H)>::Class;
template <auto H, class Signature>
concept HandlerOf = std::is_same_v<decltype(H), Signature>;
} // namespace detail

// Signature concepts, one per kind of entry.
template <auto H>
concept RawHandler = detail::HandlerOf<H, LRESULT (detail::ClassOf<H>::*)(WPARAM, LPARAM)>;
template <auto H>
concept CommandHandler = detail::HandlerOf<H, void (detail::ClassOf<H>::*)()>;
template <auto H>
concept TimerHandler = detail::HandlerOf<H, void (detail::ClassOf<H>::*)(UINT_PTR)>;
template <auto H>
concept SysCommandHandler = detail::HandlerOf<H, void (detail::ClassOf<H>::*)(UINT, LPARAM)>;
template <auto H>
concept NcMouseHandler = detail::HandlerOf<H, void (detail::ClassOf<H>::*)(UINT, POINT)>;
template <auto H>
concept MouseHandler = detail::HandlerOf<H, void (detail::ClassOf<H>::*)(POINT)>;
template <auto H>
concept KeyHandler = detail::HandlerOf<H, void (detail::ClassOf<H>::*)(UINT)>;
template <auto H>
concept WheelHandler = detail::HandlerOf<H, void (detail::ClassOf<H>::*)(int)>;
template <auto H>
concept QueryDragIconHandler = detail::HandlerOf<H, HCURSOR (detail::ClassOf<H>::*)()>;

namespace detail {

inline POINT PointOf(LPARAM l) { return {static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))}; }

// How each kind of handler is called: the message's parameters cracked
// into the handler's arguments, and its answer.
template <auto H>
bool Run(ClassOf<H>& self, WPARAM w, LPARAM l, LRESULT& r)
{
    r = 0;
    if constexpr (RawHandler<H>)
        r = (self.*H)(w, l);
    else if constexpr (CommandHandler<H>)
        (self.*H)();
    else if constexpr (TimerHandler<H>)
        (self.*H)(static_cast<UINT_PTR>(w));
    else if constexpr (SysCommandHandler<H>)
        (self.*H)(static_cast<UINT>(w), l);
    else if constexpr (NcMouseHandler<H>)
        (self.*H)(static_cast<UINT>(w), PointOf(l));
    else if constexpr (MouseHandler<H>)
        (self.*H)(PointOf(l));
    else if constexpr (KeyHandler<H>)
        (self.*H)(static_cast<UINT>(w));
    else if constexpr (WheelHandler<H>)
        (self.*H)(GET_WHEEL_DELTA_WPARAM(w));
    else if constexpr (QueryDragIconHandler<H>)
        r = reinterpret_cast<LRESULT>((self.*H)());
    return true;
}

// A handler that only takes note: the message goes on to the default.
template <auto H>
bool RunThenDefault(ClassOf<H>& self, WPARAM, LPARAM, LRESULT&)
{
    (self.*H)();
    return false;
}

template <auto H>
constexpr MessageEntry<ClassOf<H>> Entry(UINT message, UINT id = 0, UINT code = 0)
{
    return {static_cast<WORD>(message), static_cast<WORD>(id), static_cast<WORD>(code), 0, &Run<H>};
}

} // namespace detail

// Any message, raw parameters, the handler's result is the answer.
template <UINT Msg, auto H>
    requires RawHandler<H>
constexpr MessageEntry<detail::ClassOf<H>> OnMessage() { return detail::Entry<H>(Msg); }

// A registered message, whose number `MessageOf()` answers at run time.
template <UINT (*MessageOf)(), auto H>
    requires RawHandler<H>
constexpr MessageEntry<detail::ClassOf<H>> OnRegisteredMessage()
{
    auto entry = detail::Entry<H>(0);
    entry.messageOf = MessageOf;
    return entry;
}

// Sees a message and lets it go on to the default handling.
template <UINT Msg, auto H>
    requires CommandHandler<H>
constexpr MessageEntry<detail::ClassOf<H>> OnNotice()
{
    return {static_cast<WORD>(Msg), 0, 0, 0, &detail::RunThenDefault<H>};
}

// WM_COMMAND from a menu or a control click (notification 0).
template <UINT Id, auto H>
    requires CommandHandler<H>
constexpr MessageEntry<detail::ClassOf<H>> OnCommand() { return detail::Entry<H>(WM_COMMAND, Id, 0); }

// WM_COMMAND from a menu, a control click or an accelerator.
template <UINT Id, auto H>
    requires CommandHandler<H>
constexpr MessageEntry<detail::ClassOf<H>> OnCommandOrAccelerator()
{
    auto entry = detail::Entry<H>(WM_COMMAND, Id, 0);
    entry.flags = MessageEntry<detail::ClassOf<H>>::kAlsoAccelerator;
    return entry;
}

// WM_COMMAND carrying a control's notification code.
template <UINT Code, UINT Id, auto H>
    requires CommandHandler<H>
constexpr MessageEntry<detail::ClassOf<H>> OnControl() { return detail::Entry<H>(WM_COMMAND, Id, Code); }

// The messages whose parameters are cracked, each with the one handler
// signature it takes.
template <UINT Msg, auto H>
concept CrackedHandler = (Msg == WM_TIMER && TimerHandler<H>) || (Msg == WM_PAINT && CommandHandler<H>) ||
                         (Msg == WM_SYSCOMMAND && SysCommandHandler<H>) ||
                         (Msg == WM_NCLBUTTONDBLCLK && NcMouseHandler<H>) ||
                         (Msg == WM_KEYDOWN && KeyHandler<H>) || (Msg == WM_MOUSEWHEEL && WheelHandler<H>) ||
                         (Msg == WM_QUERYDRAGICON && QueryDragIconHandler<H>) ||
                         ((Msg == WM_LBUTTONDOWN || Msg == WM_LBUTTONDBLCLK || Msg == WM_LBUTTONUP ||
                           Msg == WM_MOUSEMOVE) &&
                          MouseHandler<H>);

// A message of the list above; the handler gets its parameters cracked.
template <UINT Msg, auto H>
    requires CrackedHandler<Msg, H>
constexpr MessageEntry<detail::ClassOf<H>> On() { return detail::Entry<H>(Msg); }

// Finds and runs the entry for a message; false when the map has none.
template <class T, std::size_t N>
bool Dispatch(const MessageMap<T, N>& map, T& self, UINT msg, WPARAM w, LPARAM l, LRESULT& result)
{
    for (const MessageEntry<T>& e : map) {
        if (e.Matches(msg, w))
            return e.invoke(self, w, l, result);
    }
    return false;
}

} // namespace fw
