// Long runs inside the real calendar window with the real month grid: many
// layout passes, font changes, colour changes through the parameter dialog
// and clock ticks, driven directly rather than in real time. GDI and USER
// objects and private memory must come out where they went in.
//
// Wine answers 0 to GetGuiResources, GetProcessHandleCount and the
// private-bytes counter, so the objects are also counted directly: GDI
// objects by asking every handle slot for its type, kernel handles by
// asking every handle value for its flags, windows by enumerating them,
// private memory by walking the committed private regions of the address
// space.
#include "app/private_messages.h"
#include "app/settings_store.h"
#include "calendar/calendar_fixture.h"
#include "calendar/calendar_window.h"
#include "core/settings_keys.h"
#include "framework/handles.h"
#include "monthgrid/monthgrid.h"
#include "parameters/parameter_dialog.h"
#include "resource.h"
#include "support/modal_driver.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

using namespace core::keys;

namespace {

struct Counts {
    long gdiSlots = 0; // live GDI objects of the process, stock ones included
    long windows = 0;  // windows of this thread, children included
    DWORD handles = 0; // kernel handles of the process
    long liveGdi = 0;  // held by the framework's owners
    long liveUser = 0;
    long liveKernel = 0;
    DWORD guiGdi = 0; // what the system reports (0 under Wine)
    DWORD guiUser = 0;
    SIZE_T privateBytes = 0;    // committed private memory
    SIZE_T reportedPrivate = 0; // what the system reports (0 under Wine)
};

long CountGdiSlots()
{
    // A handle with a zero high word names its slot whatever the slot's
    // reuse counter; there are at most 65536 slots.
    long n = 0;
    for (ULONG_PTR slot = 1; slot < 0x10000; ++slot)
        n += ::GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0;
    return n;
}

DWORD CountKernelHandles()
{
    // Handle values are multiples of four, handed out lowest first.
    DWORD n = 0, flags = 0;
    for (ULONG_PTR h = 4; h < 0x10000; h += 4)
        n += ::GetHandleInformation(reinterpret_cast<HANDLE>(h), &flags) != 0;
    return n;
}

BOOL CALLBACK CountWindow(HWND hwnd, LPARAM l)
{
    ++*reinterpret_cast<long*>(l);
    ::EnumChildWindows(
        hwnd, [](HWND, LPARAM c) -> BOOL { return ++*reinterpret_cast<long*>(c), TRUE; }, l);
    return TRUE;
}

SIZE_T CommittedPrivateBytes()
{
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION mbi;
    for (const char* p = nullptr; ::VirtualQuery(p, &mbi, sizeof mbi) == sizeof mbi;) {
        if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE)
            total += mbi.RegionSize;
        const char* next = static_cast<const char*>(mbi.BaseAddress) + mbi.RegionSize;
        if (next <= p)
            break;
        p = next;
    }
    return total;
}

Counts Snapshot()
{
    Counts c;
    c.gdiSlots = CountGdiSlots();
    ::EnumThreadWindows(::GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&c.windows));
    c.handles = CountKernelHandles();
    c.liveGdi = fw::LiveGdiObjects();
    c.liveUser = fw::LiveUserObjects();
    c.liveKernel = fw::LiveKernelObjects();
    c.guiGdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    c.guiUser = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    c.privateBytes = CommittedPrivateBytes();
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc),
                               sizeof pmc))
        c.reportedPrivate = pmc.PrivateUsage;
    return c;
}

// The full counts take several minutes under Wine (a layout pass reads the
// profile eight times); `make soak` runs them, `make test` a twentieth of each,
// which still catches anything that grows with the count.
int Count(int full)
{
    wchar_t soak[8] = {};
    const bool all = ::GetEnvironmentVariableW(L"MORVELIN_SOAK", soak, 8) > 0 && soak[0] == L'1';
    return all ? full : full / 20;
}

// Heap and caches settle in the warm-up round; what is left of this is
// allocator slack, not a leak that grows with the count.
constexpr SIZE_T kPrivateNoise = 1 << 20;

// What the modal loop does between two events: without it, what the window
// system reports piles up unread and every later call that looks through
// it gets slower.
void DrainMessages() { testsupport::PumpPending(); }

// Runs `round` for a tenth of `count` (at most 1000) to warm up, then
// `count` times (0 to count - 1) between two snapshots; prints both and the
// time of each tenth, and fails on growth.
void ExpectFlat(const char* what, int count, const std::function<void(int)>& round)
{
    const int warmUp = std::clamp(count / 10, 1, 1000);
    for (int i = 0; i < warmUp; ++i) {
        DrainMessages();
        round(i);
    }
    const Counts before = Snapshot();
    const DWORD start = ::GetTickCount();
    DWORD blockStart = start;
    std::string blocks;
    for (int i = 0; i < count; ++i) {
        DrainMessages();
        round(i);
        if ((i + 1) % (count / 10 > 0 ? count / 10 : 1) == 0) {
            blocks.append(" ").append(std::to_string(::GetTickCount() - blockStart));
            blockStart = ::GetTickCount();
        }
    }
    const DWORD ms = ::GetTickCount() - start;
    const Counts after = Snapshot();
    std::printf("%s: %d in %lu ms (tenths:%s)\n"
                "  GDI objects (slots)   %ld -> %ld\n"
                "  windows               %ld -> %ld\n"
                "  kernel handles        %lu -> %lu\n"
                "  owned GDI/USER/kernel %ld / %ld / %ld -> %ld / %ld / %ld\n"
                "  GetGuiResources       %lu / %lu -> %lu / %lu\n"
                "  private bytes         %zu -> %zu (reported %zu -> %zu)\n",
                what, count, static_cast<unsigned long>(ms), blocks.c_str(), before.gdiSlots, after.gdiSlots,
                before.windows, after.windows, static_cast<unsigned long>(before.handles),
                static_cast<unsigned long>(after.handles), before.liveGdi, before.liveUser, before.liveKernel,
                after.liveGdi, after.liveUser, after.liveKernel, static_cast<unsigned long>(before.guiGdi),
                static_cast<unsigned long>(before.guiUser), static_cast<unsigned long>(after.guiGdi),
                static_cast<unsigned long>(after.guiUser), before.privateBytes, after.privateBytes,
                before.reportedPrivate, after.reportedPrivate);
    std::fflush(stdout);
    EXPECT_LE(after.gdiSlots, before.gdiSlots) << what;
    EXPECT_LE(after.windows, before.windows) << what;
    EXPECT_LE(after.handles, before.handles) << what;
    EXPECT_EQ(after.liveGdi, before.liveGdi) << what;
    EXPECT_EQ(after.liveUser, before.liveUser) << what;
    EXPECT_EQ(after.liveKernel, before.liveKernel) << what;
    EXPECT_LE(after.guiGdi, before.guiGdi) << what;
    EXPECT_LE(after.guiUser, before.guiUser) << what;
    EXPECT_LT(after.privateBytes, before.privateBytes + kPrivateNoise) << what;
    if (before.reportedPrivate) {
        EXPECT_LT(after.reportedPrivate, before.reportedPrivate + kPrivateNoise) << what;
    }
}

struct LongRun : ::testing::Test {
    void SetUp() override
    {
        testsupport::ResetProfile();
        monthgrid::RegisterMonthGridClass(::GetModuleHandleW(nullptr));
        // One month keeps each repaint small: the runs are about what a
        // pass makes and frees, not about pixels.
        SettingsStore::WriteInt(kColumns, 1);
        SettingsStore::WriteInt(kRows, 1);
    }
    // The real calendar, its step given minutes rather than the driver's
    // usual seconds.
    static void Run(const std::function<void(CCalendarDlg&)>& step,
                    testsupport::ModalDriver* driver = nullptr)
    {
        if (driver) {
            testsupport::RunCalendar(step, driver);
        } else {
            testsupport::ModalDriver own(600000);
            testsupport::RunCalendar(step, &own);
        }
    }
};

LOGFONTA Font(const char* face, LONG height, LONG weight)
{
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(lf.lfFaceName, face, sizeof lf.lfFaceName - 1);
    return lf;
}

} // namespace

TEST_F(LongRun, LayoutPasses)
{
    Run([](CCalendarDlg& dlg) {
        const RECT first = dlg.GetWindowRect();
        ExpectFlat("layout passes", Count(100000), [&](int) { dlg.ApplyCalendarSettings(); });
        const RECT last = dlg.GetWindowRect();
        EXPECT_TRUE(::EqualRect(&first, &last)) << "the window moved while nothing changed";
    });
}

TEST_F(LongRun, FontChanges)
{
    // One face, upright and italic: each change makes and frees a font in
    // the calendar and in the grid, without the window changing its size
    // (a resize costs more under Wine than everything else together).
    LOGFONTA fonts[] = {Font("Arial", -13, FW_NORMAL), Font("Arial", -13, FW_NORMAL)};
    fonts[1].lfItalic = TRUE;
    Run([&](CCalendarDlg& dlg) {
        ExpectFlat("font changes", Count(10000), [&](int i) {
            const LOGFONTA& lf = fonts[i % 2];
            SettingsStore::WriteBinary(kLogFont.section, kLogFont.name, &lf, sizeof lf);
            dlg.SendMessage(WM_FONT_CHANGED);
            fw::ComPtr<IFont> font;
            ASSERT_TRUE(dlg.CurrentFont());
            dlg.CurrentFont()->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.put()));
            BOOL italic = FALSE;
            ASSERT_TRUE(font && SUCCEEDED(font->get_Italic(&italic)));
            ASSERT_EQ(italic != FALSE, i % 2 == 1) << "change " << i;
        });
    });
}

TEST_F(LongRun, ColourChangesThroughTheParameterDialog)
{
    constexpr int kSwatchIds[] = {IDC_FORECOLOR, IDC_MONTHBACKCOLOR, IDC_TITLEBACKCOLOR, IDC_TITLEFORECOLOR,
                                  IDC_TRAILINGFORECOLOR};
    testsupport::ModalDriver driver(600000);
    Run(
        [&](CCalendarDlg& dlg) {
            CParameterDlg parameters;
            driver.Then([&](HWND dialog) {
                CColorSwatch* swatches[] = {&parameters.m_ctlForeColor, &parameters.m_ctlMonthBackColor,
                                            &parameters.m_ctlTitleBackColor, &parameters.m_ctlTitleForeColor,
                                            &parameters.m_ctlTrailingForeColor};
                // A pick stores its swatch's new colour and tells the
                // calendar, as the chooser's OK does; every fifth change is
                // the standard-colours button, which stores all five.
                ExpectFlat("colour changes", Count(100000), [&](int i) {
                    if (i % 5 == 4) {
                        testsupport::Click(dialog, IDC_STANDARD_COLORS);
                    } else {
                        const int k = i % 5;
                        const COLORREF colour = RGB(i & 0xFF, (i >> 8) & 0xFF, k * 50);
                        swatches[k]->m_color = colour;
                        swatches[k]->Invalidate(TRUE);
                        SettingsStore::WriteInt(*kColourKeys[k], static_cast<int>(colour));
                        dlg.SendMessage(WM_SETTINGS_CHANGED);
                    }
                    ::UpdateWindow(dialog);
                });
                EXPECT_EQ(::GetDlgItem(dialog, kSwatchIds[0]), swatches[0]->m_hWnd);
                ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            });
            parameters.DoModal();
            // The last change was the standard colours.
            for (const core::SettingKey* key : kColourKeys)
                EXPECT_EQ(SettingsStore::ReadInt(*key), key->defaultValue) << key->name;
        },
        &driver);
    EXPECT_TRUE(driver.Unexpected().empty());
}

TEST_F(LongRun, ADayOfClockTicksHalfOfItMinimised)
{
    Run([](CCalendarDlg& dlg) {
        // 2026-12-06 is a Sunday; one tick a second (for 24 hours in a soak).
        SYSTEMTIME t{2026, 12, 0, 6, 0, 0, 0, 0};
        auto tick = [&](int second) {
            t.wHour = static_cast<WORD>(second / 3600 % 24);
            t.wMinute = static_cast<WORD>(second / 60 % 60);
            t.wSecond = static_cast<WORD>(second % 60);
            dlg.UpdateTitleClockAt(t);
            // Now and then the timer itself, which re-arms for the next second.
            if (second % 100 == 0)
                dlg.SendMessage(WM_TIMER, kClockTimerId, 0);
        };
        auto clock = [](int second) {
            wchar_t text[16];
            std::swprintf(text, 16, L"%02d:%02d:%02d", second / 3600 % 24, second / 60 % 60, second % 60);
            return std::wstring(text);
        };
        const int half = Count(43200);
        ExpectFlat("clock ticks, restored", half, [&](int i) { tick(i); });
        EXPECT_EQ(dlg.GetWindowText(), L"Morvelin - Sonntag, 06. Dezember 2026  " + clock(half - 1));
        dlg.ShowWindow(SW_MINIMIZE);
        ExpectFlat("clock ticks, minimised", half, [&](int i) { tick(half + i); });
        EXPECT_EQ(dlg.GetWindowText(), L"06.12.26 " + clock(2 * half - 1));
        dlg.ShowWindow(SW_RESTORE);
    });
}
