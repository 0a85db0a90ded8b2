// The parameter dialog from its real template, with the platform's
// choosers and message boxes, in front of a stand-in calendar window.
#include "parameter_dialog_fixture.h"

using namespace paramtest;

// --- opening, closing, keyboard ---------------------------------------------

TEST_F(ParameterDialogTest, FreshProfileShowsTheDefaultsAndWritesNothing)
{
    std::wstring columns, rows;
    LRESULT checked = -1;
    std::vector<COLORREF> shown;
    HWND focus = nullptr, columnsField = nullptr;
    const INT_PTR result = Run([&](HWND dialog) {
        columns = Text(dialog, IDC_COLUMNS);
        rows = Text(dialog, IDC_ROWS);
        checked = ::SendDlgItemMessageW(dialog, IDC_WEEKNUMBERS, BM_GETCHECK, 0, 0);
        focus = ::GetFocus();
        columnsField = ::GetDlgItem(dialog, IDC_COLUMNS);
        for (int id : kSwatchIds) {
            HWND swatch = ::GetDlgItem(dialog, id);
            RECT r;
            ::GetClientRect(swatch, &r);
            shown.push_back(PixelOf(swatch, r.right / 2, r.bottom / 2));
            EXPECT_EQ(PixelOf(swatch, 0, 0), RGB(0, 0, 0)) << "frame of " << id;
        }
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(columns, L"4");
    EXPECT_EQ(rows, L"3");
    EXPECT_EQ(checked, BST_CHECKED);
    EXPECT_EQ(focus, columnsField);
    EXPECT_EQ(shown, (std::vector<COLORREF>{0x000000, 0xC8D0D4, 0xC08000, 0x000000, 0x808080}));
    EXPECT_EQ(dlg.m_ctlMonthBackColor.m_color, 0xC8D0D4u);
    EXPECT_EQ(dlg.m_ctlTrailingForeColor.m_color, 0x808080u);
    EXPECT_EQ(testsupport::ProfileText(), "");
    EXPECT_TRUE(calendar.arrivals.empty());
}

TEST_F(ParameterDialogTest, DamagedAndOutOfRangeValuesOpenAUsableDialogAndStayUntouched)
{
    const std::string profile =
        "[Allgemein]\r\nSpalten=65538\r\nZeilen=-1\r\nMorvelinwochen=2\r\nLogFont=zz\r\n"
        "[Color]\r\nForeColor=abc\r\nTitleBackColor=-16776961\r\nTrailingForeColor=\r\n";
    WriteProfile(profile);
    std::wstring columns, rows;
    LRESULT checked = -1;
    Run([&](HWND dialog) {
        columns = Text(dialog, IDC_COLUMNS);
        rows = Text(dialog, IDC_ROWS);
        checked = ::SendDlgItemMessageW(dialog, IDC_WEEKNUMBERS, BM_GETCHECK, 0, 0);
    });
    EXPECT_EQ(columns, L"2"); // the low 16 bits of 65538
    EXPECT_EQ(rows, L"-1");
    EXPECT_EQ(checked, BST_CHECKED);                         // any non-zero value shows checked
    EXPECT_EQ(dlg.m_ctlForeColor.m_color, 0u);               // not a number: the default
    EXPECT_EQ(dlg.m_ctlTitleBackColor.m_color, 0xFF0000FFu); // taken as stored
    EXPECT_EQ(dlg.m_ctlTrailingForeColor.m_color, 0x808080u);
    EXPECT_EQ(testsupport::ProfileText(), profile);
    EXPECT_TRUE(calendar.arrivals.empty());
}

// The swatches are tab stops of their own (the template's statics are not):
// they come in the dialog's order, between "Font ..." and "Standardfarben".
TEST_F(ParameterDialogTest, TabVisitsCountsFontTheColoursStandardColoursWeekNumbersAndClose)
{
    std::vector<int> order;
    Run([&](HWND dialog) {
        HWND at = ::GetDlgItem(dialog, IDC_COLUMNS);
        for (int i = 0; i < 12; ++i) {
            order.push_back(::GetDlgCtrlID(at));
            at = ::GetNextDlgTabItem(dialog, at, FALSE);
        }
    });
    EXPECT_EQ(order, (std::vector<int>{IDC_COLUMNS, IDC_ROWS, IDC_FONT, IDC_FORECOLOR, IDC_MONTHBACKCOLOR,
                                       IDC_TRAILINGFORECOLOR, IDC_TITLEBACKCOLOR, IDC_TITLEFORECOLOR,
                                       IDC_STANDARD_COLORS, IDC_WEEKNUMBERS, IDCANCEL, IDC_COLUMNS}));
}

TEST_F(ParameterDialogTest, CloseButtonEscapeAndCloseBoxEachEndItWritingNothing)
{
    const std::vector<std::function<void(HWND)>> closers{
        [](HWND d) { ::PostMessageW(::GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0); },
        [](HWND d) {
            HWND edit = ::GetDlgItem(d, IDC_ROWS);
            ::SetFocus(edit);
            ::PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
        },
        [](HWND d) { ::PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (const auto& closer : closers) {
        CParameterDlg fresh;
        ModalDriver driver(5000);
        driver.Then(closer);
        EXPECT_EQ(fresh.DoModal(), IDCANCEL);
        EXPECT_FALSE(driver.TimedOut());
    }
    EXPECT_EQ(testsupport::ProfileText(), "");
    EXPECT_TRUE(calendar.arrivals.empty());
}

TEST_F(ParameterDialogTest, EnterInANumberFieldOrOnTheCheckBoxLeavesItOpen)
{
    MessageSpy spy;
    HWND dialogSeen = nullptr;
    LRESULT checkedAfter = -1;
    const INT_PTR result = Run([&](HWND dialog) {
        dialogSeen = dialog;
        for (int id : {IDC_COLUMNS, IDC_ROWS, IDC_WEEKNUMBERS}) {
            HWND control = ::GetDlgItem(dialog, id);
            ::SetFocus(control);
            // The way the modal loop hands a key to the dialog.
            MSG key{control, WM_KEYDOWN, VK_RETURN, 0x001C0001, ::GetTickCount(), {}};
            if (!fw::CWnd::WalkPreTranslateTree(dialog, &key))
                ::DispatchMessageW(&key);
        }
        checkedAfter = ::SendDlgItemMessageW(dialog, IDC_WEEKNUMBERS, BM_GETCHECK, 0, 0);
    });
    // Had the OK command ended the dialog, the result would be IDOK.
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(spy.Count(dialogSeen, WM_COMMAND, IDOK), 3);
    EXPECT_EQ(checkedAfter, BST_CHECKED);
    EXPECT_EQ(testsupport::ProfileText(), "");
    EXPECT_TRUE(calendar.arrivals.empty());
}

// --- month counts -----------------------------------------------------------

TEST_F(ParameterDialogTest, ProductAboveTwelveIsRefusedUntilTheOtherCountMakesRoom)
{
    std::vector<std::wstring> messages;
    std::wstring caption, columnsAfterRefusal;
    std::optional<std::string> storedAfterRefusal = "not looked at";
    std::size_t arrivalsAfterRefusal = 99;
    Run(
        [&](HWND dialog) {
            TypeText(dialog, IDC_COLUMNS, L"5");
            columnsAfterRefusal = Text(dialog, IDC_COLUMNS);
            storedAfterRefusal = Counts();
            arrivalsAfterRefusal = calendar.arrivals.size();
            TypeText(dialog, IDC_ROWS, L"2");
        },
        {Acknowledge(&messages, &caption)});
    EXPECT_EQ(messages, std::vector<std::wstring>{kTooLarge});
    EXPECT_EQ(caption, L"Morvelin");
    EXPECT_EQ(columnsAfterRefusal, L"5"); // the field keeps what was typed
    EXPECT_EQ(storedAfterRefusal, std::nullopt);
    EXPECT_EQ(arrivalsAfterRefusal, 0u);
    EXPECT_EQ(Counts(), "5x2");
    ASSERT_EQ(calendar.arrivals.size(), 1u);
    EXPECT_EQ(calendar.arrivals[0].message, WM_SETTINGS_CHANGED);
    // The calendar was told after both counts were stored.
    EXPECT_EQ(Entry(calendar.arrivals[0].profile, "Allgemein", "Spalten"), "5");
    EXPECT_EQ(Entry(calendar.arrivals[0].profile, "Allgemein", "Zeilen"), "2");
}

TEST_F(ParameterDialogTest, EachKeystrokeIsHandledOnItsOwn)
{
    std::vector<std::wstring> messages;
    std::wstring shown;
    Run(
        [&](HWND dialog) {
            Keys(dialog, IDC_COLUMNS, L"12"); // over the selected 4
            shown = Text(dialog, IDC_COLUMNS);
        },
        {Acknowledge(&messages)});
    EXPECT_EQ(shown, L"12");
    // "1" was stored and applied, "12" refused.
    EXPECT_EQ(Counts(), "1x3");
    ASSERT_EQ(calendar.arrivals.size(), 1u);
    EXPECT_EQ(Entry(calendar.arrivals[0].profile, "Allgemein", "Spalten"), "1");
    EXPECT_EQ(messages, std::vector<std::wstring>{kTooLarge});
}

TEST_F(ParameterDialogTest, CountsAreStoredWhileTheProductIsAtMostTwelveZeroAndNegativesIncluded)
{
    std::vector<std::string> stored;
    std::vector<std::wstring> messages;
    Run(
        [&](HWND dialog) {
            const std::pair<int, const wchar_t*> edits[] = {{IDC_COLUMNS, L"3"},  {IDC_ROWS, L"4"},
                                                            {IDC_COLUMNS, L"0"},  {IDC_COLUMNS, L"-3"},
                                                            {IDC_COLUMNS, L"-4"}, {IDC_ROWS, L"-4"}};
            for (auto [id, text] : edits) {
                TypeText(dialog, id, text);
                stored.push_back(Counts().value_or("-"));
            }
        },
        {Acknowledge(&messages)});
    // 3 x 4 is exactly twelve; -3 x 4 = -12 and -4 x 4 = -16 are below it;
    // -4 x -4 = 16 is not.
    EXPECT_EQ(stored, (std::vector<std::string>{"3x3", "3x4", "0x4", "-3x4", "-4x4", "-4x4"}));
    EXPECT_EQ(calendar.Count(WM_SETTINGS_CHANGED), 5);
    EXPECT_EQ(messages, std::vector<std::wstring>{kTooLarge});
}

TEST_F(ParameterDialogTest, TextThatIsNotANumberStopsCountsAndWeekNumbersWithTheExchangesMessage)
{
    std::vector<std::wstring> messages;
    LRESULT checked = -1;
    Run(
        [&](HWND dialog) {
            TypeText(dialog, IDC_COLUMNS, L"x");
            Click(dialog, IDC_WEEKNUMBERS); // the exchange reads the bad field too
            TypeText(dialog, IDC_COLUMNS, L"40000");
            TypeText(dialog, IDC_ROWS, L"");
            checked = ::SendDlgItemMessageW(dialog, IDC_WEEKNUMBERS, BM_GETCHECK, 0, 0);
        },
        {Acknowledge(&messages), Acknowledge(&messages), Acknowledge(&messages), Acknowledge(&messages)});
    EXPECT_EQ(messages, std::vector<std::wstring>(4, kNotANumber));
    EXPECT_EQ(checked, BST_CHECKED); // a click on the box is a real click of it, not saved
    EXPECT_EQ(testsupport::ProfileText(), "");
    EXPECT_TRUE(calendar.arrivals.empty());
}

TEST_F(ParameterDialogTest, WithoutACalendarWindowChangesAreStillStored)
{
    fw::AfxGetApp()->m_pMainWnd = nullptr;
    Run([&](HWND dialog) {
        TypeText(dialog, IDC_ROWS, L"2");
        Click(dialog, IDC_STANDARD_COLORS);
    });
    EXPECT_EQ(Counts(), "4x2");
    EXPECT_EQ(Entry("Color", "ForeColor"), "0");
}

// --- week numbers -----------------------------------------------------------

TEST_F(ParameterDialogTest, EachClickOfTheWeekNumberBoxIsStoredAndApplied)
{
    Run([&](HWND dialog) {
        ::SendDlgItemMessageW(dialog, IDC_WEEKNUMBERS, BM_CLICK, 0, 0);
        ::SendDlgItemMessageW(dialog, IDC_WEEKNUMBERS, BM_CLICK, 0, 0);
    });
    ASSERT_EQ(calendar.arrivals.size(), 2u);
    EXPECT_EQ(Entry(calendar.arrivals[0].profile, "Allgemein", "Morvelinwochen"), "0");
    EXPECT_EQ(Entry(calendar.arrivals[1].profile, "Allgemein", "Morvelinwochen"), "1");
    EXPECT_EQ(calendar.Count(WM_SETTINGS_CHANGED), 2);
    // Nothing but the flag was written.
    EXPECT_EQ(Counts(), std::nullopt);
    EXPECT_EQ(Entry("Color", "ForeColor"), std::nullopt);
}

// --- colours ----------------------------------------------------------------

TEST_F(ParameterDialogTest, ColourChooserConfirmedUnchangedOrCancelledWritesNothing)
{
    COLORREF opened = 0;
    Run(
        [&](HWND dialog) {
            Click(dialog, IDC_MONTHBACKCOLOR);
            Click(dialog, IDC_MONTHBACKCOLOR);
        },
        {ChooseColour(RGB(212, 208, 200), IDOK, &opened), ChooseColour(RGB(1, 2, 3), IDCANCEL)});
    EXPECT_EQ(opened, RGB(212, 208, 200));
    EXPECT_EQ(dlg.m_ctlMonthBackColor.m_color, 0xC8D0D4u);
    EXPECT_EQ(testsupport::ProfileText(), "");
    EXPECT_TRUE(calendar.arrivals.empty());
}

TEST_F(ParameterDialogTest, EachSwatchStoresItsOwnKeyAndTellsTheCalendarOnce)
{
    const char* keys[] = {"ForeColor", "MonthBackColor", "TitleBackColor", "TitleForeColor",
                          "TrailingForeColor"};
    std::vector<ModalDriver::Step> choosers;
    for (int i = 0; i < 5; ++i)
        choosers.push_back(ChooseColour(RGB(10 * i + 1, 20, 30), IDOK));
    std::vector<std::size_t> keysAfter;
    std::vector<COLORREF> painted;
    Run(
        [&](HWND dialog) {
            for (int id : kSwatchIds) {
                Click(dialog, id);
                keysAfter.push_back(calendar.arrivals.size());
                HWND swatch = ::GetDlgItem(dialog, id);
                painted.push_back(PixelOf(swatch, 5, 5));
            }
        },
        choosers);
    ASSERT_EQ(calendar.arrivals.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(keys[i]);
        EXPECT_EQ(keysAfter[i], static_cast<std::size_t>(i + 1));
        const std::string& seen = calendar.arrivals[i].profile;
        EXPECT_EQ(calendar.arrivals[i].message, WM_SETTINGS_CHANGED);
        // Exactly this key is new when the calendar hears of it.
        for (int k = 0; k < 5; ++k)
            EXPECT_EQ(Entry(seen, "Color", keys[k]).has_value(), k <= i) << keys[k];
        EXPECT_EQ(Entry(seen, "Color", keys[i]), std::to_string(RGB(10 * i + 1, 20, 30)));
        EXPECT_EQ(painted[i], RGB(10 * i + 1, 20, 30));
    }
    EXPECT_EQ(Counts(), std::nullopt);
}

TEST_F(ParameterDialogTest, MouseClickOnASwatchReachesTheDialogAsItsId)
{
    Run(
        [&](HWND dialog) {
            HWND swatch = ::GetDlgItem(dialog, IDC_TITLEFORECOLOR);
            ::SendMessageW(swatch, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
            ::SendMessageW(swatch, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
        },
        {ChooseColour(RGB(9, 8, 7), IDOK)});
    EXPECT_EQ(Entry("Color", "TitleForeColor"), std::to_string(RGB(9, 8, 7)));
    EXPECT_EQ(calendar.Count(WM_SETTINGS_CHANGED), 1);
}

TEST_F(ParameterDialogTest, StandardColoursWriteAllFiveEveryTimeAndNothingElse)
{
    const std::string general = "[Allgemein]\r\nSpalten=2\r\nZeilen=6\r\nMorvelinwochen=0\r\nLogFont=" +
                                Hex(FontRecord("Arial", -20, 60)) + "\r\n";
    WriteProfile(general + "[Color]\r\nForeColor=255\r\n");
    COLORREF foreBefore = 0, foreAfter = 0;
    Run([&](HWND dialog) {
        HWND fore = ::GetDlgItem(dialog, IDC_FORECOLOR);
        foreBefore = PixelOf(fore, 5, 5);
        Click(dialog, IDC_STANDARD_COLORS);
        foreAfter = PixelOf(fore, 5, 5);
        Click(dialog, IDC_STANDARD_COLORS);
    });
    EXPECT_EQ(foreBefore, RGB(255, 0, 0));
    EXPECT_EQ(foreAfter, RGB(0, 0, 0));
    ASSERT_EQ(calendar.arrivals.size(), 2u);
    const std::string& first = calendar.arrivals[0].profile;
    EXPECT_EQ(Entry(first, "Color", "ForeColor"), "0");
    EXPECT_EQ(Entry(first, "Color", "MonthBackColor"), std::to_string(0xC8D0D4));
    EXPECT_EQ(Entry(first, "Color", "TitleBackColor"), std::to_string(0xC08000));
    EXPECT_EQ(Entry(first, "Color", "TitleForeColor"), "0");
    EXPECT_EQ(Entry(first, "Color", "TrailingForeColor"), std::to_string(0x808080));
    EXPECT_EQ(calendar.Count(WM_SETTINGS_CHANGED), 2);
    // Counts, week numbers and font as they were.
    EXPECT_EQ(testsupport::ProfileText().substr(0, general.size()), general);
}
