// The caption clock at fixed instants.
#include "calendar_fixture.h"
#include "fake_month_view.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

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
