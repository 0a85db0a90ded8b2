#pragma once
// CWnd: a C++ object bound to one window. Messages reach the object's
// WindowProc through one static window procedure, which is also the
// boundary that no C++ exception crosses.
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <string_view>

namespace fw {

class CWnd;

// Run-time class record, for the type queries the framework offers.
struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema; // 0xFFFF: not serialisable
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
    BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                  const RECT& rect, HWND parent, UINT id, LPVOID param = nullptr);
    virtual BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id, void* context = nullptr);
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
    // owner, for an owned window); a window larger than the work area keeps
    // its caption on screen.
    void CenterWindow();
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

    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
    void Bind(HWND hwnd);

public:
    // Registers a window class whose windows CreateEx binds to their object
    // from the first message on. True when the class is (already) registered.
    static bool RegisterWindowClass(HINSTANCE instance, LPCWSTR className, UINT style,
                                    HCURSOR cursor, HBRUSH background);

private:
    void Unbind();
    WNDPROC m_pfnSuper = nullptr;
};

// Live windows bound to CWnd objects (leak tests).
long LiveBoundWindows();

} // namespace fw
