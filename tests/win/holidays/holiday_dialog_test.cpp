// The holiday dialog from its real template, in front of a stand-in
// calendar window (what reached the profile when the calendar was told),
// and once in front of the real calendar (what the grid shows then).
#include "app/settings_store.h"
#include "calendar/calendar_fixture.h"
#include "calendar/calendar_window.h"
#include "core/calendar_text.h"
#include "core/holidays.h"
#include "holidays/holiday_dialog.h"
#include "monthgrid/month_grid_control.h"
#include "parameters/parameters_helpers.h"
#include "resource.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

using namespace paramtest;
using testsupport::Click;
using testsupport::WindowText;

namespace {

constexpr int kYear = 2027;

class HolidayDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::ResetProfile();
        fw::AfxGetApp()->m_pMainWnd = &calendar;
    }
    void TearDown() override { fw::AfxGetApp()->m_pMainWnd = nullptr; }

    INT_PTR Run(std::function<void(HWND)> body, std::vector<ModalDriver::Step> nested = {})
    {
        return RunModal(dlg, std::move(body), std::move(nested));
    }

    // A key on the drop-down list as the user presses it: each one that
    // changes the choice is a choice of its own.
    static void Key(HWND dialog, UINT vk)
    {
        HWND choices = ::GetDlgItem(dialog, IDC_HOLIDAY_REGION);
        ::SetFocus(choices);
        ::SendMessageW(choices, WM_KEYDOWN, vk, 1);
        ::SendMessageW(choices, WM_KEYUP, vk, 0xC0000001);
    }
    static std::wstring Choice(HWND dialog) { return WindowText(::GetDlgItem(dialog, IDC_HOLIDAY_REGION)); }
    static std::vector<std::wstring> Lines(HWND dialog)
    {
        HWND list = ::GetDlgItem(dialog, IDC_HOLIDAY_LIST);
        std::vector<std::wstring> lines;
        const LRESULT n = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < n; ++i) {
            std::wstring line(static_cast<std::size_t>(::SendMessageW(list, LB_GETTEXTLEN, i, 0)), L'\0');
            ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
            lines.push_back(line);
        }
        return lines;
    }
    static std::vector<std::wstring> ListOf(int y, core::Region region)
    {
        std::vector<std::wstring> lines;
        for (const core::Holiday& h : core::HolidaysOf(y, region))
            lines.push_back(core::HolidayListLine(h));
        return lines;
    }

    CalendarStandIn calendar;
    CHolidayDlg dlg{kYear};
};

} // namespace

TEST_F(HolidayDialogTest, AFreshProfileOpensOnTheNationwideHolidaysAndWritesNothing)
{
    std::wstring choice, heading, caption;
    std::vector<std::wstring> entries, lines;
    COLORREF swatch = 0;
    HWND focus = nullptr, choices = nullptr;
    const INT_PTR result = Run([&](HWND dialog) {
        caption = WindowText(dialog);
        choices = ::GetDlgItem(dialog, IDC_HOLIDAY_REGION);
        choice = Choice(dialog);
        for (LRESULT i = 0; i < ::SendMessageW(choices, CB_GETCOUNT, 0, 0); ++i) {
            std::wstring entry(static_cast<std::size_t>(::SendMessageW(choices, CB_GETLBTEXTLEN, i, 0)),
                               L'\0');
            ::SendMessageW(choices, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry.data()));
            entries.push_back(entry);
        }
        heading = WindowText(::GetDlgItem(dialog, IDC_HOLIDAY_YEAR));
        lines = Lines(dialog);
        focus = ::GetFocus();
        swatch = PixelOf(::GetDlgItem(dialog, IDC_HOLIDAY_COLOR), 5, 5);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(caption, L"Feiertage");
    EXPECT_EQ(choice, L"ganz Deutschland (nur bundesweite)");
    EXPECT_EQ(entries,
              (std::vector<std::wstring>{
                  L"keine", L"ganz Deutschland (nur bundesweite)", L"Baden-W\u00FCrttemberg", L"Bayern",
                  L"Berlin", L"Brandenburg", L"Bremen", L"Hamburg", L"Hessen", L"Mecklenburg-Vorpommern",
                  L"Niedersachsen", L"Nordrhein-Westfalen", L"Rheinland-Pfalz", L"Saarland", L"Sachsen",
                  L"Sachsen-Anhalt", L"Schleswig-Holstein", L"Th\u00FCringen"}));
    EXPECT_EQ(heading, L"Feiertage im &Jahr 2027:");
    EXPECT_EQ(lines, ListOf(kYear, core::Region::Nationwide));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), L"Fr 01.01.2027  Neujahr");
    EXPECT_EQ(focus, choices);
    EXPECT_EQ(swatch, RGB(192, 0, 0));
    EXPECT_EQ(testsupport::ProfileText(), "");
    EXPECT_TRUE(calendar.arrivals.empty());
}

TEST_F(HolidayDialogTest, StoredAndDamagedValuesOpenAsTheCalendarReadsThemAndStayUntouched)
{
    struct Case {
        std::string profile;
        std::wstring choice;
        COLORREF colour;
    };
    const Case cases[] = {
        {"[Allgemein]\r\nFeiertage=0\r\nBundesland=BY\r\n", L"keine", RGB(192, 0, 0)},
        {"[Allgemein]\r\nBundesland=sn\r\n[Color]\r\nHolidayForeColor=255\r\n", L"Sachsen", RGB(255, 0, 0)},
        {"[Allgemein]\r\nFeiertage=2\r\nBundesland= \"th\" \r\n", L"Th\u00FCringen", RGB(192, 0, 0)},
        {"[Allgemein]\r\nFeiertage=ja\r\nBundesland=Bayern\r\n[Color]\r\nHolidayForeColor=rot\r\n",
         L"ganz Deutschland (nur bundesweite)", RGB(192, 0, 0)},
        {"[Allgemein]\r\nFeiertage=\r\nBundesland=XX\r\n[Color]\r\nHolidayForeColor=\r\n",
         L"ganz Deutschland (nur bundesweite)", RGB(192, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.profile);
        WriteProfile(c.profile);
        CHolidayDlg fresh(kYear);
        std::wstring choice;
        std::vector<std::wstring> lines;
        ModalDriver driver;
        driver.Then([&](HWND dialog) {
            choice = Choice(dialog);
            lines = Lines(dialog);
            ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        fresh.DoModal();
        EXPECT_EQ(choice, c.choice);
        EXPECT_EQ(fresh.m_ctlHolidayColor.m_color, c.colour);
        EXPECT_EQ(lines.empty(), c.choice == L"keine");
        EXPECT_EQ(testsupport::ProfileText(), c.profile);
    }
    EXPECT_TRUE(calendar.arrivals.empty());
}

TEST_F(HolidayDialogTest, EachChoiceStoresItsKeysBeforeTheCalendarIsToldAndTheListFollows)
{
    std::vector<std::vector<std::wstring>> lines;
    std::vector<std::wstring> choices;
    Run([&](HWND dialog) {
        Key(dialog, VK_DOWN); // Baden-Württemberg
        Key(dialog, VK_DOWN); // Bayern
        choices.push_back(Choice(dialog));
        lines.push_back(Lines(dialog));
        Key(dialog, VK_HOME); // keine
        choices.push_back(Choice(dialog));
        lines.push_back(Lines(dialog));
        Key(dialog, VK_DOWN); // ganz Deutschland
        choices.push_back(Choice(dialog));
        lines.push_back(Lines(dialog));
        Key(dialog, VK_HOME); // keine again
        Key(dialog, VK_HOME); // no change: nothing stored, nobody told
    });
    EXPECT_EQ(choices,
              (std::vector<std::wstring>{L"Bayern", L"keine", L"ganz Deutschland (nur bundesweite)"}));
    EXPECT_EQ(lines[0], ListOf(kYear, core::Region::BY));
    EXPECT_NE(std::find(lines[0].begin(), lines[0].end(), L"Do 27.05.2027  Fronleichnam"), lines[0].end());
    EXPECT_TRUE(lines[1].empty());
    EXPECT_EQ(lines[2], ListOf(kYear, core::Region::Nationwide));

    ASSERT_EQ(calendar.arrivals.size(), 5u);
    for (const auto& a : calendar.arrivals)
        EXPECT_EQ(a.message, static_cast<UINT>(WM_SETTINGS_CHANGED));
    const std::pair<const char*, const char*> seen[] = {
        {"1", "BW"}, {"1", "BY"}, {"0", "BY"}, {"1", ""}, {"0", ""}};
    for (std::size_t i = 0; i < std::size(seen); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Entry(calendar.arrivals[i].profile, "Allgemein", "Feiertage"), seen[i].first);
        EXPECT_EQ(Entry(calendar.arrivals[i].profile, "Allgemein", "Bundesland"), seen[i].second);
    }
    // Nothing else was written.
    EXPECT_EQ(Entry("Color", "HolidayForeColor"), std::nullopt);
    EXPECT_EQ(Entry("Allgemein", "Spalten"), std::nullopt);
}

TEST_F(HolidayDialogTest, TheColourFieldStoresTheHolidayColourOnceAndAnUnchangedOneNotAtAll)
{
    COLORREF opened = 0, painted = 0;
    HWND owner = nullptr, dialogSeen = nullptr;
    Run(
        [&](HWND dialog) {
            dialogSeen = dialog;
            Click(dialog, IDC_HOLIDAY_COLOR); // confirmed unchanged
            Click(dialog, IDC_HOLIDAY_COLOR);
            painted = PixelOf(::GetDlgItem(dialog, IDC_HOLIDAY_COLOR), 5, 5);
        },
        {ChooseColour(RGB(192, 0, 0), IDOK, &opened, &owner), ChooseColour(RGB(0, 0, 160), IDOK)});
    EXPECT_EQ(opened, RGB(192, 0, 0));
    EXPECT_EQ(owner, dialogSeen);
    EXPECT_EQ(painted, RGB(0, 0, 160));
    ASSERT_EQ(calendar.arrivals.size(), 1u);
    EXPECT_EQ(Entry(calendar.arrivals[0].profile, "Color", "HolidayForeColor"),
              std::to_string(RGB(0, 0, 160)));
    EXPECT_EQ(Entry("Allgemein", "Feiertage"), std::nullopt);
}

TEST_F(HolidayDialogTest, TabVisitsTheChoiceTheListAndCloseMnemonicsReachTheirFields)
{
    std::vector<int> order;
    int afterAltA = 0, afterAltJ = 0;
    Run([&](HWND dialog) {
        HWND first = ::GetDlgItem(dialog, IDC_HOLIDAY_REGION);
        HWND at = first;
        do {
            order.push_back(::GetDlgCtrlID(at));
            at = ::GetNextDlgTabItem(dialog, at, FALSE);
        } while (at && at != first && order.size() < 10);
        auto mnemonic = [&](wchar_t key) {
            ::SetFocus(::GetDlgItem(dialog, IDCANCEL));
            MSG m{::GetFocus(), WM_SYSCHAR, key, 0x20000001, ::GetTickCount(), {}};
            if (!fw::CWnd::WalkPreTranslateTree(dialog, &m))
                ::DispatchMessageW(&m);
            return ::GetDlgCtrlID(::GetFocus());
        };
        afterAltJ = mnemonic(L'j');
        afterAltA = mnemonic(L'a');
    });
    // The colour field joins the tab order where the platform lets it take
    // the focus; it sits between the choice and the list.
    std::erase(order, IDC_HOLIDAY_COLOR);
    EXPECT_EQ(order, (std::vector<int>{IDC_HOLIDAY_REGION, IDC_HOLIDAY_LIST, IDCANCEL}));
    EXPECT_EQ(afterAltA, IDC_HOLIDAY_REGION);
    EXPECT_EQ(afterAltJ, IDC_HOLIDAY_LIST);
}

TEST_F(HolidayDialogTest, EnterLeavesItOpenCloseEscapeAndTheCloseBoxEndItWritingNothing)
{
    MessageSpy spy;
    HWND dialogSeen = nullptr;
    const INT_PTR result = Run([&](HWND dialog) {
        dialogSeen = dialog;
        for (int id : {IDC_HOLIDAY_REGION, IDC_HOLIDAY_LIST}) {
            HWND control = ::GetDlgItem(dialog, id);
            ::SetFocus(control);
            MSG key{control, WM_KEYDOWN, VK_RETURN, 0x001C0001, ::GetTickCount(), {}};
            if (!fw::CWnd::WalkPreTranslateTree(dialog, &key))
                ::DispatchMessageW(&key);
        }
    });
    EXPECT_EQ(result, IDCANCEL); // IDOK had it ended
    EXPECT_EQ(spy.Count(dialogSeen, WM_COMMAND, IDOK), 2);

    const std::vector<std::function<void(HWND)>> closers{
        [](HWND d) { ::PostMessageW(::GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0); },
        [](HWND d) {
            HWND list = ::GetDlgItem(d, IDC_HOLIDAY_LIST);
            ::SetFocus(list);
            ::PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 0);
        },
        [](HWND d) { ::PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (const auto& closer : closers) {
        CHolidayDlg fresh(kYear);
        ModalDriver driver(5000);
        driver.Then(closer);
        EXPECT_EQ(fresh.DoModal(), IDCANCEL);
        EXPECT_FALSE(driver.TimedOut());
    }
    EXPECT_EQ(testsupport::ProfileText(), "");
    EXPECT_TRUE(calendar.arrivals.empty());
}

TEST_F(HolidayDialogTest, YearsWithoutHolidaysShowAnEmptyList)
{
    CHolidayDlg early(1990);
    std::vector<std::wstring> lines{L"?"};
    std::wstring heading;
    ModalDriver driver;
    driver.Then([&](HWND dialog) {
        lines = Lines(dialog);
        heading = WindowText(::GetDlgItem(dialog, IDC_HOLIDAY_YEAR));
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    early.DoModal();
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(heading, L"Feiertage im &Jahr 1990:");
}

// --- a profile that cannot be written ---------------------------------------

namespace {

const std::string kReadOnlyProfile = "[Allgemein]\r\nFeiertage=1\r\nBundesland=HH\r\n";

class ReadOnlyHolidayProfileTest : public HolidayDialogTest {
protected:
    void SetUp() override
    {
        HolidayDialogTest::SetUp();
        WriteProfile(kReadOnlyProfile);
        ASSERT_TRUE(::SetFileAttributesW(testsupport::ProfilePath().c_str(), FILE_ATTRIBUTE_READONLY));
    }
    void TearDown() override
    {
        ::SetFileAttributesW(testsupport::ProfilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(testsupport::ProfileText(), kReadOnlyProfile);
        EXPECT_TRUE(calendar.arrivals.empty()) << "nothing was stored, so nothing is announced";
        HolidayDialogTest::TearDown();
    }
};

} // namespace

TEST_F(ReadOnlyHolidayProfileTest, AChoiceSaysItOnceAndTheStoredOneShowsAgain)
{
    std::vector<std::wstring> messages;
    std::wstring choice;
    std::vector<std::wstring> lines;
    Run(
        [&](HWND dialog) {
            Key(dialog, VK_HOME); // keine
            choice = Choice(dialog);
            lines = Lines(dialog);
        },
        {Acknowledge(&messages)});
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(L"nicht gespeichert"), std::wstring::npos);
    EXPECT_EQ(choice, L"Hamburg");
    EXPECT_EQ(lines, ListOf(kYear, core::Region::HH));
}

TEST_F(ReadOnlyHolidayProfileTest, APickedColourSaysItOnceAndGoesBack)
{
    std::vector<std::wstring> messages;
    Run([&](HWND dialog) { Click(dialog, IDC_HOLIDAY_COLOR); },
        {ChooseColour(RGB(1, 2, 3), IDOK), Acknowledge(&messages)});
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(dlg.m_ctlHolidayColor.m_color, RGB(192, 0, 0));
}

// --- with the real calendar -------------------------------------------------

TEST(HolidayDialogWithTheCalendar, TheCalendarFollowsEachChoiceWhileTheDialogIsOpen)
{
    testsupport::ResetProfile();
    monthgrid::RegisterMonthGridClass(::GetModuleHandleW(nullptr));
    testsupport::ModalDriver driver;
    std::wstring heading, fronleichnamBefore, fronleichnamAfter, afterNone;
    RECT calendarRect{}, dialogRect{};
    int year = 0;
    std::chrono::sys_days fronleichnam{};
    testsupport::RunCalendar(
        [&](CCalendarDlg& cal) {
            monthgrid::MonthGridControl* grid =
                monthgrid::MonthGridControl::FromHandle(cal.MonthView().m_hWnd);
            ASSERT_NE(grid, nullptr);
            year = cal.MonthView().FirstShownYear().value_or(0);
            fronleichnam =
                std::chrono::sys_days{core::EasterSunday(std::chrono::year{year})} + std::chrono::days{60};
            ::GetWindowRect(cal.m_hWnd, &calendarRect);
            driver.Then([&](HWND dialog) {
                ::GetWindowRect(dialog, &dialogRect);
                heading = WindowText(::GetDlgItem(dialog, IDC_HOLIDAY_YEAR));
                fronleichnamBefore = grid->HolidayNamesOn(fronleichnam).Joined();
                HWND choices = ::GetDlgItem(dialog, IDC_HOLIDAY_REGION);
                ::SendMessageW(choices, CB_SETCURSEL, CHolidayDlg::kFirstLand + 1, 0); // Bayern
                ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_HOLIDAY_REGION, CBN_SELCHANGE),
                               reinterpret_cast<LPARAM>(choices));
                fronleichnamAfter = grid->HolidayNamesOn(fronleichnam).Joined();
                ::SendMessageW(choices, CB_SETCURSEL, CHolidayDlg::kNone, 0);
                ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_HOLIDAY_REGION, CBN_SELCHANGE),
                               reinterpret_cast<LPARAM>(choices));
                afterNone =
                    grid->HolidayNamesOn(std::chrono::sys_days{std::chrono::year{year} / 12 / 25}).Joined();
                ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            });
            cal.SendMessage(WM_COMMAND, IDM_HOLIDAYS, 0);
        },
        &driver);
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(heading, L"Feiertage im &Jahr " + std::to_wstring(year) + L":");
    // Centred over the calendar, as the parameter dialog is.
    EXPECT_NEAR((dialogRect.left + dialogRect.right) / 2, (calendarRect.left + calendarRect.right) / 2, 1);
    EXPECT_NEAR((dialogRect.top + dialogRect.bottom) / 2, (calendarRect.top + calendarRect.bottom) / 2, 1);
    EXPECT_EQ(fronleichnamBefore, L"");
    EXPECT_EQ(fronleichnamAfter, L"Fronleichnam");
    EXPECT_EQ(afterNone, L"");
    EXPECT_EQ(Entry("Allgemein", "Bundesland"), "BY");
    EXPECT_EQ(Entry("Allgemein", "Feiertage"), "0");
}
