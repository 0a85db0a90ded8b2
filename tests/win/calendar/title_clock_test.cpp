// The caption clock at fixed instants, and across jumps of the clock.
#include "calendar_fixture.h"
#include "core/clock_waits.h"
#include "fake_month_view.h"
#include "monthgrid/monthgrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

using testsupport::RunCalendar;

namespace {

struct TitleClock : ::testing::Test {
    void SetUp() override
    {
        testsupport::ResetProfile();
        fake::Register();
        fake::Reset();
    }
};

SYSTEMTIME At(WORD y, WORD mo, WORD dow, WORD d, WORD h, WORD mi, WORD s)
{
    return SYSTEMTIME{y, mo, dow, d, h, mi, s, 0};
}

std::wstring Caption(CCalendarDlg& dlg, const SYSTEMTIME& t)
{
    dlg.UpdateTitleClockAt(t);
    return dlg.GetWindowText();
}

} // namespace

TEST_F(TitleClock, LongAndShortFormsAtOneInstant)
{
    RunCalendar([](CCalendarDlg& dlg) {
        const SYSTEMTIME t = At(2026, 12, 0, 6, 3, 47, 5);
        EXPECT_EQ(Caption(dlg, t), L"Morvelin - Sonntag, 06. Dezember 2026  03:47:05");
        dlg.ShowWindow(SW_MINIMIZE);
        EXPECT_EQ(Caption(dlg, t), L"06.12.26 03:47:05");
        dlg.ShowWindow(SW_RESTORE);
    });
}

TEST_F(TitleClock, GermanNamesArriveIntactWithUmlautsAndTwoSpacesBeforeTheTime)
{
    RunCalendar([](CCalendarDlg& dlg) {
        EXPECT_EQ(Caption(dlg, At(2026, 3, 2, 3, 14, 5, 9)),
                  L"Morvelin - Dienstag, 03. M\u00E4rz 2026  14:05:09");
        EXPECT_EQ(Caption(dlg, At(2027, 1, 5, 1, 0, 0, 0)), L"Morvelin - Freitag, 01. Januar 2027  00:00:00");
        EXPECT_EQ(Caption(dlg, At(2026, 7, 6, 25, 23, 59, 59)),
                  L"Morvelin - Samstag, 25. Juli 2026  23:59:59");
        const std::wstring c = Caption(dlg, At(2026, 12, 1, 7, 9, 8, 7));
        EXPECT_NE(c.find(L"2026  09:08:07"), std::wstring::npos);
        EXPECT_EQ(c.find(L"2026   "), std::wstring::npos);
    });
}

TEST_F(TitleClock, ShortFormPadsEveryFieldAndKeepsTwoYearDigits)
{
    RunCalendar([](CCalendarDlg& dlg) {
        dlg.ShowWindow(SW_MINIMIZE);
        for (WORD year = 2000; year <= 2009; ++year) {
            wchar_t expected[32];
            std::swprintf(expected, 32, L"01.02.%02d 03:04:05", year - 2000);
            EXPECT_EQ(Caption(dlg, At(year, 2, 0, 1, 3, 4, 5)), expected) << year;
        }
        EXPECT_EQ(Caption(dlg, At(2026, 12, 4, 31, 23, 59, 59)), L"31.12.26 23:59:59");
        EXPECT_EQ(Caption(dlg, At(2100, 1, 5, 1, 0, 0, 0)), L"01.01.00 00:00:00");
        dlg.ShowWindow(SW_RESTORE);
    });
}

TEST_F(TitleClock, TheRuntimeLocaleIsGivenBackAsItWas)
{
    RunCalendar([](CCalendarDlg& dlg) {
        std::setlocale(LC_ALL, "C");
        std::setlocale(LC_NUMERIC, "French");
        const std::string before = std::setlocale(LC_ALL, nullptr);
        dlg.UpdateTitleClockAt(At(2026, 12, 0, 6, 3, 47, 5));
        EXPECT_EQ(std::string(std::setlocale(LC_ALL, nullptr)), before);
        dlg.UpdateTitleClock();
        EXPECT_EQ(std::string(std::setlocale(LC_ALL, nullptr)), before);
        std::setlocale(LC_ALL, "C");
    });
}

TEST_F(TitleClock, TheTimerFiresJustAfterEachSecondBoundary)
{
    RunCalendar([](CCalendarDlg& dlg) {
        // Watch the caption change for a few seconds: each second shows once.
        std::vector<std::wstring> seen;
        std::vector<WORD> millis;
        const DWORD start = ::GetTickCount();
        std::wstring last = dlg.GetWindowText();
        while (::GetTickCount() - start < 3500) {
            testsupport::PumpFor(5);
            const std::wstring now = dlg.GetWindowText();
            if (now != last) {
                SYSTEMTIME t;
                ::GetLocalTime(&t);
                seen.push_back(now);
                millis.push_back(t.wMilliseconds);
                last = now;
            }
        }
        ASSERT_GE(seen.size(), 3u);
        for (std::size_t i = 1; i < seen.size(); ++i) {
            const std::wstring a = seen[i - 1].substr(seen[i - 1].size() - 2);
            const std::wstring b = seen[i].substr(seen[i].size() - 2);
            EXPECT_EQ((std::stoi(a) + 1) % 60, std::stoi(b)) << "skipped or repeated a second";
        }
        for (WORD ms : millis)
            EXPECT_LT(ms, 500) << "a tick landed far from the second boundary";
    });
}

// The caption across jumps of the clock, read through a clock of the
// test's own.
namespace {

using namespace std::chrono;

SYSTEMTIME g_clockNow{};
void WINAPI FixedClock(LPSYSTEMTIME now) { *now = g_clockNow; }

SYSTEMTIME LocalAt(year_month_day date, int h, int mi, int s, int ms)
{
    const unsigned dow = weekday{sys_days{date}}.c_encoding();
    return SYSTEMTIME{static_cast<WORD>(static_cast<int>(date.year())),
                      static_cast<WORD>(static_cast<unsigned>(date.month())),
                      static_cast<WORD>(dow),
                      static_cast<WORD>(static_cast<unsigned>(date.day())),
                      static_cast<WORD>(h),
                      static_cast<WORD>(mi),
                      static_cast<WORD>(s),
                      static_cast<WORD>(ms)};
}

struct CaptionAcrossJumps : TitleClock {
    void SetUp() override
    {
        TitleClock::SetUp();
        g_clockNow = LocalAt(2026y / December / 7, 12, 0, 0, 20);
        SetCaptionClock(&FixedClock);
    }
    void TearDown() override { SetCaptionClock(nullptr); }
};

std::wstring TickAt(CCalendarDlg& dlg, const SYSTEMTIME& t)
{
    g_clockNow = t;
    dlg.SendMessage(WM_TIMER, kClockTimerId, 0);
    return dlg.GetWindowText();
}

} // namespace

TEST_F(CaptionAcrossJumps, ADayForwardAndAnHourBackShowAtTheNextTick)
{
    RunCalendar([](CCalendarDlg& dlg) {
        EXPECT_EQ(TickAt(dlg, LocalAt(2026y / December / 7, 12, 0, 0, 20)),
                  L"Morvelin - Montag, 07. Dezember 2026  12:00:00");
        EXPECT_EQ(TickAt(dlg, LocalAt(2026y / December / 8, 12, 0, 1, 20)),
                  L"Morvelin - Dienstag, 08. Dezember 2026  12:00:01");
        // An hour back is shown as the clock reads it, not held.
        EXPECT_EQ(TickAt(dlg, LocalAt(2026y / December / 8, 11, 0, 2, 20)),
                  L"Morvelin - Dienstag, 08. Dezember 2026  11:00:02");
        // Summer time ends (an hour again) and begins (an hour skipped).
        EXPECT_EQ(TickAt(dlg, LocalAt(2026y / October / 25, 2, 59, 59, 20)),
                  L"Morvelin - Sonntag, 25. Oktober 2026  02:59:59");
        EXPECT_EQ(TickAt(dlg, LocalAt(2026y / October / 25, 2, 0, 0, 20)),
                  L"Morvelin - Sonntag, 25. Oktober 2026  02:00:00");
        EXPECT_EQ(TickAt(dlg, LocalAt(2027y / March / 28, 3, 0, 0, 20)),
                  L"Morvelin - Sonntag, 28. M\u00E4rz 2027  03:00:00");
    });
}

TEST_F(CaptionAcrossJumps, ATickInTheSecondOnShowLeavesTheCaptionAlone)
{
    RunCalendar([](CCalendarDlg& dlg) {
        TickAt(dlg, LocalAt(2026y / December / 7, 12, 0, 5, 20));
        // A mark of the test's own shows whether the caption is set again.
        dlg.SetWindowText(L"unchanged");
        // The clock set back by 0.4 s: the tick meant for 12:00:06 lands
        // in 12:00:05 again.
        EXPECT_EQ(TickAt(dlg, LocalAt(2026y / December / 7, 12, 0, 5, 620)), L"unchanged");
        g_clockNow.wMilliseconds = 700;
        dlg.SendMessage(WM_TIMECHANGE);
        EXPECT_EQ(dlg.GetWindowText(), L"unchanged");
        // A change of form is shown within the second all the same.
        dlg.ShowWindow(SW_MINIMIZE);
        EXPECT_EQ(TickAt(dlg, LocalAt(2026y / December / 7, 12, 0, 5, 800)), L"07.12.26 12:00:05");
        EXPECT_EQ(TickAt(dlg, LocalAt(2026y / December / 7, 12, 0, 6, 20)), L"07.12.26 12:00:06");
        dlg.ShowWindow(SW_RESTORE);
    });
}

TEST_F(CaptionAcrossJumps, MidnightAndTheNewYearWhileMinimised)
{
    RunCalendar([](CCalendarDlg& dlg) {
        dlg.ShowWindow(SW_MINIMIZE);
        EXPECT_EQ(TickAt(dlg, LocalAt(2026y / December / 31, 23, 59, 59, 20)), L"31.12.26 23:59:59");
        EXPECT_EQ(TickAt(dlg, LocalAt(2027y / January / 1, 0, 0, 0, 20)), L"01.01.27 00:00:00");
        dlg.ShowWindow(SW_RESTORE);
        EXPECT_EQ(TickAt(dlg, LocalAt(2027y / January / 1, 0, 0, 0, 500)),
                  L"Morvelin - Freitag, 01. Januar 2027  00:00:00");
        EXPECT_EQ(TickAt(dlg, LocalAt(2028y / February / 29, 0, 0, 0, 20)),
                  L"Morvelin - Dienstag, 29. Februar 2028  00:00:00");
    });
}

TEST_F(CaptionAcrossJumps, ALeapSecondIsASecondOfItsOwn)
{
    RunCalendar([](CCalendarDlg& dlg) {
        dlg.ShowWindow(SW_MINIMIZE);
        EXPECT_EQ(TickAt(dlg, LocalAt(2016y / December / 31, 23, 59, 59, 20)), L"31.12.16 23:59:59");
        EXPECT_EQ(TickAt(dlg, LocalAt(2016y / December / 31, 23, 59, 60, 20)), L"31.12.16 23:59:60");
        EXPECT_EQ(TickAt(dlg, LocalAt(2017y / January / 1, 0, 0, 0, 20)), L"01.01.17 00:00:00");
        dlg.ShowWindow(SW_RESTORE);
    });
}

TEST_F(CaptionAcrossJumps, NoticesOfTheClockShowAtOnceAndReachTheGrid)
{
    RunCalendar([](CCalendarDlg& dlg) {
        auto& seen = fake::Current().clockMessages;
        seen.clear();
        // Every tick asks the grid to look at the date.
        TickAt(dlg, LocalAt(2026y / December / 7, 12, 0, 1, 20));
        EXPECT_EQ(seen, (std::vector<std::pair<UINT, WPARAM>>{{monthgrid::kCheckDateMessage, 0}}));
        seen.clear();

        // The user sets the date: the caption follows without waiting for
        // the tick, and the grid hears of it.
        g_clockNow = LocalAt(2026y / December / 24, 18, 30, 0, 300);
        dlg.SendMessage(WM_TIMECHANGE);
        EXPECT_EQ(dlg.GetWindowText(), L"Morvelin - Donnerstag, 24. Dezember 2026  18:30:00");
        g_clockNow = LocalAt(2026y / December / 24, 19, 30, 0, 300);
        dlg.SendMessage(WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
        EXPECT_EQ(dlg.GetWindowText(), L"Morvelin - Donnerstag, 24. Dezember 2026  19:30:00");
        // Going to sleep is not passed on; waking up is, both ways.
        g_clockNow = LocalAt(2026y / December / 27, 8, 0, 0, 300);
        EXPECT_EQ(dlg.SendMessage(WM_POWERBROADCAST, PBT_APMSUSPEND), TRUE);
        EXPECT_EQ(dlg.GetWindowText(), L"Morvelin - Donnerstag, 24. Dezember 2026  19:30:00");
        dlg.SendMessage(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC);
        EXPECT_EQ(dlg.GetWindowText(), L"Morvelin - Sonntag, 27. Dezember 2026  08:00:00");
        dlg.SendMessage(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND);
        const std::vector<std::pair<UINT, WPARAM>> passed{{WM_TIMECHANGE, 0},
                                                          {WM_SETTINGCHANGE, 0},
                                                          {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC},
                                                          {WM_POWERBROADCAST, PBT_APMRESUMESUSPEND}};
        EXPECT_EQ(seen, passed);
    });
}

// A clock that runs with the machine's, moved by the test while the real
// timer ticks: the caption never shows a second twice in a row nor skips
// one, across a small step back, midnight and an hour back.
namespace {

ULONGLONG g_runStart = 0;
ULONGLONG g_runBase = 0;  // FILETIME units at g_runStart
LONGLONG g_runOffset = 0; // milliseconds the test moved the clock by
void WINAPI RunningClock(LPSYSTEMTIME now)
{
    const LONGLONG ms = static_cast<LONGLONG>(::GetTickCount64() - g_runStart) + g_runOffset;
    ULARGE_INTEGER t;
    t.QuadPart = g_runBase + static_cast<ULONGLONG>(ms * 10000);
    FILETIME ft{t.LowPart, t.HighPart};
    ::FileTimeToSystemTime(&ft, now);
}

std::vector<std::wstring> g_captions;
HWND g_captionOf = nullptr;
LRESULT CALLBACK RecordCaptions(int code, WPARAM w, LPARAM l)
{
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(l);
    if (code == HC_ACTION && m->hwnd == g_captionOf && m->message == WM_SETTEXT && m->lParam)
        g_captions.emplace_back(reinterpret_cast<const wchar_t*>(m->lParam));
    return ::CallNextHookEx(nullptr, code, w, l);
}

// "dd.mm.yy hh:mm:ss" as seconds on the local calendar.
long long SecondsOf(const std::wstring& text)
{
    int d, mo, y, h, mi, s;
    if (std::swscanf(text.c_str(), L"%d.%d.%d %d:%d:%d", &d, &mo, &y, &h, &mi, &s) != 6)
        return -1;
    const auto day = core::CivilDay(2000 + y, static_cast<unsigned>(mo), static_cast<unsigned>(d));
    return day ? day->time_since_epoch().count() * 86400LL + h * 3600 + mi * 60 + s : -1;
}

} // namespace

TEST_F(TitleClock, TheRunningCaptionStepsOneSecondAtATimeAcrossJumps)
{
    RunCalendar([](CCalendarDlg& dlg) {
        dlg.ShowWindow(SW_MINIMIZE);
        const SYSTEMTIME start = LocalAt(2026y / December / 7, 23, 59, 58, 600);
        FILETIME ft;
        ::SystemTimeToFileTime(&start, &ft);
        g_runBase = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
        g_runStart = ::GetTickCount64();
        g_runOffset = 0;
        SetCaptionClock(&RunningClock);
        g_captions.clear();
        g_captionOf = dlg.m_hWnd;
        HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, &RecordCaptions, nullptr, ::GetCurrentThreadId());
        dlg.SendMessage(WM_TIMECHANGE); // the test's clock takes over now

        testsupport::PumpFor(1300);
        g_runOffset -= 400; // a time sync's small step back
        testsupport::PumpFor(1500);
        g_runOffset -= 3600 * 1000; // an hour back
        testsupport::PumpFor(1500);

        ::UnhookWindowsHookEx(hook);
        SetCaptionClock(nullptr);
        dlg.ShowWindow(SW_RESTORE);

        ASSERT_GE(g_captions.size(), 4u);
        int hourBack = 0;
        for (std::size_t i = 1; i < g_captions.size(); ++i) {
            const long long step = SecondsOf(g_captions[i]) - SecondsOf(g_captions[i - 1]);
            if (step == -3599) {
                ++hourBack;
                continue;
            }
            EXPECT_EQ(step, 1) << testing::PrintToString(g_captions);
        }
        EXPECT_EQ(hourBack, 1) << testing::PrintToString(g_captions);
        // Midnight was among them.
        EXPECT_NE(std::find(g_captions.begin(), g_captions.end(), L"08.12.26 00:00:00"), g_captions.end());
    });
}
