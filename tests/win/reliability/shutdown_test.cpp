// Ending the real calendar while work is under way: right after start-up
// while the start-up worker still settles the window, while a chooser or a
// message box is open over the parameter dialog, and in the middle of a
// font change. Whatever the moment, everything unwinds: no crash, no error
// message, no window, thread or object left behind, and a setting the user
// confirmed on the way out is stored.
#include "app/private_messages.h"
#include "app/settings_store.h"
#include "calendar/calendar_window.h"
#include "core/settings_keys.h"
#include "framework/app.h"
#include "framework/handles.h"
#include "framework/wnd.h"
#include "monthgrid/monthgrid.h"
#include "parameters/parameters_helpers.h"
#include "resource.h"
#include "support/modal_driver.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

using namespace core::keys;
using testsupport::ModalDriver;

namespace {

int ThreadsOfThisProcess()
{
    HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return -1;
    THREADENTRY32 te{};
    te.dwSize = sizeof te;
    int n = 0;
    for (BOOL ok = ::Thread32First(snap, &te); ok; ok = ::Thread32Next(snap, &te))
        n += te.th32OwnerProcessID == ::GetCurrentProcessId();
    ::CloseHandle(snap);
    return n;
}

long WindowsOfThisThread()
{
    long n = 0;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(), [](HWND, LPARAM l) { return ++*reinterpret_cast<long*>(l), TRUE; },
        reinterpret_cast<LPARAM>(&n));
    return n;
}

// What must be back where it was once the calendar object is gone.
struct Leftovers {
    int threads = ThreadsOfThisProcess();
    long windows = WindowsOfThisThread();
    long bound = fw::LiveBoundWindows();
    long gdi = fw::LiveGdiObjects();
    long user = fw::LiveUserObjects();

    void ExpectNoneSince(const Leftovers& before, const std::string& what) const
    {
        EXPECT_EQ(threads, before.threads) << what << ": a thread outlived the calendar";
        EXPECT_EQ(windows, before.windows) << what << ": a window was left";
        EXPECT_EQ(bound, before.bound) << what;
        EXPECT_EQ(gdi, before.gdi) << what;
        EXPECT_EQ(user, before.user) << what;
    }
};

const std::string kClean = "[Allgemein]\r\nSpalten=2\r\nZeilen=3\r\n";

struct Shutdown : ::testing::Test {
    void SetUp() override
    {
        paramtest::WriteProfile(kClean);
        monthgrid::RegisterMonthGridClass(::GetModuleHandleW(nullptr));
        // The first calendar of a process loads what stays loaded.
        Warm();
    }
    static void Warm()
    {
        static bool warm = false;
        if (std::exchange(warm, true))
            return;
        CCalendarDlg dlg;
        fw::AfxGetApp()->m_pMainWnd = &dlg;
        ModalDriver driver;
        driver.Then([&](HWND) {
            testsupport::PumpFor(200);
            dlg.EndDialog(IDCANCEL);
        });
        dlg.DoModal();
        fw::AfxGetApp()->m_pMainWnd = nullptr;
    }
};

// --- right after start-up ----------------------------------------------------

constexpr UINT_PTR kCloseTimer = 0x5EED;

// Ends itself: from its own initialisation, or from a timer `ms` after it.
class EarlyEndingCalendar : public CCalendarDlg {
public:
    enum class How { PostCloseFromInit, EndDialogFromTimer, PostCloseFromTimer };
    EarlyEndingCalendar(How how, UINT ms, int baseThreads) : m_how(how), m_ms(ms), m_baseThreads(baseThreads)
    {}
    bool workerRanAtClose = false;

protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = CCalendarDlg::OnInitDialog();
        if (m_how == How::PostCloseFromInit) {
            workerRanAtClose = ThreadsOfThisProcess() > m_baseThreads;
            PostMessage(WM_CLOSE);
        } else {
            ::SetTimer(m_hWnd, kCloseTimer, m_ms, nullptr);
        }
        return result;
    }
    bool OnWndMsg(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override
    {
        if (msg == WM_TIMER && w == kCloseTimer) {
            ::KillTimer(m_hWnd, kCloseTimer);
            workerRanAtClose = ThreadsOfThisProcess() > m_baseThreads;
            if (m_how == How::EndDialogFromTimer)
                EndDialog(IDCANCEL);
            else
                PostMessage(WM_CLOSE);
            result = 0;
            return true;
        }
        return CCalendarDlg::OnWndMsg(msg, w, l, result);
    }

private:
    How m_how;
    UINT m_ms;
    int m_baseThreads;
};

} // namespace

TEST_F(Shutdown, ClosingRightAfterStartUpWhileTheWorkerSettles)
{
    using How = EarlyEndingCalendar::How;
    struct Case {
        How how;
        UINT ms;
        const char* name;
    };
    const Case cases[] = {{How::PostCloseFromInit, 0, "WM_CLOSE posted from the initialisation"},
                          {How::EndDialogFromTimer, 0, "EndDialog at the first idle"},
                          {How::PostCloseFromTimer, 1, "WM_CLOSE after 1 ms"},
                          {How::PostCloseFromTimer, 10, "WM_CLOSE after 10 ms"},
                          {How::PostCloseFromTimer, 30, "WM_CLOSE after 30 ms"},
                          {How::EndDialogFromTimer, 60, "EndDialog after 60 ms"},
                          {How::PostCloseFromTimer, 100, "WM_CLOSE after 100 ms"}};
    constexpr int kRounds = 8;
    for (const Case& c : cases) {
        int workerRunning = 0;
        for (int round = 0; round < kRounds; ++round) {
            const Leftovers before;
            {
                EarlyEndingCalendar dlg(c.how, c.ms, before.threads);
                fw::AfxGetApp()->m_pMainWnd = &dlg;
                // Should it not end, the watchdog does, and the test fails.
                ModalDriver watchdog(10000);
                watchdog.Then([](HWND) {});
                EXPECT_EQ(dlg.DoModal(), IDCANCEL) << c.name;
                EXPECT_FALSE(watchdog.TimedOut()) << c.name;
                fw::AfxGetApp()->m_pMainWnd = nullptr;
                workerRunning += dlg.workerRanAtClose;
            }
            Leftovers().ExpectNoneSince(before, c.name);
        }
        std::printf("%-42s %d runs, the worker still running at the close in %d\n", c.name, kRounds,
                    workerRunning);
    }
    EXPECT_EQ(testsupport::ProfileText(), kClean);
}

namespace {

// The new thread of this process that is not `known`.
DWORD NewThreadOfThisProcess(DWORD known)
{
    HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 te{};
    te.dwSize = sizeof te;
    DWORD found = 0;
    for (BOOL ok = ::Thread32First(snap, &te); ok; ok = ::Thread32Next(snap, &te)) {
        if (te.th32OwnerProcessID == ::GetCurrentProcessId() && te.th32ThreadID != known)
            found = te.th32ThreadID;
    }
    ::CloseHandle(snap);
    return found;
}

// Suspends `thread` at a moment it is asleep, never inside a call that may
// hold a lock this thread needs next.
bool SuspendWhileAsleep(HANDLE thread)
{
    const auto* sleep =
        reinterpret_cast<const BYTE*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtDelayExecution"));
    for (int attempt = 0; sleep && attempt < 500; ++attempt) {
        ::SuspendThread(thread);
        CONTEXT context{};
        context.ContextFlags = CONTEXT_CONTROL;
        if (::GetThreadContext(thread, &context)) {
            const auto* at = reinterpret_cast<const BYTE*>(context.Rip);
            if (at >= sleep && at < sleep + 32)
                return true;
        }
        ::ResumeThread(thread);
        ::Sleep(1);
    }
    return false;
}

// Ends from its initialisation with its worker held asleep for a while, as a
// busy machine may hold it.
class CalendarWithSlowWorker : public CCalendarDlg {
public:
    HANDLE worker = nullptr;
    bool suspended = false;

protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = CCalendarDlg::OnInitDialog();
        worker = ::OpenThread(THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT | SYNCHRONIZE, FALSE,
                              NewThreadOfThisProcess(::GetCurrentThreadId()));
        suspended = worker && SuspendWhileAsleep(worker);
        PostMessage(WM_CLOSE);
        return result;
    }
};

} // namespace

TEST_F(Shutdown, TheCalendarIsGoneOnlyAfterItsWorker)
{
    constexpr DWORD kHeldMs = 400;
    ASSERT_EQ(ThreadsOfThisProcess(), 1) << "the worker is told apart as the one new thread";
    HANDLE worker = nullptr;
    DWORD destroyedIn = 0;
    bool workerEndedFirst = false;
    {
        auto dlg = std::make_unique<CalendarWithSlowWorker>();
        fw::AfxGetApp()->m_pMainWnd = dlg.get();
        EXPECT_EQ(dlg->DoModal(), IDCANCEL);
        fw::AfxGetApp()->m_pMainWnd = nullptr;
        ASSERT_TRUE(dlg->suspended) << "the worker could not be held";
        ::DuplicateHandle(::GetCurrentProcess(), dlg->worker, ::GetCurrentProcess(), &worker, 0, FALSE,
                          DUPLICATE_SAME_ACCESS);
        // Let go of the worker a while later, from elsewhere.
        HANDLE release = ::CreateThread(
            nullptr, 0,
            [](LPVOID w) -> DWORD {
                ::Sleep(kHeldMs);
                ::ResumeThread(static_cast<HANDLE>(w));
                return 0;
            },
            worker, 0, nullptr);
        const DWORD start = ::GetTickCount();
        dlg.reset();
        destroyedIn = ::GetTickCount() - start;
        workerEndedFirst = ::WaitForSingleObject(worker, 0) == WAIT_OBJECT_0;
        ::WaitForSingleObject(release, INFINITE);
        ::CloseHandle(release);
    }
    EXPECT_TRUE(workerEndedFirst) << "the calendar was gone after " << destroyedIn
                                  << " ms while its worker still ran";
    ::WaitForSingleObject(worker, 5000);
    ::CloseHandle(worker);
    std::printf("the calendar waited %lu ms for its worker held %lu ms\n",
                static_cast<unsigned long>(destroyedIn), static_cast<unsigned long>(kHeldMs));
}

// --- with modal UI open over the parameter dialog ---------------------------

namespace {

enum class Nested { ColourChooser, FontChooser, TooManyMonths };
enum class End { PostProgramEnd, PostClose, SendClose, PostCloseToEveryWindow, DestroyWindow };

const char* Name(Nested n)
{
    switch (n) {
    case Nested::ColourChooser:
        return "colour chooser";
    case Nested::FontChooser:
        return "font chooser";
    case Nested::TooManyMonths:
        return "message box 103";
    }
    return "";
}

const char* Name(End e)
{
    switch (e) {
    case End::PostProgramEnd:
        return "Programm beenden posted";
    case End::PostClose:
        return "WM_CLOSE posted";
    case End::SendClose:
        return "WM_CLOSE sent";
    case End::PostCloseToEveryWindow:
        return "WM_CLOSE posted to every window";
    case End::DestroyWindow:
        return "calendar destroyed";
    }
    return "";
}

// Asks the calendar to end, as the named way does.
void EndCalendar(CCalendarDlg& calendar, End how)
{
    switch (how) {
    case End::PostProgramEnd:
        calendar.PostMessage(WM_COMMAND, ID_PROGRAM_END, 0);
        break;
    case End::PostClose:
        calendar.PostMessage(WM_CLOSE);
        break;
    case End::SendClose:
        calendar.SendMessage(WM_CLOSE);
        break;
    case End::PostCloseToEveryWindow: // as a task manager's polite end does
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND h, LPARAM) {
                if (::IsWindowVisible(h) || !::IsWindowEnabled(h))
                    ::PostMessageW(h, WM_CLOSE, 0, 0);
                return TRUE;
            },
            0);
        break;
    case End::DestroyWindow:
        calendar.DestroyWindow();
        break;
    }
    // Whatever was posted is handled inside the nested loop, as it would be.
    testsupport::PumpFor(50);
}

constexpr COLORREF kConfirmedColour = RGB(0x21, 0x43, 0x65);

} // namespace

TEST_F(Shutdown, EndingTheCalendarWhileModalUiIsOpenOverTheParameterDialog)
{
    for (Nested nested : {Nested::ColourChooser, Nested::FontChooser, Nested::TooManyMonths}) {
        for (End end :
             {End::PostProgramEnd, End::SendClose, End::PostCloseToEveryWindow, End::DestroyWindow}) {
            const std::string what = std::string(Name(nested)) + ", " + Name(end);
            paramtest::WriteProfile(kClean);
            const Leftovers before;
            INT_PTR result = 0;
            bool nestedWasOpen = false;
            {
                CCalendarDlg calendar;
                fw::AfxGetApp()->m_pMainWnd = &calendar;
                ModalDriver driver;
                driver.Then([&](HWND) {
                    testsupport::PumpFor(100);
                    calendar.SendMessage(WM_COMMAND, IDM_PARAMETER, 0);
                });
                driver.Then([&](HWND parameters) {
                    switch (nested) {
                    case Nested::ColourChooser:
                        testsupport::Click(parameters, IDC_FORECOLOR);
                        break;
                    case Nested::FontChooser:
                        testsupport::Click(parameters, IDC_FONT);
                        break;
                    case Nested::TooManyMonths: // 5 x 3 months
                        testsupport::TypeText(parameters, IDC_COLUMNS, L"5");
                        break;
                    }
                    // Closed by the user where the end left it open.
                    if (::IsWindowVisible(parameters))
                        ::PostMessageW(parameters, WM_COMMAND, IDCANCEL, 0);
                });
                driver.Then([&](HWND dialog) {
                    nestedWasOpen = ::IsWindow(dialog) && ::IsWindowVisible(dialog);
                    EndCalendar(calendar, end);
                    // Where it is still open, the user confirms it.
                    if (!::IsWindowVisible(dialog))
                        return;
                    if (nested == Nested::ColourChooser)
                        paramtest::ChooseColour(kConfirmedColour, IDOK)(dialog);
                    else
                        testsupport::Click(dialog, IDOK);
                });
                result = calendar.DoModal();
                fw::AfxGetApp()->m_pMainWnd = nullptr;
                EXPECT_FALSE(driver.TimedOut()) << what;
                EXPECT_EQ(driver.StepsLeft(), 0u) << what;
                EXPECT_TRUE(driver.Unexpected().empty())
                    << what << ": " << testing::PrintToString(driver.Unexpected());
            }
            Leftovers().ExpectNoneSince(before, what);
            EXPECT_TRUE(nestedWasOpen) << what;

            // The result of the way it was ended: IDOK for the program's own
            // end command, IDCANCEL for a close, none for a window that was
            // destroyed outright.
            const INT_PTR expected = end == End::PostProgramEnd  ? IDOK
                                     : end == End::DestroyWindow ? -1
                                                                 : IDCANCEL;
            EXPECT_EQ(result, expected) << what;
            // A choice confirmed on the way out is stored, a refused one not.
            const std::string profile = testsupport::ProfileText();
            const bool confirmed = end != End::DestroyWindow && end != End::PostCloseToEveryWindow;
            if (nested == Nested::ColourChooser && confirmed) {
                EXPECT_EQ(paramtest::Entry(profile, "Color", "ForeColor"), std::to_string(kConfirmedColour))
                    << what;
            } else if (nested == Nested::FontChooser && confirmed) {
                EXPECT_TRUE(paramtest::Entry(profile, "Allgemein", "LogFont")) << what;
            } else {
                EXPECT_EQ(profile, kClean) << what;
            }
            std::printf("ok: %s: ended with %d\n", what.c_str(), static_cast<int>(result));
        }
    }
}

// --- in the middle of a font change -----------------------------------------

namespace {

// Ends itself the moment the font change first moves it (the refit).
class EndingInRefit : public CCalendarDlg {
public:
    explicit EndingInRefit(End how) : m_how(how) {}
    bool armed = false;
    bool ended = false;

protected:
    bool OnWndMsg(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override
    {
        if (msg == WM_WINDOWPOSCHANGED && armed) {
            armed = false;
            ended = true;
            switch (m_how) {
            case End::SendClose:
                SendMessage(WM_CLOSE);
                break;
            case End::DestroyWindow:
                DestroyWindow();
                result = 0;
                return true;
            default:
                PostMessage(WM_CLOSE);
                break;
            }
        }
        return CCalendarDlg::OnWndMsg(msg, w, l, result);
    }

private:
    End m_how;
};

} // namespace

TEST_F(Shutdown, EndingTheCalendarInTheMiddleOfAFontChange)
{
    LOGFONTA big{};
    big.lfHeight = -24;
    std::strcpy(big.lfFaceName, "Arial");
    for (End end : {End::PostClose, End::SendClose, End::DestroyWindow}) {
        const std::string what = std::string("font change, ") + Name(end);
        testsupport::ResetProfile();
        const Leftovers before;
        INT_PTR result = 0;
        {
            EndingInRefit calendar(end);
            fw::AfxGetApp()->m_pMainWnd = &calendar;
            ModalDriver driver;
            driver.Then([&](HWND) {
                testsupport::PumpFor(200);
                // The bigger font makes the calendar refit, and it ends there.
                SettingsStore::WriteBinary(kLogFont.section, kLogFont.name, &big, sizeof big);
                calendar.armed = true;
                calendar.SendMessage(WM_FONT_CHANGED);
                EXPECT_TRUE(calendar.ended) << what << ": the font change did not refit";
            });
            result = calendar.DoModal();
            fw::AfxGetApp()->m_pMainWnd = nullptr;
            EXPECT_FALSE(driver.TimedOut()) << what;
            EXPECT_TRUE(driver.Unexpected().empty())
                << what << ": " << testing::PrintToString(driver.Unexpected());
        }
        Leftovers().ExpectNoneSince(before, what);
        EXPECT_EQ(result, end == End::DestroyWindow ? -1 : IDCANCEL) << what;
        std::printf("ok: %s: ended with %d\n", what.c_str(), static_cast<int>(result));
    }
}
