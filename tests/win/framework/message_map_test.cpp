// Message maps and the window-procedure boundary.
#include "framework/exceptions.h"
#include "framework/window_base.h"
#include "support/modal_driver.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class Probe : public fw::WithMessageMap<Probe> {
public:
    LRESULT OnCustom(WPARAM w, LPARAM l)
    {
        custom += static_cast<int>(w + l);
        return 77;
    }
    void OnFirst() { ++first; }
    void OnNotify() { ++notified; }
    void OnTick(UINT_PTR id) { lastTimer = id; }
    void OnSys(UINT id, LPARAM) { lastSys = id; }
    void OnThrow() { throw fw::COleDispatchException(E_INVALIDARG, 9); }
    void OnThrowStd() { throw std::runtime_error("boom"); }

    // Wrong signatures: the entry factories must refuse them.
    int WrongReturn() { return 0; }
    void WrongArgs(int) {}

    int custom = 0, first = 0, notified = 0;
    UINT_PTR lastTimer = 0;
    UINT lastSys = 0;

    static const fw::MessageMap<Probe, 7> kMessageMap;
};

decltype(Probe::kMessageMap) Probe::kMessageMap{
    fw::OnMessage<WM_APP + 1, &Probe::OnCustom>(),
    fw::OnCommand<100, &Probe::OnFirst>(),
    fw::OnControl<EN_CHANGE, 100, &Probe::OnNotify>(),
    fw::OnCommand<200, &Probe::OnThrow>(),
    fw::OnCommand<201, &Probe::OnThrowStd>(),
    fw::On<WM_TIMER, &Probe::OnTick>(),
    fw::On<WM_SYSCOMMAND, &Probe::OnSys>(),
};

static_assert(fw::CommandHandler<&Probe::OnFirst>);
static_assert(!fw::CommandHandler<&Probe::WrongReturn>);
static_assert(!fw::CommandHandler<&Probe::WrongArgs>);
static_assert(!fw::TimerHandler<&Probe::OnFirst>);
static_assert(fw::RawHandler<&Probe::OnCustom>);
static_assert(fw::CrackedHandler<WM_TIMER, &Probe::OnTick>);
static_assert(!fw::CrackedHandler<WM_TIMER, &Probe::OnFirst>);
static_assert(!fw::CrackedHandler<WM_COMMAND, &Probe::OnFirst>);

struct ProbeWindow : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(
            fw::CWnd::RegisterWindowClass(::GetModuleHandleW(nullptr), L"ProbeClass", 0, nullptr, nullptr));
        ASSERT_TRUE(
            probe.CreateEx(0, L"ProbeClass", L"probe", WS_OVERLAPPED, RECT{0, 0, 50, 50}, nullptr, 0));
    }
    Probe probe;
};

} // namespace

TEST_F(ProbeWindow, EntriesReachTheirHandlersByMessageIdAndCode)
{
    EXPECT_EQ(probe.SendMessage(WM_APP + 1, 2, 3), 77);
    EXPECT_EQ(probe.custom, 5);

    probe.SendMessage(WM_COMMAND, MAKEWPARAM(100, 0), 0);
    probe.SendMessage(WM_COMMAND, MAKEWPARAM(100, EN_CHANGE), 0);
    probe.SendMessage(WM_COMMAND, MAKEWPARAM(100, EN_KILLFOCUS), 0); // not mapped
    probe.SendMessage(WM_COMMAND, MAKEWPARAM(101, 0), 0);            // not mapped
    EXPECT_EQ(probe.first, 1);
    EXPECT_EQ(probe.notified, 1);

    probe.SendMessage(WM_TIMER, 42, 0);
    EXPECT_EQ(probe.lastTimer, 42u);
    probe.SendMessage(WM_SYSCOMMAND, 0x0123, 0);
    EXPECT_EQ(probe.lastSys, 0x0123u);
}

TEST_F(ProbeWindow, UnmappedMessagesGetTheDefaultHandling)
{
    // WM_GETTEXT is left to DefWindowProc, which answers the caption.
    wchar_t buf[16] = {};
    EXPECT_EQ(probe.SendMessage(WM_GETTEXT, 16, reinterpret_cast<LPARAM>(buf)), 5);
    EXPECT_STREQ(buf, L"probe");
}

TEST_F(ProbeWindow, ExceptionsStopAtTheWindowProcedureAndAreShown)
{
    testsupport::ModalDriver driver;
    std::wstring first, second;
    driver.Then([&](HWND box) {
        first = testsupport::MessageBoxText(box);
        testsupport::Click(box, IDOK);
    });
    driver.Then([&](HWND box) {
        second = testsupport::MessageBoxText(box);
        testsupport::Click(box, IDOK);
    });
    EXPECT_EQ(probe.SendMessage(WM_COMMAND, MAKEWPARAM(200, 0), 0), 0);
    EXPECT_EQ(probe.SendMessage(WM_COMMAND, MAKEWPARAM(201, 0), 0), 0);
    EXPECT_NE(first.find(L"0x80070057"), std::wstring::npos) << std::string(first.begin(), first.end());
    EXPECT_NE(second.find(L"unerwarteter Fehler"), std::wstring::npos);
    EXPECT_TRUE(driver.Unexpected().empty());
    // The window survives and still answers.
    EXPECT_EQ(probe.SendMessage(WM_APP + 1, 1, 1), 77);
}

TEST_F(ProbeWindow, BindingEndsWithTheWindow)
{
    const long before = fw::LiveBoundWindows();
    HWND hwnd = probe.m_hWnd;
    EXPECT_EQ(fw::CWnd::FromHandlePermanent(hwnd), &probe);
    ::DestroyWindow(hwnd);
    EXPECT_EQ(probe.m_hWnd, nullptr);
    EXPECT_EQ(fw::CWnd::FromHandlePermanent(hwnd), nullptr);
    EXPECT_EQ(fw::LiveBoundWindows(), before - 1);
}
