#include "framework/app.h"

#include "core/profile_values.h"
#include "framework/late_bound.h"
#include "framework/profile_lock.h"
#include "framework/wnd.h"

#include <ole2.h>
#include <shlobj.h>

#include <cstdint>
#include <cwchar>
#include <span>
#include <utility>

namespace fw {
namespace {

CWinApp* g_app = nullptr;

// Longest profile value we read; anything longer is not a value this
// program wrote (a 60-byte record is 120 characters).
constexpr DWORD kMaxValueChars = 1 << 20;
// The buffer a value is first read into, and how it grows.
constexpr std::size_t kFirstValueChars = 256;
constexpr std::size_t kValueGrowth = 4;
// The buffer a whole section is first read into: the program's sections
// fit several times over.
constexpr std::size_t kFirstSectionChars = 1024;

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

// Reads through `call(buffer, size)`, growing the buffer until the answer
// fits: the profile functions cut a long answer short and say so only by
// its length, `slack` characters short of the buffer's size.
template <class Call>
std::optional<std::wstring> ReadGrowing(std::size_t first, DWORD slack, Call call)
{
    std::wstring buf(first, L'\0');
    for (;;) {
        const DWORD n = call(buf.data(), static_cast<DWORD>(buf.size()));
        if (n + slack < buf.size()) {
            buf.resize(n);
            return buf;
        }
        if (buf.size() >= kMaxValueChars)
            return std::nullopt;
        buf.assign(buf.size() * kValueGrowth, L'\0');
    }
}

} // namespace

CWinApp::CWinApp(const wchar_t* appName) : m_pPreviousApp(g_app)
{
    if (appName)
        m_appName = appName;
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = m_pPreviousApp;
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

int CWinApp::ExitInstance() { return m_nExitCode; }

void CWinApp::OnHelp() {}

std::optional<std::wstring> CWinApp::ReadProfileString(const wchar_t* section, const wchar_t* entry) const
{
    auto read = [&] {
        return ReadGrowing(kFirstValueChars, 1, [&](wchar_t* buf, DWORD size) {
            return ::GetPrivateProfileStringW(section, entry, L"", buf, size, m_profilePath.c_str());
        });
    };
    return ReadSharedProfile(m_profilePath, read);
}

std::optional<std::wstring> CWinApp::GetProfileSection(const wchar_t* section) const
{
    // A list cut short is answered with the buffer's size less two.
    auto read = [&] {
        return ReadGrowing(kFirstSectionChars, 2, [&](wchar_t* buf, DWORD size) {
            return ::GetPrivateProfileSectionW(section, buf, size, m_profilePath.c_str());
        });
    };
    return ReadSharedProfile(m_profilePath, read);
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

std::wstring CWinApp::GetProfileString(const wchar_t* section, const wchar_t* entry,
                                       const wchar_t* defaultValue) const
{
    auto text = ReadProfileString(section, entry);
    if (!text || text->empty())
        return defaultValue ? defaultValue : L"";
    return std::move(*text);
}

BOOL CWinApp::WriteProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value) const
{
    // Never null: a null value would delete the key, which is not a write.
    return WriteProfileText(section, entry, value ? value : L"");
}

BOOL CWinApp::WriteProfileText(const wchar_t* section, const wchar_t* entry, const wchar_t* text) const
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
    auto write = [&] { return ::WritePrivateProfileStringW(section, entry, text, m_profilePath.c_str()); };
    return WriteSharedProfile(m_profilePath, write);
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
        return kExitNoApplication;
    app->InitApplication(instance);
    // No message loop of the framework's own: the application's life is
    // its InitInstance, whatever that returns.
    app->InitInstance();
    return app->ExitInstance();
}

} // namespace fw
