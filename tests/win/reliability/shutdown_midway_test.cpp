// Ending the real calendar in the middle of work: while a chooser or a
// message box is open over the parameter dialog, and in the middle of a
// font change (see shutdown_test.cpp for what every ending must leave).
#include "shutdown_fixture.h"

using namespace shutdowntest;

// --- with modal UI open over the parameter dialog ---------------------------

namespace {

enum class Nested { ColourChooser, FontChooser, TooManyMonths };
enum class End { PostProgramEnd, PostClose, SendClose, PostCloseToEveryWindow, DestroyWindow };

const char* Name(Nested n)
{
    switch (n) {
    case Nested::ColourChooser:
        return "colour chooser";
    case Nested::FontChooser:
        return "font chooser";
    case Nested::TooManyMonths:
        return "message box 103";
    }
    return "";
}

const char* Name(End e)
{
    switch (e) {
    case End::PostProgramEnd:
        return "Programm beenden posted";
    case End::PostClose:
        return "WM_CLOSE posted";
    case End::SendClose:
        return "WM_CLOSE sent";
    case End::PostCloseToEveryWindow:
        return "WM_CLOSE posted to every window";
    case End::DestroyWindow:
        return "calendar destroyed";
    }
    return "";
}

// Asks the calendar to end, as the named way does.
void EndCalendar(CCalendarDlg& calendar, End how)
{
    switch (how) {
    case End::PostProgramEnd:
        calendar.PostMessage(WM_COMMAND, ID_PROGRAM_END, 0);
        break;
    case End::PostClose:
        calendar.PostMessage(WM_CLOSE);
        break;
    case End::SendClose:
        calendar.SendMessage(WM_CLOSE);
        break;
    case End::PostCloseToEveryWindow: // as a task manager's polite end does
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND h, LPARAM) {
                if (::IsWindowVisible(h) || !::IsWindowEnabled(h))
                    ::PostMessageW(h, WM_CLOSE, 0, 0);
                return TRUE;
            },
            0);
        break;
    case End::DestroyWindow:
        calendar.DestroyWindow();
        break;
    }
    // Whatever was posted is handled inside the nested loop, as it would be.
    testsupport::PumpFor(50);
}

constexpr COLORREF kConfirmedColour = RGB(0x21, 0x43, 0x65);

} // namespace

TEST_F(Shutdown, EndingTheCalendarWhileModalUiIsOpenOverTheParameterDialog)
{
    for (Nested nested : {Nested::ColourChooser, Nested::FontChooser, Nested::TooManyMonths}) {
        for (End end :
             {End::PostProgramEnd, End::SendClose, End::PostCloseToEveryWindow, End::DestroyWindow}) {
            const std::string what = std::string(Name(nested)) + ", " + Name(end);
            paramtest::WriteProfile(kClean);
            const Leftovers before;
            INT_PTR result = 0;
            bool nestedWasOpen = false;
            {
                CCalendarDlg calendar;
                fw::AfxGetApp()->m_pMainWnd = &calendar;
                ModalDriver driver;
                driver.Then([&](HWND) {
                    testsupport::PumpFor(100);
                    calendar.SendMessage(WM_COMMAND, IDM_PARAMETER, 0);
                });
                driver.Then([&](HWND parameters) {
                    switch (nested) {
                    case Nested::ColourChooser:
                        testsupport::Click(parameters, IDC_FORECOLOR);
                        break;
                    case Nested::FontChooser:
                        testsupport::Click(parameters, IDC_FONT);
                        break;
                    case Nested::TooManyMonths: // 5 x 3 months
                        testsupport::TypeText(parameters, IDC_COLUMNS, L"5");
                        break;
                    }
                    // Closed by the user where the end left it open.
                    if (::IsWindowVisible(parameters))
                        ::PostMessageW(parameters, WM_COMMAND, IDCANCEL, 0);
                });
                driver.Then([&](HWND dialog) {
                    nestedWasOpen = ::IsWindow(dialog) && ::IsWindowVisible(dialog);
                    EndCalendar(calendar, end);
                    // Where it is still open, the user confirms it.
                    if (!::IsWindowVisible(dialog))
                        return;
                    if (nested == Nested::ColourChooser)
                        paramtest::ChooseColour(kConfirmedColour, IDOK)(dialog);
                    else
                        testsupport::Click(dialog, IDOK);
                });
                result = calendar.DoModal();
                fw::AfxGetApp()->m_pMainWnd = nullptr;
                EXPECT_FALSE(driver.TimedOut()) << what;
                EXPECT_EQ(driver.StepsLeft(), 0u) << what;
                EXPECT_TRUE(driver.Unexpected().empty())
                    << what << ": " << testing::PrintToString(driver.Unexpected());
            }
            Leftovers().ExpectNoneSince(before, what);
            EXPECT_TRUE(nestedWasOpen) << what;

            // The result of the way it was ended: IDOK for the program's own
            // end command, IDCANCEL for a close, none for a window that was
            // destroyed outright.
            const INT_PTR expected = end == End::PostProgramEnd  ? IDOK
                                     : end == End::DestroyWindow ? -1
                                                                 : IDCANCEL;
            EXPECT_EQ(result, expected) << what;
            // A choice confirmed on the way out is stored, a refused one not.
            const std::string profile = testsupport::ProfileText();
            const bool confirmed = end != End::DestroyWindow && end != End::PostCloseToEveryWindow;
            if (nested == Nested::ColourChooser && confirmed) {
                EXPECT_EQ(paramtest::Entry(profile, "Color", "ForeColor"), std::to_string(kConfirmedColour))
                    << what;
            } else if (nested == Nested::FontChooser && confirmed) {
                EXPECT_TRUE(paramtest::Entry(profile, "Allgemein", "LogFont")) << what;
            } else {
                EXPECT_EQ(profile, kClean) << what;
            }
            std::printf("ok: %s: ended with %d\n", what.c_str(), static_cast<int>(result));
        }
    }
}

// --- in the middle of a font change -----------------------------------------

namespace {

// Ends itself the moment the font change first moves it (the refit).
class EndingInRefit : public CCalendarDlg {
public:
    explicit EndingInRefit(End how) : m_how(how) {}
    bool armed = false;
    bool ended = false;

protected:
    bool OnWndMsg(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override
    {
        if (msg == WM_WINDOWPOSCHANGED && armed) {
            armed = false;
            ended = true;
            switch (m_how) {
            case End::SendClose:
                SendMessage(WM_CLOSE);
                break;
            case End::DestroyWindow:
                DestroyWindow();
                result = 0;
                return true;
            default:
                PostMessage(WM_CLOSE);
                break;
            }
        }
        return CCalendarDlg::OnWndMsg(msg, w, l, result);
    }

private:
    End m_how;
};

} // namespace

TEST_F(Shutdown, EndingTheCalendarInTheMiddleOfAFontChange)
{
    LOGFONTA big{};
    big.lfHeight = -24;
    std::strcpy(big.lfFaceName, "Arial");
    for (End end : {End::PostClose, End::SendClose, End::DestroyWindow}) {
        const std::string what = std::string("font change, ") + Name(end);
        testsupport::ResetProfile();
        const Leftovers before;
        INT_PTR result = 0;
        {
            EndingInRefit calendar(end);
            fw::AfxGetApp()->m_pMainWnd = &calendar;
            ModalDriver driver;
            driver.Then([&](HWND) {
                testsupport::PumpFor(200);
                // The bigger font makes the calendar refit, and it ends there.
                SettingsStore::WriteBinary(kLogFont.section, kLogFont.name, &big, sizeof big);
                calendar.armed = true;
                calendar.SendMessage(WM_FONT_CHANGED);
                EXPECT_TRUE(calendar.ended) << what << ": the font change did not refit";
            });
            result = calendar.DoModal();
            fw::AfxGetApp()->m_pMainWnd = nullptr;
            EXPECT_FALSE(driver.TimedOut()) << what;
            EXPECT_TRUE(driver.Unexpected().empty())
                << what << ": " << testing::PrintToString(driver.Unexpected());
        }
        Leftovers().ExpectNoneSince(before, what);
        EXPECT_EQ(result, end == End::DestroyWindow ? -1 : IDCANCEL) << what;
        std::printf("ok: %s: ended with %d\n", what.c_str(), static_cast<int>(result));
    }
}
