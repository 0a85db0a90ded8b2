#pragma once
// Static, type-safe message maps.
//
// Each window class declares
//     static const fw::MessageMap<CMyWnd> kMessageMap;
// and defines it in its .cpp from typed entries:
//     const fw::MessageMap<CMyWnd> CMyWnd::kMessageMap{
//         fw::OnTimer<&CMyWnd::OnTimer>(),
//         fw::OnCommand<ID_X, &CMyWnd::OnX>(),
//     };
// Each entry's factory accepts only a handler of the right signature (a
// wrong one fails to compile with the concept's name in the message). The
// class's OnWndMsg asks fw::Dispatch first and falls back to its base:
//     bool OnWndMsg(UINT m, WPARAM w, LPARAM l, LRESULT& r) override
//     { return fw::Dispatch(kMessageMap, *this, m, w, l, r) || Base::OnWndMsg(m, w, l, r); }
#include <windows.h>

#include <array>
#include <cstddef>
#include <type_traits>

namespace fw {

template <class T>
struct MessageEntry {
    UINT message = 0;
    UINT id = 0;   // WM_COMMAND only: the command or control ID
    UINT code = 0; // WM_COMMAND only: the notification code
    // Runs the handler; false lets the message go on to the default.
    bool (*invoke)(T& self, WPARAM, LPARAM, LRESULT& result) = nullptr;
};

inline constexpr std::size_t kMaxMessageEntries = 32;

template <class T>
class MessageMap {
public:
    template <class... E>
    constexpr MessageMap(const E&... entries) : m_entries{entries...}, m_count(sizeof...(E))
    {
        static_assert(sizeof...(E) <= kMaxMessageEntries, "too many message map entries");
    }
    constexpr const MessageEntry<T>* begin() const { return m_entries.data(); }
    constexpr const MessageEntry<T>* end() const { return m_entries.data() + m_count; }

private:
    std::array<MessageEntry<T>, kMaxMessageEntries> m_entries{};
    std::size_t m_count = 0;
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
} // namespace detail

// Signature concepts, one per kind of entry.
template <auto H>
concept RawHandler = std::is_same_v<decltype(H), LRESULT (detail::ClassOf<H>::*)(WPARAM, LPARAM)>;
template <auto H>
concept CommandHandler = std::is_same_v<decltype(H), void (detail::ClassOf<H>::*)()>;
template <auto H>
concept TimerHandler = std::is_same_v<decltype(H), void (detail::ClassOf<H>::*)(UINT_PTR)>;
template <auto H>
concept SysCommandHandler = std::is_same_v<decltype(H), void (detail::ClassOf<H>::*)(UINT, LPARAM)>;
template <auto H>
concept NcMouseHandler = std::is_same_v<decltype(H), void (detail::ClassOf<H>::*)(UINT, POINT)>;
template <auto H>
concept QueryDragIconHandler = std::is_same_v<decltype(H), HCURSOR (detail::ClassOf<H>::*)()>;

// Any message, raw parameters, the handler's result is the answer.
template <UINT Msg, auto H>
    requires RawHandler<H>
constexpr MessageEntry<detail::ClassOf<H>> OnMessage()
{
    using T = detail::ClassOf<H>;
    return {Msg, 0, 0, +[](T& self, WPARAM w, LPARAM l, LRESULT& r) {
                r = (self.*H)(w, l);
                return true;
            }};
}

// WM_COMMAND from a menu, accelerator or control click (notification 0).
template <UINT Id, auto H>
    requires CommandHandler<H>
constexpr MessageEntry<detail::ClassOf<H>> OnCommand()
{
    using T = detail::ClassOf<H>;
    return {WM_COMMAND, Id, 0, +[](T& self, WPARAM, LPARAM, LRESULT& r) {
                (self.*H)();
                r = 0;
                return true;
            }};
}

// WM_COMMAND carrying a control's notification code.
template <UINT Code, UINT Id, auto H>
    requires CommandHandler<H>
constexpr MessageEntry<detail::ClassOf<H>> OnControl()
{
    using T = detail::ClassOf<H>;
    return {WM_COMMAND, Id, Code, +[](T& self, WPARAM, LPARAM, LRESULT& r) {
                (self.*H)();
                r = 0;
                return true;
            }};
}

template <auto H>
    requires TimerHandler<H>
constexpr MessageEntry<detail::ClassOf<H>> OnTimer()
{
    using T = detail::ClassOf<H>;
    return {WM_TIMER, 0, 0, +[](T& self, WPARAM w, LPARAM, LRESULT& r) {
                (self.*H)(static_cast<UINT_PTR>(w));
                r = 0;
                return true;
            }};
}

template <auto H>
    requires CommandHandler<H>
constexpr MessageEntry<detail::ClassOf<H>> OnPaint()
{
    using T = detail::ClassOf<H>;
    return {WM_PAINT, 0, 0, +[](T& self, WPARAM, LPARAM, LRESULT& r) {
                (self.*H)();
                r = 0;
                return true;
            }};
}

template <auto H>
    requires SysCommandHandler<H>
constexpr MessageEntry<detail::ClassOf<H>> OnSysCommand()
{
    using T = detail::ClassOf<H>;
    return {WM_SYSCOMMAND, 0, 0, +[](T& self, WPARAM w, LPARAM l, LRESULT& r) {
                (self.*H)(static_cast<UINT>(w), l);
                r = 0;
                return true;
            }};
}

template <auto H>
    requires NcMouseHandler<H>
constexpr MessageEntry<detail::ClassOf<H>> OnNcLButtonDblClk()
{
    using T = detail::ClassOf<H>;
    return {WM_NCLBUTTONDBLCLK, 0, 0, +[](T& self, WPARAM w, LPARAM l, LRESULT& r) {
                const POINT pt{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
                (self.*H)(static_cast<UINT>(w), pt);
                r = 0;
                return true;
            }};
}

template <auto H>
    requires QueryDragIconHandler<H>
constexpr MessageEntry<detail::ClassOf<H>> OnQueryDragIcon()
{
    using T = detail::ClassOf<H>;
    return {WM_QUERYDRAGICON, 0, 0, +[](T& self, WPARAM, LPARAM, LRESULT& r) {
                r = reinterpret_cast<LRESULT>((self.*H)());
                return true;
            }};
}

// Finds and runs the entry for a message; false when the map has none.
template <class T>
bool Dispatch(const MessageMap<T>& map, T& self, UINT msg, WPARAM w, LPARAM l, LRESULT& result)
{
    for (const MessageEntry<T>& e : map) {
        if (e.message != msg)
            continue;
        if (msg == WM_COMMAND && (e.id != LOWORD(w) || e.code != HIWORD(w)))
            continue;
        return e.invoke(self, w, l, result);
    }
    return false;
}

} // namespace fw
