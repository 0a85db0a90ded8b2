#pragma once
// The application object, the per-user profile and the message box.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fw {

class CWnd;

class CWinApp {
public:
    // Without a name the application is named after its executable, and so
    // is its profile: %APPDATA%\<name>.ini.
    explicit CWinApp(const wchar_t* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    // The process's exit code, asked for once InitInstance has returned:
    // m_nExitCode, which stays 0 unless something failed.
    virtual int ExitInstance();

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
    std::wstring m_appName;
    std::wstring m_profilePath;
    int m_nExitCode = 0;

    // Profile access. Every call is complete in itself (no cache): a write
    // is seen by the next read. Values that are not what the reader expects
    // read as absent (integers: the default; binary: no value).
    int GetProfileInt(const wchar_t* section, const wchar_t* entry, int defaultValue) const;
    BOOL WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value) const;
    std::optional<std::vector<std::uint8_t>> GetProfileBinary(const wchar_t* section,
                                                              const wchar_t* entry) const;
    BOOL WriteProfileBinary(const wchar_t* section, const wchar_t* entry, const void* data,
                            std::size_t size) const;
    // Text as stored, blanks and one pair of quotes around it removed as
    // the profile API does; `defaultValue` when absent, empty, or too long
    // to be a value this program wrote.
    std::wstring GetProfileString(const wchar_t* section, const wchar_t* entry,
                                  const wchar_t* defaultValue = L"") const;
    BOOL WriteProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value) const;
    // A whole section at once, as "name=value" entries each ended by a NUL
    // (core::FindSectionValue finds one): one trip to the file for several
    // keys. Empty when the section is absent; none when it cannot be read
    // whole.
    std::optional<std::wstring> GetProfileSection(const wchar_t* section) const;

    // The help command's handler; no help file is shipped, so it does nothing.
    virtual void OnHelp();

    // Sets names and paths from the executable; called before InitInstance.
    void InitApplication(HINSTANCE instance);

private:
    // An application object made while another exists (a test's) stands in
    // for it until it is destroyed.
    CWinApp* m_pPreviousApp;

    std::optional<std::wstring> ReadProfileString(const wchar_t* section, const wchar_t* entry) const;
    BOOL WriteProfileText(const wchar_t* section, const wchar_t* entry, const wchar_t* text) const;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetResourceHandle();

// The window that modal UI should be owned by: the last active popup of the
// main window, or null.
HWND AfxGetSafeOwner(HWND preferred = nullptr);

// String resource by ID; empty when it does not load.
std::wstring AfxLoadString(UINT id);

// Message box captioned with the application's name, owned by the safe
// owner. `helpId` is accepted for symmetry and not used (no help file).
int AfxMessageBox(UINT idPrompt, UINT type = MB_OK, UINT helpId = static_cast<UINT>(-1));
int AfxMessageBox(const std::wstring& text, UINT type = MB_OK, UINT helpId = 0);

// The program's entry: InitApplication, InitInstance, and ExitInstance's
// exit code.
int AfxWinMain(HINSTANCE instance, int showCmd);
// The exit code when there is no application object at all.
inline constexpr int kExitNoApplication = 1;

inline constexpr UINT kIdHelp = 0xE146;

} // namespace fw
