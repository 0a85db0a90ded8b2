// How a start-up failure reaches the user: the message box, standard error
// (UTF-8 to a pipe or file) and the one-line form both other outputs take.
#include "framework/startup_report.h"
#include "support/modal_driver.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Standard error redirected into a pipe for as long as it lives.
class CapturedStandardError {
public:
    CapturedStandardError()
    {
        ::CreatePipe(&m_read, &m_write, nullptr, 1 << 16);
        m_saved = ::GetStdHandle(STD_ERROR_HANDLE);
        ::SetStdHandle(STD_ERROR_HANDLE, m_write);
    }
    ~CapturedStandardError()
    {
        Restore();
        ::CloseHandle(m_read);
    }
    CapturedStandardError(const CapturedStandardError&) = delete;
    CapturedStandardError& operator=(const CapturedStandardError&) = delete;

    // Everything written, once writing is over.
    std::string Written()
    {
        Restore();
        std::string all;
        char buf[4096];
        DWORD n = 0;
        while (::ReadFile(m_read, buf, sizeof buf, &n, nullptr) && n > 0)
            all.append(buf, n);
        return all;
    }

private:
    void Restore()
    {
        if (!m_write)
            return;
        ::SetStdHandle(STD_ERROR_HANDLE, m_saved);
        ::CloseHandle(m_write);
        m_write = nullptr;
    }
    HANDLE m_read = nullptr;
    HANDLE m_write = nullptr;
    HANDLE m_saved = nullptr;
};

} // namespace

TEST(StartupReport, OneLineJoinsParagraphsWithSingleBlanks)
{
    EXPECT_EQ(fw::OneLine(L"Erster Satz.\n\nZweiter Satz."), L"Erster Satz. Zweiter Satz.");
    EXPECT_EQ(fw::OneLine(L"A\r\nB\nC"), L"A B C");
    EXPECT_EQ(fw::OneLine(L"\n\nA\n\n"), L"A") << "no blank at either end";
    EXPECT_EQ(fw::OneLine(L"A \nB"), L"A B") << "no double blank";
    EXPECT_EQ(fw::OneLine(L""), L"");
}

TEST(StartupReport, StandardErrorGetsOneUtf8LineWhenItIsAPipe)
{
    CapturedStandardError err;
    ASSERT_TRUE(fw::WriteStandardError(L"Gr\u00FC\u00DFe: \u00E4 \u20AC"));
    EXPECT_EQ(err.Written(), "Gr\xC3\xBC\xC3\x9F"
                             "e: \xC3\xA4 \xE2\x82\xAC\r\n");
}

TEST(StartupReport, WhereTheBoxCanBeShownStandardErrorStaysQuiet)
{
    CapturedStandardError err;
    testsupport::ModalDriver driver;
    std::wstring shown;
    driver.Then([&](HWND box) {
        shown = testsupport::MessageBoxText(box);
        testsupport::Click(box, IDOK);
    });
    EXPECT_EQ(fw::ReportStartupFailure(L"Etwas fehlt.\n\nDas Programm wird beendet."), fw::kReportedInBox);
    EXPECT_EQ(shown, L"Etwas fehlt.\n\nDas Programm wird beendet.");
    EXPECT_EQ(err.Written(), "");
}
