// Two program instances on one profile. This process stores month counts by
// typing into its parameter dialog; a second process of this test program
// picks colours in its own at the same time. Both run the real calendar
// behind the dialog, which re-reads every key after each write. The profile
// API rewrites the whole file for every key, so without care one instance's
// write carries the other's stale keys back to disk.
#include "app/settings_store.h"
#include "calendar/calendar_window.h"
#include "core/settings_keys.h"
#include "framework/app.h"
#include "monthgrid/monthgrid.h"
#include "parameters/parameters_helpers.h"
#include "resource.h"
#include "support/modal_driver.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <functional>
#include <string>

using namespace core::keys;
using testsupport::ModalDriver;

namespace {

constexpr wchar_t kProfileVar[] = L"MORVELIN_TWIN_PROFILE";
constexpr wchar_t kParentVar[] = L"MORVELIN_TWIN_PARENT";
constexpr int kColourWrites = 300;
constexpr int kMinCountRounds = 150; // three writes of both counts each
// Written by the second instance last, with the file's time stamp put back.
constexpr COLORREF kFinalColour = RGB(0x12, 0x34, 0x56);

constexpr int kSwatchIds[] = {IDC_FORECOLOR, IDC_MONTHBACKCOLOR, IDC_TITLEBACKCOLOR, IDC_TITLEFORECOLOR,
                              IDC_TRAILINGFORECOLOR};

// The second instance's i-th pick: key i % 5, a colour no default has.
COLORREF PickedColour(int i) { return RGB(i & 0xFF, (i >> 8) & 0xFF, 0x40); }

std::wstring Env(const wchar_t* name)
{
    wchar_t buf[MAX_PATH * 2] = {};
    const DWORD n = ::GetEnvironmentVariableW(name, buf, static_cast<DWORD>(std::size(buf)));
    return n > 0 && n < std::size(buf) ? std::wstring(buf, n) : std::wstring();
}

HANDLE NamedEvent(const std::wstring& parent, const wchar_t* what)
{
    const std::wstring name = L"Local\\MorvelinTwin." + parent + L"." + what;
    return ::CreateEventW(nullptr, TRUE, FALSE, name.c_str());
}

// Waits for `event` while answering messages; false on timeout.
bool WaitPumping(HANDLE event, DWORD ms)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (::WaitForSingleObject(event, 0) == WAIT_OBJECT_0)
            return true;
        if (::GetTickCount() - start > ms)
            return false;
        testsupport::PumpFor(5);
    }
}

// What an instance saw of its own keys.
struct Tally {
    int writes = 0;
    int unseen = 0; // own read right after a write did not see it
    int lost = 0;   // a key of ours changed to something we never wrote last
    int stale = 0;  // a read was wrong once but right again a moment later
};

// Checks that `key` still holds `expected`. A wrong value that comes right
// on a second look was a passing read; one that stays was overwritten.
void ExpectStill(const core::SettingKey& key, int& expected, Tally& tally)
{
    if (SettingsStore::ReadInt(key) == expected)
        return;
    ::Sleep(20);
    const int again = SettingsStore::ReadInt(key);
    if (again == expected) {
        ++tally.stale;
        return;
    }
    ++tally.lost;
    expected = again; // count each loss once
}

void Report(const char* who, const Tally& t)
{
    std::printf("%s: %d writes, %d not seen by the next own read, %d lost, %d passing wrong reads\n", who,
                t.writes, t.unseen, t.lost, t.stale);
    std::fflush(stdout);
}

void ExpectNothingLost(const Tally& t)
{
    EXPECT_EQ(t.unseen, 0);
    EXPECT_EQ(t.lost, 0);
    EXPECT_EQ(t.stale, 0);
}

// The events the two instances pace each other with, closed on every path.
struct Handshake {
    explicit Handshake(const std::wstring& parent)
        : ready(NamedEvent(parent, L"ready")), go(NamedEvent(parent, L"go")),
          done(NamedEvent(parent, L"done"))
    {}
    ~Handshake()
    {
        for (HANDLE h : {ready, go, done})
            if (h)
                ::CloseHandle(h);
    }
    Handshake(const Handshake&) = delete;
    Handshake& operator=(const Handshake&) = delete;
    HANDLE ready, go, done;
};

// Runs the real calendar with its parameter dialog open; `body` runs inside
// the dialog's modal loop and may queue steps for choosers on `driver`.
void WithParameterDialog(const std::function<void(HWND, ModalDriver&)>& body)
{
    monthgrid::RegisterMonthGridClass(::GetModuleHandleW(nullptr));
    CCalendarDlg calendar;
    fw::AfxGetApp()->m_pMainWnd = &calendar;
    ModalDriver driver(110000);
    driver.Then([&](HWND) {
        testsupport::PumpFor(200);
        calendar.SendMessage(WM_COMMAND, IDM_PARAMETER, 0);
        calendar.EndDialog(IDCANCEL);
    });
    driver.Then([&](HWND dialog) {
        body(dialog, driver);
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    calendar.DoModal();
    fw::AfxGetApp()->m_pMainWnd = nullptr;
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_TRUE(driver.Unexpected().empty()) << testing::PrintToString(driver.Unexpected());
}

} // namespace

// Run by the test below in a process of its own; alone it has nothing to do.
TEST(TwoInstances, SecondInstancePicksColours)
{
    const std::wstring profile = Env(kProfileVar), parent = Env(kParentVar);
    if (profile.empty() || parent.empty())
        GTEST_SKIP() << "started by TwoInstances.NoWriteOfEitherIsLost";
    fw::CWinApp& app = *fw::AfxGetApp();
    const std::wstring own = app.m_profilePath;
    app.m_profilePath = profile;
    const Handshake events(parent);
    HANDLE ready = events.ready, go = events.go, done = events.done;

    Tally tally;
    WithParameterDialog([&](HWND dialog, ModalDriver& driver) {
        std::array<int, 5> last{};
        for (int k = 0; k < 5; ++k)
            last[k] = SettingsStore::ReadInt(*kColourKeys[k]);
        ::SetEvent(ready);
        ASSERT_TRUE(WaitPumping(go, 30000));
        for (int i = 0; i < kColourWrites; ++i) {
            const int k = i % 5;
            for (int j = 0; j < 5; ++j)
                ExpectStill(*kColourKeys[j], last[j], tally);
            driver.Then(paramtest::ChooseColour(PickedColour(i), IDOK));
            testsupport::Click(dialog, kSwatchIds[k]);
            last[k] = static_cast<int>(PickedColour(i));
            ++tally.writes;
            if (SettingsStore::ReadInt(*kColourKeys[k]) != last[k])
                ++tally.unseen;
        }
    });
    ::SetEvent(done);
    Report("colour instance", tally);

    // One more write that leaves the file's time stamp as it was, as two
    // writes within one tick of a coarse clock do.
    HANDLE last = NamedEvent(parent, L"last"), lastDone = NamedEvent(parent, L"lastdone");
    EXPECT_EQ(::WaitForSingleObject(last, 60000), WAIT_OBJECT_0);
    HANDLE file = ::CreateFileW(profile.c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    FILETIME stamp{};
    EXPECT_TRUE(::GetFileTime(file, nullptr, nullptr, &stamp));
    SettingsStore::WriteInt(kForeColor, static_cast<int>(kFinalColour));
    EXPECT_TRUE(::SetFileTime(file, nullptr, nullptr, &stamp));
    ::CloseHandle(file);
    ::SetEvent(lastDone);
    ::CloseHandle(last);
    ::CloseHandle(lastDone);
    app.m_profilePath = own;
    ExpectNothingLost(tally);
}

TEST(TwoInstances, NoWriteOfEitherIsLost)
{
    testsupport::ResetProfile();
    const std::wstring parent = std::to_wstring(::GetCurrentProcessId());
    const Handshake events(parent);
    HANDLE ready = events.ready, go = events.go, done = events.done;

    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command =
        L"\"" + std::wstring(self) + L"\" --gtest_filter=TwoInstances.SecondInstancePicksColours";
    ::SetEnvironmentVariableW(kProfileVar, testsupport::ProfilePath().c_str());
    ::SetEnvironmentVariableW(kParentVar, parent.c_str());
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(
        ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    ::SetEnvironmentVariableW(kProfileVar, nullptr);
    ::SetEnvironmentVariableW(kParentVar, nullptr);

    Tally tally;
    int columns = 0, rows = 0;
    WithParameterDialog([&](HWND dialog, ModalDriver&) {
        ASSERT_TRUE(WaitPumping(ready, 60000)) << "the second instance did not come up";
        ::SetEvent(go);
        int storedColumns = SettingsStore::ReadInt(kColumns), storedRows = SettingsStore::ReadInt(kRows);
        // Each typed change stores both counts; rows go to 1 first so that
        // no intermediate pair exceeds twelve months and is refused.
        auto type = [&](int id, int value) {
            ExpectStill(kColumns, storedColumns, tally);
            ExpectStill(kRows, storedRows, tally);
            testsupport::TypeText(dialog, id, std::to_wstring(value));
            (id == IDC_COLUMNS ? columns : rows) = value;
            storedColumns = columns;
            storedRows = rows;
            tally.writes += 2;
            if (SettingsStore::ReadInt(kColumns) != columns || SettingsStore::ReadInt(kRows) != rows)
                ++tally.unseen;
        };
        columns = storedColumns;
        for (int round = 0; round < kMinCountRounds || ::WaitForSingleObject(done, 0) != WAIT_OBJECT_0;
             ++round) {
            const int c = 1 + round % 6;
            type(IDC_ROWS, 1);
            type(IDC_COLUMNS, c);
            type(IDC_ROWS, 12 / c);
            if (round > 100000)
                break;
        }
    });
    Report("count instance", tally);

    // The other instance's last write kept the file's time stamp: the copy
    // read now must not outlive it.
    HANDLE last = NamedEvent(parent, L"last"), lastDone = NamedEvent(parent, L"lastdone");
    SettingsStore::ReadInt(kForeColor);
    ::SetEvent(last);
    EXPECT_EQ(::WaitForSingleObject(lastDone, 60000), WAIT_OBJECT_0);
    ::Sleep(2300); // past the time in which the profile API re-reads a new file anyway
    EXPECT_EQ(static_cast<COLORREF>(SettingsStore::ReadInt(kForeColor)), kFinalColour)
        << "a write by the other instance was not seen";
    ::CloseHandle(last);
    ::CloseHandle(lastDone);

    ASSERT_EQ(::WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
    DWORD childExit = 1;
    ::GetExitCodeProcess(pi.hProcess, &childExit);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
    EXPECT_EQ(childExit, 0u) << "the colour instance failed (its output is above)";

    // The file holds each instance's last value of each of its keys.
    const std::string text = testsupport::ProfileText();
    int finalMismatches = 0;
    auto expectEntry = [&](const core::SettingKey& key, long long value) {
        char section[32], name[32];
        std::snprintf(section, sizeof section, "%ls", key.section);
        std::snprintf(name, sizeof name, "%ls", key.name);
        const auto entry = paramtest::Entry(text, section, name);
        const std::string want = std::to_string(value);
        if (entry != want) {
            ++finalMismatches;
            ADD_FAILURE() << name << " is " << entry.value_or("<absent>") << ", last written " << want;
        }
    };
    expectEntry(kColumns, columns);
    expectEntry(kRows, rows);
    for (int k = 0; k < 5; ++k) {
        int lastPick = k;
        while (lastPick + 5 < kColourWrites)
            lastPick += 5;
        expectEntry(*kColourKeys[k], static_cast<int>(k == 0 ? kFinalColour : PickedColour(lastPick)));
    }
    std::printf("final profile: %d of 7 keys differ from their instance's last write\n", finalMismatches);
    ExpectNothingLost(tally);
}
