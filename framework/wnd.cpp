#include "framework/wnd.h"

#include "core/window_geometry.h"
#include "framework/control_site.h"
#include "framework/core_rect.h"
#include "framework/exceptions.h"

#include <atomic>
#include <utility>
#include <vector>

namespace fw {
namespace {

std::atomic<long> g_liveWindows{0};

// The windows bound by subclassing, by handle. A property on each window
// would do as well, but reading one is a trip to the window system (a
// server call under Wine) on every message the window gets; this is a
// lookup among a handful. Never freed: objects unbind as late as process
// exit.
SRWLOCK g_bindingsLock = SRWLOCK_INIT;
std::vector<std::pair<HWND, CWnd*>>& Bindings()
{
    static auto* bindings = new std::vector<std::pair<HWND, CWnd*>>;
    return *bindings;
}

CWnd* FindBinding(HWND hwnd)
{
    ::AcquireSRWLockShared(&g_bindingsLock);
    CWnd* found = nullptr;
    for (const auto& [h, wnd] : Bindings()) {
        if (h == hwnd) {
            found = wnd;
            break;
        }
    }
    ::ReleaseSRWLockShared(&g_bindingsLock);
    return found;
}

void AddBinding(HWND hwnd, CWnd* wnd)
{
    ::AcquireSRWLockExclusive(&g_bindingsLock);
    Bindings().emplace_back(hwnd, wnd);
    ::ReleaseSRWLockExclusive(&g_bindingsLock);
}

void RemoveBinding(HWND hwnd, const CWnd* wnd)
{
    ::AcquireSRWLockExclusive(&g_bindingsLock);
    std::erase_if(Bindings(), [&](const auto& b) { return b.first == hwnd && b.second == wnd; });
    ::ReleaseSRWLockExclusive(&g_bindingsLock);
}

// The message being dispatched on this thread, for Default().
thread_local const MSG* t_current = nullptr;
// The object whose window CreateEx is creating on this thread.
thread_local CWnd* t_creating = nullptr;

RECT WorkAreaOf(HMONITOR mon)
{
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (mon && ::GetMonitorInfoW(mon, &mi))
        return mi.rcWork;
    RECT r{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

} // namespace

long LiveBoundWindows() { return g_liveWindows.load(); }

const CRuntimeClass CWnd::classCWnd{"CWnd", sizeof(CWnd), kNoSchema, []() -> CWnd* { return new CWnd; },
                                    nullptr};

const CRuntimeClass* CWnd::GetRuntimeClass() const { return &classCWnd; }

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass) {
        if (c == base)
            return true;
    }
    return false;
}

CWnd::~CWnd()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        // A control we only routed through us stays with its dialog; a
        // window we created goes with us.
        if (m_pfnSuper)
            UnsubclassWindow();
        else
            ::DestroyWindow(m_hWnd);
    }
    if (m_hWnd)
        Unbind();
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    return FindBinding(hwnd);
}

void CWnd::Bind(HWND hwnd)
{
    m_hWnd = hwnd;
    if (m_bOwnClass)
        ::SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(this));
    else
        AddBinding(hwnd, this);
    ++g_liveWindows;
}

void CWnd::Unbind()
{
    if (!m_hWnd)
        return;
    if (!m_bOwnClass)
        RemoveBinding(m_hWnd, this);
    if (::IsWindow(m_hWnd)) {
        if (m_bOwnClass)
            ::SetWindowLongPtrW(m_hWnd, 0, 0);
        if (m_pfnSuper &&
            reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC)) == &StaticWndProc)
            ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
    m_pfnSuper = nullptr;
    m_hWnd = nullptr;
    --g_liveWindows;
}

CWnd::CallScope::~CallScope()
{
    // The last call out of an object whose own window is gone ends it.
    if (--m_wnd.m_nCallDepth == 0 && m_wnd.m_bOwnClass && !m_wnd.m_hWnd)
        delete &m_wnd;
}

CWnd* CWnd::FromOwnClassWindow(HWND hwnd) { return reinterpret_cast<CWnd*>(::GetWindowLongPtrW(hwnd, 0)); }

CWnd* CWnd::AdoptOwn(HWND hwnd, CWnd* made)
{
    if (made) {
        made->m_bOwnClass = true;
        made->Bind(hwnd);
    }
    return made;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                    HWND parent, UINT id, LPVOID param)
{
    CWnd* previous = std::exchange(t_creating, this);
    HWND hwnd =
        ::CreateWindowExW(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                          rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                          ::GetModuleHandleW(nullptr), param);
    t_creating = previous;
    if (hwnd && !m_hWnd)
        SubclassWindow(hwnd); // a class of other code: route it through us
    return hwnd != nullptr;
}

BOOL CWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  void*)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent ? parent->m_hWnd : nullptr, id);
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::SubclassWindow(HWND hwnd)
{
    if (!hwnd || m_hWnd || FromHandlePermanent(hwnd))
        return FALSE;
    Bind(hwnd);
    auto old = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticWndProc)));
    m_pfnSuper = old == &StaticWndProc ? nullptr : old;
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    return parent && SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow()
{
    HWND hwnd = m_hWnd;
    Unbind();
    return hwnd;
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l)
{
    CWnd* self = FromHandlePermanent(hwnd);
    if (!self && t_creating && !t_creating->m_hWnd) {
        self = t_creating;
        self->Bind(hwnd);
    }
    return Route(self, hwnd, msg, w, l);
}

LRESULT CWnd::Route(CWnd* self, HWND hwnd, UINT msg, WPARAM w, LPARAM l)
{
    if (!self)
        return ::DefWindowProcW(hwnd, msg, w, l);
    const CallScope scope(*self);
    const MSG current{hwnd, msg, w, l, 0, {}};
    const MSG* previous = std::exchange(t_current, &current);
    const LRESULT result = CallReporting([&] { return self->WindowProc(msg, w, l); }, LRESULT{0});
    t_current = previous;
    // A window that refuses to be created is destroyed without (on some
    // systems) a WM_NCDESTROY: its object lets go of it here.
    if (msg == WM_NCDESTROY || (msg == WM_NCCREATE && !result)) {
        self->Unbind();
        self->PostNcDestroy();
    }
    return result;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM w, LPARAM l)
{
    LRESULT result = 0;
    if (OnWndMsg(msg, w, l, result))
        return result;
    return DefWindowProc(msg, w, l);
}

bool CWnd::OnWndMsg(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM w, LPARAM l)
{
    if (m_pfnSuper)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, msg, w, l);
    return ::DefWindowProcW(m_hWnd, msg, w, l);
}

LRESULT CWnd::Default()
{
    if (!t_current || t_current->hwnd != m_hWnd)
        return 0;
    return DefWindowProc(t_current->message, t_current->wParam, t_current->lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg)
{
    // Up through child windows to their top-level window: an owned popup
    // (a dialog over the calendar) must not be pre-translated by its owner.
    for (HWND h = msg->hwnd; h; h = ::GetParent(h)) {
        if (CWnd* wnd = FromHandlePermanent(h); wnd && wnd->PreTranslateMessage(msg))
            return TRUE;
        if (h == stop || !(::GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD))
            break;
    }
    return FALSE;
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint)
{
    ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::MoveWindow(const RECT& r, BOOL repaint)
{
    ::MoveWindow(m_hWnd, r.left, r.top, r.right - r.left, r.bottom - r.top, repaint);
}

RECT CWnd::GetClientRect() const
{
    RECT r{};
    ::GetClientRect(m_hWnd, &r);
    return r;
}

RECT CWnd::GetWindowRect() const
{
    RECT r{};
    ::GetWindowRect(m_hWnd, &r);
    return r;
}

void CWnd::CenterWindow(HMONITOR monitor)
{
    const RECT self = GetWindowRect();
    CenterWindowAtSize(self.right - self.left, self.bottom - self.top, monitor);
}

void CWnd::CenterWindowAtSize(int width, int height, HMONITOR monitor)
{
    const RECT self = GetWindowRect();
    const bool sameSize = width == self.right - self.left && height == self.bottom - self.top;
    HWND owner = (GetStyle() & WS_CHILD) ? nullptr : ::GetWindow(m_hWnd, GW_OWNER);
    // Over a visible, normal owner; otherwise over the work area. The work
    // area is always the bound, so the result stays reachable.
    const bool useOwner = !monitor && owner && ::IsWindowVisible(owner) && !::IsIconic(owner);
    if (!monitor && (useOwner || sameSize)) {
        monitor = ::MonitorFromWindow(useOwner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST);
    } else if (!monitor) {
        // Where the window would be at its new size before it is centred.
        const RECT sized{self.left, self.top, self.left + width, self.top + height};
        monitor = ::MonitorFromRect(&sized, MONITOR_DEFAULTTONEAREST);
    }
    const RECT area = WorkAreaOf(monitor);
    RECT over = area;
    if (useOwner)
        ::GetWindowRect(owner, &over);
    const core::Point p = core::CenterOver(width, height, ToCore(over), ToCore(area));
    // GetWindowRect and SetWindowPos agree on the origin only for a window
    // without a parent; a child is placed in its parent's client area.
    POINT now{self.left, self.top};
    if (HWND parent = (GetStyle() & WS_CHILD) ? ::GetParent(m_hWnd) : nullptr)
        ::MapWindowPoints(nullptr, parent, &now, 1);
    if (now.x == p.x && now.y == p.y && sameSize)
        return; // already there; a move to the same place is a round trip for nothing
    ::SetWindowPos(m_hWnd, nullptr, p.x, p.y, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE | (sameSize ? SWP_NOSIZE : 0));
}

void CWnd::SetWindowText(std::wstring_view text)
{
    const std::wstring s(text);
    ::SetWindowTextW(m_hWnd, s.c_str());
}

std::wstring CWnd::GetWindowText() const
{
    const int n = ::GetWindowTextLengthW(m_hWnd);
    std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
    const int got = ::GetWindowTextW(m_hWnd, s.data(), n + 1);
    s.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return s;
}

BOOL CWnd::ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
HWND CWnd::GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
HWND CWnd::GetParent() const { return ::GetParent(m_hWnd); }

POINT CWnd::ClientToScreen(POINT pt) const
{
    ::ClientToScreen(m_hWnd, &pt);
    return pt;
}

HMENU CWnd::GetSystemMenu(BOOL revert) const { return ::GetSystemMenu(m_hWnd, revert); }
UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse) { return ::SetTimer(m_hWnd, id, elapse, nullptr); }

HICON CWnd::SetIcon(HICON icon, BOOL big)
{
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

LRESULT CWnd::SendMessage(UINT msg, WPARAM w, LPARAM l) const { return ::SendMessageW(m_hWnd, msg, w, l); }
BOOL CWnd::PostMessage(UINT msg, WPARAM w, LPARAM l) const { return ::PostMessageW(m_hWnd, msg, w, l); }

void CWnd::InvokeHelper(DISPID dispid, WORD flags, const VARIANT* argument)
{
    InvokeControl(m_hWnd, dispid, flags, argument);
}

bool CWnd::RegisterWindowClass(HINSTANCE instance, LPCWSTR className, UINT style, HCURSOR cursor,
                               HBRUSH background)
{
    return Register(instance, className, style, cursor, background, &StaticWndProc, 0);
}

bool CWnd::Register(HINSTANCE instance, LPCWSTR className, UINT style, HCURSOR cursor, HBRUSH background,
                    WNDPROC proc, int windowExtra)
{
    if (!instance)
        instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    if (::GetClassInfoExW(instance, className, &cls))
        return true;
    cls.style = style;
    cls.lpfnWndProc = proc;
    cls.cbWndExtra = windowExtra;
    cls.hInstance = instance;
    cls.hCursor = cursor;
    cls.hbrBackground = background;
    cls.lpszClassName = className;
    return ::RegisterClassExW(&cls) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace fw
