#pragma once
// Reads this process's debug output (OutputDebugString) as a debug monitor
// does: through the shared buffer and the two events that the platform
// looks for before it writes there.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace startuptest {

class DebugOutputMonitor {
public:
    DebugOutputMonitor()
    {
        m_bufferReady = ::CreateEventW(nullptr, FALSE, TRUE, L"DBWIN_BUFFER_READY");
        m_dataReady = ::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY");
        m_mapping =
            ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSize, L"DBWIN_BUFFER");
        m_view = m_mapping ? static_cast<const char*>(::MapViewOfFile(m_mapping, FILE_MAP_READ, 0, 0, kSize))
                           : nullptr;
        m_stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (m_bufferReady && m_dataReady && m_view && m_stop)
            m_thread = ::CreateThread(nullptr, 0, &Listen, this, 0, nullptr);
    }
    ~DebugOutputMonitor()
    {
        if (m_thread) {
            ::SetEvent(m_stop);
            ::WaitForSingleObject(m_thread, 5000);
            ::CloseHandle(m_thread);
        }
        if (m_view)
            ::UnmapViewOfFile(m_view);
        for (HANDLE h : {m_mapping, m_bufferReady, m_dataReady, m_stop}) {
            if (h)
                ::CloseHandle(h);
        }
    }
    DebugOutputMonitor(const DebugOutputMonitor&) = delete;
    DebugOutputMonitor& operator=(const DebugOutputMonitor&) = delete;

    bool Listening() const { return m_thread != nullptr; }

    // This process's lines so far, in the ANSI code page as written.
    std::vector<std::string> Lines()
    {
        ::AcquireSRWLockExclusive(&m_lock);
        std::vector<std::string> lines = m_lines;
        ::ReleaseSRWLockExclusive(&m_lock);
        return lines;
    }

    // Lines() once it holds at least `count`, or after `ms` milliseconds:
    // the monitor reads each line a moment after it was written.
    std::vector<std::string> WaitForLines(std::size_t count, DWORD ms = 3000)
    {
        const DWORD start = ::GetTickCount();
        std::vector<std::string> lines = Lines();
        while (lines.size() < count && ::GetTickCount() - start < ms) {
            ::Sleep(10);
            lines = Lines();
        }
        return lines;
    }

private:
    static constexpr DWORD kSize = 4096;

    static DWORD WINAPI Listen(LPVOID p)
    {
        auto* self = static_cast<DebugOutputMonitor*>(p);
        const HANDLE waits[] = {self->m_stop, self->m_dataReady};
        while (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
            DWORD pid = 0;
            std::memcpy(&pid, self->m_view, sizeof pid);
            const char* text = self->m_view + sizeof pid;
            if (pid == ::GetCurrentProcessId()) {
                ::AcquireSRWLockExclusive(&self->m_lock);
                self->m_lines.emplace_back(text, ::strnlen(text, kSize - sizeof pid));
                ::ReleaseSRWLockExclusive(&self->m_lock);
            }
            ::SetEvent(self->m_bufferReady);
        }
        return 0;
    }

    SRWLOCK m_lock = SRWLOCK_INIT;
    HANDLE m_bufferReady = nullptr;
    HANDLE m_dataReady = nullptr;
    HANDLE m_mapping = nullptr;
    const char* m_view = nullptr;
    HANDLE m_stop = nullptr;
    HANDLE m_thread = nullptr;
    std::vector<std::string> m_lines;
};

} // namespace startuptest
