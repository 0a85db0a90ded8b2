// The colour swatch on a static control of a window of the test's own.
#include "parameters/color_swatch.h"
#include "parameters_helpers.h"
#include "support/accessible_probe.h"

#include <gtest/gtest.h>

#include <commctrl.h>

using namespace paramtest;

namespace {

class SwatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HWND control = ::CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_BLACKFRAME | SS_NOTIFY,
                                         10, 10, 30, 30, host.m_hWnd, reinterpret_cast<HMENU>(1008),
                                         ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(swatch.SubclassWindow(control));
        client = swatch.GetClientRect();
        ::UpdateWindow(host.m_hWnd);
    }

    COLORREF At(int x, int y) { return PixelOf(swatch.m_hWnd, x, y); }

    bool PendingRepaint(RECT* area = nullptr)
    {
        RECT r{};
        const bool pending = ::GetUpdateRect(swatch.m_hWnd, &r, FALSE);
        if (area)
            *area = r;
        return pending;
    }

    TestWindow host{RECT{20, 20, 180, 140}};
    CColorSwatch swatch;
    RECT client{};
};

} // namespace

TEST_F(SwatchTest, NeverSetSwatchPaintsSolidBlack)
{
    EXPECT_EQ(swatch.m_color, 0u);
    const int w = client.right, h = client.bottom;
    ASSERT_GT(w, 4);
    for (POINT p : {POINT{0, 0}, POINT{w - 1, h - 1}, POINT{1, 1}, POINT{w / 2, h / 2}, POINT{w - 2, 1}})
        EXPECT_EQ(At(p.x, p.y), RGB(0, 0, 0)) << p.x << "," << p.y;
}

TEST_F(SwatchTest, FrameIsOnePixelOfBlackAroundTheColour)
{
    const int w = client.right, h = client.bottom;
    for (COLORREF colour : {RGB(30, 160, 220), RGB(255, 255, 255)}) {
        swatch.m_color = colour;
        swatch.Invalidate();
        for (POINT p : {POINT{0, 0}, POINT{w - 1, 0}, POINT{0, h - 1}, POINT{w - 1, h - 1}, POINT{w / 2, 0},
                        POINT{0, h / 2}})
            EXPECT_EQ(At(p.x, p.y), RGB(0, 0, 0)) << "frame " << p.x << "," << p.y;
        for (POINT p : {POINT{1, 1}, POINT{w - 2, h - 2}, POINT{w / 2, h / 2}})
            EXPECT_EQ(At(p.x, p.y), colour) << "fill " << p.x << "," << p.y;
    }
}

TEST_F(SwatchTest, CancelledOrUnchangedPickReturnsZeroAndRepaintsNothing)
{
    swatch.m_color = RGB(12, 34, 56);
    ::ValidateRect(swatch.m_hWnd, nullptr);
    COLORREF opened = 0;
    HWND owner = nullptr;
    ModalDriver driver;
    // Cancelled whatever was selected, then confirmed on the colour held.
    driver.Then(ChooseColour(RGB(200, 100, 50), IDCANCEL, &opened, &owner));
    driver.Then(ChooseColour(RGB(12, 34, 56), IDOK));

    EXPECT_EQ(swatch.PickColor(), 0);
    EXPECT_EQ(opened, RGB(12, 34, 56)); // the chooser starts on the swatch's colour
    EXPECT_EQ(owner, host.m_hWnd);      // and is owned by the swatch's parent
    EXPECT_EQ(swatch.m_color, RGB(12, 34, 56));
    EXPECT_FALSE(PendingRepaint());

    EXPECT_EQ(swatch.PickColor(), 0);
    EXPECT_EQ(swatch.m_color, RGB(12, 34, 56));
    EXPECT_FALSE(PendingRepaint());
    EXPECT_EQ(driver.StepsLeft(), 0u);
    EXPECT_TRUE(driver.Unexpected().empty());
}

TEST_F(SwatchTest, NewColourIsKeptAndTheWholeSwatchRepaintedWithErase)
{
    swatch.m_color = RGB(12, 34, 56);
    ::ValidateRect(swatch.m_hWnd, nullptr);
    ModalDriver driver;
    driver.Then(ChooseColour(RGB(12, 34, 57), IDOK)); // one step of blue is a change

    EXPECT_EQ(swatch.PickColor(), 1);
    EXPECT_EQ(swatch.m_color, RGB(12, 34, 57));
    RECT pending{};
    ASSERT_TRUE(PendingRepaint(&pending));
    EXPECT_TRUE(::EqualRect(&pending, &client));

    MessageSpy spy;
    ::UpdateWindow(swatch.m_hWnd);
    EXPECT_EQ(spy.Count(swatch.m_hWnd, WM_ERASEBKGND), 1);
    EXPECT_EQ(At(client.right / 2, client.bottom / 2), RGB(12, 34, 57));
    EXPECT_TRUE(driver.Unexpected().empty());
}

// --- without a mouse ----------------------------------------------------------

TEST_F(SwatchTest, BindingMakesTheControlATabStop)
{
    EXPECT_TRUE(::GetWindowLongPtrW(swatch.m_hWnd, GWL_STYLE) & WS_TABSTOP);
}

TEST_F(SwatchTest, SpaceAndEnterClickAsTheMouseDoesOncePerPress)
{
    MessageSpy spy;
    const WPARAM click = MAKEWPARAM(1008, STN_CLICKED);
    ::SendMessageW(swatch.m_hWnd, WM_KEYDOWN, VK_SPACE, 0x00390001);
    ::SendMessageW(swatch.m_hWnd, WM_KEYDOWN, VK_SPACE, 0x40390001); // held: repeats are no presses
    ::SendMessageW(swatch.m_hWnd, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    ::SendMessageW(swatch.m_hWnd, WM_KEYDOWN, 'A', 0x001E0001);
    EXPECT_EQ(spy.Count(host.m_hWnd, WM_COMMAND, click), 2);

    // Enter must reach the swatch instead of being the dialog's OK.
    MSG enter{swatch.m_hWnd, WM_KEYDOWN, VK_RETURN, 0x001C0001, 0, {}};
    EXPECT_TRUE(::SendMessageW(swatch.m_hWnd, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) &
                DLGC_WANTMESSAGE);
    MSG tab{swatch.m_hWnd, WM_KEYDOWN, VK_TAB, 0x000F0001, 0, {}};
    EXPECT_FALSE(::SendMessageW(swatch.m_hWnd, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab)) &
                 (DLGC_WANTMESSAGE | DLGC_WANTTAB));
}

TEST_F(SwatchTest, FocusRectangleWhileFocusedInAColourThatShowsOnTheFill)
{
    ::SendMessageW(host.m_hWnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    const int w = client.right, h = client.bottom;
    // Along the top edge of the rectangle, two pixels in: every other one.
    auto dots = [&](COLORREF ink) {
        int n = 0;
        for (int x = 2; x < w - 2; ++x)
            n += At(x, 2) == ink;
        return n;
    };
    for (COLORREF fill : {RGB(0x80, 0x80, 0x80), RGB(0x20, 0x20, 0x60), RGB(0xF0, 0xF0, 0xF0)}) {
        SCOPED_TRACE(fill);
        const COLORREF ink = fill == RGB(0x20, 0x20, 0x60) ? RGB(255, 255, 255) : RGB(0, 0, 0);
        swatch.m_color = fill;
        ::SetFocus(host.m_hWnd);
        swatch.Invalidate();
        EXPECT_EQ(dots(ink), 0) << "no rectangle without the focus";
        ::SetFocus(swatch.m_hWnd);
        const int n = dots(ink);
        EXPECT_GE(n, (w - 4) / 2 - 1);
        EXPECT_LE(n, (w - 4) / 2 + 1);
        EXPECT_EQ(At(w / 2, h / 2), fill);
    }
    // Hidden focus cues (a dialog opened with the mouse) hide it too. Wine
    // keeps its cues shown whatever it is asked, so the window's answer is
    // put in front of the swatch.
    const SUBCLASSPROC hideCues = [](HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) -> LRESULT {
        return m == WM_QUERYUISTATE ? UISF_HIDEFOCUS : ::DefSubclassProc(h, m, w, l);
    };
    ASSERT_TRUE(::SetWindowSubclass(swatch.m_hWnd, hideCues, 1, 0));
    swatch.Invalidate();
    EXPECT_EQ(dots(RGB(0, 0, 0)), 0);
    ::RemoveWindowSubclass(swatch.m_hWnd, hideCues, 1);
}

TEST_F(SwatchTest, ReadsAsAPushButtonWhoseValueIsTheColour)
{
    HWND label = ::CreateWindowExW(0, L"Static", L"&Farbe der Feiertage", WS_CHILD | WS_VISIBLE | SS_LEFT, 50,
                                   18, 100, 14, host.m_hWnd, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(label, nullptr);
    swatch.m_color = RGB(0x12, 0xAB, 0xF0);
    const a11y::Element e{a11y::ClientObject(swatch.m_hWnd), CHILDID_SELF};
    ASSERT_TRUE(e);
    EXPECT_EQ(a11y::Name(e), L"Farbe der Feiertage");
    EXPECT_EQ(a11y::Role(e), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(a11y::Value(e), L"#12ABF0");
    EXPECT_EQ(a11y::DefaultAction(e), L"Dr\u00FCcken");
    EXPECT_EQ(a11y::State(e), STATE_SYSTEM_FOCUSABLE);
    ::SetFocus(swatch.m_hWnd);
    EXPECT_EQ(a11y::State(e), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
    RECT r = swatch.GetWindowRect();
    EXPECT_EQ(a11y::Location(e).left, r.left);
    EXPECT_EQ(a11y::Location(e).bottom, r.bottom);

    // The default action is a click, posted: the chooser it opens must not
    // keep the caller waiting.
    MessageSpy spy;
    EXPECT_EQ(e.object->accDoDefaultAction(e.Var()), S_OK);
    EXPECT_EQ(spy.Count(host.m_hWnd, WM_COMMAND), 0);
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, host.m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(msg.wParam, MAKEWPARAM(1008, STN_CLICKED));

    // Outliving the swatch is safe.
    swatch.UnsubclassWindow();
    BSTR name = nullptr;
    EXPECT_EQ(e.object->get_accName(e.Var(), &name), RPC_E_DISCONNECTED);
}
