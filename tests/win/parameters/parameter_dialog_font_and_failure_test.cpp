// The parameter dialog's font button, and every action on a profile that
// cannot be written.
#include "parameter_dialog_fixture.h"

using namespace paramtest;

// --- font -------------------------------------------------------------------

TEST_F(ParameterDialogTest, FontConfirmedUnchangedIsStillWrittenAndAnnounced)
{
    MessageSpy spy;
    FontShown shown;
    HWND dialogSeen = nullptr;
    Run(
        [&](HWND dialog) {
            dialogSeen = dialog;
            Click(dialog, IDC_FONT);
        },
        {ChooseFontStep(IDOK, &shown)});
    // Started over the dialog, on screen fonts with effects, from the
    // default GUI font (nothing stored yet).
    ASSERT_EQ(spy.fontStarts.size(), 1u);
    EXPECT_EQ(spy.fontStarts[0].owner, dialogSeen);
    EXPECT_EQ(spy.fontStarts[0].flags, DWORD{CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT});
    EXPECT_TRUE(SameFont(spy.fontStarts[0].font, *SettingsStore::DefaultLogFont()));

    const auto stored = Entry("Allgemein", "LogFont");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->size(), 120u);
    ASSERT_EQ(calendar.arrivals.size(), 1u);
    EXPECT_EQ(calendar.arrivals[0].message, WM_FONT_CHANGED);
    EXPECT_EQ(Entry(calendar.arrivals[0].profile, "Allgemein", "LogFont"), stored);
    // The record is the font the chooser showed.
    const auto lf = SettingsStore::ReadLogFont();
    ASSERT_TRUE(lf);
    wchar_t face[LF_FACESIZE];
    ::MultiByteToWideChar(CP_ACP, 0, lf->lfFaceName, -1, face, LF_FACESIZE);
    EXPECT_FALSE(shown.face.empty());
    EXPECT_EQ(shown.face, face);
}

TEST_F(ParameterDialogTest, FontChooserCancelledWritesNothing)
{
    Run([&](HWND dialog) { Click(dialog, IDC_FONT); }, {ChooseFontStep(IDCANCEL)});
    EXPECT_EQ(testsupport::ProfileText(), "");
    EXPECT_TRUE(calendar.arrivals.empty());
}

TEST_F(ParameterDialogTest, FontChooserStartsFromARecordOfSixtyBytesOnlyElseFromTheGuiFont)
{
    const auto gui = SettingsStore::DefaultLogFont();
    ASSERT_TRUE(gui);
    for (std::size_t size : {60u, 59u, 61u}) {
        SCOPED_TRACE(size);
        const auto record = FontRecord("Tahoma", -37, size);
        const std::string recordHex = Hex(record);
        WriteProfile("[Allgemein]\r\nLogFont=" + recordHex + "\r\n");
        calendar.arrivals.clear();
        MessageSpy spy;
        CParameterDlg fresh;
        ModalDriver driver;
        driver.Then([](HWND dialog) {
            Click(dialog, IDC_FONT);
            ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        driver.Then(ChooseFontStep(IDOK));
        fresh.DoModal();
        EXPECT_TRUE(driver.Unexpected().empty());

        ASSERT_EQ(spy.fontStarts.size(), 1u);
        const LOGFONTA& start = spy.fontStarts[0].font;
        if (size == 60)
            EXPECT_EQ(std::memcmp(&start, record.data(), sizeof start), 0);
        else
            EXPECT_TRUE(SameFont(start, *gui));
        // Confirming replaces whatever was stored by a whole record.
        const auto stored = Entry("Allgemein", "LogFont");
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->size(), 120u);
        EXPECT_EQ(calendar.Count(WM_FONT_CHANGED), 1);
    }
}

TEST_F(ParameterDialogTest, OddSixtyByteFontRecordStillGivesAUsableChooser)
{
    // Every field at its extreme, and a face name without its terminator.
    WriteProfile("[Allgemein]\r\nLogFont=" + Hex(std::vector<unsigned char>(60, 0xFF)) + "\r\n");
    MessageSpy spy;
    Run([&](HWND dialog) { Click(dialog, IDC_FONT); }, {ChooseFontStep(IDOK)});
    ASSERT_EQ(spy.fontStarts.size(), 1u);
    const LOGFONTA& start = spy.fontStarts[0].font;
    EXPECT_EQ(start.lfHeight, -1);
    EXPECT_EQ(std::string(start.lfFaceName), std::string(LF_FACESIZE - 1, '\xFF'));
    const auto stored = Entry("Allgemein", "LogFont");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->size(), 120u);
    EXPECT_EQ(calendar.Count(WM_FONT_CHANGED), 1);
}

TEST_F(ParameterDialogTest, FontRecordWithAnImpossibleHeightStartsTheChooserFromTheGuiFont)
{
    // As the calendar reads it: such a record is damaged, not a font.
    WriteProfile("[Allgemein]\r\nLogFont=" + Hex(FontRecord("Tahoma", -100000, 60)) + "\r\n");
    MessageSpy spy;
    Run([&](HWND dialog) { Click(dialog, IDC_FONT); }, {ChooseFontStep(IDCANCEL)});
    ASSERT_EQ(spy.fontStarts.size(), 1u);
    EXPECT_TRUE(SameFont(spy.fontStarts[0].font, *SettingsStore::DefaultLogFont()));
}

// --- a profile that cannot be written ---------------------------------------

namespace {

const std::string kReadOnlyProfile =
    "[Allgemein]\r\nSpalten=2\r\nZeilen=2\r\nMorvelinwochen=1\r\n[Color]\r\nForeColor=255\r\n";

class ReadOnlyProfileTest : public ParameterDialogTest {
protected:
    void SetUp() override
    {
        ParameterDialogTest::SetUp();
        WriteProfile(kReadOnlyProfile);
        ASSERT_TRUE(::SetFileAttributesW(testsupport::ProfilePath().c_str(), FILE_ATTRIBUTE_READONLY));
    }
    void TearDown() override
    {
        ::SetFileAttributesW(testsupport::ProfilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(testsupport::ProfileText(), kReadOnlyProfile);
        EXPECT_TRUE(calendar.arrivals.empty()) << "nothing was stored, so nothing is announced";
        ParameterDialogTest::TearDown();
    }
    // Each user action says once that it could not be saved.
    void ExpectOneFailureEach(const std::vector<std::wstring>& messages, std::size_t actions)
    {
        ASSERT_EQ(messages.size(), actions);
        for (const std::wstring& m : messages)
            EXPECT_NE(m.find(L"nicht gespeichert"), std::wstring::npos);
    }
};

} // namespace

TEST_F(ReadOnlyProfileTest, StandardColoursSayItOnceAndTheSwatchesKeepTheStoredColours)
{
    std::vector<std::wstring> messages;
    Run([&](HWND dialog) { Click(dialog, IDC_STANDARD_COLORS); }, {Acknowledge(&messages)});
    ExpectOneFailureEach(messages, 1);
    EXPECT_EQ(dlg.m_ctlForeColor.m_color, 255u);
    EXPECT_EQ(dlg.m_ctlMonthBackColor.m_color, 0xC8D0D4u);
}

TEST_F(ReadOnlyProfileTest, APickedColourGoesBackToTheStoredOne)
{
    std::vector<std::wstring> messages;
    Run([&](HWND dialog) { Click(dialog, IDC_FORECOLOR); },
        {ChooseColour(RGB(1, 2, 3), IDOK), Acknowledge(&messages)});
    ExpectOneFailureEach(messages, 1);
    EXPECT_EQ(dlg.m_ctlForeColor.m_color, 255u);
}

TEST_F(ReadOnlyProfileTest, EachKeystrokeInACountSaysItOnceAndTheFieldShowsTheStoredCount)
{
    std::vector<std::wstring> messages;
    std::wstring columns, rows;
    Run(
        [&](HWND dialog) {
            Keys(dialog, IDC_COLUMNS, L"3");
            columns = Text(dialog, IDC_COLUMNS);
            Keys(dialog, IDC_ROWS, L"1");
            rows = Text(dialog, IDC_ROWS);
        },
        {Acknowledge(&messages), Acknowledge(&messages)});
    ExpectOneFailureEach(messages, 2);
    EXPECT_EQ(columns, L"2");
    EXPECT_EQ(rows, L"2");
}

TEST_F(ReadOnlyProfileTest, TheWeekNumberBoxShowsTheStoredStateAgain)
{
    std::vector<std::wstring> messages;
    LRESULT checked = -1;
    Run(
        [&](HWND dialog) {
            ::SendDlgItemMessageW(dialog, IDC_WEEKNUMBERS, BM_CLICK, 0, 0);
            checked = ::SendDlgItemMessageW(dialog, IDC_WEEKNUMBERS, BM_GETCHECK, 0, 0);
        },
        {Acknowledge(&messages)});
    ExpectOneFailureEach(messages, 1);
    EXPECT_EQ(checked, BST_CHECKED);
}

TEST_F(ReadOnlyProfileTest, AConfirmedFontSaysItOnce)
{
    std::vector<std::wstring> messages;
    Run([&](HWND dialog) { Click(dialog, IDC_FONT); }, {ChooseFontStep(IDOK), Acknowledge(&messages)});
    ExpectOneFailureEach(messages, 1);
}
