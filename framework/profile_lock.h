#pragma once
// Profile accesses that several processes on one profile can share.
//
// The profile API reads the whole file, changes one key and writes the
// whole file back; each process also keeps a copy that it trusts while the
// file's time stamp looks unchanged. Two instances on one profile would
// write each other's stale keys back, read a file the other is halfway
// through writing, or keep an old copy when two writes share one time-stamp
// tick. So writes take turns under a lock that all processes on the profile
// share, and each write counts a shared number up once before it touches
// the file and once after (odd: a write is under way). A process that finds
// the number changed since its own last access drops its copy first, and a
// read that a write overlapped is done again; reads, by far the most
// frequent access, so need no lock.
#include <windows.h>

#include <optional>
#include <string>

namespace fw {

// A callable borrowed for the length of one call.
template <class R>
class FunctionRef {
public:
    template <class F>
    FunctionRef(F& f) noexcept : m_object(&f), m_call([](void* o) -> R { return (*static_cast<F*>(o))(); })
    {}
    R operator()() const { return m_call(m_object); }

private:
    void* m_object;
    R (*m_call)(void*);
};

// Runs `read` against the profile at `path` so that it sees no write of
// another process halfway.
std::optional<std::wstring> ReadSharedProfile(const std::wstring& path,
                                              FunctionRef<std::optional<std::wstring>> read);
// Runs `write` against the profile at `path` in turn with every other
// process's writes; its result and last error are passed on.
BOOL WriteSharedProfile(const std::wstring& path, FunctionRef<BOOL> write);

} // namespace fw
