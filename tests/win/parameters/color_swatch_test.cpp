// The colour swatch on a static control of a window of the test's own.
#include "parameters/color_swatch.h"
#include "parameters_helpers.h"

#include <gtest/gtest.h>

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
