// The calendar font: point sizes, the one reference the window holds, and
// failures on the way.
#include "app/private_messages.h"
#include "app/settings_store.h"
#include "calendar_fixture.h"
#include "core/logfont_record.h"
#include "fake_month_view.h"
#include "framework/exceptions.h"
#include "framework/handles.h"
#include "monthgrid/monthgrid.h"

#include <gtest/gtest.h>

#include <olectl.h>

#include <climits>
#include <cstring>

using namespace core::keys;
using testsupport::RunCalendar;

namespace {

struct CalendarFont : ::testing::Test {
    void SetUp() override
    {
        testsupport::ResetProfile();
        fake::Register();
        fake::Reset();
    }
};

LONGLONG SizeOf(IFontDisp* disp)
{
    fw::ComPtr<IFont> font;
    disp->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.put()));
    CY size{};
    font->get_Size(&size);
    return size.int64;
}

[[maybe_unused]] std::wstring NameOf(IFontDisp* disp)
{
    fw::ComPtr<IFont> font;
    disp->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.put()));
    BSTR name = nullptr;
    font->get_Name(&name);
    std::wstring s(name ? name : L"");
    ::SysFreeString(name);
    return s;
}

void StoreFont(const LOGFONTA& lf)
{
    SettingsStore::WriteBinary(kLogFont.section, kLogFont.name, &lf, sizeof lf);
}

int ScreenDpi()
{
    fw::WindowDC dc(nullptr);
    return ::GetDeviceCaps(dc.get(), LOGPIXELSY);
}

} // namespace

LOGFONTA Font(LONG height, const char* face = "Arial")
{
    LOGFONTA lf{};
    lf.lfHeight = height;
    // Up to all 32 bytes, without a terminator when the face fills them.
    std::memcpy(lf.lfFaceName, face, strnlen(face, sizeof lf.lfFaceName));
    return lf;
}

TEST_F(CalendarFont, WorkedSizes)
{
    std::wstring name;
    EXPECT_EQ(DescribeFont(Font(-16), 96, name).cySize.int64, 120000);
    EXPECT_EQ(DescribeFont(Font(-13), 96, name).cySize.int64, 97500);
    EXPECT_EQ(DescribeFont(Font(-16), 120, name).cySize.int64, 96000);
    // A cell height gives the same size as a character height.
    EXPECT_EQ(DescribeFont(Font(16), 96, name).cySize.int64, 120000);
}

TEST_F(CalendarFont, HeightsBeyondThirtyTwoBitsStayExact)
{
    std::wstring name;
    EXPECT_EQ(DescribeFont(Font(0), 96, name).cySize.int64, 0);
    EXPECT_EQ(DescribeFont(Font(2983), 96, name).cySize.int64, 22372500);
    EXPECT_EQ(DescribeFont(Font(-100000), 96, name).cySize.int64, 750000000);
    EXPECT_EQ(DescribeFont(Font(INT_MIN), 96, name).cySize.int64, 16106127360000LL);
}

TEST_F(CalendarFont, DescriptionCarriesWeightCharsetAndEffects)
{
    LOGFONTA lf = Font(-12, "Courier New");
    lf.lfWeight = 700;
    lf.lfCharSet = 238;
    lf.lfItalic = 1;
    lf.lfUnderline = 0;
    lf.lfStrikeOut = 5;
    std::wstring name;
    const FONTDESC d = DescribeFont(lf, 96, name);
    EXPECT_EQ(d.cbSizeofstruct, sizeof(FONTDESC));
    EXPECT_STREQ(d.lpstrName, L"Courier New");
    EXPECT_EQ(d.sWeight, 700);
    EXPECT_EQ(d.sCharset, 238);
    EXPECT_TRUE(d.fItalic);
    EXPECT_FALSE(d.fUnderline);
    EXPECT_TRUE(d.fStrikethrough);
}

TEST_F(CalendarFont, FaceNamesAreConvertedFromTheAnsiCodePageWithinTheirField)
{
    std::wstring name;
    // "Schriftäöüß" in the ANSI code page.
    DescribeFont(Font(-13, "Schrift\xE4\xF6\xFC\xDF"), 96, name);
    wchar_t expected[32] = {};
    ::MultiByteToWideChar(CP_ACP, 0, "Schrift\xE4\xF6\xFC\xDF", -1, expected, 32);
    EXPECT_EQ(name, expected);
    EXPECT_EQ(name.size(), 11u);

    LOGFONTA unterminated = Font(-13);
    std::memset(unterminated.lfFaceName, 'Q', sizeof unterminated.lfFaceName);
    DescribeFont(unterminated, 96, name);
    EXPECT_EQ(name, std::wstring(32, L'Q'));
}

TEST_F(CalendarFont, NoFontMeansTheDefaultGuiFont)
{
    IFontDisp* disp = CreateOleFont(nullptr);
    ASSERT_NE(disp, nullptr);
    LOGFONTA gui{};
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    // The object reports the size of the font it realised: within a pixel.
    EXPECT_NEAR(static_cast<double>(SizeOf(disp)),
                static_cast<double>(core::PointSizeCy(gui.lfHeight, ScreenDpi())), 720000.0 / ScreenDpi());
    disp->Release();
}

TEST_F(CalendarFont, ApplyingTwiceLeavesOneLiveReference)
{
    LOGFONTA lf{};
    lf.lfHeight = -20;
    std::strcpy(lf.lfFaceName, "Arial");
    StoreFont(lf);
    RunCalendar([](CCalendarDlg& dlg) {
        IDispatch* first = dlg.CurrentFont();
        ASSERT_NE(first, nullptr);
        first->AddRef(); // ours, to watch it
        dlg.ApplyCalendarFont();
        IDispatch* second = dlg.CurrentFont();
        ASSERT_NE(second, nullptr);
        EXPECT_NE(first, second);
        EXPECT_EQ(first->Release(), 0u) << "the window still holds the old font";
        EXPECT_EQ(second->AddRef(), 2u);
        EXPECT_EQ(second->Release(), 1u);
        // The month view was given the new object.
        const auto& calls = fake::Current().calls;
        auto it = std::find_if(calls.rbegin(), calls.rend(), [](const fake::Call& c) {
            return c.dispid == monthgrid::members::kFont.dispid;
        });
        ASSERT_NE(it, calls.rend());
        EXPECT_EQ(it->object, second);
        EXPECT_EQ(it->type, VT_DISPATCH);
    });
}

TEST_F(CalendarFont, RecordsOfTheWrongSizeGiveTheGuiFont)
{
    std::vector<std::uint8_t> junk(61, 0x41);
    SettingsStore::WriteBinary(kLogFont.section, kLogFont.name, junk.data(), junk.size());
    LOGFONTA gui{};
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    RunCalendar([&](CCalendarDlg& dlg) {
        auto* font = static_cast<IFontDisp*>(dlg.CurrentFont());
        ASSERT_NE(font, nullptr);
        EXPECT_NEAR(static_cast<double>(SizeOf(font)),
                    static_cast<double>(core::PointSizeCy(gui.lfHeight, ScreenDpi())),
                    720000.0 / ScreenDpi());
    });
}

TEST_F(CalendarFont, StoredRecordsWithoutNulOrWithAbsurdHeightsStillGiveAFont)
{
    LOGFONTA lf = Font(-15);
    std::memset(lf.lfFaceName, 'Q', sizeof lf.lfFaceName); // no terminating NUL
    for (LONG height : {LONG{-15}, LONG{0}, LONG{INT_MIN}, LONG{INT_MAX}}) {
        lf.lfHeight = height;
        StoreFont(lf);
        RunCalendar([height](CCalendarDlg& dlg) { EXPECT_NE(dlg.CurrentFont(), nullptr) << height; });
    }
}

TEST_F(CalendarFont, ARefusedFontStopsTheOperationButFreesTheGdiFont)
{
    RunCalendar([](CCalendarDlg& dlg) {
        fake::Current().failFont = DISP_E_TYPEMISMATCH;
        const long gdiBefore = fw::LiveGdiObjects();
        const int refreshesBefore = fake::Current().refreshes;
        EXPECT_THROW(dlg.ApplyCalendarFont(), fw::COleDispatchException);
        EXPECT_EQ(fw::LiveGdiObjects(), gdiBefore);
        // The holder keeps the new object; the pass stopped before Refresh.
        EXPECT_NE(dlg.CurrentFont(), nullptr);
        EXPECT_EQ(fake::Current().refreshes, refreshesBefore);
        fake::Current().failFont = S_OK;
    });
}

TEST_F(CalendarFont, FontChangedReloadsAndRefits)
{
    RunCalendar([](CCalendarDlg& dlg) {
        LOGFONTA lf{};
        lf.lfHeight = -30;
        std::strcpy(lf.lfFaceName, "Arial");
        StoreFont(lf);
        IDispatch* before = dlg.CurrentFont();
        EXPECT_EQ(dlg.SendMessage(WM_FONT_CHANGED), 0);
        EXPECT_NE(dlg.CurrentFont(), before);
        EXPECT_NEAR(static_cast<double>(SizeOf(static_cast<IFontDisp*>(dlg.CurrentFont()))),
                    static_cast<double>(core::PointSizeCy(-30, ScreenDpi())), 720000.0 / ScreenDpi());
    });
}

TEST_F(CalendarFont, ObjectCountsStayFlatOverManyChangesAndPasses)
{
    RunCalendar([](CCalendarDlg& dlg) {
        const long gdi = fw::LiveGdiObjects(), user = fw::LiveUserObjects();
        const DWORD guiGdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
        for (int i = 0; i < 10000; ++i)
            dlg.ApplyCalendarSettings();
        for (int i = 0; i < 1000; ++i)
            dlg.SendMessage(WM_FONT_CHANGED);
        EXPECT_EQ(fw::LiveGdiObjects(), gdi);
        EXPECT_EQ(fw::LiveUserObjects(), user);
        EXPECT_LE(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS), guiGdi);
    });
}
