#include "proc_stats.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace bench {
namespace {

// A file of /proc in full. Their size reads as 0, so read until the end.
std::optional<std::string> ReadProc(const std::wstring& path)
{
    HANDLE f = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string text;
    char buf[8192];
    DWORD got = 0;
    while (::ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0)
        text.append(buf, got);
    ::CloseHandle(f);
    return text;
}

std::wstring ProcPath(int pid, const wchar_t* leaf)
{
    wchar_t path[96];
    std::swprintf(path, std::size(path), L"Z:\\proc\\%d\\%ls", pid, leaf);
    return path;
}

std::string Narrow(const std::wstring& w)
{
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0,
                                        nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr,
                              nullptr);
    return s;
}

std::vector<int> AllPids()
{
    std::vector<int> pids;
    WIN32_FIND_DATAW fd;
    HANDLE h = ::FindFirstFileW(L"Z:\\proc\\*", &fd);
    if (h == INVALID_HANDLE_VALUE)
        return pids;
    do {
        wchar_t* end = nullptr;
        const long pid = std::wcstol(fd.cFileName, &end, 10);
        if (pid > 0 && end && *end == L'\0')
            pids.push_back(static_cast<int>(pid));
    } while (::FindNextFileW(h, &fd));
    ::FindClose(h);
    return pids;
}

// Value of "Key:   123 kB" lines.
long long Field(const std::string& text, const char* key)
{
    const std::size_t at = text.find(key);
    if (at == std::string::npos)
        return 0;
    return std::atoll(text.c_str() + at + std::strlen(key));
}

std::string OurPrefix()
{
    wchar_t buf[1024];
    const DWORD n = ::GetEnvironmentVariableW(L"WINEPREFIX", buf, static_cast<DWORD>(std::size(buf)));
    if (n == 0 || n >= std::size(buf))
        return {};
    return Narrow(std::wstring(buf, n));
}

} // namespace

int SelfPid()
{
    // Not through /proc/self: Wine's server opens files on the process's
    // behalf, so "self" would be the server. Our command line ends with the
    // program's file name, whichever way it was started.
    wchar_t path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, n);
    name = name.substr(name.find_last_of(L"\\/") + 1);
    const std::string want = Narrow(name);
    for (int pid : PrefixProcesses()) {
        const std::string cmd = CommandName(pid);
        if (cmd.size() >= want.size() &&
            ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, cmd.c_str() + cmd.size() - want.size(), -1,
                             want.c_str(), -1) == CSTR_EQUAL)
            return pid;
    }
    return 0;
}

std::string CommandName(int pid)
{
    const auto cmd = ReadProc(ProcPath(pid, L"cmdline"));
    return cmd ? std::string(cmd->c_str()) : std::string();
}

std::vector<int> PrefixProcesses()
{
    const std::string prefix = OurPrefix();
    const std::string want = "WINEPREFIX=" + prefix;
    std::vector<int> found;
    for (int pid : AllPids()) {
        const auto env = ReadProc(ProcPath(pid, L"environ"));
        if (!env)
            continue;
        bool match = false;
        for (std::size_t at = 0; at < env->size();) {
            const char* entry = env->c_str() + at;
            const std::size_t len = std::strlen(entry);
            if (want.size() == len && env->compare(at, len, want) == 0) {
                match = true;
                break;
            }
            at += len + 1;
        }
        if (!match && !prefix.empty())
            continue;
        // Wine's processes only: its server and Windows programs, not the
        // shell tools that happen to share the environment.
        std::string cmd = CommandName(pid);
        for (char& c : cmd)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (cmd.find("wineserver") != std::string::npos ||
            (cmd.size() > 4 && cmd.compare(cmd.size() - 4, 4, ".exe") == 0))
            found.push_back(pid);
    }
    return found;
}

std::optional<int> FindByCommandLine(const std::wstring& windowsPath, const std::vector<int>& except)
{
    const std::string want = Narrow(windowsPath);
    for (int pid : PrefixProcesses()) {
        bool skip = false;
        for (int e : except)
            skip = skip || e == pid;
        if (skip)
            continue;
        const std::string name = CommandName(pid);
        if (name.size() == want.size() && ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name.c_str(),
                                                           -1, want.c_str(), -1) == CSTR_EQUAL)
            return pid;
    }
    return std::nullopt;
}

std::optional<long long> CpuNs(int pid)
{
    WIN32_FIND_DATAW fd;
    HANDLE h = ::FindFirstFileW(ProcPath(pid, L"task\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    long long total = 0;
    bool any = false;
    do {
        if (fd.cFileName[0] < L'0' || fd.cFileName[0] > L'9')
            continue;
        wchar_t leaf[64];
        std::swprintf(leaf, std::size(leaf), L"task\\%ls\\schedstat", fd.cFileName);
        if (const auto s = ReadProc(ProcPath(pid, leaf))) {
            total += std::atoll(s->c_str());
            any = true;
        }
    } while (::FindNextFileW(h, &fd));
    ::FindClose(h);
    if (!any)
        return std::nullopt;
    return total;
}

std::optional<long long> CpuTicksMs(int pid)
{
    const auto stat = ReadProc(ProcPath(pid, L"stat"));
    if (!stat)
        return std::nullopt;
    // The name in parentheses may hold spaces; the fields count from after it.
    const std::size_t close = stat->rfind(')');
    if (close == std::string::npos)
        return std::nullopt;
    const char* p = stat->c_str() + close + 1;
    long long fields[16] = {};
    int n = 0;
    while (*p && n < 15) {
        while (*p == ' ')
            ++p;
        fields[n++] = std::atoll(p);
        while (*p && *p != ' ')
            ++p;
    }
    // After the name: state(0) ppid ... utime(11) stime(12).
    if (n < 13)
        return std::nullopt;
    return (fields[11] + fields[12]) * 10; // USER_HZ is 100 on Linux
}

std::optional<Memory> MemoryOf(int pid)
{
    const auto text = ReadProc(ProcPath(pid, L"smaps_rollup"));
    if (!text || text->empty())
        return std::nullopt;
    Memory m;
    m.rssKiB = Field(*text, "\nRss:");
    m.pssKiB = Field(*text, "\nPss:");
    m.privateCleanKiB = Field(*text, "\nPrivate_Clean:");
    m.privateDirtyKiB = Field(*text, "\nPrivate_Dirty:");
    return m;
}

} // namespace bench
