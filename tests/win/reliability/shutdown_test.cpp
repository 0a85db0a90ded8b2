// Ending the real calendar while work is under way: right after start-up
// while the start-up worker still settles the window, while a chooser or a
// message box is open over the parameter dialog, and in the middle of a
// font change. Whatever the moment, everything unwinds: no crash, no error
// message, no window, thread or object left behind, and a setting the user
// confirmed on the way out is stored.
#include "shutdown_fixture.h"

#include <tlhelp32.h>

using namespace shutdowntest;

namespace {

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
