#include "framework/profile_lock.h"

#include "framework/handles.h"

#include <cstdint>
#include <cwchar>
#include <iterator>

namespace fw {
namespace {

// An instance that hangs inside a profile call must not freeze the other
// one for good; past this the access goes ahead unlocked.
constexpr DWORD kLockWaitMs = 5000;
// A read that writes keep overlapping is tried this often before it waits
// for the lock.
constexpr int kReadAttempts = 3;

// The objects all processes on one profile share.
struct SharedProfile {
    std::wstring path; // the profile the objects below belong to
    UniqueKernelHandle mutex;
    UniqueKernelHandle mapping;
    UniqueMappedView view; // the generation number
    LONG seen = 0;         // the generation this process's copy reflects

    volatile LONG* generation() const { return static_cast<volatile LONG*>(view.get()); }
};

// Keeps threads of this process from sharing the state below, and from
// each other's accesses, while one of them waits for the shared lock.
SRWLOCK g_sharedLock = SRWLOCK_INIT;
SharedProfile g_shared;

// Named after the profile's full path, case-folded as the file system
// compares names, so that every spelling of one file shares the objects.
std::wstring SharedObjectName(const std::wstring& path, const wchar_t* kind)
{
    std::wstring full(MAX_PATH, L'\0');
    DWORD n = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n >= full.size()) {
        full.resize(n);
        n = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    full.resize(n > 0 && n < full.size() ? n : 0);
    if (full.empty())
        full = path;
    ::CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (wchar_t c : full) {
        hash ^= static_cast<std::uint16_t>(c);
        hash *= 1099511628211ull;
    }
    wchar_t name[96];
    std::swprintf(name, std::size(name), L"Local\\Morvelin.Profile.%016llX.%ls",
                  static_cast<unsigned long long>(hash), kind);
    return name;
}

void AttachShared(const std::wstring& path)
{
    if (g_shared.path == path && g_shared.mutex)
        return;
    g_shared.view.reset();
    g_shared.mapping.reset();
    g_shared.mutex.reset();
    g_shared.path = path;
    // Without these objects the accesses still happen, only unguarded.
    g_shared.mutex.reset(::CreateMutexW(nullptr, FALSE, SharedObjectName(path, L"Lock").c_str()));
    g_shared.mapping.reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                sizeof(LONG), SharedObjectName(path, L"Generation").c_str()));
    if (g_shared.mapping)
        g_shared.view.reset(::MapViewOfFile(g_shared.mapping.get(), FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
    // Whatever copy this process holds predates the number.
    g_shared.seen = g_shared.generation() ? *g_shared.generation() - 2 : 0;
}

LONG Generation()
{
    return g_shared.generation() ? ::InterlockedCompareExchange(g_shared.generation(), 0, 0) : 0;
}

void DropStaleCopy(const std::wstring& path, LONG generation)
{
    if (generation == g_shared.seen)
        return;
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
    g_shared.seen = generation;
}

class ThreadGuard {
public:
    ThreadGuard() { ::AcquireSRWLockExclusive(&g_sharedLock); }
    ~ThreadGuard() { ::ReleaseSRWLockExclusive(&g_sharedLock); }
    ThreadGuard(const ThreadGuard&) = delete;
    ThreadGuard& operator=(const ThreadGuard&) = delete;
};

class SharedLock {
public:
    SharedLock()
    {
        if (!g_shared.mutex)
            return;
        const DWORD r = ::WaitForSingleObject(g_shared.mutex.get(), kLockWaitMs);
        m_owned = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
        // An odd number under the lock is a write whose process ended
        // halfway: nobody else will finish it.
        if (m_owned && g_shared.generation() && (Generation() & 1))
            ::InterlockedIncrement(g_shared.generation());
    }
    ~SharedLock()
    {
        const DWORD error = ::GetLastError();
        if (m_owned)
            ::ReleaseMutex(g_shared.mutex.get());
        ::SetLastError(error);
    }
    SharedLock(const SharedLock&) = delete;
    SharedLock& operator=(const SharedLock&) = delete;

private:
    bool m_owned = false;
};

} // namespace

std::optional<std::wstring> ReadSharedProfile(const std::wstring& path,
                                              FunctionRef<std::optional<std::wstring>> read)
{
    ThreadGuard thread;
    AttachShared(path);
    if (g_shared.generation()) {
        for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
            const LONG before = Generation();
            if (before & 1)
                break;
            DropStaleCopy(path, before);
            auto result = read();
            if (Generation() == before)
                return result;
        }
    }
    // Writes keep coming: wait for the one under way, then read.
    SharedLock lock;
    DropStaleCopy(path, Generation());
    return read();
}

BOOL WriteSharedProfile(const std::wstring& path, FunctionRef<BOOL> write)
{
    ThreadGuard thread;
    AttachShared(path);
    SharedLock lock;
    if (g_shared.generation())
        ::InterlockedIncrement(g_shared.generation());
    // A write always starts from the file as it is on disk.
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
    const BOOL written = write();
    const DWORD error = ::GetLastError();
    // Whether or not it succeeded: the file may have changed.
    if (g_shared.generation())
        g_shared.seen = ::InterlockedIncrement(g_shared.generation());
    ::SetLastError(error);
    return written;
}

} // namespace fw
