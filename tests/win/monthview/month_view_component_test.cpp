// CMonthView on the real grid: created in code and from a dialog template
// with init data, driven the way the calendar's layout pass drives it.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "framework/dialog.h"
#include "framework/exceptions.h"
#include "grid_fixture.h"
#include "monthview/month_view.h"
#include "support/modal_driver.h"
#include "test_grid_dialog.h"

namespace {

using namespace gridtest;

// The calendar's layout pass: colours, week numbers, columns 1, rows,
// columns, then shrink to nothing and let the grid take its size.
SIZE LayoutPass(CMonthView& view, int columns, int rows, BOOL weekNumbers)
{
    const Colors& c = kCalendarColors;
    view.SetForeColor(c.fore);
    view.SetMonthBackColor(c.monthBack);
    view.SetBackColor(c.monthBack);
    view.SetTitleBackColor(c.titleBack);
    view.SetTitleForeColor(c.titleFore);
    view.SetTrailingForeColor(c.trailingFore);
    view.SetShowWeekNumbers(weekNumbers);
    view.SetMonthColumns(1);
    view.SetMonthRows(static_cast<short>(rows));
    view.SetMonthColumns(static_cast<short>(columns));
    view.MoveWindow(0, 0, 0, 0, TRUE);
    view.Refresh();
    const RECT r = view.GetClientRect();
    return {r.right - r.left, r.bottom - r.top};
}

class MonthViewInCode : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(parent.SubclassWindow(host.get())); }
    void TearDown() override { parent.UnsubclassWindow(); }

    HostWindow host;
    fw::CWnd parent;
};

TEST_F(MonthViewInCode, CreateMakesTheGridAsAChildWithTheGivenNameStyleAndId)
{
    CMonthView view;
    const RECT rect{5, 6, 105, 86};
    ASSERT_TRUE(view.Create(L"Button", L"Monate", WS_VISIBLE | WS_TABSTOP, rect, &parent, 1005));
    HWND hwnd = view.GetSafeHwnd();
    wchar_t className[64] = {};
    ::GetClassNameW(hwnd, className, 64);
    EXPECT_STREQ(className, monthgrid::kClassName); // the class name asked for is not used
    EXPECT_EQ(::GetParent(hwnd), host.get());
    EXPECT_EQ(::GetDlgCtrlID(hwnd), 1005);
    EXPECT_TRUE(view.GetStyle() & WS_CHILD);
    EXPECT_TRUE(view.GetStyle() & WS_TABSTOP);
    EXPECT_EQ(view.GetWindowText(), L"Monate");
    RECT placed = view.GetWindowRect();
    ::MapWindowPoints(nullptr, host.get(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 5);
    EXPECT_EQ(placed.bottom, 86);
    // Its initial state: one month with week numbers.
    EXPECT_EQ(Info(hwnd).shape, (core::GridShape{1, 1}));
    EXPECT_TRUE(Info(hwnd).showWeekNumbers);

    CMonthView orphan;
    EXPECT_FALSE(orphan.Create(nullptr, L"", WS_VISIBLE, rect, nullptr, 1));
}

TEST_F(MonthViewInCode, LayoutPassesGiveTheNaturalSizeAndRepeatIt)
{
    CMonthView view;
    ASSERT_TRUE(view.Create(nullptr, L"", WS_VISIBLE, RECT{0, 0, 10, 10}, &parent, 1005));
    view.SetCurrentDate(OleDate(2026, 12, 7) + 0.5);
    const SIZE first = LayoutPass(view, 4, 3, TRUE);
    EXPECT_EQ(first.cx, LayoutOf(view.GetSafeHwnd()).TotalSize().width);
    EXPECT_EQ(first.cy, LayoutOf(view.GetSafeHwnd()).TotalSize().height);
    EXPECT_EQ(LayoutPass(view, 4, 3, TRUE), first);
    // 1 x 12 to 12 x 1, never more than twelve months on the way.
    const SIZE tall = LayoutPass(view, 1, 12, TRUE);
    const SIZE wide = LayoutPass(view, 12, 1, TRUE);
    EXPECT_GT(tall.cy, wide.cy);
    EXPECT_GT(wide.cx, tall.cx);
    // The font follows into the size.
    fw::ComPtr<IDispatch> big = MakeFont(L"Tahoma", 14);
    view.SetFont(big.get());
    view.Refresh();
    const SIZE larger = LayoutPass(view, 4, 3, TRUE);
    EXPECT_GT(larger.cx, first.cx);
    EXPECT_GT(larger.cy, first.cy);
    // And the date chosen shows its month first.
    const monthgrid::GridInfo info = Info(view.GetSafeHwnd());
    EXPECT_EQ(info.firstYear, 2026);
    EXPECT_EQ(info.firstMonth, 12);
    EXPECT_EQ(info.selectedDay, 7);
}

TEST_F(MonthViewInCode, RefusalsOfTheGridSurfaceAsExceptions)
{
    CMonthView view;
    ASSERT_TRUE(view.Create(nullptr, L"", WS_VISIBLE, RECT{0, 0, 10, 10}, &parent, 1005));
    try {
        view.SetCurrentDate(std::numeric_limits<double>::quiet_NaN());
        FAIL() << "no exception";
    } catch (const fw::COleDispatchException& e) {
        EXPECT_EQ(e.m_scError, E_INVALIDARG);
        EXPECT_EQ(e.m_dispid, monthgrid::members::kValue.dispid);
    }
    // A dispatch interface that is no font.
    fw::ComPtr<IDispatch> notAFont = DispatchOf(view.GetSafeHwnd());
    EXPECT_THROW(view.SetFont(notAFont.get()), fw::COleDispatchException);
    // Once the window is gone the wrapper has nothing to call.
    view.DestroyWindow();
    EXPECT_THROW(view.Refresh(), fw::COleDispatchException);
    VARIANT v;
    ::VariantInit(&v);
    DISPPARAMS none{};
    EXPECT_EQ(notAFont->Invoke(monthgrid::members::kRefresh.dispid, IID_NULL, 0, DISPATCH_METHOD, &none, &v,
                               nullptr, nullptr),
              RPC_E_DISCONNECTED);
}

class GridProbeDialog : public fw::CDialog {
public:
    GridProbeDialog() : fw::CDialog(IDD_GRID_PROBE) {}
    CMonthView m_view;

protected:
    void DoDataExchange(fw::CDataExchange* dx) override { fw::DDX_Control(dx, IDC_GRID_LOADED, m_view); }
};

TEST(MonthViewInDialog, TemplateAndInitDataMakeTheGridAndTheViewDrivesIt)
{
    monthgrid::RegisterMonthGridClass(::GetModuleHandleW(nullptr));
    GridProbeDialog dlg;
    monthgrid::GridInfo loaded{}, ignored{};
    Image image;
    SIZE fitted{}, layout{};
    testsupport::ModalDriver driver;
    driver.Then([&](HWND dialog) {
        loaded = Info(::GetDlgItem(dialog, IDC_GRID_LOADED));
        ignored = Info(::GetDlgItem(dialog, IDC_GRID_BAD_RECORD));
        dlg.m_view.MoveWindow(0, 0, 0, 0, TRUE);
        dlg.m_view.Refresh();
        const RECT r = dlg.m_view.GetClientRect();
        fitted = {r.right, r.bottom};
        const core::Size want = LayoutOf(dlg.m_view.GetSafeHwnd()).TotalSize();
        layout = {want.width, want.height};
        image = Render(dlg.m_view.GetSafeHwnd());
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    dlg.DoModal();
    EXPECT_TRUE(driver.Unexpected().empty());

    EXPECT_EQ(loaded.shape, (core::GridShape{2, 1}));
    EXPECT_FALSE(loaded.showWeekNumbers);
    EXPECT_EQ(fitted, layout);
    EXPECT_EQ(image.At(0, 0), RGB(0x30, 0x90, 0x30)); // backColor of the record
    // The record with the wrong magic left the defaults.
    EXPECT_EQ(ignored.shape, (core::GridShape{1, 1}));
    EXPECT_TRUE(ignored.showWeekNumbers);
    // The view let go of the control with the dialog.
    EXPECT_EQ(dlg.m_view.GetSafeHwnd(), nullptr);
}

} // namespace
