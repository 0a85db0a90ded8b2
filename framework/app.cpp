#include "framework/app.h"

#include "core/profile_values.h"
#include "framework/late_bound.h"
#include "framework/wnd.h"

#include <ole2.h>
#include <shlobj.h>

#include <cstdint>
#include <cwchar>
#include <span>

namespace fw {
namespace {

CWinApp* g_app = nullptr;

// Longest profile value we read; anything longer is not a value this
// program wrote (a 60-byte record is 120 characters).
constexpr DWORD kMaxValueChars = 1 << 20;

std::wstring ExecutableBaseName()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return L"Morvelin";
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    std::wstring name = path.substr(slash == std::wstring::npos ? 0 : slash + 1);
    const std::size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.resize(dot);
    return name;
}

std::wstring RoamingAppData()
{
    wchar_t buf[MAX_PATH * 2];
    const DWORD n = ::GetEnvironmentVariableW(L"APPDATA", buf, static_cast<DWORD>(std::size(buf)));
    if (n > 0 && n < std::size(buf))
        return std::wstring(buf, n);
    // The environment always names the folder; the shell is asked only
    // where it does not.
    static const auto knownFolder =
        LateBound<decltype(&::SHGetKnownFolderPath)>(L"shell32.dll", "SHGetKnownFolderPath");
    PWSTR known = nullptr;
    std::wstring result;
    if (knownFolder && SUCCEEDED(knownFolder(FOLDERID_RoamingAppData, 0, nullptr, &known)) && known)
        result = known;
    ::CoTaskMemFree(known);
    return result;
}

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
struct SharedProfile {
    std::wstring path; // the profile the objects below belong to
    HANDLE mutex = nullptr;
    HANDLE mapping = nullptr;
    volatile LONG* generation = nullptr;
    LONG seen = 0; // the generation this process's copy reflects
};

// Keeps threads of this process from sharing the state below, and from
// each other's accesses, while one of them waits for the shared lock.
SRWLOCK g_sharedLock = SRWLOCK_INIT;
SharedProfile g_shared;

// An instance that hangs inside a profile call must not freeze the other
// one for good; past this the access goes ahead unlocked.
constexpr DWORD kLockWaitMs = 5000;

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
    if (g_shared.generation)
        ::UnmapViewOfFile(const_cast<LONG*>(g_shared.generation));
    if (g_shared.mapping)
        ::CloseHandle(g_shared.mapping);
    if (g_shared.mutex)
        ::CloseHandle(g_shared.mutex);
    g_shared = SharedProfile{};
    g_shared.path = path;
    // Without these objects the accesses still happen, only unguarded.
    g_shared.mutex = ::CreateMutexW(nullptr, FALSE, SharedObjectName(path, L"Lock").c_str());
    g_shared.mapping = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG),
                                            SharedObjectName(path, L"Generation").c_str());
    if (g_shared.mapping)
        g_shared.generation =
            static_cast<volatile LONG*>(::MapViewOfFile(g_shared.mapping, FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
    // Whatever copy this process holds predates the number.
    g_shared.seen = g_shared.generation ? *g_shared.generation - 2 : 0;
}

LONG Generation()
{
    return g_shared.generation ? ::InterlockedCompareExchange(g_shared.generation, 0, 0) : 0;
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
        const DWORD r = ::WaitForSingleObject(g_shared.mutex, kLockWaitMs);
        m_owned = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
        // An odd number under the lock is a write whose process ended
        // halfway: nobody else will finish it.
        if (m_owned && g_shared.generation && (Generation() & 1))
            ::InterlockedIncrement(g_shared.generation);
    }
    ~SharedLock()
    {
        const DWORD error = ::GetLastError();
        if (m_owned)
            ::ReleaseMutex(g_shared.mutex);
        ::SetLastError(error);
    }
    SharedLock(const SharedLock&) = delete;
    SharedLock& operator=(const SharedLock&) = delete;

private:
    bool m_owned = false;
};

template <class Read>
auto ReadShared(const std::wstring& path, Read read) -> decltype(read())
{
    ThreadGuard thread;
    AttachShared(path);
    if (g_shared.generation) {
        for (int attempt = 0; attempt < 3; ++attempt) {
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

template <class Write>
BOOL WriteShared(const std::wstring& path, Write write)
{
    ThreadGuard thread;
    AttachShared(path);
    SharedLock lock;
    if (g_shared.generation)
        ::InterlockedIncrement(g_shared.generation);
    // A write always starts from the file as it is on disk.
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
    const BOOL written = write();
    const DWORD error = ::GetLastError();
    // Whether or not it succeeded: the file may have changed.
    if (g_shared.generation)
        g_shared.seen = ::InterlockedIncrement(g_shared.generation);
    ::SetLastError(error);
    return written;
}

} // namespace

CWinApp::CWinApp(const wchar_t* appName)
{
    if (appName)
        m_appName = appName;
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

void CWinApp::InitApplication(HINSTANCE instance)
{
    m_hInstance = instance;
    if (m_appName.empty())
        m_appName = ExecutableBaseName();
    if (m_profilePath.empty()) {
        std::wstring folder = RoamingAppData();
        if (!folder.empty() && folder.back() != L'\\')
            folder += L'\\';
        m_profilePath = folder + m_appName + L".ini";
    }
}

BOOL CWinApp::InitInstance() { return FALSE; }

void CWinApp::OnHelp() {}

std::optional<std::wstring> CWinApp::ReadProfileString(const wchar_t* section,
                                                       const wchar_t* entry) const
{
    return ReadShared(m_profilePath, [&]() -> std::optional<std::wstring> {
        std::wstring buf(256, L'\0');
        for (;;) {
            const DWORD n = ::GetPrivateProfileStringW(section, entry, L"", buf.data(),
                                                       static_cast<DWORD>(buf.size()),
                                                       m_profilePath.c_str());
            if (n + 1 < buf.size()) {
                buf.resize(n);
                return buf;
            }
            if (buf.size() >= kMaxValueChars)
                return std::nullopt;
            buf.assign(buf.size() * 4, L'\0');
        }
    });
}

int CWinApp::GetProfileInt(const wchar_t* section, const wchar_t* entry, int defaultValue) const
{
    const auto text = ReadProfileString(section, entry);
    if (!text)
        return defaultValue;
    return core::ParseInt32(*text).value_or(defaultValue);
}

std::optional<std::vector<std::uint8_t>> CWinApp::GetProfileBinary(const wchar_t* section,
                                                                   const wchar_t* entry) const
{
    const auto text = ReadProfileString(section, entry);
    if (!text || text->empty())
        return std::nullopt;
    return core::HexDecode(*text);
}

BOOL CWinApp::WriteProfileText(const wchar_t* section, const wchar_t* entry,
                               const wchar_t* text) const
{
    // A read-only profile stays untouched even where the file system would
    // let this user write it anyway (an administrator, or root under Wine):
    // the attribute is the user's way of saying so.
    const DWORD attributes = ::GetFileAttributesW(m_profilePath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return WriteShared(m_profilePath, [&] {
        return ::WritePrivateProfileStringW(section, entry, text, m_profilePath.c_str());
    });
}

BOOL CWinApp::WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value) const
{
    return WriteProfileText(section, entry, core::FormatInt(value).c_str());
}

BOOL CWinApp::WriteProfileBinary(const wchar_t* section, const wchar_t* entry, const void* data,
                                 std::size_t size) const
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return WriteProfileText(section, entry,
                            core::HexEncode(std::span<const std::uint8_t>(bytes, size)).c_str());
}

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }

HINSTANCE AfxGetResourceHandle()
{
    return g_app && g_app->m_hInstance ? g_app->m_hInstance : ::GetModuleHandleW(nullptr);
}

HWND AfxGetSafeOwner(HWND preferred)
{
    HWND owner = preferred;
    if (!owner) {
        CWnd* main = AfxGetMainWnd();
        owner = main ? main->m_hWnd : nullptr;
    }
    if (!owner || !::IsWindow(owner))
        return nullptr;
    while (::GetWindowLongPtrW(owner, GWL_STYLE) & WS_CHILD)
        owner = ::GetParent(owner);
    return ::GetLastActivePopup(owner);
}

std::wstring AfxLoadString(UINT id)
{
    const wchar_t* text = nullptr;
    // With a zero buffer size LoadStringW hands out the resource in place.
    const int n = ::LoadStringW(AfxGetResourceHandle(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (n <= 0 || !text)
        return {};
    return std::wstring(text, static_cast<std::size_t>(n));
}

int AfxMessageBox(const std::wstring& text, UINT type, UINT)
{
    // As the platform's framework does: an OK box without an icon gets the
    // exclamation mark, a yes/no box the question mark.
    if ((type & MB_ICONMASK) == 0) {
        switch (type & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            type |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            type |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    const std::wstring caption = g_app ? g_app->m_appName : std::wstring();
    return ::MessageBoxW(AfxGetSafeOwner(), text.c_str(), caption.c_str(), type);
}

int AfxMessageBox(UINT idPrompt, UINT type, UINT helpId)
{
    return AfxMessageBox(AfxLoadString(idPrompt), type, helpId);
}

int AfxWinMain(HINSTANCE instance, int)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    // OLE for the hosted control's dispatch interfaces and font objects.
    const HRESULT ole = ::OleInitialize(nullptr);
    app->InitApplication(instance);
    const BOOL run = app->InitInstance();
    if (SUCCEEDED(ole))
        ::OleUninitialize();
    return run ? 1 : 0;
}

} // namespace fw
