// The caption clock.
#include "calendar/calendar_window.h"

#include "core/clock_text.h"
#include "core/clock_waits.h"
#include "framework/app.h"
#include "framework/step_trace.h"
#include "resource.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <cwchar>
#include <string>

namespace {

// The code page of a CRT locale name such as "German_Germany.1252".
UINT CodePageOf(const char* locale)
{
    const char* dot = locale ? std::strrchr(locale, '.') : nullptr;
    if (!dot)
        return CP_ACP;
    const long cp = std::strtol(dot + 1, nullptr, 10);
    return cp > 0 ? static_cast<UINT>(cp) : CP_ACP;
}

std::wstring Widen(const char* text, std::size_t length, UINT codePage)
{
    if (length == 0)
        return {};
    const int n = ::MultiByteToWideChar(codePage, 0, text, static_cast<int>(length), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        ::MultiByteToWideChar(codePage, 0, text, static_cast<int>(length), wide.data(), n);
    return wide;
}

// The long date by the C runtime under its current time locale.
std::wstring CrtLongDate(const SYSTEMTIME& t, UINT codePage)
{
    std::tm tm{};
    tm.tm_year = t.wYear - 1900;
    tm.tm_mon = t.wMonth - 1;
    tm.tm_mday = t.wDay;
    tm.tm_wday = t.wDayOfWeek;
    tm.tm_hour = t.wHour;
    tm.tm_min = t.wMinute;
    tm.tm_sec = t.wSecond;
    tm.tm_isdst = -1;
    char buf[128];
    const std::size_t n = std::strftime(buf, sizeof buf, "%A, %d. %B %Y  %H:%M:%S", &tm);
    return Widen(buf, n, codePage);
}

// The time locale "German" under its full name first: the runtime finds it
// directly (0.26 ms the first time, measured under Wine), where for the bare
// language name it searches every locale it knows for the best match (1 ms).
// Both name the same locale, German_Germany.1252.
const char* SetGermanTimeLocale()
{
    if (const char* german = std::setlocale(LC_TIME, "German_Germany.1252"))
        return german;
    return std::setlocale(LC_TIME, "German");
}

// The years a SYSTEMTIME can hold.
constexpr WORD kFirstSystemYear = 1601;
constexpr WORD kLastSystemYear = 30827;

bool Plausible(const SYSTEMTIME& t)
{
    return t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 && t.wDay <= 31 && t.wDayOfWeek <= 6 &&
           t.wHour <= 23 && t.wMinute <= 59 && t.wSecond <= 60 && t.wYear >= kFirstSystemYear &&
           t.wYear <= kLastSystemYear;
}

// Field by field, so that a leap second (:60) is a second of its own.
bool SameSecond(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute && a.wSecond == b.wSecond;
}

LocalClock g_clock = nullptr;

} // namespace

void SetCaptionClock(LocalClock clock) { g_clock = clock; }

void ReadCaptionClock(SYSTEMTIME& now)
{
    now = {};
    (g_clock ? g_clock : &::GetLocalTime)(&now);
}

void CCalendarDlg::UpdateTitleClock()
{
    SYSTEMTIME now;
    ReadCaptionClock(now);
    UpdateTitleClockAt(now);
}

void CCalendarDlg::UpdateTitleClockAt(const SYSTEMTIME& t)
{
    if (!Plausible(t))
        return; // the C runtime's formatter must never see a broken date

    fw::StepScope step("clock");
    // Every field comes from this one instant; the C runtime's locale is
    // borrowed for the call and given back as it was.
    std::optional<fw::StepScope> locale(std::in_place, "clock.locale");
    const char* current = std::setlocale(LC_ALL, nullptr);
    const std::string saved = current ? current : "C";
    const char* german = SetGermanTimeLocale();
    locale.reset();

    wchar_t shortText[64] = {};
    const std::wstring pattern = fw::AfxLoadString(IDS_SHORT_CLOCK);
    if (!pattern.empty()) {
        std::swprintf(shortText, std::size(shortText), pattern.c_str(), static_cast<int>(t.wDay),
                      static_cast<int>(t.wMonth), static_cast<int>(t.wYear % 100), static_cast<int>(t.wHour),
                      static_cast<int>(t.wMinute), static_cast<int>(t.wSecond));
    }

    m_shownShort = IsIconic() != FALSE;
    m_shown = t;
    if (m_shownShort) {
        SetWindowText(shortText);
    } else {
        // strftime answers in the locale's code page ("März" is 0xE4 in
        // 1252); without a German locale our own names stand in.
        const std::wstring date = german ? CrtLongDate(t, CodePageOf(german))
                                         : core::GermanLongDate({t.wYear, t.wMonth, t.wDay, t.wDayOfWeek,
                                                                 t.wHour, t.wMinute, t.wSecond});
        SetWindowText(fw::AfxLoadString(IDS_CAPTION) + L" - " + date);
    }

    fw::StepScope back("clock.locale_back");
    std::setlocale(LC_ALL, saved.c_str());
}

// The caption is a wall clock, and the clock may jump: set forward or back
// by the user, by a time sync, by the change to or from summer time, or
// found a day later after a sleep. Each tick shows the second the clock
// reads at that moment, and the next tick is set from that same reading
// for just past the next second boundary. So a jump either way shows at
// the next tick, within a second, and no jump can put the next tick more
// than a second away: the caption never stalls.
//
// "Never a second twice" is about ticks that follow each other: a tick
// that finds the clock still in the second on show (the clock set back by
// less than a second, or a tick that came a little early) leaves the
// caption alone and waits for the next boundary, so the second is not
// shown again and the one after it is not late. A clock set back further is shown as
// it reads: after an hour back the caption goes back that hour with it and
// counts the hour again, each second once, as every clock in the house
// does. Holding the caption until the clock caught up would stall it for
// the hour and show a time the clock does not have.
void CCalendarDlg::TickTitleClock()
{
    SYSTEMTIME now;
    ReadCaptionClock(now);
    if (!m_shown || !SameSecond(*m_shown, now) || m_shownShort != (IsIconic() != FALSE))
        UpdateTitleClockAt(now);
    ArmClockTimer(now);
}

void CCalendarDlg::ArmClockTimer(const SYSTEMTIME& now)
{
    const auto wait = core::UntilNextSecondTick(std::chrono::milliseconds{now.wMilliseconds});
    SetTimer(kClockTimerId, static_cast<UINT>(wait.count()));
}
