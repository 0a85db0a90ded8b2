#pragma once
// Shared by the swatch and parameter dialog tests: a stand-in for the
// calendar window, steps for the platform's choosers and message boxes,
// and ways to look at what reached the screen and the profile.
#include "app/private_messages.h"
#include "app/settings_store.h"
#include "framework/choosers.h"
#include "framework/app.h"
#include "framework/handles.h"
#include "framework/wnd.h"
#include "support/modal_driver.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace paramtest {

using testsupport::ModalDriver;

// Registered window class for the test's own top-level windows.
inline const wchar_t* TestWindowClass()
{
    static const bool registered = fw::CWnd::RegisterWindowClass(
        ::GetModuleHandleW(nullptr), L"MorvelinTestWindow", 0, ::LoadCursorW(nullptr, IDC_ARROW),
        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    (void)registered;
    return L"MorvelinTestWindow";
}

// A visible top-level window of the test at `rect`.
class TestWindow : public fw::CWnd {
public:
    explicit TestWindow(const RECT& rect, const wchar_t* title = L"Test")
    {
        CreateEx(0, TestWindowClass(), title, WS_POPUP | WS_CAPTION | WS_VISIBLE, rect, nullptr, 0);
    }
};

// The calendar window as the dialog sees it: the main window that receives
// the change messages. It keeps what the profile held at the moment each
// message arrived, which shows whether the store was written before the
// calendar was told.
class CalendarStandIn : public TestWindow {
public:
    struct Arrival {
        UINT message;
        std::string profile;
    };
    CalendarStandIn() : TestWindow(RECT{200, 150, 900, 750}, L"Kalender") {}
    std::vector<Arrival> arrivals;

    int Count(UINT message) const
    {
        int n = 0;
        for (const Arrival& a : arrivals)
            n += a.message == message;
        return n;
    }

protected:
    bool OnWndMsg(UINT m, WPARAM, LPARAM, LRESULT& r) override
    {
        if (m != WM_SETTINGS_CHANGED && m != WM_FONT_CHANGED)
            return false;
        arrivals.push_back({m, testsupport::ProfileText()});
        r = 0;
        return true;
    }
};

// Replaces the profile by `text`, as a user editing the file would.
inline void WriteProfile(const std::string& text)
{
    testsupport::ResetProfile();
    FILE* f = _wfopen(testsupport::ProfilePath().c_str(), L"wb");
    if (!f)
        return;
    std::fputs(text.c_str(), f);
    std::fclose(f);
}

// The value of section/key in profile text, none when absent.
inline std::optional<std::string> Entry(const std::string& profile, const std::string& section,
                                        const std::string& key)
{
    std::string current;
    std::size_t pos = 0;
    while (pos < profile.size()) {
        std::size_t end = profile.find('\n', pos);
        if (end == std::string::npos)
            end = profile.size();
        std::string line = profile.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']')
            current = line.substr(1, line.size() - 2);
        else if (current == section && line.rfind(key + "=", 0) == 0)
            return line.substr(key.size() + 1);
    }
    return std::nullopt;
}

inline std::optional<std::string> Entry(const std::string& section, const std::string& key)
{
    return Entry(testsupport::ProfileText(), section, key);
}

// Opens `dlg`, runs `body` inside its modal loop, then closes it with the
// cancel command. `nested` are the steps for the choosers and message boxes
// that `body` opens, in order; each must have opened.
template <class Dialog>
INT_PTR RunModal(Dialog& dlg, std::function<void(HWND)> body, std::vector<ModalDriver::Step> nested = {})
{
    ModalDriver driver;
    driver.Then([&](HWND dialog) {
        body(dialog);
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    for (auto& step : nested)
        driver.Then(step);
    const INT_PTR result = dlg.DoModal();
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(driver.StepsLeft(), 0u) << "a chooser or message box did not open";
    EXPECT_TRUE(driver.Unexpected().empty()) << "unexpected: " << testing::PrintToString(driver.Unexpected());
    return result;
}

inline std::string Hex(const std::vector<unsigned char>& bytes)
{
    std::string s;
    char b[3];
    for (unsigned char c : bytes) {
        std::snprintf(b, sizeof b, "%02X", c);
        s += b;
    }
    return s;
}

// Colour of a pixel as it reached the screen, after pending paints.
inline COLORREF PixelOf(HWND window, int x, int y)
{
    ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    fw::WindowDC dc(window);
    return ::GetPixel(dc.get(), x, y);
}

// --- steps for the platform's modal UI -------------------------------------

inline COLORREF ChooserColour(HWND chooser)
{
    return RGB(::GetDlgItemInt(chooser, 706, nullptr, FALSE), ::GetDlgItemInt(chooser, 707, nullptr, FALSE),
               ::GetDlgItemInt(chooser, 708, nullptr, FALSE));
}

// The colour chooser: notes the colour it opened on, its owner, then enters
// `colour` in its red/green/blue fields and ends with `button`. It is moved
// aside first so that closing it exposes nothing the test looks at.
inline ModalDriver::Step ChooseColour(COLORREF colour, int button, COLORREF* opened = nullptr,
                                      HWND* owner = nullptr)
{
    return [=](HWND chooser) {
        ::SetWindowPos(chooser, nullptr, 760, 560, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (opened)
            *opened = ChooserColour(chooser);
        if (owner)
            *owner = ::GetWindow(chooser, GW_OWNER);
        ::SetDlgItemInt(chooser, 706, GetRValue(colour), FALSE);
        ::SetDlgItemInt(chooser, 707, GetGValue(colour), FALSE);
        ::SetDlgItemInt(chooser, 708, GetBValue(colour), FALSE);
        testsupport::Click(chooser, button);
    };
}

struct FontShown {
    std::wstring face; // as the face and size boxes show it
    std::wstring size;
};

// The font chooser: notes what it shows, ends with `button`.
inline ModalDriver::Step ChooseFontStep(int button, FontShown* shown = nullptr)
{
    return [=](HWND chooser) {
        if (shown) {
            shown->face = testsupport::WindowText(::GetDlgItem(chooser, 0x470));
            shown->size = testsupport::WindowText(::GetDlgItem(chooser, 0x472));
        }
        testsupport::Click(chooser, button);
    };
}

// A message box: notes its text and caption, presses OK.
inline ModalDriver::Step Acknowledge(std::vector<std::wstring>* texts, std::wstring* caption = nullptr)
{
    return [=](HWND box) {
        texts->push_back(testsupport::MessageBoxText(box));
        if (caption)
            *caption = testsupport::WindowText(box);
        testsupport::Click(box, IDOK);
    };
}

// Sees messages sent to windows of this thread (e.g. the dialog's OK
// command, a swatch's background erase) while it lives.
class MessageSpy {
public:
    struct Seen {
        HWND hwnd;
        UINT message;
        WPARAM wParam;
    };
    // What a font chooser was started with. Its WM_INITDIALOG carries the
    // caller's CHOOSEFONTA, as it does for a chooser's hook procedure.
    struct FontStart {
        HWND owner;
        DWORD flags;
        LOGFONTA font;
    };
    std::vector<FontStart> fontStarts;
    MessageSpy()
    {
        t_spy = this;
        m_hook = ::SetWindowsHookExW(WH_CALLWNDPROC, &Hook, nullptr, ::GetCurrentThreadId());
    }
    ~MessageSpy()
    {
        ::UnhookWindowsHookEx(m_hook);
        t_spy = nullptr;
    }
    MessageSpy(const MessageSpy&) = delete;
    MessageSpy& operator=(const MessageSpy&) = delete;

    int Count(HWND hwnd, UINT message, std::optional<WPARAM> wParam = std::nullopt) const
    {
        int n = 0;
        for (const Seen& s : m_seen)
            n += s.hwnd == hwnd && s.message == message && (!wParam || *wParam == s.wParam);
        return n;
    }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM w, LPARAM l)
    {
        if (code == HC_ACTION && t_spy) {
            const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(l);
            t_spy->m_seen.push_back({cwp->hwnd, cwp->message, cwp->wParam});
            if (cwp->message == WM_INITDIALOG && cwp->lParam && ::GetDlgItem(cwp->hwnd, 0x470)) {
                const auto* cf = reinterpret_cast<const CHOOSEFONTA*>(cwp->lParam);
                t_spy->fontStarts.push_back({cf->hwndOwner, cf->Flags, *cf->lpLogFont});
            }
        }
        return ::CallNextHookEx(nullptr, code, w, l);
    }
    static inline thread_local MessageSpy* t_spy = nullptr;
    HHOOK m_hook = nullptr;
    std::vector<Seen> m_seen;
};

} // namespace paramtest
