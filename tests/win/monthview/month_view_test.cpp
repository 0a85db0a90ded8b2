// CMonthView against a recording dispatch interface: each operation is
// exactly one Invoke with the right member, kind, parameter block and
// VARIANT; a refusal comes back as the framework's exception.
#include <windows.h>
#include <olectl.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/control_site.h"
#include "framework/exceptions.h"
#include "monthgrid/monthgrid.h"
#include "monthview/month_view.h"
#include "support/dispatch_stub.h"

namespace {

namespace members = monthgrid::members;

struct RecordedCall {
    DISPID id = 0;
    bool nullRiid = false;
    WORD flags = 0;
    UINT args = 0;
    UINT named = 0;
    DISPID firstNamed = 0;
    bool wantsResult = false;
    VARIANT value{}; // a copy of the argument, VT_EMPTY when none
};

class RecordingDispatch final : public testsupport::DispatchStub {
public:
    ~RecordingDispatch()
    {
        for (auto& c : calls)
            ::VariantClear(&c.value);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; } // lives on the test's stack
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* p, VARIANT* result,
                                     EXCEPINFO*, UINT*) override
    {
        RecordedCall c;
        c.id = id;
        c.nullRiid = riid == IID_NULL;
        c.flags = flags;
        c.args = p ? p->cArgs : 0;
        c.named = p ? p->cNamedArgs : 0;
        c.firstNamed = c.named ? p->rgdispidNamedArgs[0] : 0;
        c.wantsResult = result != nullptr;
        ::VariantInit(&c.value);
        if (c.args)
            ::VariantCopy(&c.value, &p->rgvarg[0]);
        calls.push_back(c);
        return answer;
    }

    void Reset()
    {
        for (auto& c : calls)
            ::VariantClear(&c.value);
        calls.clear();
    }

    ULONG refs = 1;
    HRESULT answer = S_OK;
    std::vector<RecordedCall> calls;
};

constexpr wchar_t kRecorderClass[] = L"MorvelinRecordingControl";

// A control window that hands out the recorder kept in its user data.
LRESULT CALLBACK RecorderProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l)
{
    if (msg == fw::ControlDispatchMessage()) {
        auto* recorder = reinterpret_cast<RecordingDispatch*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (recorder)
            recorder->AddRef();
        return reinterpret_cast<LRESULT>(static_cast<IDispatch*>(recorder));
    }
    return ::DefWindowProcW(hwnd, msg, w, l);
}

class MonthViewCalls : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &RecorderProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kRecorderClass;
        ::RegisterClassExW(&wc);
        window = ::CreateWindowExW(0, kRecorderClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&recorder));
        ASSERT_TRUE(view.SubclassWindow(window));
    }
    void TearDown() override
    {
        view.UnsubclassWindow();
        ::DestroyWindow(window);
        EXPECT_EQ(recorder.refs, 1u); // every reference handed out came back
    }

    // The one call `op` made.
    const RecordedCall& Only(const std::function<void()>& op)
    {
        recorder.Reset();
        op();
        EXPECT_EQ(recorder.calls.size(), 1u);
        static RecordedCall none;
        return recorder.calls.empty() ? none : recorder.calls.back();
    }

    RecordingDispatch recorder;
    HWND window = nullptr;
    CMonthView view;
};

void ExpectPut(const RecordedCall& c, DISPID id, VARTYPE type)
{
    EXPECT_EQ(c.id, id);
    EXPECT_TRUE(c.nullRiid);
    EXPECT_EQ(c.flags, DISPATCH_PROPERTYPUT);
    EXPECT_EQ(c.args, 1u);
    EXPECT_EQ(c.named, 1u);
    EXPECT_EQ(c.firstNamed, DISPID_PROPERTYPUT);
    EXPECT_FALSE(c.wantsResult);
    EXPECT_EQ(V_VT(&c.value), type);
}

TEST_F(MonthViewCalls, ColoursArePutAsI4Unchanged)
{
    const struct {
        void (CMonthView::*op)(COLORREF);
        DISPID id;
    } colours[] = {
        {&CMonthView::SetForeColor, DISPID_FORECOLOR}, {&CMonthView::SetMonthBackColor, 8},
        {&CMonthView::SetBackColor, DISPID_BACKCOLOR}, {&CMonthView::SetTitleBackColor, 20},
        {&CMonthView::SetTitleForeColor, 21},          {&CMonthView::SetTrailingForeColor, 22},
    };
    for (const auto& c : colours) {
        const RecordedCall& call = Only([&] { (view.*c.op)(0x00C08000); });
        ExpectPut(call, c.id, VT_I4);
        EXPECT_EQ(V_I4(&call.value), 0x00C08000);
        // A system colour's high bit passes as it is.
        EXPECT_EQ(V_I4(&Only([&] { (view.*c.op)(0x80000005); }).value), static_cast<LONG>(0x80000005));
    }
}

TEST_F(MonthViewCalls, WeekNumbersArriveAsVariantBool)
{
    for (const auto& [stored, want] : {std::pair{2, VARIANT_TRUE}, std::pair{0, VARIANT_FALSE},
                                       std::pair{1, VARIANT_TRUE}, std::pair{-1, VARIANT_TRUE}}) {
        const RecordedCall& call = Only([&] { view.SetShowWeekNumbers(stored); });
        ExpectPut(call, 18, VT_BOOL);
        EXPECT_EQ(V_BOOL(&call.value), want) << stored;
    }
}

TEST_F(MonthViewCalls, CountsArePutAsI2InTheCallersOrder)
{
    recorder.Reset();
    view.SetMonthColumns(1);
    view.SetMonthRows(12);
    view.SetMonthColumns(-3);
    ASSERT_EQ(recorder.calls.size(), 3u);
    ExpectPut(recorder.calls[0], 9, VT_I2);
    ExpectPut(recorder.calls[1], 10, VT_I2);
    ExpectPut(recorder.calls[2], 9, VT_I2);
    EXPECT_EQ(V_I2(&recorder.calls[0].value), 1);
    EXPECT_EQ(V_I2(&recorder.calls[1].value), 12);
    EXPECT_EQ(V_I2(&recorder.calls[2].value), -3);
}

TEST_F(MonthViewCalls, FontDateAndRefresh)
{
    RecordingDispatch fontStandIn;
    const RecordedCall& font = Only([&] { view.SetFont(&fontStandIn); });
    ExpectPut(font, DISPID_FONT, VT_DISPATCH);
    EXPECT_EQ(V_DISPATCH(&font.value), &fontStandIn);
    recorder.Reset();
    EXPECT_EQ(fontStandIn.refs, 1u); // borrowed, not kept
    const RecordedCall& none = Only([&] { view.SetFont(nullptr); });
    ExpectPut(none, DISPID_FONT, VT_DISPATCH);
    EXPECT_EQ(V_DISPATCH(&none.value), nullptr);

    const RecordedCall& date = Only([&] { view.SetCurrentDate(46363.75); });
    ExpectPut(date, 23, VT_DATE);
    EXPECT_EQ(V_DATE(&date.value), 46363.75);

    const RecordedCall& refresh = Only([&] { view.Refresh(); });
    EXPECT_EQ(refresh.id, DISPID_REFRESH);
    EXPECT_TRUE(refresh.nullRiid);
    EXPECT_EQ(refresh.flags, DISPATCH_METHOD);
    EXPECT_EQ(refresh.args, 0u);
    EXPECT_EQ(refresh.named, 0u);
    EXPECT_FALSE(refresh.wantsResult);
}

TEST_F(MonthViewCalls, ARefusalIsThrownWithItsCode)
{
    recorder.answer = DISP_E_TYPEMISMATCH;
    try {
        view.SetMonthRows(2);
        FAIL() << "no exception";
    } catch (const fw::COleDispatchException& e) {
        EXPECT_EQ(e.m_scError, DISP_E_TYPEMISMATCH);
        EXPECT_EQ(e.m_dispid, members::kMonthRows.dispid);
    }
    recorder.answer = E_FAIL;
    EXPECT_THROW(view.Refresh(), fw::COleDispatchException);
    EXPECT_EQ(recorder.calls.size(), 2u); // tried once each, no retry
}

TEST(MonthViewClass, RuntimeClassRecord)
{
    const fw::CRuntimeClass& rc = CMonthView::classCMonthView;
    EXPECT_STREQ(rc.m_lpszClassName, "CMonthView");
    EXPECT_EQ(rc.m_pBaseClass, &fw::CWnd::classCWnd);
    EXPECT_EQ(rc.m_wSchema, 0xFFFFu);
    EXPECT_EQ(rc.m_nObjectSize, static_cast<int>(sizeof(CMonthView)));
    EXPECT_EQ(sizeof(CMonthView), sizeof(fw::CWnd)); // no data of its own
    CMonthView view;
    EXPECT_EQ(view.GetRuntimeClass(), &rc);
    EXPECT_TRUE(view.IsKindOf(&fw::CWnd::classCWnd));
    fw::CWnd* made = rc.CreateObject();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetRuntimeClass(), &rc);
    EXPECT_EQ(made->GetSafeHwnd(), nullptr); // unattached
    delete made;
}

TEST(MonthViewClass, WithoutAControlEveryCallThrows)
{
    CMonthView view;
    EXPECT_THROW(view.SetForeColor(0), fw::COleDispatchException);
    EXPECT_THROW(view.Refresh(), fw::COleDispatchException);
}

} // namespace
