// The three dialog templates of the built program, read as the dialog
// manager reads them and created for real.
#include <ole2.h> // before monthgrid.h, which names DISPID

#include "core/monthgrid_state.h"
#include "monthgrid/monthgrid.h"
#include "resources/resource.h"
#include "resources_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace {

using namespace restest;

// ---------------------------------------------------------------------------
// Dialog templates

struct Control {
    DWORD helpId = 0, exStyle = 0, style = 0;
    std::array<short, 4> rect{}; // x, y, width, height in dialog units
    int id = 0;
    NameOrId cls, text;
    WORD extraBytes = 0;
};

struct Dialog {
    bool extended = false;
    DWORD helpId = 0, exStyle = 0, style = 0;
    std::array<short, 4> rect{};
    NameOrId menu, cls;
    std::wstring caption;
    WORD pointSize = 0, weight = 0;
    BYTE italic = 0, charset = 0;
    std::wstring face;
    std::vector<Control> controls;
};

std::array<short, 4> ReadRect(Reader& r)
{
    std::array<short, 4> rect{};
    for (auto& v : rect)
        v = r.Short();
    return rect;
}

// Both template formats: DLGTEMPLATE and DLGTEMPLATEEX with their items.
Dialog ParseDialog(std::span<const BYTE> bytes)
{
    Reader r(bytes);
    Dialog d;
    d.extended = bytes.size() >= 4 && r.Word() == 1 && r.Word() == 0xFFFF;
    if (d.extended) {
        d.helpId = r.Dword();
        d.exStyle = r.Dword();
        d.style = r.Dword();
    } else {
        r = Reader(bytes);
        d.style = r.Dword();
        d.exStyle = r.Dword();
    }
    const WORD count = r.Word();
    d.rect = ReadRect(r);
    d.menu = r.SzOrOrd();
    d.cls = r.SzOrOrd();
    d.caption = r.Sz();
    if (d.style & (DS_SETFONT | DS_SHELLFONT)) {
        d.pointSize = r.Word();
        if (d.extended) {
            d.weight = r.Word();
            d.italic = r.Byte();
            d.charset = r.Byte();
        }
        d.face = r.Sz();
    }
    for (WORD i = 0; i < count; ++i) {
        r.AlignDword();
        Control c;
        if (d.extended) {
            c.helpId = r.Dword();
            c.exStyle = r.Dword();
            c.style = r.Dword();
        } else {
            c.style = r.Dword();
            c.exStyle = r.Dword();
        }
        c.rect = ReadRect(r);
        c.id = d.extended ? static_cast<int>(r.Dword()) : r.Short();
        c.cls = r.SzOrOrd();
        c.text = r.SzOrOrd();
        c.extraBytes = r.Word();
        r.Skip(c.extraBytes);
        d.controls.push_back(std::move(c));
    }
    EXPECT_LT(r.Left(), 4u) << "data after the last control: the control count is wrong";
    return d;
}

// Predefined classes may be stored as atoms; the dialog manager treats both alike.
std::wstring ClassName(const NameOrId& cls)
{
    static const std::map<WORD, std::wstring> atoms{{0x80, L"BUTTON"},    {0x81, L"EDIT"},
                                                    {0x82, L"STATIC"},    {0x83, L"LISTBOX"},
                                                    {0x84, L"SCROLLBAR"}, {0x85, L"COMBOBOX"}};
    if (cls.ordinal)
        return atoms.contains(*cls.ordinal) ? atoms.at(*cls.ordinal)
                                            : L"atom " + std::to_wstring(*cls.ordinal);
    std::wstring upper = cls.name;
    for (auto& c : upper)
        c = static_cast<wchar_t>(std::towupper(c));
    return upper;
}

struct WantControl {
    int id;
    const wchar_t* cls; // upper case
    NameOrId text;
    std::array<short, 4> rect;
    DWORD style;
};

void ExpectControls(const Dialog& d, const std::vector<WantControl>& want)
{
    ASSERT_EQ(d.controls.size(), want.size()) << "number of controls";
    for (std::size_t i = 0; i < want.size(); ++i) {
        const auto& got = d.controls[i];
        const auto& w = want[i];
        SCOPED_TRACE(::testing::Message() << "control " << i + 1 << " (ID " << w.id << ", "
                                          << ::testing::PrintToString(w.text) << ")");
        EXPECT_EQ(got.id, w.id) << "ID";
        EXPECT_EQ(ClassName(got.cls), w.cls) << "class";
        EXPECT_EQ(got.text, w.text) << "text";
        EXPECT_EQ(got.rect, w.rect) << "position and size";
        EXPECT_EQ(Hex(got.style), Hex(w.style)) << "style";
        EXPECT_EQ(Hex(got.exStyle), Hex(0)) << "extended style";
        EXPECT_EQ(got.helpId, 0u) << "help ID";
        EXPECT_EQ(got.extraBytes, 0) << "creation data";
    }
}

void ExpectFrame(const Dialog& d, bool extended, DWORD style, DWORD exStyle, std::array<short, 4> rect,
                 const wchar_t* caption)
{
    EXPECT_EQ(d.extended, extended) << "template format";
    EXPECT_EQ(Hex(d.style), Hex(style)) << "dialog style";
    EXPECT_EQ(Hex(d.exStyle), Hex(exStyle)) << "dialog extended style";
    EXPECT_EQ(d.helpId, 0u) << "dialog help ID";
    EXPECT_EQ(d.rect, rect) << "dialog position and size";
    EXPECT_EQ(d.caption, caption) << "caption";
    EXPECT_EQ(d.menu, Text(L"")) << "no menu of its own";
    EXPECT_EQ(d.cls, Text(L"")) << "no window class of its own";
    EXPECT_EQ(d.pointSize, 8) << "font size";
    EXPECT_EQ(d.face, L"MS Sans Serif") << "font";
}

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kModal = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

TEST_F(resources, AboutDialogTemplate)
{
    const auto d = ParseDialog(Raw(5, IDD_ABOUTBOX));
    ExpectFrame(d, false, kModal, 0, {0, 0, 235, 55}, L"Info \u00FCber Morvelin");
    ExpectControls(d, {
                          {-1, L"STATIC", Ordinal(IDR_MAINFRAME), {11, 17, 20, 20}, kChild | SS_ICON},
                          {-1,
                           L"STATIC",
                           Text(L"Morvelin Version 1,0,1,0"),
                           {40, 10, 119, 8},
                           kChild | WS_GROUP | SS_LEFT | SS_NOPREFIX},
                          {-1,
                           L"STATIC",
                           Text(L"Ein Kalender f\u00FCr den Schreibtisch"),
                           {40, 25, 188, 8},
                           kChild | WS_GROUP | SS_LEFT},
                          {IDOK,
                           L"BUTTON",
                           Text(L"OK"),
                           {178, 7, 50, 14},
                           kChild | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON},
                      });
}

TEST_F(resources, CalendarDialogTemplate)
{
    const auto d = ParseDialog(Raw(5, IDD_MORVELIN_DIALOG));
    ExpectFrame(d, true, kModal | WS_MINIMIZEBOX | DS_CENTER, WS_EX_APPWINDOW, {0, 0, 161, 179}, L"Morvelin");
    EXPECT_EQ(d.weight, 0) << "font weight";
    EXPECT_EQ(d.italic, 0) << "font italic";
    EXPECT_EQ(d.charset, DEFAULT_CHARSET) << "font character set";
    // The template must name the very class the month grid registers.
    std::wstring gridClass(monthgrid::kClassName);
    for (auto& c : gridClass)
        c = static_cast<wchar_t>(std::towupper(c));
    ExpectControls(d, {
                          {IDC_MONTHVIEW, gridClass.c_str(), Text(L""), {0, 0, 113, 95}, kChild | WS_TABSTOP},
                      });
}

TEST_F(resources, ParameterDialogTemplate)
{
    const auto d = ParseDialog(Raw(5, IDD_PARAMETER));
    ExpectFrame(d, false, kModal, 0, {0, 0, 281, 205}, L"Parameter");

    constexpr DWORD group = kChild | BS_GROUPBOX;
    constexpr DWORD label = kChild | WS_GROUP | SS_LEFT;
    constexpr DWORD number = kChild | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
    constexpr DWORD swatch = kChild | SS_BLACKFRAME | SS_NOTIFY;
    constexpr DWORD push = kChild | WS_TABSTOP | BS_PUSHBUTTON;
    constexpr DWORD check = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
    ExpectControls(
        d,
        {
            {-1, L"BUTTON", Text(L"Anzahl der Zeilen und Spalten"), {7, 7, 155, 40}, group},
            {-1, L"STATIC", Text(L"Anzahl der Monate in einer Zeile"), {15, 19, 102, 8}, label},
            {IDC_COLUMNS, L"EDIT", Text(L""), {127, 17, 18, 12}, number},
            {-1, L"STATIC", Text(L"Anzahl der Monate in einer Spalte"), {15, 32, 107, 8}, label},
            {IDC_ROWS, L"EDIT", Text(L""), {127, 31, 18, 12}, number},
            {-1, L"BUTTON", Text(L"Schrift f\u00FCr alle Texte"), {185, 7, 89, 40}, group},
            {IDC_FONT, L"BUTTON", Text(L"Font ..."), {204, 23, 50, 14}, push},
            {-1, L"BUTTON", Text(L"Farben (zum \u00C4ndern auf die Farbe klicken)"), {7, 52, 267, 94}, group},
            {IDC_FORECOLOR, L"STATIC", Text(L""), {15, 63, 20, 20}, swatch},
            {-1, L"STATIC", Text(L"Textfarbe der Tage"), {42, 69, 62, 8}, label},
            {IDC_MONTHBACKCOLOR, L"STATIC", Text(L""), {15, 91, 20, 20}, swatch},
            {-1, L"STATIC", Text(L"Hintergrund Morvelin"), {42, 96, 68, 8}, label},
            {IDC_TRAILINGFORECOLOR, L"STATIC", Text(L""), {15, 119, 20, 20}, swatch},
            {-1,
             L"STATIC",
             Text(L"Tage, die nicht mehr zum Morvelin geh\u00F6ren"),
             {42, 124, 138, 8},
             label},
            {IDC_TITLEBACKCOLOR, L"STATIC", Text(L""), {147, 63, 20, 20}, swatch},
            {-1, L"STATIC", Text(L"Hintergrund Monats\u00FCberschrift"), {173, 67, 96, 8}, label},
            {IDC_TITLEFORECOLOR, L"STATIC", Text(L""), {147, 91, 20, 20}, swatch},
            {-1, L"STATIC", Text(L"Text f\u00FCr Monat und Jahr"), {173, 96, 76, 8}, label},
            {IDC_STANDARD_COLORS, L"BUTTON", Text(L"Standardfarben"), {193, 124, 62, 14}, push},
            {-1, L"BUTTON", Text(L"Optionen"), {7, 152, 210, 46}, group},
            {IDC_WEEKNUMBERS, L"BUTTON", Text(L"Morvelinwochen anzeigen"), {15, 165, 100, 10}, check},
            {IDCANCEL, L"BUTTON", Text(L"Schlie\u00DFen"), {224, 184, 50, 14}, push},
        });
}

TEST_F(resources, HolidayDialogTemplate)
{
    const auto d = ParseDialog(Raw(5, IDD_HOLIDAYS));
    ExpectFrame(d, false, kModal, 0, {0, 0, 262, 228}, L"Feiertage");

    constexpr DWORD label = kChild | WS_GROUP | SS_LEFT;
    constexpr DWORD choice = kChild | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST;
    constexpr DWORD swatch = kChild | SS_BLACKFRAME | SS_NOTIFY;
    constexpr DWORD list =
        kChild | WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_NOSEL | LBS_NOINTEGRALHEIGHT;
    constexpr DWORD push = kChild | WS_TABSTOP | BS_PUSHBUTTON;
    ExpectControls(d, {
                          {-1, L"STATIC", Text(L"Feiertage &anzeigen f\u00FCr:"), {7, 7, 248, 8}, label},
                          {IDC_HOLIDAY_REGION, L"COMBOBOX", Text(L""), {7, 18, 248, 160}, choice},
                          {IDC_HOLIDAY_COLOR, L"STATIC", Text(L""), {7, 38, 20, 20}, swatch},
                          {-1, L"STATIC", Text(L"Farbe der Feiertage"), {34, 44, 221, 8}, label},
                          {IDC_HOLIDAY_YEAR, L"STATIC", Text(L"Feiertage im &Jahr:"), {7, 67, 248, 8}, label},
                          {IDC_HOLIDAY_LIST, L"LISTBOX", Text(L""), {7, 78, 248, 121}, list},
                          {IDCANCEL, L"BUTTON", Text(L"Schlie\u00DFen"), {205, 207, 50, 14}, push},
                      });
}

// The dialog manager's own reading of the templates: created for real from
// the program file, with a dialog procedure that records click notifications.
std::vector<WPARAM> g_commands;
INT_PTR CALLBACK RecordingProc(HWND, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND)
        g_commands.push_back(wParam);
    return message == WM_INITDIALOG;
}

// The IDs of the controls Tab visits, from the first, once round.
std::vector<int> TabOrder(HWND dialog)
{
    std::vector<int> order;
    HWND first = ::GetNextDlgTabItem(dialog, nullptr, FALSE);
    for (HWND at = first; at && order.size() < 10;) {
        order.push_back(::GetDlgCtrlID(at));
        at = ::GetNextDlgTabItem(dialog, at, FALSE);
        if (at == first)
            break;
    }
    return order;
}

// The commands the dialog receives from a click on control `id`.
std::vector<WPARAM> CommandsOfAClickOn(HWND dialog, int id)
{
    g_commands.clear();
    HWND control = ::GetDlgItem(dialog, id);
    ::SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    return g_commands;
}

TEST_F(resources, AboutDialogShowsTheIconAndDefaultsToOk)
{
    HWND dialog = ::CreateDialogParamW(Program(), MAKEINTRESOURCEW(IDD_ABOUTBOX), nullptr, RecordingProc, 0);
    ASSERT_NE(dialog, nullptr);
    HWND icon = ::GetWindow(dialog, GW_CHILD);
    ASSERT_NE(icon, nullptr);
    EXPECT_NE(::SendMessageW(icon, STM_GETICON, 0, 0), 0) << "the icon control found icon 128";
    const LRESULT def = ::SendMessageW(dialog, DM_GETDEFID, 0, 0);
    EXPECT_EQ(HIWORD(def), DC_HASDEFID);
    EXPECT_EQ(LOWORD(def), IDOK);
    ::DestroyWindow(dialog);
}

TEST_F(resources, ParameterDialogTabsThroughItsSixStopsAndSwatchesReportClicks)
{
    HWND dialog = ::CreateDialogParamW(Program(), MAKEINTRESOURCEW(IDD_PARAMETER), nullptr, RecordingProc, 0);
    ASSERT_NE(dialog, nullptr);
    const std::vector<int> order = TabOrder(dialog);
    EXPECT_EQ(order, (std::vector<int>{IDC_COLUMNS, IDC_ROWS, IDC_FONT, IDC_STANDARD_COLORS, IDC_WEEKNUMBERS,
                                       IDCANCEL}));
    // No default button, so Enter falls back to IDOK, which no control carries.
    EXPECT_EQ(::SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));
    EXPECT_EQ(::GetDlgItem(dialog, IDOK), nullptr);
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        EXPECT_FALSE(::SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)
            << "control " << ::GetDlgCtrlID(child);

    for (int swatch :
         {IDC_FORECOLOR, IDC_MONTHBACKCOLOR, IDC_TRAILINGFORECOLOR, IDC_TITLEBACKCOLOR, IDC_TITLEFORECOLOR}) {
        EXPECT_EQ(CommandsOfAClickOn(dialog, swatch), std::vector<WPARAM>{MAKEWPARAM(swatch, STN_CLICKED)})
            << "swatch " << swatch;
    }
    ::DestroyWindow(dialog);
}

TEST_F(resources, HolidayDialogTabsThroughItsThreeStopsWithoutADefaultButton)
{
    HWND dialog = ::CreateDialogParamW(Program(), MAKEINTRESOURCEW(IDD_HOLIDAYS), nullptr, RecordingProc, 0);
    ASSERT_NE(dialog, nullptr);
    const std::vector<int> order = TabOrder(dialog);
    EXPECT_EQ(order, (std::vector<int>{IDC_HOLIDAY_REGION, IDC_HOLIDAY_LIST, IDCANCEL}));
    EXPECT_EQ(::SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));
    EXPECT_EQ(::GetDlgItem(dialog, IDOK), nullptr);
    EXPECT_EQ(CommandsOfAClickOn(dialog, IDC_HOLIDAY_COLOR),
              std::vector<WPARAM>{MAKEWPARAM(IDC_HOLIDAY_COLOR, STN_CLICKED)});
    ::DestroyWindow(dialog);
}

} // namespace
