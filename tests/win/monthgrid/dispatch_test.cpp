// The grid's dispatch interface: what it takes, what it refuses and how,
// and that a host holding it past the window's end is answered, not crashed.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "framework/control_site.h"
#include "grid_fixture.h"
#include "support/test_support.h"

namespace {

using namespace gridtest;
namespace members = monthgrid::members;

class MonthGridDispatch : public GridTest {
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        disp = DispatchOf(grid);
        ASSERT_TRUE(disp);
    }

    HRESULT Invoke(DISPID id, WORD flags, std::initializer_list<VARIANT> args,
                   std::initializer_list<DISPID> named, UINT* argErr = nullptr, REFIID riid = IID_NULL)
    {
        std::vector<VARIANT> a(args);
        std::vector<DISPID> n(named);
        DISPPARAMS p{a.empty() ? nullptr : a.data(), n.empty() ? nullptr : n.data(),
                     static_cast<UINT>(a.size()), static_cast<UINT>(n.size())};
        UINT err = 0xFFFF;
        const HRESULT hr = disp->Invoke(id, riid, LOCALE_USER_DEFAULT, flags, &p, nullptr, nullptr, &err);
        if (argErr)
            *argErr = err;
        return hr;
    }
    HRESULT PutValue(DISPID id, const VARIANT& v, UINT* argErr = nullptr)
    {
        return Invoke(id, DISPATCH_PROPERTYPUT, {v}, {DISPID_PROPERTYPUT}, argErr);
    }

    static VARIANT I4(LONG v)
    {
        VARIANT r;
        ::VariantInit(&r);
        V_VT(&r) = VT_I4;
        V_I4(&r) = v;
        return r;
    }

    fw::ComPtr<IDispatch> disp;
};

TEST_F(MonthGridDispatch, EveryMemberTakesItsTypeAndCoercibleOnes)
{
    for (DISPID id : {members::kForeColor.dispid, members::kMonthBackColor.dispid, members::kBackColor.dispid,
                      members::kTitleBackColor.dispid, members::kTitleForeColor.dispid,
                      members::kTrailingForeColor.dispid})
        EXPECT_EQ(PutValue(id, I4(0x00123456)), S_OK) << id;
    EXPECT_EQ(PutI2(grid, members::kMonthColumns.dispid, 3), S_OK);
    EXPECT_EQ(PutI2(grid, members::kMonthRows.dispid, 2), S_OK);
    EXPECT_EQ(PutBool(grid, members::kShowWeekNumbers.dispid, false), S_OK);
    EXPECT_EQ(PutDate(grid, OleDate(2027, 5, 17) + 0.75), S_OK);
    EXPECT_EQ(Invoke(members::kRefresh.dispid, DISPATCH_METHOD, {}, {}), S_OK);
    EXPECT_EQ(Info(grid).shape, (core::GridShape{3, 2}));
    EXPECT_FALSE(Info(grid).showWeekNumbers);

    // A string that reads as a number, a reference, an I4 for a flag.
    VARIANT text;
    V_VT(&text) = VT_BSTR;
    V_BSTR(&text) = ::SysAllocString(L"4");
    EXPECT_EQ(PutValue(members::kMonthColumns.dispid, text), S_OK);
    ::VariantClear(&text);
    LONG rows = 1;
    VARIANT ref;
    V_VT(&ref) = VT_I4 | VT_BYREF;
    V_I4REF(&ref) = &rows;
    EXPECT_EQ(PutValue(members::kMonthRows.dispid, ref), S_OK);
    EXPECT_EQ(PutValue(members::kShowWeekNumbers.dispid, I4(2)), S_OK);
    const monthgrid::GridInfo info = Info(grid);
    EXPECT_EQ(info.shape, (core::GridShape{4, 1}));
    EXPECT_TRUE(info.showWeekNumbers);
}

TEST_F(MonthGridDispatch, WrongInterfaceMemberOrKindIsRefused)
{
    EXPECT_EQ(Invoke(members::kForeColor.dispid, DISPATCH_PROPERTYPUT, {I4(1)}, {DISPID_PROPERTYPUT}, nullptr,
                     IID_IDispatch),
              DISP_E_UNKNOWNINTERFACE);
    EXPECT_EQ(PutValue(7, I4(1)), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(PutValue(DISPID_VALUE, I4(1)), DISP_E_MEMBERNOTFOUND);
    // Write-only properties: no get, no method call; and no put on the method.
    EXPECT_EQ(Invoke(members::kMonthRows.dispid, DISPATCH_PROPERTYGET, {}, {}), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Invoke(members::kMonthRows.dispid, DISPATCH_METHOD, {I4(1)}, {}), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(PutValue(members::kRefresh.dispid, I4(1)), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Invoke(members::kRefresh.dispid, DISPATCH_PROPERTYGET, {}, {}), DISP_E_MEMBERNOTFOUND);
    // By reference only the font.
    EXPECT_EQ(Invoke(members::kForeColor.dispid, DISPATCH_PROPERTYPUTREF, {I4(1)}, {DISPID_PROPERTYPUT}),
              DISP_E_MEMBERNOTFOUND);
    fw::ComPtr<IDispatch> font = MakeFont(L"Tahoma", 10);
    VARIANT f;
    V_VT(&f) = VT_DISPATCH;
    V_DISPATCH(&f) = font.get();
    EXPECT_EQ(Invoke(members::kFont.dispid, DISPATCH_PROPERTYPUTREF, {f}, {DISPID_PROPERTYPUT}), S_OK);
    // Callers that say "method or get", as late-bound scripts do.
    EXPECT_EQ(Invoke(members::kRefresh.dispid, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, {}), S_OK);
}

TEST_F(MonthGridDispatch, ArgumentCountsAndNamesAreChecked)
{
    EXPECT_EQ(Invoke(members::kForeColor.dispid, DISPATCH_PROPERTYPUT, {}, {}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Invoke(members::kForeColor.dispid, DISPATCH_PROPERTYPUT, {I4(1), I4(2)}, {DISPID_PROPERTYPUT}),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Invoke(members::kRefresh.dispid, DISPATCH_METHOD, {I4(1)}, {}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Invoke(members::kForeColor.dispid, DISPATCH_PROPERTYPUT, {I4(1)}, {5}), DISP_E_PARAMNOTFOUND);
    EXPECT_EQ(Invoke(members::kForeColor.dispid, DISPATCH_PROPERTYPUT, {I4(1)}, {}), DISP_E_PARAMNOTFOUND);
    EXPECT_EQ(Invoke(members::kRefresh.dispid, DISPATCH_METHOD, {I4(1)}, {5}), DISP_E_NONAMEDARGS);
    // Malformed parameter blocks are refused, not read.
    DISPPARAMS bad{nullptr, nullptr, 1, 0};
    EXPECT_EQ(disp->Invoke(members::kForeColor.dispid, IID_NULL, 0, DISPATCH_PROPERTYPUT, &bad, nullptr,
                           nullptr, nullptr),
              E_INVALIDARG);
    EXPECT_EQ(disp->Invoke(members::kForeColor.dispid, IID_NULL, 0, DISPATCH_PROPERTYPUT, nullptr, nullptr,
                           nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(disp->Invoke(members::kRefresh.dispid, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr,
                           nullptr),
              S_OK);
}

TEST_F(MonthGridDispatch, ValuesThatDoNotFitAreRefusedAndTheStateKept)
{
    PutI2(grid, members::kMonthColumns.dispid, 2);
    UINT argErr = 0xFFFF;
    VARIANT text;
    V_VT(&text) = VT_BSTR;
    V_BSTR(&text) = ::SysAllocString(L"blau");
    EXPECT_EQ(PutValue(members::kForeColor.dispid, text, &argErr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 0u);
    ::VariantClear(&text);

    argErr = 0xFFFF;
    EXPECT_EQ(PutValue(members::kMonthColumns.dispid, I4(70000), &argErr), DISP_E_OVERFLOW);
    EXPECT_EQ(argErr, 0u);
    EXPECT_EQ(Info(grid).shape.columns, 2);

    // A dispatch interface that is not a font.
    argErr = 0xFFFF;
    VARIANT notFont;
    V_VT(&notFont) = VT_DISPATCH;
    V_DISPATCH(&notFont) = disp.get();
    EXPECT_EQ(PutValue(members::kFont.dispid, notFont, &argErr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 0u);

    // Dates: only real OLE dates.
    for (double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 3.0e6, -7.0e5}) {
        argErr = 0xFFFF;
        VARIANT d;
        V_VT(&d) = VT_DATE;
        V_DATE(&d) = bad;
        EXPECT_EQ(PutValue(members::kValue.dispid, d, &argErr), E_INVALIDARG) << bad;
        EXPECT_EQ(argErr, 0u);
    }
}

TEST_F(MonthGridDispatch, DatesBeforeTheGridsRangeSelectItsFirstDay)
{
    ASSERT_EQ(PutDate(grid, OleDate(1200, 7, 1)), S_OK);
    const monthgrid::GridInfo info = Info(grid);
    EXPECT_EQ(info.selectedYear, 1601);
    EXPECT_EQ(info.selectedMonth, 1);
    EXPECT_EQ(info.selectedDay, 1);
}

TEST_F(MonthGridDispatch, NamesMapCaseInsensitively)
{
    UINT count = 7;
    EXPECT_EQ(disp->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 0u);
    const std::pair<const wchar_t*, DISPID> names[] = {
        {L"forecolor", members::kForeColor.dispid},
        {L"MONTHBACKCOLOR", members::kMonthBackColor.dispid},
        {L"BackColor", members::kBackColor.dispid},
        {L"titleBackColor", members::kTitleBackColor.dispid},
        {L"TitleForeColor", members::kTitleForeColor.dispid},
        {L"TrailingForeColor", members::kTrailingForeColor.dispid},
        {L"ShowWeekNumbers", members::kShowWeekNumbers.dispid},
        {L"MonthColumns", members::kMonthColumns.dispid},
        {L"monthrows", members::kMonthRows.dispid},
        {L"Font", members::kFont.dispid},
        {L"Value", members::kValue.dispid},
        {L"CurrentDate", members::kValue.dispid},
        {L"REFRESH", members::kRefresh.dispid},
    };
    for (const auto& [name, want] : names) {
        LPOLESTR n = const_cast<LPOLESTR>(name);
        DISPID id = 0;
        EXPECT_EQ(disp->GetIDsOfNames(IID_NULL, &n, 1, 0, &id), S_OK) << name;
        EXPECT_EQ(id, want) << name;
    }
    LPOLESTR unknown = const_cast<LPOLESTR>(L"ForeColour");
    DISPID id = 0;
    EXPECT_EQ(disp->GetIDsOfNames(IID_NULL, &unknown, 1, 0, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
    EXPECT_EQ(disp->GetIDsOfNames(IID_IDispatch, &unknown, 1, 0, &id), DISP_E_UNKNOWNINTERFACE);
}

TEST_F(MonthGridDispatch, HandedOutAddRefedAndOnlyAsDispatch)
{
    IDispatch* raw = disp.get();
    const ULONG before = raw->AddRef() - 1;
    raw->Release();
    {
        fw::ComPtr<IDispatch> again = DispatchOf(grid);
        EXPECT_EQ(again.get(), raw);
        EXPECT_EQ(raw->AddRef() - 1, before + 1);
        raw->Release();
    }
    fw::ComPtr<IUnknown> unknown = disp.query<IUnknown>(IID_IUnknown);
    EXPECT_TRUE(unknown);
    EXPECT_FALSE(disp.query<IFont>(IID_IFont));
}

TEST_F(MonthGridDispatch, FontIsCopiedNotKept)
{
    fw::ComPtr<IDispatch> font = MakeFont(L"Tahoma", 14);
    ASSERT_TRUE(font);
    const ULONG before = font->AddRef() - 1;
    font->Release();
    ASSERT_EQ(PutFont(grid, font.get()), S_OK);
    EXPECT_EQ(font->AddRef() - 1, before);
    font->Release();
    font.reset(); // the caller's last reference: the grid must not need it

    HFONT used = reinterpret_cast<HFONT>(::SendMessageW(grid, WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    ASSERT_EQ(::GetObjectW(used, sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
    HDC screen = ::GetDC(grid);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(grid, screen);
    EXPECT_EQ(lf.lfHeight, -static_cast<LONG>(std::lround(14.0 * dpi / 72.0)));
    Render(grid); // paints with the copy

    // Null: back to the GUI font.
    ASSERT_EQ(PutFont(grid, nullptr), S_OK);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(::SendMessageW(grid, WM_GETFONT, 0, 0)),
              ::GetStockObject(DEFAULT_GUI_FONT));
}

TEST_F(MonthGridDispatch, OutlivedWindowAnswersDisconnected)
{
    ::DestroyWindow(grid);
    EXPECT_EQ(PutValue(members::kForeColor.dispid, I4(1)), RPC_E_DISCONNECTED);
    EXPECT_EQ(Invoke(members::kRefresh.dispid, DISPATCH_METHOD, {}, {}), RPC_E_DISCONNECTED);
    UINT count = 1;
    EXPECT_EQ(disp->GetTypeInfoCount(&count), S_OK);
    disp.reset(); // the last reference frees the object
}

TEST_F(MonthGridDispatch, OtherThreadsAreTurnedAway)
{
    HRESULT hr = S_OK;
    ASSERT_TRUE(testsupport::OnAnotherThread([&] {
        DISPPARAMS none{};
        hr = disp->Invoke(monthgrid::members::kRefresh.dispid, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr,
                          nullptr, nullptr);
    }));
    EXPECT_EQ(hr, RPC_E_WRONG_THREAD);
}

// A host reacting to the resize by destroying the grid: Refresh must find
// its way out without touching the freed control.
LRESULT CALLBACK DestroyOnSize(HWND hwnd, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR)
{
    if (msg == WM_SIZE) {
        ::RemoveWindowSubclass(hwnd, &DestroyOnSize, 1);
        ::DestroyWindow(hwnd);
        return 0;
    }
    return ::DefSubclassProc(hwnd, msg, w, l);
}

TEST_F(MonthGridDispatch, WindowDestroyedDuringACallIsSurvived)
{
    ::MoveWindow(grid, 0, 0, 0, 0, FALSE);
    ::SetWindowSubclass(grid, &DestroyOnSize, 1, 0);
    // The size changes inside Refresh; the window goes from under the call.
    DISPPARAMS none{};
    EXPECT_EQ(disp->Invoke(members::kRefresh.dispid, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr,
                           nullptr),
              S_OK);
    EXPECT_FALSE(::IsWindow(grid));
    EXPECT_EQ(PutValue(members::kForeColor.dispid, I4(1)), RPC_E_DISCONNECTED);
}

} // namespace
