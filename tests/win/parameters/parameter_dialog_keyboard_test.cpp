// The colour fields of the parameter dialog without a mouse: reached with
// Tab, opened with Space or Enter, and read by a screen reader by their
// labels.
#include "parameter_dialog_fixture.h"
#include "support/accessible_probe.h"

using namespace paramtest;

namespace {

// A key pressed and released, handed to the dialog the way its modal loop
// does: pre-translated (the dialog's navigation), else dispatched.
void Press(HWND dialog, UINT vk)
{
    HWND focus = ::GetFocus();
    const UINT scan = ::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    for (const MSG& m :
         {MSG{focus, WM_KEYDOWN, vk, static_cast<LPARAM>(1 | scan << 16), ::GetTickCount(), {}},
          MSG{focus, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001 | scan << 16), ::GetTickCount(), {}}}) {
        MSG msg = m;
        if (!fw::CWnd::WalkPreTranslateTree(dialog, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    testsupport::PumpPending();
}

// Pixels two in from the top edge that are `ink`: the dotted focus
// rectangle draws every other one.
int FocusDots(HWND swatch, COLORREF ink)
{
    RECT r{};
    ::GetClientRect(swatch, &r);
    int n = 0;
    for (int x = 2; x < r.right - 2; ++x)
        n += PixelOf(swatch, x, 2) == ink;
    return n;
}

} // namespace

TEST_F(ParameterDialogTest, ColourFieldsAreReachedAndOpenedWithTheKeyboardOnly)
{
    std::vector<int> focused;
    int dotsOnMonthBack = 0;
    const INT_PTR result = Run(
        [&](HWND dialog) {
            ::SetFocus(::GetDlgItem(dialog, IDC_COLUMNS));
            for (int i = 0; i < 4; ++i) {
                Press(dialog, VK_TAB);
                focused.push_back(::GetDlgCtrlID(::GetFocus()));
            }
            // On the month background (light): a black dotted rectangle.
            dotsOnMonthBack = FocusDots(::GetFocus(), RGB(0, 0, 0));
            Press(dialog, VK_SPACE); // the chooser, confirmed on a new colour
            Press(dialog, VK_TAB);
            Press(dialog, VK_RETURN); // the chooser again, cancelled
            focused.push_back(::GetDlgCtrlID(::GetFocus()));
        },
        {ChooseColour(RGB(1, 2, 3), IDOK), ChooseColour(RGB(4, 5, 6), IDCANCEL)});
    EXPECT_EQ(result, IDCANCEL) << "Enter on a colour field is no OK command";
    EXPECT_EQ(focused, (std::vector<int>{IDC_ROWS, IDC_FONT, IDC_FORECOLOR, IDC_MONTHBACKCOLOR,
                                         IDC_TRAILINGFORECOLOR}));
    EXPECT_GT(dotsOnMonthBack, 3);
    // Space opened the month background's chooser; Enter that of the
    // neighbours' days, whose cancel stored nothing.
    EXPECT_EQ(Entry("Color", "MonthBackColor"), std::to_string(RGB(1, 2, 3)));
    EXPECT_EQ(Entry("Color", "TrailingForeColor"), std::nullopt);
    EXPECT_EQ(calendar.Count(WM_SETTINGS_CHANGED), 1);
}

TEST_F(ParameterDialogTest, AScreenReaderNamesEachColourFieldAfterItsLabel)
{
    struct Seen {
        std::wstring name, value, action;
        LONG role = 0;
    };
    std::vector<Seen> seen;
    a11y::Element kept;
    Run(
        [&](HWND dialog) {
            for (int id : {IDC_FORECOLOR, IDC_MONTHBACKCOLOR, IDC_TRAILINGFORECOLOR, IDC_TITLEBACKCOLOR,
                           IDC_TITLEFORECOLOR}) {
                const a11y::Element e{a11y::ClientObject(::GetDlgItem(dialog, id)), CHILDID_SELF};
                ASSERT_TRUE(e) << id;
                seen.push_back({a11y::Name(e), a11y::Value(e), a11y::DefaultAction(e), a11y::Role(e)});
            }
            // Its default action is a click: the chooser opens.
            kept = {a11y::ClientObject(::GetDlgItem(dialog, IDC_TITLEFORECOLOR)), CHILDID_SELF};
            kept.object->accDoDefaultAction(kept.Var());
        },
        {ChooseColour(RGB(9, 9, 9), IDOK)});
    const std::vector<std::wstring> names{
        L"Textfarbe der Tage", L"Hintergrund Morvelin", L"Tage, die nicht mehr zum Morvelin geh\u00F6ren",
        L"Hintergrund Monats\u00FCberschrift", L"Text f\u00FCr Monat und Jahr"};
    const std::vector<std::wstring> values{L"#000000", L"#D4D0C8", L"#808080", L"#0080C0", L"#000000"};
    ASSERT_EQ(seen.size(), 5u);
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].name, names[i]);
        EXPECT_EQ(seen[i].value, values[i]);
        EXPECT_EQ(seen[i].role, ROLE_SYSTEM_PUSHBUTTON);
        EXPECT_EQ(seen[i].action, L"Dr\u00FCcken");
    }
    EXPECT_EQ(Entry("Color", "TitleForeColor"), std::to_string(RGB(9, 9, 9)));
    // The dialog is gone; the object a client kept says so.
    BSTR name = nullptr;
    EXPECT_EQ(kept.object->get_accName(kept.Var(), &name), RPC_E_DISCONNECTED);
}
