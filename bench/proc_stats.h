#pragma once
// What Linux knows about the processes under Wine, read through Wine's Z:
// drive. Wine's own answers are no use here: its PrivateUsage is always 0
// and its process times for another process are fixed at 10 ms.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace bench {

// The Linux processes of this Wine prefix (WINEPREFIX in their environment
// equal to ours), or all of them when no prefix is known.
std::vector<int> PrefixProcesses();
// The Linux process whose command line (Wine puts the Windows path of the
// program there) is `windowsPath`, and which is not in `except`.
std::optional<int> FindByCommandLine(const std::wstring& windowsPath, const std::vector<int>& except);
// Our own Linux process.
int SelfPid();
// The process's name as Linux shows it (its command line's first word).
std::string CommandName(int pid);

// CPU time of every live thread of the process, in nanoseconds (the
// scheduler's own count, far finer than the tick-based utime+stime).
std::optional<long long> CpuNs(int pid);
// utime + stime in milliseconds: counts threads that have ended too, but
// only to the tick (10 ms).
std::optional<long long> CpuTicksMs(int pid);

struct Memory {
    long long privateDirtyKiB = 0;
    long long privateCleanKiB = 0;
    long long rssKiB = 0;
    long long pssKiB = 0;
};
std::optional<Memory> MemoryOf(int pid);

} // namespace bench
