// The calendar window around a recording stand-in for the month grid.
#include "app/private_messages.h"
#include "app/settings_store.h"
#include "calendar_fixture.h"
#include "fake_month_view.h"
#include "monthgrid/monthgrid.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <olectl.h>

#include <cstdio>

using namespace core::keys;
namespace members = monthgrid::members;
using testsupport::RunCalendar;

namespace {

struct CalendarWindow : ::testing::Test {
    void SetUp() override
    {
        testsupport::ResetProfile();
        fake::Register();
        fake::Reset();
    }
};

std::vector<fake::Call> CallsSince(std::size_t from)
{
    const auto& all = fake::Current().calls;
    return std::vector<fake::Call>(all.begin() + static_cast<std::ptrdiff_t>(from), all.end());
}

int LayoutPasses()
{
    // Each pass puts the columns twice (1, then the stored value).
    int puts = 0;
    for (const auto& c : fake::Current().calls)
        puts += c.dispid == members::kMonthColumns.dispid;
    return puts / 2;
}

void ExpectCentred(HWND hwnd)
{
    const RECT work = testsupport::WorkAreaOf(hwnd);
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    EXPECT_NEAR((r.left + r.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, (work.top + work.bottom) / 2, 1);
}

} // namespace

TEST_F(CalendarWindow, StartUpFitsTheClientAreaToTheGridAndCentres)
{
    RunCalendar([](CCalendarDlg& dlg) {
        const SIZE client = testsupport::ClientSize(dlg.m_hWnd);
        // Default 4 x 3 with week numbers.
        EXPECT_EQ(client.cx, 4 * fake::kMonthWidth + fake::kWeekColumn);
        EXPECT_EQ(client.cy, 3 * fake::kMonthHeight);
        RECT view{};
        ::GetWindowRect(dlg.MonthView().m_hWnd, &view);
        POINT origin{0, 0};
        ::ClientToScreen(dlg.m_hWnd, &origin);
        EXPECT_EQ(view.left, origin.x);
        EXPECT_EQ(view.top, origin.y);
        ExpectCentred(dlg.m_hWnd);
        EXPECT_TRUE(dlg.IsWindowVisible());
        // Once in the initialisation, once for the posted F5, at least once
        // by the worker.
        EXPECT_GE(LayoutPasses(), 3);
    });
}

TEST_F(CalendarWindow, EveryPassPushesEverySettingInOrder)
{
    SettingsStore::WriteInt(kWeekNumbers, 2);
    SettingsStore::WriteInt(kMonthBackColor, 0x00112233);
    SettingsStore::WriteInt(kForeColor, 0x00010203);
    SettingsStore::WriteInt(kTitleBackColor, 0x00040506);
    SettingsStore::WriteInt(kTitleForeColor, 0x00070809);
    SettingsStore::WriteInt(kTrailingForeColor, 0x000A0B0C);
    SettingsStore::WriteInt(kColumns, 2);
    SettingsStore::WriteInt(kRows, 5);
    SettingsStore::WriteInt(kHolidayForeColor, 0x000D0E0F);
    SettingsStore::WriteInt(kHolidays, 0);
    SettingsStore::WriteString(kHolidayRegion, L"by");
    RunCalendar([](CCalendarDlg& dlg) {
        const std::size_t from = fake::Current().calls.size();
        dlg.ApplyCalendarSettings();
        const auto calls = CallsSince(from);
        struct Expect {
            DISPID id;
            VARTYPE type;
            LONGLONG value;
            const wchar_t* text = L"";
        };
        const Expect expected[] = {{members::kForeColor.dispid, VT_I4, 0x00010203},
                                   {members::kMonthBackColor.dispid, VT_I4, 0x00112233},
                                   {members::kBackColor.dispid, VT_I4, 0x00112233},
                                   {members::kTitleBackColor.dispid, VT_I4, 0x00040506},
                                   {members::kTitleForeColor.dispid, VT_I4, 0x00070809},
                                   {members::kTrailingForeColor.dispid, VT_I4, 0x000A0B0C},
                                   {members::kShowWeekNumbers.dispid, VT_BOOL, VARIANT_TRUE},
                                   {members::kMonthColumns.dispid, VT_I2, 1},
                                   {members::kMonthRows.dispid, VT_I2, 5},
                                   {members::kMonthColumns.dispid, VT_I2, 2},
                                   {members::kHolidayForeColor.dispid, VT_I4, 0x000D0E0F},
                                   {members::kShowHolidays.dispid, VT_BOOL, VARIANT_FALSE},
                                   {members::kHolidayRegion.dispid, VT_BSTR, 0, L"BY"},
                                   {members::kRefresh.dispid, VT_EMPTY, 0}};
        ASSERT_EQ(calls.size(), std::size(expected));
        for (std::size_t i = 0; i < calls.size(); ++i) {
            EXPECT_EQ(calls[i].dispid, expected[i].id) << i;
            EXPECT_EQ(calls[i].type, expected[i].type) << i;
            EXPECT_EQ(calls[i].value, expected[i].value) << i;
            EXPECT_EQ(calls[i].text, expected[i].text) << i;
            EXPECT_EQ(calls[i].flags,
                      expected[i].id == members::kRefresh.dispid ? DISPATCH_METHOD : DISPATCH_PROPERTYPUT)
                << i;
        }
    });
}

TEST_F(CalendarWindow, FromOneByTwelveToTwelveByOneNeverAsksForMoreThanTwelve)
{
    SettingsStore::WriteInt(kColumns, 1);
    SettingsStore::WriteInt(kRows, 12);
    RunCalendar([](CCalendarDlg& dlg) {
        SettingsStore::WriteInt(kColumns, 12);
        SettingsStore::WriteInt(kRows, 1);
        const std::size_t from = fake::Current().calls.size();
        dlg.SendMessage(WM_SETTINGS_CHANGED);
        std::vector<std::pair<DISPID, LONGLONG>> counts;
        for (const auto& c : CallsSince(from))
            if (c.dispid == members::kMonthColumns.dispid || c.dispid == members::kMonthRows.dispid)
                counts.emplace_back(c.dispid, c.value);
        EXPECT_EQ(counts, (std::vector<std::pair<DISPID, LONGLONG>>{{members::kMonthColumns.dispid, 1},
                                                                    {members::kMonthRows.dispid, 1},
                                                                    {members::kMonthColumns.dispid, 12}}));
        EXPECT_LE(fake::Current().maxMonths, 12);
        EXPECT_EQ(testsupport::ClientSize(dlg.m_hWnd).cx, 12 * fake::kMonthWidth + fake::kWeekColumn);
    });
}

TEST_F(CalendarWindow, CountsGoOutAsTheirLowSixteenBits)
{
    SettingsStore::WriteInt(kColumns, 65536 + 3);
    SettingsStore::WriteInt(kRows, -1);
    RunCalendar([](CCalendarDlg& dlg) {
        const std::size_t from = fake::Current().calls.size();
        dlg.ApplyCalendarSettings();
        std::vector<LONGLONG> counts;
        for (const auto& c : CallsSince(from))
            if (c.dispid == members::kMonthColumns.dispid || c.dispid == members::kMonthRows.dispid)
                counts.push_back(c.value);
        EXPECT_EQ(counts, (std::vector<LONGLONG>{1, -1, 3}));
    });
}

// What the three holiday keys push, as a hand-edited profile holds them:
// anything unreadable is the key's default, and the profile stays as it was.
TEST_F(CalendarWindow, HolidayKeysReachTheGridWithTheirDefaultsForWhatDoesNotRead)
{
    struct Case {
        const char* profile;
        LONGLONG shown;
        const wchar_t* region;
        LONGLONG colour;
    };
    const Case cases[] = {
        {"", VARIANT_TRUE, L"", 192},
        {"[Allgemein]\r\nFeiertage=ja\r\nBundesland=Bayern\r\n[Color]\r\nHolidayForeColor=rot\r\n",
         VARIANT_TRUE, L"", 192},
        {"[Allgemein]\r\nFeiertage=\r\nBundesland=\r\n[Color]\r\nHolidayForeColor=0x10\r\n", VARIANT_TRUE,
         L"", 192},
        {"[Allgemein]\r\nFeiertage=0\r\nBundesland= \"sn\" \r\n[Color]\r\nHolidayForeColor=255\r\n",
         VARIANT_FALSE, L"SN", 255},
        {"[Allgemein]\r\nFeiertage=2\r\nBundesland=B Y\r\n[Color]\r\nHolidayForeColor=99999999999\r\n",
         VARIANT_TRUE, L"", 192},
        {"[Allgemein]\r\nFeiertage=-1\r\nBundesland=th\r\n[Color]\r\nHolidayForeColor=-1\r\n", VARIANT_TRUE,
         L"TH", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.profile);
        testsupport::ResetProfile();
        if (*c.profile) {
            FILE* f = _wfopen(testsupport::ProfilePath().c_str(), L"wb");
            ASSERT_NE(f, nullptr);
            std::fputs(c.profile, f);
            std::fclose(f);
        }
        fake::Reset();
        RunCalendar([&](CCalendarDlg& dlg) {
            const std::size_t from = fake::Current().calls.size();
            dlg.ApplyCalendarSettings();
            int seen = 0;
            for (const auto& call : CallsSince(from)) {
                if (call.dispid == members::kShowHolidays.dispid) {
                    EXPECT_EQ(call.value, c.shown);
                    ++seen;
                } else if (call.dispid == members::kHolidayRegion.dispid) {
                    EXPECT_EQ(call.text, c.region);
                    ++seen;
                } else if (call.dispid == members::kHolidayForeColor.dispid) {
                    EXPECT_EQ(call.value, c.colour);
                    ++seen;
                }
            }
            EXPECT_EQ(seen, 3);
            EXPECT_TRUE(dlg.IsWindowVisible());
        });
        EXPECT_EQ(testsupport::ProfileText(), c.profile);
    }
}

TEST_F(CalendarWindow, RefreshRequestsAllCentreAgainAfterAMove)
{
    RunCalendar([](CCalendarDlg& dlg) {
        auto moveAway = [&] { ::SetWindowPos(dlg.m_hWnd, nullptr, 5, 7, 0, 0, SWP_NOSIZE | SWP_NOZORDER); };
        moveAway();
        dlg.PostMessage(WM_KEYDOWN, VK_F5, 0); // through the modal loop's pre-filter
        testsupport::PumpFor(100);
        ExpectCentred(dlg.m_hWnd);

        moveAway();
        dlg.SendMessage(WM_SYSCOMMAND, IDM_REFRESH | 0x000F, 0); // low bits are masked
        ExpectCentred(dlg.m_hWnd);

        moveAway();
        dlg.SendMessage(WM_COMMAND, IDM_REFRESH, 0);
        ExpectCentred(dlg.m_hWnd);

        moveAway();
        dlg.SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
        ExpectCentred(dlg.m_hWnd);
        EXPECT_FALSE(::IsZoomed(dlg.m_hWnd));
    });
}

// The user sees one change of place and size, never the new size at the
// old place first: every placement of the window during a pass is recorded.
std::vector<RECT> g_placements;
HWND g_watched = nullptr;

LRESULT CALLBACK RecordPlacement(int code, WPARAM w, LPARAM l)
{
    const auto* msg = reinterpret_cast<const CWPRETSTRUCT*>(l);
    if (code == HC_ACTION && msg->hwnd == g_watched && msg->message == WM_WINDOWPOSCHANGED) {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(msg->lParam);
        if (!(pos->flags & SWP_NOSIZE) || !(pos->flags & SWP_NOMOVE)) {
            RECT r{};
            ::GetWindowRect(msg->hwnd, &r);
            g_placements.push_back(r);
        }
    }
    return ::CallNextHookEx(nullptr, code, w, l);
}

TEST_F(CalendarWindow, ANewShapeIsTakenFittedAndCentredInOneMove)
{
    RunCalendar([](CCalendarDlg& dlg) {
        SettingsStore::WriteInt(kColumns, 2);
        SettingsStore::WriteInt(kRows, 5);
        g_placements.clear();
        g_watched = dlg.m_hWnd;
        HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, &RecordPlacement, nullptr, ::GetCurrentThreadId());
        ASSERT_NE(hook, nullptr);
        dlg.SendMessage(WM_SETTINGS_CHANGED);
        ::UnhookWindowsHookEx(hook);
        g_watched = nullptr;
        const SIZE client = testsupport::ClientSize(dlg.m_hWnd);
        EXPECT_EQ(client.cx, 2 * fake::kMonthWidth + fake::kWeekColumn);
        EXPECT_EQ(client.cy, 5 * fake::kMonthHeight);
        ExpectCentred(dlg.m_hWnd);
        ASSERT_EQ(g_placements.size(), 1u);
        const RECT now = dlg.GetWindowRect();
        EXPECT_TRUE(::EqualRect(&g_placements.front(), &now));
    });
}

TEST_F(CalendarWindow, RepeatedRefreshesLeaveACentredWindowWhereItIs)
{
    RunCalendar([](CCalendarDlg& dlg) {
        const RECT first = dlg.GetWindowRect();
        for (int i = 0; i < 5; ++i)
            dlg.ApplyCalendarSettings();
        const RECT after = dlg.GetWindowRect();
        EXPECT_TRUE(::EqualRect(&first, &after));
    });
}

TEST_F(CalendarWindow, OtherNonClientDoubleClicksDoNothing)
{
    RunCalendar([](CCalendarDlg& dlg) {
        const int before = LayoutPasses();
        // The system-menu icon would close the window by default.
        dlg.SendMessage(WM_NCLBUTTONDBLCLK, HTSYSMENU, 0);
        dlg.SendMessage(WM_NCLBUTTONDBLCLK, HTBORDER, 0);
        EXPECT_EQ(LayoutPasses(), before);
        EXPECT_TRUE(::IsWindow(dlg.m_hWnd));
        EXPECT_TRUE(dlg.IsWindowVisible());
    });
}

TEST_F(CalendarWindow, AFittedWindowSettlesInOneWorkerRound)
{
    RunCalendar([](CCalendarDlg& dlg) {
        const int before = LayoutPasses();
        HANDLE worker = ::CreateThread(nullptr, 0, &CCalendarDlg::SettleWorker, dlg.m_hWnd, 0, nullptr);
        ASSERT_NE(worker, nullptr);
        // The worker sends to this thread: keep answering until it ends.
        while (::MsgWaitForMultipleObjects(1, &worker, FALSE, 5000, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
            MSG msg;
            ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        ::CloseHandle(worker);
        EXPECT_EQ(LayoutPasses() - before, 1);
    });
}

TEST_F(CalendarWindow, WorkerEndsByItselfWhenTheWindowIsGone)
{
    HWND gone = nullptr;
    RunCalendar([&](CCalendarDlg& dlg) { gone = dlg.m_hWnd; });
    ASSERT_FALSE(::IsWindow(gone));
    HANDLE worker = ::CreateThread(nullptr, 0, &CCalendarDlg::SettleWorker, gone, 0, nullptr);
    EXPECT_EQ(::WaitForSingleObject(worker, 2000), WAIT_OBJECT_0);
    ::CloseHandle(worker);
}

TEST_F(CalendarWindow, SystemMenuHasTheThreeEntriesEachAfterItsSeparator)
{
    RunCalendar([](CCalendarDlg& dlg) {
        HMENU sys = ::GetSystemMenu(dlg.m_hWnd, FALSE);
        const int n = ::GetMenuItemCount(sys);
        ASSERT_GE(n, 6);
        const UINT ids[] = {0, IDM_ABOUTBOX, 0, IDM_PARAMETER, 0, IDM_REFRESH};
        const wchar_t* texts[] = {L"", L"Inf&o \u00FCber Morvelin...",
                                  L"", L"Parameter ...",
                                  L"", L"Aktualisieren\tF5 oder Doppelklick auf Titelzeile"};
        for (int i = 0; i < 6; ++i) {
            const int pos = n - 6 + i;
            MENUITEMINFOW mii{};
            mii.cbSize = sizeof mii;
            wchar_t text[128] = {};
            mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
            mii.dwTypeData = text;
            mii.cch = 128;
            ASSERT_TRUE(::GetMenuItemInfoW(sys, pos, TRUE, &mii));
            if (ids[i] == 0) {
                EXPECT_TRUE(mii.fType & MFT_SEPARATOR) << i;
            } else {
                EXPECT_EQ(mii.wID, ids[i]) << i;
                EXPECT_STREQ(text, texts[i]) << i;
            }
        }
    });
}

TEST_F(CalendarWindow, IconsAndDragIconAreTheProgramIcon)
{
    RunCalendar([](CCalendarDlg& dlg) {
        const auto big = dlg.SendMessage(WM_GETICON, ICON_BIG, 0);
        const auto small = dlg.SendMessage(WM_GETICON, ICON_SMALL, 0);
        EXPECT_NE(big, 0);
        EXPECT_EQ(big, small);
        EXPECT_EQ(dlg.SendMessage(WM_QUERYDRAGICON), big);
    });
}

TEST_F(CalendarWindow, MinimiseCommandAndCaptionSwitch)
{
    RunCalendar([](CCalendarDlg& dlg) {
        dlg.SendMessage(WM_COMMAND, ID_MINIMIZE, 0);
        EXPECT_TRUE(dlg.IsIconic());
        SYSTEMTIME t{2026, 12, 0, 6, 3, 47, 5, 0};
        dlg.UpdateTitleClockAt(t);
        EXPECT_EQ(dlg.GetWindowText(), L"06.12.26 03:47:05");
        dlg.ShowWindow(SW_RESTORE);
        dlg.UpdateTitleClockAt(t);
        EXPECT_EQ(dlg.GetWindowText(), L"Morvelin - Sonntag, 06. Dezember 2026  03:47:05");
    });
}

TEST_F(CalendarWindow, ALayoutPassWhileMinimisedFitsOnRestore)
{
    RunCalendar([](CCalendarDlg& dlg) {
        dlg.ShowWindow(SW_MINIMIZE);
        SettingsStore::WriteInt(kColumns, 2);
        SettingsStore::WriteInt(kRows, 2);
        dlg.SendMessage(WM_SETTINGS_CHANGED);
        EXPECT_TRUE(dlg.IsIconic());
        dlg.ShowWindow(SW_RESTORE);
        testsupport::PumpFor(50);
        const SIZE client = testsupport::ClientSize(dlg.m_hWnd);
        EXPECT_EQ(client.cx, 2 * fake::kMonthWidth + fake::kWeekColumn);
        EXPECT_EQ(client.cy, 2 * fake::kMonthHeight);
        ExpectCentred(dlg.m_hWnd);
    });
}

TEST_F(CalendarWindow, ProgramEndClosesWithResultOne)
{
    CCalendarDlg dlg;
    fw::AfxGetApp()->m_pMainWnd = &dlg;
    testsupport::ModalDriver driver;
    driver.Then([&](HWND) { dlg.SendMessage(WM_COMMAND, ID_PROGRAM_END, 0); });
    EXPECT_EQ(dlg.DoModal(), 1);
    fw::AfxGetApp()->m_pMainWnd = nullptr;
}

TEST_F(CalendarWindow, EnterClosesWithResultOneAndEscapeCancels)
{
    for (auto [key, result] : {std::pair{VK_RETURN, IDOK}, std::pair{VK_ESCAPE, IDCANCEL}}) {
        CCalendarDlg dlg;
        fw::AfxGetApp()->m_pMainWnd = &dlg;
        testsupport::ModalDriver driver;
        driver.Then([&, key = key](HWND) {
            testsupport::PumpFor(100);
            ::PostMessageW(::GetFocus(), WM_KEYDOWN, key, 0);
        });
        EXPECT_EQ(dlg.DoModal(), result);
        fw::AfxGetApp()->m_pMainWnd = nullptr;
    }
}

TEST_F(CalendarWindow, ARightClickOnTheGridOpensTheContextMenuAndTheClickGoesOn)
{
    static int menusOpened = 0;
    menusOpened = 0;
    HHOOK hook = ::SetWindowsHookExW(
        WH_CBT,
        [](int code, WPARAM w, LPARAM l) -> LRESULT {
            if (code == HCBT_CREATEWND) {
                wchar_t cls[32] = {};
                ::GetClassNameW(reinterpret_cast<HWND>(w), cls, 32);
                if (std::wstring(cls) == L"#32768") {
                    ++menusOpened;
                    ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
                        ::KillTimer(nullptr, id);
                        ::EndMenu();
                    });
                }
            }
            return ::CallNextHookEx(nullptr, code, w, l);
        },
        nullptr, ::GetCurrentThreadId());
    RunCalendar([](CCalendarDlg& dlg) {
        ::PostMessageW(dlg.MonthView().m_hWnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 30));
        testsupport::PumpFor(300);
        EXPECT_TRUE(::IsWindow(dlg.m_hWnd));
    });
    ::UnhookWindowsHookEx(hook);
    EXPECT_GE(menusOpened, 1);
}

// The menu resource stays as it is; the loaded copy gets "Feiertage ..."
// directly below "Parameter ...".
TEST_F(CalendarWindow, TheContextMenuOffersTheHolidaysBelowTheParameters)
{
    static HWND menuWindow = nullptr;
    static std::vector<std::pair<UINT, std::wstring>> items;
    menuWindow = nullptr;
    items.clear();
    HHOOK hook = ::SetWindowsHookExW(
        WH_CBT,
        [](int code, WPARAM w, LPARAM l) -> LRESULT {
            if (code == HCBT_CREATEWND) {
                wchar_t cls[32] = {};
                ::GetClassNameW(reinterpret_cast<HWND>(w), cls, 32);
                if (std::wstring(cls) == L"#32768") {
                    menuWindow = reinterpret_cast<HWND>(w);
                    ::SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
                        ::KillTimer(nullptr, id);
                        HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
                        for (int i = 0; menu && i < ::GetMenuItemCount(menu); ++i) {
                            wchar_t text[64] = {};
                            ::GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
                            items.emplace_back(::GetMenuItemID(menu, i), text);
                        }
                        ::EndMenu();
                    });
                }
            }
            return ::CallNextHookEx(nullptr, code, w, l);
        },
        nullptr, ::GetCurrentThreadId());
    RunCalendar([](CCalendarDlg& dlg) {
        ::PostMessageW(dlg.MonthView().m_hWnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 30));
        testsupport::PumpFor(400);
    });
    ::UnhookWindowsHookEx(hook);
    const std::vector<std::pair<UINT, std::wstring>> expected{{IDM_PARAMETER, L"Parameter ..."},
                                                              {IDM_HOLIDAYS, L"Feiertage ..."},
                                                              {IDM_REFRESH, L"Aktualisieren"},
                                                              {ID_MINIMIZE, L"Als Symbol darstellen"},
                                                              {0, L""},
                                                              {IDM_ABOUTBOX, L"Info \u00FCber Morvelin ..."},
                                                              {0, L""},
                                                              {ID_PROGRAM_END, L"Programm beenden"}};
    EXPECT_EQ(items, expected);
}

TEST_F(CalendarWindow, MenuCommandsOpenTheAboutAndParameterDialogsOverTheCalendar)
{
    testsupport::ModalDriver driver;
    std::vector<std::wstring> titles;
    std::vector<bool> ownerDisabled;
    HWND calendar = nullptr;
    auto close = [&](HWND dialog) {
        titles.push_back(testsupport::WindowText(dialog));
        ownerDisabled.push_back(!::IsWindowEnabled(calendar));
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    };
    RunCalendar(
        [&](CCalendarDlg& dlg) {
            calendar = dlg.m_hWnd;
            for (int i = 0; i < 5; ++i)
                driver.Then(close);
            dlg.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
            dlg.SendMessage(WM_SYSCOMMAND, IDM_PARAMETER, 0);
            dlg.SendMessage(WM_COMMAND, IDM_ABOUTBOX, 0);
            dlg.SendMessage(WM_COMMAND, IDM_PARAMETER, 0);
            dlg.SendMessage(WM_COMMAND, IDM_HOLIDAYS, 0);
            EXPECT_TRUE(::IsWindowEnabled(dlg.m_hWnd));
        },
        &driver);
    EXPECT_EQ(titles, (std::vector<std::wstring>{L"Info \u00FCber Morvelin", L"Parameter",
                                                 L"Info \u00FCber Morvelin", L"Parameter", L"Feiertage"}));
    EXPECT_EQ(ownerDisabled, (std::vector<bool>{true, true, true, true, true}));
}
