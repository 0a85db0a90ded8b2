#pragma once
// The parameter dialog's test fixture: the real dialog from its template in
// front of a stand-in calendar window, driven inside its modal loop.
#include "framework/choosers.h"
#include "parameters/parameter_dialog.h"
#include "parameters_helpers.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace paramtest {

using testsupport::Click;
using testsupport::TypeText;
using testsupport::WindowText;

inline const std::wstring kTooLarge = L"Das Produkt aus Zeile und Spalte ist größer als 12.";
inline const std::wstring kNotANumber = L"Bitte geben Sie eine ganze Zahl zwischen -32768 und 32767 ein.";

inline constexpr int kSwatchIds[] = {IDC_FORECOLOR, IDC_MONTHBACKCOLOR, IDC_TITLEBACKCOLOR,
                                     IDC_TITLEFORECOLOR, IDC_TRAILINGFORECOLOR};

class ParameterDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::ResetProfile();
        fw::AfxGetApp()->m_pMainWnd = &calendar;
    }
    void TearDown() override { fw::AfxGetApp()->m_pMainWnd = nullptr; }

    INT_PTR Run(std::function<void(HWND)> body, std::vector<ModalDriver::Step> nested = {})
    {
        return RunModal(dlg, std::move(body), std::move(nested));
    }

    // Keystrokes as the user types them, each one a change of the text.
    static void Keys(HWND dialog, int id, const std::wstring& keys)
    {
        HWND edit = ::GetDlgItem(dialog, id);
        ::SetFocus(edit);
        ::SendMessageW(edit, EM_SETSEL, 0, -1);
        for (wchar_t c : keys)
            ::SendMessageW(edit, WM_CHAR, c, 1);
    }

    static std::wstring Text(HWND dialog, int id) { return WindowText(::GetDlgItem(dialog, id)); }

    std::optional<std::string> Counts() const
    {
        const auto c = Entry("Allgemein", "Spalten"), r = Entry("Allgemein", "Zeilen");
        if (!c || !r)
            return std::nullopt;
        return *c + "x" + *r;
    }

    CalendarStandIn calendar;
    CParameterDlg dlg;
};

inline std::vector<unsigned char> FontRecord(const char* face, LONG height, std::size_t size)
{
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = ANSI_CHARSET;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    std::vector<unsigned char> bytes(size, 0);
    std::memcpy(bytes.data(), &lf, std::min(size, sizeof lf));
    return bytes;
}

inline bool SameFont(const LOGFONTA& a, const LOGFONTA& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

} // namespace paramtest
