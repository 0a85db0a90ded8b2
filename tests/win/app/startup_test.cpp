// Start-up as the program runs it (fw::AfxWinMain with the application
// object), with each step that can fail made to fail in turn: through the
// platform calls handed to the application, or for real (a window class
// that is not there, resources that are missing or damaged, a thread on
// which no window can be made).
#include "app/calendar_app.h"
#include "debug_output.h"
#include "framework/app.h"
#include "framework/startup_report.h"
#include "monthgrid/monthgrid.h"
#include "resources/resource.h"
#include "support/modal_driver.h"
#include "support/test_support.h"

#include <gtest/gtest.h>


#include <algorithm>
#include <string>
#include <vector>

namespace {

using testsupport::ModalDriver;

// How often each call of start-up was made.
struct Counts {
    int ole = 0;
    int gridClass = 0;
    int commonControls = 0;
    int threads = 0;
};
Counts g_counts;

HRESULT WINAPI RealOle(LPVOID p)
{
    ++g_counts.ole;
    return ::OleInitialize(p);
}
HRESULT WINAPI FailingOle(LPVOID)
{
    ++g_counts.ole;
    return CO_E_NOTINITIALIZED;
}
bool RealGridClass(HINSTANCE instance)
{
    ++g_counts.gridClass;
    return monthgrid::RegisterMonthGridClass(instance);
}
bool FailingGridClass(HINSTANCE)
{
    ++g_counts.gridClass;
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return false;
}
// Claims to have registered the class and has not: the calendar window's
// template then cannot be instantiated.
bool MissingGridClass(HINSTANCE)
{
    ++g_counts.gridClass;
    return true;
}
BOOL WINAPI RealCommonControls(const INITCOMMONCONTROLSEX* icc)
{
    ++g_counts.commonControls;
    return ::InitCommonControlsEx(icc);
}
BOOL WINAPI FailingCommonControls(const INITCOMMONCONTROLSEX*)
{
    ++g_counts.commonControls;
    ::SetLastError(ERROR_DLL_INIT_FAILED);
    return FALSE;
}
HANDLE WINAPI RealThread(LPSECURITY_ATTRIBUTES sa, SIZE_T stack, LPTHREAD_START_ROUTINE start, LPVOID arg,
                         DWORD flags, LPDWORD id)
{
    ++g_counts.threads;
    return ::CreateThread(sa, stack, start, arg, flags, id);
}
HANDLE WINAPI FailingThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD)
{
    ++g_counts.threads;
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

StartupCalls RealCalls() { return {&RealOle, &RealGridClass, &RealCommonControls, &RealThread}; }

using testsupport::ThreadsOfThisProcess;
using testsupport::WindowsOfThisThread;

// Watches the thread's top-level windows as they are shown; with `refuse`,
// none can be made at all, as in a session whose desktop has no display
// driver.
class WindowWatch {
public:
    explicit WindowWatch(bool refuse) : m_refuse(refuse)
    {
        t_watch = this;
        m_cbt = ::SetWindowsHookExW(WH_CBT, &Cbt, nullptr, ::GetCurrentThreadId());
        m_calls = ::SetWindowsHookExW(WH_CALLWNDPROC, &Calls, nullptr, ::GetCurrentThreadId());
    }
    ~WindowWatch()
    {
        ::UnhookWindowsHookEx(m_calls);
        ::UnhookWindowsHookEx(m_cbt);
        t_watch = nullptr;
    }
    WindowWatch(const WindowWatch&) = delete;
    WindowWatch& operator=(const WindowWatch&) = delete;

    int refused = 0;
    // Captions of the windows that were shown, each once, in order.
    std::vector<std::wstring> shown;

private:
    static LRESULT CALLBACK Cbt(int code, WPARAM w, LPARAM l)
    {
        WindowWatch* self = t_watch;
        if (self && code == HCBT_CREATEWND && self->m_refuse &&
            !(reinterpret_cast<CBT_CREATEWNDW*>(l)->lpcs->style & WS_CHILD)) {
            ++self->refused;
            return 1;
        }
        return ::CallNextHookEx(nullptr, code, w, l);
    }
    static LRESULT CALLBACK Calls(int code, WPARAM w, LPARAM l)
    {
        WindowWatch* self = t_watch;
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(l);
        if (self && code == HC_ACTION && call->message == WM_SHOWWINDOW && call->wParam &&
            !(::GetWindowLongPtrW(call->hwnd, GWL_STYLE) & WS_CHILD) &&
            std::find(self->m_seen.begin(), self->m_seen.end(), call->hwnd) == self->m_seen.end()) {
            self->m_seen.push_back(call->hwnd);
            self->shown.push_back(testsupport::WindowText(call->hwnd));
        }
        return ::CallNextHookEx(nullptr, code, w, l);
    }

    static thread_local WindowWatch* t_watch;
    HHOOK m_cbt = nullptr;
    HHOOK m_calls = nullptr;
    std::vector<HWND> m_seen;
    bool m_refuse;
};
thread_local WindowWatch* WindowWatch::t_watch = nullptr;

// One start-up and what the user got to see of it.
struct Outcome {
    int exitCode = -1;
    std::wstring appName;
    std::vector<std::wstring> boxes;  // message box texts
    std::vector<std::wstring> titles; // message box captions
    bool calendarShown = false;       // a window other than a message box was shown
    std::vector<std::string> debugLines;
    std::vector<std::wstring> shown; // captions of the top-level windows shown
    int refused = 0;
};

struct Options {
    StartupCalls calls = RealCalls();
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    bool refuseWindows = false;
};

Outcome StartUp(const Options& o)
{
    Outcome run;
    const int threadsBefore = ThreadsOfThisProcess();
    const long windowsBefore = WindowsOfThisThread();
    const std::wstring profile = testsupport::ProfilePath();
    {
        startuptest::DebugOutputMonitor monitor;
        EXPECT_TRUE(monitor.Listening());
        CCalendarApp app(o.calls);
        app.m_profilePath = profile;
        ModalDriver driver;
        // Whatever opens: a message box is read and confirmed, the calendar
        // window (started as it should) closed again.
        for (int i = 0; i < 4; ++i) {
            driver.Then([&](HWND dialog) {
                const std::wstring text = testsupport::MessageBoxText(dialog);
                if (text.empty()) {
                    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                    return;
                }
                run.boxes.push_back(text);
                run.titles.push_back(testsupport::WindowText(dialog));
                testsupport::Click(dialog, IDOK);
            });
        }
        {
            WindowWatch watch(o.refuseWindows);
            run.exitCode = fw::AfxWinMain(o.instance, SW_SHOWNORMAL);
            run.shown = watch.shown;
            run.calendarShown =
                std::count_if(run.shown.begin(), run.shown.end(),
                              [&](const std::wstring& caption) { return caption != app.m_appName; }) > 0;
            run.refused = watch.refused;
        }
        EXPECT_FALSE(driver.TimedOut());
        run.appName = app.m_appName;
        run.debugLines = monitor.WaitForLines(1, run.exitCode == 0 ? 200 : 3000);
    }
    testsupport::PumpFor(50);
    EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore) << "a thread of start-up outlived it";
    EXPECT_EQ(WindowsOfThisThread(), windowsBefore) << "a window of start-up outlived it";
    EXPECT_EQ(fw::AfxGetApp()->m_profilePath, profile) << "the tests' application object is back";
    return run;
}

std::string Narrow(const std::wstring& text)
{
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, s.data(), n, nullptr, nullptr);
    return s;
}

// The user was told exactly `message`, in one box captioned with the
// program's name, and the debug output has it as one line.
void ExpectToldOnce(const Outcome& run, const std::wstring& message)
{
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0], message);
    EXPECT_EQ(run.titles[0], run.appName);
    EXPECT_FALSE(run.calendarShown) << "the calendar window was shown although start-up failed";
    ASSERT_EQ(run.debugLines.size(), 1u) << "the debug output";
    EXPECT_EQ(run.debugLines[0], Narrow(run.appName + L": " + fw::OneLine(message) + L"\n"));
}

bool StartsWith(const std::wstring& text, const std::wstring& start) { return text.rfind(start, 0) == 0; }
bool EndsWith(const std::wstring& text, const std::wstring& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

struct StartUpFails : ::testing::Test {
    void SetUp() override
    {
        testsupport::ResetProfile();
        g_counts = {};
    }
};

} // namespace

TEST_F(StartUpFails, NotAtAllWhenEveryStepSucceeds)
{
    const Outcome run = StartUp({});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.calendarShown);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_TRUE(run.debugLines.empty());
    EXPECT_EQ(g_counts.ole, 1);
    EXPECT_EQ(g_counts.gridClass, 1);
    EXPECT_EQ(g_counts.commonControls, 1);
    EXPECT_EQ(g_counts.threads, 1);
}

TEST_F(StartUpFails, WhenOleCannotBeInitialised)
{
    Options o;
    o.calls.oleInitialize = &FailingOle;
    const Outcome run = StartUp(o);
    EXPECT_EQ(run.exitCode, 2);
    ExpectToldOnce(run, L"OLE konnte nicht initialisiert werden (Fehler 0x800401F0).\n\n"
                        L"Das Programm wird beendet.");
    // Nothing after the failed step is tried.
    EXPECT_EQ(g_counts.gridClass, 0);
    EXPECT_EQ(g_counts.threads, 0);
}

TEST_F(StartUpFails, WhenTheGridsWindowClassCannotBeRegistered)
{
    Options o;
    o.calls.registerGridClass = &FailingGridClass;
    const Outcome run = StartUp(o);
    EXPECT_EQ(run.exitCode, 3);
    ExpectToldOnce(run,
                   L"Die Fensterklasse der Kalenderanzeige konnte nicht registriert werden (Fehler 8).\n\n"
                   L"Das Programm wird beendet.");
    EXPECT_EQ(g_counts.commonControls, 0);
    EXPECT_EQ(g_counts.threads, 0);
}

TEST_F(StartUpFails, WhenTheCommonControlsCannotBeLoaded)
{
    Options o;
    o.calls.initCommonControls = &FailingCommonControls;
    const Outcome run = StartUp(o);
    EXPECT_EQ(run.exitCode, 4);
    ExpectToldOnce(run,
                   L"Die Standardsteuerelemente von Windows konnten nicht geladen werden (Fehler 1114).\n\n"
                   L"Das Programm wird beendet.");
    EXPECT_EQ(g_counts.threads, 0);
}

TEST_F(StartUpFails, WhenTheCalendarWindowCannotBeCreated)
{
    // For real: its template names a control class that is not there.
    ::UnregisterClassW(monthgrid::kClassName, ::GetModuleHandleW(nullptr));
    Options o;
    o.calls.registerGridClass = &MissingGridClass;
    const Outcome run = StartUp(o);
    EXPECT_EQ(run.exitCode, 6);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_TRUE(StartsWith(run.boxes[0], L"Das Kalenderfenster konnte nicht erstellt werden"))
        << run.boxes[0];
    EXPECT_TRUE(EndsWith(run.boxes[0], L".\n\nDas Programm wird beendet.")) << run.boxes[0];
    EXPECT_FALSE(run.calendarShown);
    EXPECT_EQ(g_counts.threads, 0);
    ASSERT_EQ(run.debugLines.size(), 1u);
}

TEST_F(StartUpFails, WhenTheStartUpWorkerCannotStart)
{
    Options o;
    o.calls.createThread = &FailingThread;
    const Outcome run = StartUp(o);
    EXPECT_EQ(run.exitCode, 8);
    ExpectToldOnce(run, L"F\u00FCr den Start konnte kein Thread angelegt werden (Fehler 8).\n\n"
                        L"Das Programm wird beendet.");
    // The window was made and initialised, but never shown: the box is
    // the only window the user saw.
    EXPECT_EQ(g_counts.threads, 1);
    EXPECT_EQ(run.shown, std::vector<std::wstring>{run.appName});
}

TEST_F(StartUpFails, WhenTheCalendarTemplateIsMissingAndTheTextsWithItFromTheBuiltInTexts)
{
    // A module with no resources of ours at all stands in for the program's
    // own: the template cannot be found, and no failure text either.
    HMODULE bare = ::GetModuleHandleW(L"ntdll.dll");
    ASSERT_NE(bare, nullptr);
    ASSERT_EQ(::FindResourceW(bare, MAKEINTRESOURCEW(IDD_MORVELIN_DIALOG), RT_DIALOG), nullptr);
    wchar_t probe[8];
    ASSERT_EQ(::LoadStringW(bare, IDS_STARTUP_WINDOW_TEMPLATE, probe, 8), 0);
    ASSERT_EQ(::LoadStringW(bare, IDS_STARTUP_ENDS, probe, 8), 0);
    Options o;
    o.instance = bare;
    const Outcome run = StartUp(o);
    EXPECT_EQ(run.exitCode, 5);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_TRUE(StartsWith(run.boxes[0], L"Die Vorlage des Kalenderfensters fehlt oder ist besch\u00E4digt"))
        << run.boxes[0];
    EXPECT_TRUE(EndsWith(run.boxes[0], L".\n\nDas Programm wird beendet.")) << run.boxes[0];
    EXPECT_EQ(g_counts.threads, 0);
}

TEST_F(StartUpFails, WhenTheCalendarTemplateHasLostItsGrid)
{
    // A damaged program: the calendar window comes up, but without its month
    // view there is nothing to set up; it is never shown.
    HMODULE damaged = ::LoadLibraryW(L"startup_damaged_resources.dll");
    ASSERT_NE(damaged, nullptr) << ::GetLastError();
    Options o;
    o.instance = damaged;
    const Outcome run = StartUp(o);
    EXPECT_EQ(run.exitCode, 7);
    // The damaged module has no texts either.
    ExpectToldOnce(run,
                   L"Das Kalenderfenster konnte nicht eingerichtet werden.\n\nDas Programm wird beendet.");
    EXPECT_EQ(g_counts.threads, 0);
    EXPECT_EQ(run.shown, std::vector<std::wstring>{run.appName}) << "only the box was shown";
    ::FreeLibrary(damaged);
}

TEST_F(StartUpFails, WhereNoWindowCanBeMadeTheReasonGoesToStandardError)
{
    // As in a Wine session whose desktop has no display driver: no window
    // of this thread can be made, the calendar's and the box's included.
    HANDLE read = nullptr, write = nullptr;
    ASSERT_TRUE(::CreatePipe(&read, &write, nullptr, 1 << 16));
    const HANDLE saved = ::GetStdHandle(STD_ERROR_HANDLE);
    ::SetStdHandle(STD_ERROR_HANDLE, write);
    Options o;
    o.refuseWindows = true;
    const Outcome run = StartUp(o);
    ::SetStdHandle(STD_ERROR_HANDLE, saved);
    ::CloseHandle(write);
    std::string written(4096, '\0');
    DWORD n = 0;
    ::ReadFile(read, written.data(), static_cast<DWORD>(written.size()), &n, nullptr);
    written.resize(n);
    ::CloseHandle(read);

    EXPECT_EQ(run.exitCode, 6);
    EXPECT_GE(run.refused, 2) << "the calendar window and the box";
    EXPECT_TRUE(run.boxes.empty());
    std::string name(run.appName.begin(), run.appName.end());
    EXPECT_EQ(written.rfind(name + ": Das Kalenderfenster konnte nicht erstellt werden", 0), 0u) << written;
    EXPECT_TRUE(written.size() > 30 &&
                written.compare(written.size() - 29, 29, " Das Programm wird beendet.\r\n") == 0)
        << written;
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 1) << "one line";
    ASSERT_EQ(run.debugLines.size(), 1u);
    EXPECT_EQ(run.debugLines[0], written.substr(0, written.size() - 2) + "\n") << "the same line";
}

TEST_F(StartUpFails, WhereNoWindowCanBeMadeAndNoStandardErrorExistsTheExitCodeStillSaysSo)
{
    const HANDLE saved = ::GetStdHandle(STD_ERROR_HANDLE);
    ::SetStdHandle(STD_ERROR_HANDLE, nullptr);
    Options o;
    o.refuseWindows = true;
    const Outcome run = StartUp(o);
    ::SetStdHandle(STD_ERROR_HANDLE, saved);
    EXPECT_EQ(run.exitCode, 6);
    EXPECT_EQ(run.debugLines.size(), 1u) << "the debug output is told all the same";
}

TEST(StartUpTexts, TheResourcesHoldTheBuiltInTexts)
{
    // The built-in texts are what the user reads when the resources fail;
    // they must say the same.
    std::vector<StartupText> texts{kStartupEnds};
    for (int step = static_cast<int>(StartupStep::Ole); step <= static_cast<int>(StartupStep::Worker); ++step)
        texts.push_back(StartupStepText(static_cast<StartupStep>(step)));
    std::vector<UINT> ids;
    for (const StartupText& t : texts) {
        EXPECT_EQ(fw::AfxLoadString(t.id), t.builtIn) << "string " << t.id;
        ids.push_back(t.id);
    }
    EXPECT_EQ(ids, (std::vector<UINT>{IDS_STARTUP_ENDS, IDS_STARTUP_OLE, IDS_STARTUP_GRID_CLASS,
                                      IDS_STARTUP_COMMON_CONTROLS, IDS_STARTUP_WINDOW_TEMPLATE,
                                      IDS_STARTUP_WINDOW, IDS_STARTUP_WINDOW_SETUP, IDS_STARTUP_WORKER}))
        << "one text per step, in the order of the steps";
}

TEST(StartUpTexts, TheErrorCodeIsLeftOutWhenThePlatformGaveNone)
{
    EXPECT_EQ(StartupFailureMessage({StartupStep::Window, 0}),
              L"Das Kalenderfenster konnte nicht erstellt werden.\n\nDas Programm wird beendet.");
    EXPECT_EQ(StartupFailureMessage({StartupStep::Ole, static_cast<DWORD>(E_OUTOFMEMORY)}),
              L"OLE konnte nicht initialisiert werden (Fehler 0x8007000E).\n\nDas Programm wird beendet.");
    EXPECT_EQ(
        StartupFailureMessage({StartupStep::Worker, ERROR_NOT_ENOUGH_MEMORY}),
        L"F\u00FCr den Start konnte kein Thread angelegt werden (Fehler 8).\n\nDas Programm wird beendet.");
}
