#pragma once
// CWnd: a C++ object bound to one window. Messages reach the object's
// WindowProc through the framework's window procedures, which are also the
// boundary that no C++ exception crosses (fw::CallReporting).
//
// Two ways a window comes to its object, one dispatch for both:
//  - an object creates its window (CreateEx) or routes an existing one
//    through itself (SubclassWindow): bound by a window property, since the
//    window's extra bytes belong to its class;
//  - a class registered with RegisterOwnWindowClass<T> makes a T for each of
//    its windows (a dialog template may create them): bound in the window's
//    extra bytes, and the object deletes itself after WM_NCDESTROY once no
//    call into it is on the stack.
#include <windows.h>
#include <oaidl.h>

#include <new>
#include <string>
#include <string_view>

namespace fw {

class CWnd;

// Run-time class record, for the type queries the framework offers.
inline constexpr UINT kNoSchema = 0xFFFF;

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema; // kNoSchema: not serialisable
    CWnd* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    CWnd* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
    bool IsDerivedFrom(const CRuntimeClass* base) const;
};

class CWnd {
public:
    CWnd() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual ~CWnd();
    static const CRuntimeClass classCWnd;
    bool IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object bound to a window, or null for windows of other code.
    static CWnd* FromHandlePermanent(HWND hwnd);

    // Creates a window of a registered class bound to this object from its
    // first message on.
    BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                  HWND parent, UINT id, LPVOID param = nullptr);
    virtual BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                        UINT id, void* context = nullptr);
    BOOL DestroyWindow();

    // Routes an existing window (e.g. a dialog's control) through this object.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    // Operations the program uses.
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(const RECT& rect, BOOL repaint = TRUE);
    RECT GetClientRect() const;
    RECT GetWindowRect() const;
    // Centres on the work area of the monitor the window is on (or over the
    // owner, for an owned window), or of `monitor` when one is given; a
    // window larger than the work area keeps its caption on screen.
    void CenterWindow(HMONITOR monitor = nullptr);
    // The same for the window at another size, taken in the same move: the
    // window is never seen at its new size in its old place.
    void CenterWindowAtSize(int width, int height, HMONITOR monitor = nullptr);
    void SetWindowText(std::wstring_view text);
    std::wstring GetWindowText() const;
    BOOL ShowWindow(int cmd);
    BOOL IsIconic() const;
    BOOL IsWindowVisible() const;
    DWORD GetStyle() const;
    void Invalidate(BOOL erase = TRUE);
    void UpdateWindow();
    HWND GetDlgItem(int id) const;
    HWND GetParent() const;
    POINT ClientToScreen(POINT pt) const;
    HMENU GetSystemMenu(BOOL revert) const;
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse);
    HICON SetIcon(HICON icon, BOOL big);
    LRESULT SendMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) const;
    BOOL PostMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) const;

    // Property puts and method calls on the control this window hosts,
    // through the control's IDispatch (see control_site.h). Throws
    // COleDispatchException when the control refuses.
    void InvokeHelper(DISPID dispid, WORD flags, const VARIANT* argument);

    // Keeps the object alive while a call into it runs: its window may be
    // destroyed from inside (a host reacting to a resize, say), and an
    // object of an own window class goes with its window.
    class CallScope {
    public:
        explicit CallScope(CWnd& wnd) noexcept : m_wnd(wnd) { ++m_wnd.m_nCallDepth; }
        ~CallScope();
        CallScope(const CallScope&) = delete;
        CallScope& operator=(const CallScope&) = delete;

    private:
        CWnd& m_wnd;
    };

    // Sees each message for this window or its children before it is
    // dispatched; true consumes it.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Offers a message to every bound window from `msg->hwnd` up to `stop`.
    static BOOL WalkPreTranslateTree(HWND stop, MSG* msg);

protected:
    // Dispatch order: WindowProc asks OnWndMsg (each class's message map,
    // then its base's) and falls back to DefWindowProc.
    virtual LRESULT WindowProc(UINT msg, WPARAM w, LPARAM l);
    virtual bool OnWndMsg(UINT msg, WPARAM w, LPARAM l, LRESULT& result);
    virtual LRESULT DefWindowProc(UINT msg, WPARAM w, LPARAM l);
    // Default handling of the message being dispatched right now.
    LRESULT Default();
    // Called after the window is gone and the object unbound.
    virtual void PostNcDestroy() {}
    // Called once an existing window routes through this object
    // (SubclassWindow): the place to adjust a template's control to what
    // the class needs of it.
    virtual void PreSubclassWindow() {}

    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
    void Bind(HWND hwnd);

public:
    // Registers a window class whose windows CreateEx binds to their object
    // from the first message on. True when the class is (already) registered.
    static bool RegisterWindowClass(HINSTANCE instance, LPCWSTR className, UINT style, HCURSOR cursor,
                                    HBRUSH background);
    // Registers a window class each of whose windows makes its own T (default
    // constructed) at WM_NCCREATE. True when the class is (already) registered.
    template <class T>
    static bool RegisterOwnWindowClass(HINSTANCE instance, LPCWSTR className, UINT style, HCURSOR cursor,
                                       HBRUSH background)
    {
        return Register(instance, className, style, cursor, background, &OwnClassProc<T>, sizeof(CWnd*));
    }

private:
    template <class T>
    static LRESULT CALLBACK OwnClassProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l)
    {
        CWnd* self = FromOwnClassWindow(hwnd);
        if (!self && msg == WM_NCCREATE)
            self = AdoptOwn(hwnd, new (std::nothrow) T);
        return Route(self, hwnd, msg, w, l);
    }
    static bool Register(HINSTANCE instance, LPCWSTR className, UINT style, HCURSOR cursor, HBRUSH background,
                         WNDPROC proc, int windowExtra);
    static CWnd* FromOwnClassWindow(HWND hwnd);
    static CWnd* AdoptOwn(HWND hwnd, CWnd* made);
    // The one dispatch of every bound window's messages.
    static LRESULT Route(CWnd* self, HWND hwnd, UINT msg, WPARAM w, LPARAM l);
    void Unbind();

    WNDPROC m_pfnSuper = nullptr;
    bool m_bOwnClass = false; // made by its window class, bound in its extra bytes
    int m_nCallDepth = 0;
};

// Live windows bound to CWnd objects (leak tests).
long LiveBoundWindows();

} // namespace fw
