#include "parameters/color_swatch.h"

#include <cwchar>
#include <iterator>
#include <new>
#include <utility>

#include "framework/accessible.h"
#include "framework/choosers.h"
#include "framework/handles.h"

namespace {

// The focus rectangle keeps this far inside the frame, clear of it.
constexpr int kFocusInset = 2;
// Bit 30 of a key message's flags: the key was already down (auto-repeat).
constexpr LPARAM kKeyWasDown = LPARAM{1} << 30;

bool IsDark(COLORREF c) { return GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114 < 128000; }

// A static control that shows text: what a label is.
bool IsLabel(HWND w)
{
    wchar_t cls[16] = {};
    if (!::GetClassNameW(w, cls, static_cast<int>(std::size(cls))) || ::_wcsicmp(cls, L"Static") != 0)
        return false;
    const LONG_PTR type = ::GetWindowLongPtrW(w, GWL_STYLE) & SS_TYPEMASK;
    const bool text = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE ||
                      type == SS_LEFTNOWORDWRAP;
    return text && ::GetWindowTextLengthW(w) > 0;
}

std::wstring LabelText(HWND w)
{
    std::wstring raw(static_cast<std::size_t>(::GetWindowTextLengthW(w)) + 1, L'\0');
    raw.resize(static_cast<std::size_t>(::GetWindowTextW(w, raw.data(), static_cast<int>(raw.size()))));
    // "&&" is an ampersand, a single "&" marks the mnemonic.
    std::wstring text;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == L'&' && i + 1 < raw.size())
            ++i;
        else if (raw[i] == L'&')
            continue;
        text += raw[i];
    }
    return text;
}

} // namespace

// What assistive technology sees of a swatch. The swatch may go before the
// client lets go of the object: from then on it answers RPC_E_DISCONNECTED.
class SwatchAccessible final : public fw::AccessibleObject {
public:
    explicit SwatchAccessible(CColorSwatch* swatch) : m_swatch(swatch), m_thread(::GetCurrentThreadId()) {}

    void Disconnect() { m_swatch = nullptr; }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override
    {
        if (!parent)
            return E_POINTER;
        *parent = nullptr;
        return Call([&](CColorSwatch& s) -> HRESULT {
            *parent = fw::StandardWindowObject(s.m_hWnd).detach();
            return *parent ? S_OK : S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return Call([](CColorSwatch&) { return S_OK; });
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override
    {
        if (!child)
            return E_POINTER;
        *child = nullptr;
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        return Call(child, [&](CColorSwatch& s) { return Text(name, s.AccessibleName()); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return Call(child, [&](CColorSwatch& s) { return Text(value, s.ColorText()); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
    {
        return Call(child, [&](CColorSwatch&) { return Text(description, {}); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (!role)
            return E_POINTER;
        ::VariantInit(role);
        return Call(child, [&](CColorSwatch&) {
            SetI4(role, ROLE_SYSTEM_PUSHBUTTON);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        if (!state)
            return E_POINTER;
        ::VariantInit(state);
        return Call(child, [&](CColorSwatch& s) {
            LONG st = STATE_SYSTEM_FOCUSABLE;
            if (::GetFocus() == s.m_hWnd)
                st |= STATE_SYSTEM_FOCUSED;
            if (!::IsWindowEnabled(s.m_hWnd))
                st |= STATE_SYSTEM_UNAVAILABLE;
            if (!s.IsWindowVisible())
                st |= STATE_SYSTEM_INVISIBLE;
            SetI4(state, st);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override
    {
        if (!focus)
            return E_POINTER;
        ::VariantInit(focus);
        return Call([&](CColorSwatch& s) {
            if (::GetFocus() != s.m_hWnd)
                return S_FALSE;
            SetI4(focus, CHILDID_SELF);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override
    {
        if (!selection)
            return E_POINTER;
        ::VariantInit(selection);
        return Call([](CColorSwatch&) { return S_FALSE; });
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        return Call(child, [&](CColorSwatch&) { return Text(action, L"Dr\u00FCcken"); });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        return Call(child, [&](CColorSwatch& s) {
            if (flags & ~SELFLAG_TAKEFOCUS)
                return E_INVALIDARG;
            if (flags & SELFLAG_TAKEFOCUS)
                ::SetFocus(s.m_hWnd);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override
    {
        if (!left || !top || !width || !height)
            return E_POINTER;
        *left = *top = *width = *height = 0;
        return Call(child, [&](CColorSwatch& s) {
            const RECT r = s.GetWindowRect();
            *left = r.left;
            *top = r.top;
            *width = r.right - r.left;
            *height = r.bottom - r.top;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT start, VARIANT* end) override
    {
        if (!end)
            return E_POINTER;
        ::VariantInit(end);
        // Its neighbours are windows of their own: the system's objects of
        // the dialog know them.
        return Call(start, [](CColorSwatch&) { return S_FALSE; });
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override
    {
        if (!child)
            return E_POINTER;
        ::VariantInit(child);
        return Call([&](CColorSwatch& s) {
            const RECT r = s.GetWindowRect();
            if (!::PtInRect(&r, POINT{x, y}))
                return S_FALSE;
            SetI4(child, CHILDID_SELF);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        return Call(child, [](CColorSwatch& s) {
            // Posted: the click opens a modal chooser, and the caller (a
            // screen reader, perhaps in another process) must have its
            // answer first.
            ::PostMessageW(s.GetParent(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(s.m_hWnd), STN_CLICKED),
                           reinterpret_cast<LPARAM>(s.m_hWnd));
            return S_OK;
        });
    }

private:
    // The swatch has no children: CHILDID_SELF is the only child asked of.
    template <class F>
    HRESULT Call(const VARIANT& child, F answer)
    {
        LONG id = 0;
        if (!ChildOf(child, id) || id != CHILDID_SELF)
            return E_INVALIDARG;
        return Call(answer);
    }
    template <class F>
    HRESULT Call(F answer)
    {
        if (::GetCurrentThreadId() != m_thread)
            return RPC_E_WRONG_THREAD;
        if (!m_swatch || !m_swatch->m_hWnd)
            return RPC_E_DISCONNECTED;
        try {
            return answer(*m_swatch);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_FAIL;
        }
    }

    CColorSwatch* m_swatch;
    DWORD m_thread;
};

decltype(CColorSwatch::kMessageMap) CColorSwatch::kMessageMap{
    fw::On<WM_PAINT, &CColorSwatch::OnPaint>(),
    fw::OnMessage<WM_GETDLGCODE, &CColorSwatch::OnGetDlgCode>(),
    fw::OnMessage<WM_KEYDOWN, &CColorSwatch::OnKeyDown>(),
    // The focus rectangle comes and goes.
    fw::OnNotice<WM_SETFOCUS, &CColorSwatch::Repaint>(),
    fw::OnNotice<WM_KILLFOCUS, &CColorSwatch::Repaint>(),
    fw::OnNotice<WM_UPDATEUISTATE, &CColorSwatch::Repaint>(),
    fw::OnMessage<WM_GETOBJECT, &CColorSwatch::OnGetObject>(),
};

CColorSwatch::~CColorSwatch() { DisconnectAccessible(); }

void CColorSwatch::PreSubclassWindow()
{
    // The template's statics are no tab stops; a colour field must be
    // reachable with the keyboard in every dialog that has one.
    const LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, style | WS_TABSTOP);
}

void CColorSwatch::PostNcDestroy() { DisconnectAccessible(); }

void CColorSwatch::OnPaint()
{
    fw::PaintDC dc(m_hWnd);
    const RECT client = GetClientRect();
    // The DC's own brush and pen: nothing to create, so nothing can fail.
    fw::SelectObjectScope keepBrush(dc.get(), ::GetStockObject(DC_BRUSH));
    fw::SelectObjectScope keepPen(dc.get(), ::GetStockObject(DC_PEN));
    ::SetDCBrushColor(dc.get(), m_color);
    ::SetDCPenColor(dc.get(), RGB(0, 0, 0));
    // One rectangle over the whole client area: the pen is the 1-pixel black
    // frame, the brush the fill. The static's own black frame never shows,
    // and no background needs erasing.
    ::Rectangle(dc.get(), client.left, client.top, client.right, client.bottom);

    if (::GetFocus() == m_hWnd && !(SendMessage(WM_QUERYUISTATE) & UISF_HIDEFOCUS)) {
        // Dotted, in black or white against the colour: the usual inverting
        // focus rectangle all but vanishes on a middle grey.
        const LOGBRUSH pen{BS_SOLID, IsDark(m_color) ? RGB(255, 255, 255) : RGB(0, 0, 0), 0};
        fw::UniquePen dotted(::ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &pen, 0, nullptr));
        if (dotted) {
            fw::SelectObjectScope usePen(dc.get(), dotted.get());
            fw::SelectObjectScope noFill(dc.get(), ::GetStockObject(NULL_BRUSH));
            ::Rectangle(dc.get(), client.left + kFocusInset, client.top + kFocusInset,
                        client.right - kFocusInset, client.bottom - kFocusInset);
        }
    }

    // The colour shown changed (picked, or set by the dialog): a screen
    // reader showing the value hears of it.
    if (m_bPainted && m_shownColor != m_color)
        fw::NotifyClientEvent(EVENT_OBJECT_VALUECHANGE, m_hWnd, CHILDID_SELF);
    m_shownColor = m_color;
    m_bPainted = true;
}

int CColorSwatch::PickColor()
{
    fw::CColorDialog chooser(m_color, CC_RGBINIT | CC_FULLOPEN, fw::CWnd::FromHandlePermanent(GetParent()));
    if (chooser.DoModal() != IDOK)
        return 0;
    const COLORREF chosen = chooser.GetColor();
    if (chosen == m_color)
        return 0; // the dialog must not store or announce an unchanged colour
    m_color = chosen;
    Invalidate(TRUE);
    return 1;
}

LRESULT CColorSwatch::OnGetDlgCode(WPARAM key, LPARAM message)
{
    // Enter would otherwise be the dialog's OK command.
    const auto* msg = reinterpret_cast<const MSG*>(message);
    const LRESULT code = Default();
    if (key == VK_RETURN && msg && msg->message == WM_KEYDOWN)
        return code | DLGC_WANTMESSAGE;
    return code;
}

LRESULT CColorSwatch::OnKeyDown(WPARAM key, LPARAM flags)
{
    if ((key == VK_SPACE || key == VK_RETURN) && !(flags & kKeyWasDown)) {
        NotifyClicked();
        return 0;
    }
    return Default();
}

void CColorSwatch::NotifyClicked()
{
    if (HWND parent = GetParent())
        ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), STN_CLICKED),
                       reinterpret_cast<LPARAM>(m_hWnd));
}

std::wstring CColorSwatch::AccessibleName() const
{
    HWND parent = GetParent();
    if (!parent)
        return {};
    const RECT me = GetWindowRect();
    auto onMyLine = [&](HWND w) {
        RECT r{};
        ::GetWindowRect(w, &r);
        return r.top < me.bottom && r.bottom > me.top;
    };
    // A label next to it in the dialog's order and on its line...
    for (UINT step : {GW_HWNDNEXT, GW_HWNDPREV}) {
        if (HWND w = ::GetWindow(m_hWnd, step); w && IsLabel(w) && onMyLine(w))
            return LabelText(w);
    }
    // ...else the nearest one to its right on its line...
    HWND label = nullptr;
    LONG nearest = 0;
    for (HWND w = ::GetWindow(parent, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
        RECT r{};
        ::GetWindowRect(w, &r);
        if (w != m_hWnd && IsLabel(w) && onMyLine(w) && r.left >= me.right &&
            (!label || r.left - me.right < nearest)) {
            label = w;
            nearest = r.left - me.right;
        }
    }
    // ...else a label next to it in the dialog's order.
    for (UINT step : {GW_HWNDNEXT, GW_HWNDPREV}) {
        if (HWND w = ::GetWindow(m_hWnd, step); !label && w && IsLabel(w))
            label = w;
    }
    return label ? LabelText(label) : std::wstring();
}

std::wstring CColorSwatch::ColorText() const
{
    wchar_t text[8];
    std::swprintf(text, std::size(text), L"#%02X%02X%02X", GetRValue(m_color), GetGValue(m_color),
                  GetBValue(m_color));
    return text;
}

LRESULT CColorSwatch::OnGetObject(WPARAM w, LPARAM objectId)
{
    if (!fw::AsksForClientObject(objectId))
        return Default();
    if (!m_pAccessible)
        m_pAccessible = new (std::nothrow) SwatchAccessible(this);
    const LRESULT result = fw::LresultFromAccessible(m_pAccessible, w);
    return result ? result : Default();
}

void CColorSwatch::DisconnectAccessible()
{
    if (SwatchAccessible* object = std::exchange(m_pAccessible, nullptr)) {
        object->Disconnect();
        object->Release();
    }
}
