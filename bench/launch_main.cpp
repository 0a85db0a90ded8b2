// Starts programs and watches them from outside, as a user's shell would:
//   start-up  process creation to its first visible top-level window,
//   memory    its private memory once start-up has settled,
//   idle      the CPU it (and the Wine processes serving it) uses while
//             it sits open, half the time shown and half minimised.
// The measured program and the baseline alternate (ABBA), and medians are
// compared. Linux is asked for CPU and memory (see proc_stats.h).
//
//   bench_launch --measured EXE --baseline EXE [--dllfloor EXE] [--reps N]
//                [--settle MS] [--idle SECONDS] [--xvfb PID]
//   bench_launch --once NAME EXE [--args ARGS] [--settle MS]
//   bench_launch --warm      shows a window briefly and ends
// --reps 0 skips start-up and memory; --idle 0 skips idling. The floor with
// the platform DLLs is given the size of the measured program's window (as
// its first, unmeasured start shows it), so that it pays for as large a
// window. --once starts EXE a single time (a cold start: tools/bench.sh runs
// each in a new Wine session) and prints one SAMPLE line under NAME.
#include "bench_stats.h"
#include "proc_stats.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace bench;

struct Options {
    std::wstring measured;
    std::wstring baseline;
    std::wstring floor; // optional: the baseline with the calendar's platform DLLs
    int reps = 15;
    DWORD settleMs = 1500;
    double idleSeconds = 60;
    int xvfbPid = 0;
};

struct Running {
    PROCESS_INFORMATION pi{};
    HWND window = nullptr;
    double startMs = 0; // creation to the first visible window
    std::wstring path;
    std::vector<int> before; // Linux processes of the prefix before it started
};

std::wstring FullPath(const std::wstring& path)
{
    wchar_t buf[MAX_PATH * 2];
    const DWORD n = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(std::size(buf)), buf, nullptr);
    return n > 0 && n < std::size(buf) ? std::wstring(buf, n) : path;
}

HWND VisibleWindowOf(DWORD pid)
{
    struct Search {
        DWORD pid;
        HWND found;
    } s{pid, nullptr};
    ::EnumWindows(
        [](HWND h, LPARAM l) -> BOOL {
            auto* s = reinterpret_cast<Search*>(l);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(h, &owner);
            if (owner == s->pid && ::IsWindowVisible(h)) {
                s->found = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::optional<Running> Start(const std::wstring& exe, const std::wstring& args = {})
{
    Running r;
    r.path = FullPath(exe);
    r.before = PrefixProcesses();
    std::wstring dir = r.path.substr(0, r.path.find_last_of(L'\\'));
    std::wstring cmd = L"\"" + r.path + L"\"";
    if (!args.empty())
        cmd += L" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    const double t0 = NowMs();
    if (!::CreateProcessW(r.path.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si,
                          &r.pi)) {
        std::fprintf(stderr, "bench_launch: cannot start %ls (error %lu)\n", r.path.c_str(),
                     ::GetLastError());
        return std::nullopt;
    }
    for (;;) {
        if (HWND h = VisibleWindowOf(r.pi.dwProcessId)) {
            r.startMs = NowMs() - t0;
            r.window = h;
            return r;
        }
        if (::WaitForSingleObject(r.pi.hProcess, 0) == WAIT_OBJECT_0) {
            DWORD code = 0;
            ::GetExitCodeProcess(r.pi.hProcess, &code);
            std::fprintf(stderr, "bench_launch: %ls ended before showing a window (exit code %lu)\n",
                         r.path.c_str(), code);
            break;
        }
        if (NowMs() - t0 > 30000) {
            std::fprintf(stderr, "bench_launch: %ls showed no window within 30 s\n", r.path.c_str());
            ::TerminateProcess(r.pi.hProcess, 1);
            break;
        }
        ::Sleep(1);
    }
    ::CloseHandle(r.pi.hThread);
    ::CloseHandle(r.pi.hProcess);
    return std::nullopt;
}

bool Stop(Running& r)
{
    ::PostMessageW(r.window, WM_CLOSE, 0, 0);
    bool ok = ::WaitForSingleObject(r.pi.hProcess, 15000) == WAIT_OBJECT_0;
    if (!ok) {
        std::fprintf(stderr, "bench_launch: %ls did not end on WM_CLOSE\n", r.path.c_str());
        ::TerminateProcess(r.pi.hProcess, 1);
        ::WaitForSingleObject(r.pi.hProcess, 5000);
    }
    ::CloseHandle(r.pi.hThread);
    ::CloseHandle(r.pi.hProcess);
    return ok;
}

std::optional<int> LinuxPidOf(const Running& r)
{
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (auto pid = FindByCommandLine(r.path, r.before))
            return pid;
        ::Sleep(20);
    }
    return std::nullopt;
}

// One start measured: its start-up, then its memory once it has settled.
struct Measured {
    double startMs = 0;
    Memory memory;
};

std::optional<Measured> StartAndMeasure(const std::wstring& exe, const std::wstring& args, DWORD settleMs)
{
    auto r = Start(exe, args);
    if (!r)
        return std::nullopt;
    ::Sleep(settleMs);
    std::optional<Memory> mem;
    if (const auto pid = LinuxPidOf(*r))
        mem = MemoryOf(*pid);
    if (!Stop(*r))
        return std::nullopt;
    if (!mem) {
        std::fprintf(stderr, "bench_launch: no memory figures for %ls\n", r->path.c_str());
        return std::nullopt;
    }
    return Measured{r->startMs, *mem};
}

// Start-up and memory, the programs taking turns: each repetition runs
// them in another order, so that no program always follows the same one.
bool StartUpAndMemory(const Options& o)
{
    struct Program {
        const char* name;
        std::wstring exe;
        std::wstring args;
        std::vector<double> start, privateKiB, rssKiB;
    };
    std::vector<Program> programs{{"measured", o.measured, {}, {}, {}, {}},
                                  {"baseline", o.baseline, {}, {}, {}, {}}};
    if (!o.floor.empty()) {
        programs.push_back({"dllfloor", o.floor, {}, {}, {}, {}});
        // The same floor with one thread that has come and gone.
        programs.push_back({"dllfloor_thread", o.floor, {}, {}, {}, {}});
    }
    const std::size_t n = programs.size();
    // One unmeasured start of each: the first start pays for the disk cache.
    // The measured program's shows the size the floor is to take.
    for (Program& p : programs) {
        auto r = Start(p.exe, p.args);
        if (!r)
            return false;
        if (&p == &programs[0]) {
            ::Sleep(o.settleMs);
            RECT w{};
            ::GetWindowRect(r->window, &w);
            wchar_t size[32];
            std::swprintf(size, std::size(size), L"%ldx%ld", w.right - w.left, w.bottom - w.top);
            std::printf("INFO window size=%ls\n", size);
            if (n > 3) {
                programs[2].args = size;
                programs[3].args = std::wstring(size) + L" thread";
            }
        }
        if (!Stop(*r))
            return false;
    }
    for (int i = 0; i < o.reps; ++i) {
        for (std::size_t k = 0; k < n; ++k) {
            // Rotated, and reversed every other round: ABC CBA BCA ACB ...
            const std::size_t rotated = (k + static_cast<std::size_t>(i / 2)) % n;
            Program& p = programs[(i % 2) == 0 ? rotated : n - 1 - rotated];
            const auto r = StartAndMeasure(p.exe, p.args, o.settleMs);
            if (!r)
                return false;
            const Memory* mem = &r->memory;
            p.start.push_back(r->startMs);
            p.privateKiB.push_back(static_cast<double>(mem->privateDirtyKiB));
            p.rssKiB.push_back(static_cast<double>(mem->rssKiB));
            std::printf("SAMPLE %s start_ms=%.2f private_dirty_kib=%lld private_clean_kib=%lld rss_kib=%lld "
                        "pss_kib=%lld\n",
                        p.name, r->startMs, mem->privateDirtyKiB, mem->privateCleanKiB, mem->rssKiB,
                        mem->pssKiB);
            std::fflush(stdout);
            ::Sleep(100);
        }
    }
    PrintComparison("startup", "ms", programs[0].start, programs[1].start);
    PrintComparison("memory", "KiB", programs[0].privateKiB, programs[1].privateKiB);
    PrintComparison("memory_rss", "KiB", programs[0].rssKiB, programs[1].rssKiB);
    if (n > 3) {
        PrintComparison("startup_vs_dllfloor", "ms", programs[0].start, programs[2].start);
        PrintComparison("memory_vs_dllfloor", "KiB", programs[0].privateKiB, programs[2].privateKiB);
        PrintComparison("dllfloor_startup", "ms", programs[2].start, programs[1].start);
        PrintComparison("dllfloor_memory", "KiB", programs[2].privateKiB, programs[1].privateKiB);
        PrintComparison("memory_vs_dllfloor_thread", "KiB", programs[0].privateKiB, programs[3].privateKiB);
        PrintComparison("dllfloor_thread_memory", "KiB", programs[3].privateKiB, programs[2].privateKiB);
    }
    return true;
}

struct Snapshot {
    double ms = 0;
    std::map<int, long long> cpuNs; // per Linux process
    long long measuredTicksMs = 0;
};

Snapshot Take(const std::vector<int>& pids, int measured)
{
    Snapshot s;
    for (int pid : pids) {
        if (const auto ns = CpuNs(pid))
            s.cpuNs[pid] = *ns;
    }
    s.measuredTicksMs = CpuTicksMs(measured).value_or(0);
    s.ms = NowMs();
    return s;
}

double DeltaMs(const Snapshot& a, const Snapshot& b, int pid)
{
    const auto ia = a.cpuNs.find(pid), ib = b.cpuNs.find(pid);
    if (ia == a.cpuNs.end() || ib == b.cpuNs.end())
        return 0;
    return static_cast<double>(ib->second - ia->second) / 1e6;
}

bool Idle(const Options& o)
{
    auto r = Start(o.measured);
    if (!r)
        return false;
    // Past the start-up worker's passes and the first clock ticks.
    ::Sleep(std::max<DWORD>(o.settleMs, 2000));
    const auto measured = LinuxPidOf(*r);
    if (!measured) {
        std::fprintf(stderr, "bench_launch: cannot find the Linux process of %ls\n", r->path.c_str());
        Stop(*r);
        return false;
    }
    const int self = SelfPid();
    std::vector<int> pids;
    std::map<int, std::string> names;
    int server = 0;
    for (int pid : PrefixProcesses()) {
        if (pid == self)
            continue; // asleep throughout
        pids.push_back(pid);
        names[pid] = CommandName(pid);
        if (names[pid].find("wineserver") != std::string::npos)
            server = pid;
    }
    if (o.xvfbPid > 0) {
        pids.push_back(o.xvfbPid);
        names[o.xvfbPid] = "Xvfb";
    }

    const DWORD half = static_cast<DWORD>(o.idleSeconds * 500);
    const Snapshot s0 = Take(pids, *measured);
    ::Sleep(half);
    const Snapshot s1 = Take(pids, *measured);
    // The minimising itself is a user action, not idling: it stays outside.
    ::PostMessageW(r->window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ::Sleep(1000);
    const bool minimised = ::IsIconic(r->window) != FALSE;
    const Snapshot s2 = Take(pids, *measured);
    ::Sleep(half);
    const Snapshot s3 = Take(pids, *measured);
    if (!Stop(*r))
        return false;

    const double wall1 = s1.ms - s0.ms, wall2 = s3.ms - s2.ms, wall = wall1 + wall2;
    auto both = [&](int pid) { return DeltaMs(s0, s1, pid) + DeltaMs(s2, s3, pid); };
    double tree = 0;
    for (int pid : pids) {
        if (pid != o.xvfbPid)
            tree += both(pid);
    }
    const double own = both(*measured);
    const double serverMs = server ? both(server) : 0;
    const double xvfb = o.xvfbPid > 0 ? both(o.xvfbPid) : 0;
    for (int pid : pids) {
        std::printf("IDLE_PROCESS pid=%d cpu_ms=%.2f name=%s\n", pid, both(pid), names[pid].c_str());
    }
    const double ticks = static_cast<double>((s1.measuredTicksMs - s0.measuredTicksMs) +
                                             (s3.measuredTicksMs - s2.measuredTicksMs));
    auto pct = [](double cpu, double w) { return w > 0 ? 100.0 * cpu / w : 0.0; };
    std::printf("RESULT idle seconds=%.1f minimised=%d measured_cpu_ms=%.2f measured_pct=%.4f "
                "shown_pct=%.4f minimised_pct=%.4f measured_ticks_ms=%.0f wineserver_ms=%.2f "
                "wineserver_pct=%.4f wine_tree_ms=%.2f wine_tree_pct=%.4f wine_processes=%zu xvfb_ms=%.2f "
                "xvfb_pct=%.4f\n",
                wall / 1000.0, minimised ? 1 : 0, own, pct(own, wall), pct(DeltaMs(s0, s1, *measured), wall1),
                pct(DeltaMs(s2, s3, *measured), wall2), ticks, serverMs, pct(serverMs, wall), tree,
                pct(tree, wall), pids.size() - (o.xvfbPid > 0 ? 1 : 0), xvfb, pct(xvfb, wall));
    std::fflush(stdout);
    return true;
}

} // namespace

// One start, as after a login: start-up and memory, printed as one SAMPLE
// line under `name`.
bool Once(const std::string& name, const std::wstring& exe, const std::wstring& args, DWORD settleMs)
{
    const auto r = StartAndMeasure(exe, args, settleMs);
    if (!r)
        return false;
    std::printf("SAMPLE %s start_ms=%.2f private_dirty_kib=%lld rss_kib=%lld\n", name.c_str(), r->startMs,
                r->memory.privateDirtyKiB, r->memory.rssKiB);
    std::fflush(stdout);
    return true;
}

// A window shown and gone again: the first window on a fresh display and
// Wine server pays for setting both up, and no measurement should.
int Warm()
{
    HWND w = ::CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64, nullptr, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
    if (!w)
        return 1;
    ::UpdateWindow(w);
    const double until = NowMs() + 300;
    MSG msg;
    while (NowMs() < until) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
        ::Sleep(10);
    }
    ::DestroyWindow(w);
    return 0;
}

int wmain(int argc, wchar_t** argv)
{
    if (argc == 2 && std::wcscmp(argv[1], L"--warm") == 0)
        return Warm();
    if (argc >= 4 && std::wcscmp(argv[1], L"--once") == 0) {
        std::wstring args;
        DWORD settle = 1000;
        for (int i = 4; i + 1 < argc; i += 2) {
            if (std::wcscmp(argv[i], L"--args") == 0)
                args = argv[i + 1];
            else if (std::wcscmp(argv[i], L"--settle") == 0)
                settle = static_cast<DWORD>(std::max(0, _wtoi(argv[i + 1])));
        }
        const std::wstring wname = argv[2];
        return Once(std::string(wname.begin(), wname.end()), argv[3], args, settle) ? 0 : 1;
    }
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::wstring key = argv[i];
        const wchar_t* value = argv[i + 1];
        if (key == L"--measured")
            o.measured = value;
        else if (key == L"--baseline")
            o.baseline = value;
        else if (key == L"--dllfloor")
            o.floor = value;
        else if (key == L"--reps")
            o.reps = std::max(0, _wtoi(value));
        else if (key == L"--settle")
            o.settleMs = static_cast<DWORD>(std::max(0, _wtoi(value)));
        else if (key == L"--idle")
            o.idleSeconds = std::wcstod(value, nullptr);
        else if (key == L"--xvfb")
            o.xvfbPid = _wtoi(value);
        else {
            std::fprintf(stderr, "bench_launch: unknown option %ls\n", key.c_str());
            return 2;
        }
    }
    if (o.measured.empty() || o.baseline.empty()) {
        std::fprintf(
            stderr,
            "usage: bench_launch --measured EXE --baseline EXE [--dllfloor EXE] [--reps N] [--settle MS] "
            "[--idle SECONDS] [--xvfb PID]\n");
        return 2;
    }
    if (o.reps > 0 && !StartUpAndMemory(o))
        return 1;
    if (o.idleSeconds > 0 && !Idle(o))
        return 1;
    return 0;
}
