// The built program's resources, read from outside: Morvelin.exe opened as an
// image resource file (the working directory is the build directory) and each
// resource taken apart from its raw bytes, the way the dialog manager, the
// menu loader and the version API read them.
#include <ole2.h> // before monthgrid.h, which names DISPID

#include "core/monthgrid_state.h"
#include "framework/dialog.h"
#include "monthgrid/monthgrid.h"
#include "resources/resource.h"

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
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr WORD kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
constexpr WORD kRtDlgInit = fw::kRtDlgInit;

std::wstring ProgramPath()
{
    wchar_t path[MAX_PATH];
    ::GetFullPathNameW(L"Morvelin.exe", MAX_PATH, path, nullptr);
    return path;
}

HMODULE Program()
{
    static const HMODULE module = ::LoadLibraryExW(ProgramPath().c_str(), nullptr,
                                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    return module;
}

// Raw bytes of one resource in German; empty when there is none.
std::span<const BYTE> Raw(LPCWSTR type, LPCWSTR name)
{
    HRSRC res = ::FindResourceExW(Program(), type, name, kGerman);
    if (!res)
        return {};
    const auto* p = static_cast<const BYTE*>(::LockResource(::LoadResource(Program(), res)));
    return {p, ::SizeofResource(Program(), res)};
}

std::span<const BYTE> Raw(WORD type, WORD name)
{
    return Raw(MAKEINTRESOURCEW(type), MAKEINTRESOURCEW(name));
}

std::string Hex(DWORD value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
    return text;
}

// A string or an ordinal, as resource formats store names, classes and texts.
struct NameOrId {
    std::optional<WORD> ordinal;
    std::wstring name;
    friend bool operator==(const NameOrId&, const NameOrId&) = default;
};
NameOrId Text(const wchar_t* text) { return {std::nullopt, text}; }
NameOrId Ordinal(WORD id) { return {id, {}}; }
void PrintTo(const NameOrId& n, std::ostream* os)
{
    if (n.ordinal)
        *os << "ordinal " << *n.ordinal;
    else
        *os << ::testing::PrintToString(n.name);
}

// Bounds-checked little-endian reader over one resource.
class Reader {
public:
    explicit Reader(std::span<const BYTE> bytes) : m_bytes(bytes) {}
    BYTE Byte() { return Take<BYTE>(); }
    WORD Word() { return Take<WORD>(); }
    DWORD Dword() { return Take<DWORD>(); }
    short Short() { return static_cast<short>(Word()); }
    std::wstring Sz()
    {
        std::wstring s;
        for (WORD c; (c = Word()) != 0;)
            s += static_cast<wchar_t>(c);
        return s;
    }
    NameOrId SzOrOrd()
    {
        if (Peek() == 0xFFFF) {
            Word();
            return Ordinal(Word());
        }
        return Text(Sz().c_str());
    }
    WORD Peek()
    {
        const auto at = m_pos;
        const WORD w = Word();
        m_pos = at;
        return w;
    }
    void Skip(std::size_t n)
    {
        Need(n);
        m_pos += n;
    }
    // Resources start DWORD-aligned, so offsets align like addresses.
    void AlignDword() { m_pos = (m_pos + 3) & ~std::size_t{3}; }
    std::size_t Pos() const { return m_pos; }
    std::size_t Left() const { return m_pos < m_bytes.size() ? m_bytes.size() - m_pos : 0; }

private:
    void Need(std::size_t n) const
    {
        if (m_pos + n > m_bytes.size())
            throw std::out_of_range("resource ends early at byte " + std::to_string(m_pos));
    }
    template <class T>
    T Take()
    {
        Need(sizeof(T));
        T value;
        std::memcpy(&value, m_bytes.data() + m_pos, sizeof value);
        m_pos += sizeof value;
        return value;
    }
    std::span<const BYTE> m_bytes;
    std::size_t m_pos = 0;
};

class resources : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(Program(), nullptr) << "cannot open " << ::testing::PrintToString(ProgramPath())
                                      << " (tests run in the build directory)";
    }
};

// ---------------------------------------------------------------------------
// Inventory and language

std::wstring Key(LPCWSTR typeOrName)
{
    return IS_INTRESOURCE(typeOrName) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(typeOrName))
                                      : std::wstring(typeOrName);
}

using Inventory = std::map<std::wstring, std::map<std::wstring, std::set<WORD>>>; // type -> name -> languages

BOOL CALLBACK OnLanguage(HMODULE, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR inv)
{
    (*reinterpret_cast<Inventory*>(inv))[Key(type)][Key(name)].insert(language);
    return TRUE;
}
BOOL CALLBACK OnName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR inv)
{
    ::EnumResourceLanguagesW(module, type, name, OnLanguage, inv);
    return TRUE;
}
BOOL CALLBACK OnType(HMODULE module, LPWSTR type, LONG_PTR inv)
{
    ::EnumResourceNamesW(module, type, OnName, inv);
    return TRUE;
}

TEST_F(resources, HoldExactlyTheListedResourcesAllInGermanOnly)
{
    Inventory inventory;
    ::EnumResourceTypesW(Program(), OnType, reinterpret_cast<LONG_PTR>(&inventory));

    // Icon images are numbered by the resource compiler; the group names its one.
    ASSERT_EQ(inventory[L"#3"].size(), 1u) << "icon images";
    const std::wstring iconImage = inventory[L"#3"].begin()->first;
    const std::map<std::wstring, std::set<std::wstring>> expected{
        {L"#3", {iconImage}},
        {L"#4", {L"#134"}},                   // menu
        {L"#5", {L"#100", L"#102", L"#131"}}, // dialogs
        {L"#6", {L"#7"}},                     // the string block of IDs 96..111
        {L"#14", {L"#128"}},                  // icon group
        {L"#16", {L"#1"}},                    // version record
        {L"#24", {L"#1"}},                    // manifest
        {L"#240", {L"#102"}},                 // dialog-init data
    };
    std::map<std::wstring, std::set<std::wstring>> found;
    for (const auto& [type, names] : inventory) {
        for (const auto& [name, languages] : names) {
            found[type].insert(name);
            EXPECT_EQ(languages, std::set<WORD>{kGerman})
                << "languages of type " << ::testing::PrintToString(type) << ", name "
                << ::testing::PrintToString(name);
        }
    }
    EXPECT_EQ(found, expected);
}

// ---------------------------------------------------------------------------
// Strings

TEST_F(resources, StringTableHoldsExactlyTheSixTexts)
{
    const std::map<UINT, std::wstring> expected{
        {IDS_ABOUTBOX, L"Inf&o \u00FCber Morvelin..."},
        {IDS_PARAMETER, L"Parameter ..."},
        {IDS_PRODUCT_TOO_LARGE, L"Das Produkt aus Zeile und Spalte ist gr\u00F6\u00DFer als 12."},
        {IDS_REFRESH, L"Aktualisieren\tF5 oder Doppelklick auf Titelzeile"},
        {IDS_CAPTION, L"Morvelin"},
        {IDS_SHORT_CLOCK, L"%02d.%02d.%02d %02d:%02d:%02d"},
    };
    // A string block holds 16 counted strings; block n holds IDs (n-1)*16 ...
    Reader r(Raw(6, IDS_ABOUTBOX / 16 + 1));
    for (UINT id = IDS_ABOUTBOX / 16 * 16; id < IDS_ABOUTBOX / 16 * 16 + 16; ++id) {
        std::wstring text(r.Word(), L'\0');
        for (auto& c : text)
            c = static_cast<wchar_t>(r.Word());
        const auto want = expected.find(id);
        EXPECT_EQ(text, want == expected.end() ? L"" : want->second) << "string " << id;
    }
    EXPECT_EQ(r.Left(), 0u) << "bytes after the 16 strings";
}

// ---------------------------------------------------------------------------
// Menu 134

struct MenuItem {
    WORD flags = 0;
    WORD id = 0;
    std::wstring text;
    std::vector<MenuItem> items;
};

std::vector<MenuItem> ParseMenuItems(Reader& r)
{
    std::vector<MenuItem> items;
    for (bool last = false; !last;) {
        MenuItem item;
        item.flags = r.Word();
        if (!(item.flags & MF_POPUP))
            item.id = r.Word();
        item.text = r.Sz();
        if (item.flags & MF_POPUP)
            item.items = ParseMenuItems(r);
        last = (item.flags & MF_END) != 0;
        items.push_back(std::move(item));
    }
    return items;
}

TEST_F(resources, ContextMenuIsOnePopupWithSevenPlainItems)
{
    const auto bytes = Raw(4, IDR_CONTEXT_MENU);
    Reader r(bytes);
    ASSERT_EQ(r.Word(), 0) << "standard, not extended, menu format";
    ASSERT_EQ(r.Word(), 0) << "header size";
    const auto top = ParseMenuItems(r);
    EXPECT_EQ(r.Left(), 0u) << "bytes after the menu";
    ASSERT_EQ(top.size(), 1u);
    EXPECT_EQ(top[0].text, L"POPUP");
    EXPECT_EQ(Hex(top[0].flags), Hex(MF_POPUP | MF_END));

    struct Want {
        const wchar_t* text; // nullptr: separator
        WORD id;
    };
    const Want want[] = {
        {L"Parameter ...", IDM_PARAMETER},
        {L"Aktualisieren", IDM_REFRESH},
        {L"Als Symbol darstellen", ID_MINIMIZE},
        {nullptr, 0},
        {L"Info \u00FCber Morvelin ...", IDM_ABOUTBOX},
        {nullptr, 0},
        {L"Programm beenden", ID_PROGRAM_END},
    };
    const auto& items = top[0].items;
    ASSERT_EQ(items.size(), std::size(want));
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(::testing::Message() << "item " << i + 1);
        const bool last = i + 1 == items.size();
        const WORD flags = items[i].flags & ~MF_END;
        EXPECT_EQ(Hex(items[i].flags & MF_END), Hex(last ? MF_END : 0)) << "end mark";
        if (want[i].text) {
            EXPECT_EQ(Hex(flags), Hex(0)) << "flags: no grey, no check, no popup";
            EXPECT_EQ(items[i].text, want[i].text);
            EXPECT_EQ(items[i].id, want[i].id) << "command";
        } else {
            // Windows reads an item with ID 0 and no text as a separator too.
            EXPECT_TRUE(flags == 0 || flags == MF_SEPARATOR) << "separator flags " << Hex(flags);
            EXPECT_EQ(items[i].text, L"") << "separator text";
            EXPECT_EQ(items[i].id, 0) << "separator ID";
        }
    }

    // And as the menu loader builds it.
    HMENU menu = ::LoadMenuIndirectW(bytes.data());
    ASSERT_NE(menu, nullptr);
    HMENU popup = ::GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(::GetMenuItemCount(popup), 7);
    for (int i = 0; i < 7; ++i) {
        MENUITEMINFOW info{sizeof info, MIIM_FTYPE | MIIM_STATE | MIIM_ID};
        ASSERT_TRUE(::GetMenuItemInfoW(popup, i, TRUE, &info));
        const bool separator = want[i].text == nullptr;
        EXPECT_EQ((info.fType & MFT_SEPARATOR) != 0, separator) << "loaded item " << i + 1;
        // Separators always come out greyed; everything else must be enabled and unchecked.
        if (!separator) {
            EXPECT_EQ(info.fState, 0u) << "loaded item " << i + 1;
            EXPECT_EQ(info.wID, want[i].id) << "loaded item " << i + 1;
        }
    }
    ::DestroyMenu(menu);
}

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

// The dialog manager's own reading of the templates: created for real from
// the program file, with a dialog procedure that records click notifications.
std::vector<WPARAM> g_commands;
INT_PTR CALLBACK RecordingProc(HWND, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND)
        g_commands.push_back(wParam);
    return message == WM_INITDIALOG;
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
    std::vector<int> order;
    HWND first = ::GetNextDlgTabItem(dialog, nullptr, FALSE);
    for (HWND at = first; at && order.size() < 10;) {
        order.push_back(::GetDlgCtrlID(at));
        at = ::GetNextDlgTabItem(dialog, at, FALSE);
        if (at == first)
            break;
    }
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
        g_commands.clear();
        HWND control = ::GetDlgItem(dialog, swatch);
        ::SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(g_commands, std::vector<WPARAM>{MAKEWPARAM(swatch, STN_CLICKED)}) << "swatch " << swatch;
    }
    ::DestroyWindow(dialog);
}

// ---------------------------------------------------------------------------
// Dialog-init data 102

TEST_F(resources, CalendarDialogInitDataHandsTheGridItsStartState)
{
    const auto bytes = Raw(kRtDlgInit, IDD_MORVELIN_DIALOG);
    // Pinned byte for byte: the data is generated from the settings' defaults
    // (tools/dlginit), and the shipped resource must not change with it.
    // Control 1005, message 0x0700, 36 bytes; "MGS1", version 1; one column,
    // one row, week numbers; fore, month background, background, title
    // background, title text, trailing days; the end of the list.
    const std::string expectedHex = "ED030007"
                                    "24000000"
                                    "4D475331"
                                    "0100"
                                    "0100"
                                    "0100"
                                    "0100"
                                    "00000000"
                                    "D4D0C800"
                                    "D4D0C800"
                                    "0080C000"
                                    "00000000"
                                    "80808000"
                                    "0000";
    std::vector<BYTE> expected;
    for (std::size_t i = 0; i + 1 < expectedHex.size(); i += 2)
        expected.push_back(static_cast<BYTE>(std::stoul(expectedHex.substr(i, 2), nullptr, 16)));
    EXPECT_EQ(std::vector<BYTE>(bytes.begin(), bytes.end()), expected);

    // Walked as the dialog framework walks it: exactly one record, for the grid.
    Reader r(bytes);
    ASSERT_EQ(r.Word(), IDC_MONTHVIEW);
    EXPECT_EQ(r.Word(), monthgrid::kLoadStateMessage) << "the message the grid listens for";
    const DWORD length = r.Dword();
    ASSERT_EQ(length, core::kMonthGridStateSize);
    const auto record = bytes.subspan(r.Pos());
    r.Skip(length); // throws when the resource is shorter than the record says
    const auto state = core::DecodeMonthGridState(record.first(length));
    EXPECT_EQ(r.Word(), 0) << "the list ends after one record";
    ASSERT_TRUE(state) << "the grid rejects its own start state";
    // Nothing in the record is lost on the way in (no stray flag bits, say).
    const auto again = core::EncodeMonthGridState(*state);
    EXPECT_TRUE(std::equal(again.begin(), again.end(), record.begin())) << "the grid reads a different state";
}

// ---------------------------------------------------------------------------
// Icon 128

constexpr std::array<DWORD, 16> kVgaPalette{// as RGBQUAD bytes read little-endian: 0x00RRGGBB
                                            0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                            0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                            0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

TEST_F(resources, IconIsOne32By32SixteenColourImage)
{
    Reader group(Raw(14, IDR_MAINFRAME));
    EXPECT_EQ(group.Word(), 0) << "reserved";
    EXPECT_EQ(group.Word(), 1) << "type: icon";
    ASSERT_EQ(group.Word(), 1) << "number of images";
    EXPECT_EQ(group.Byte(), 32) << "width";
    EXPECT_EQ(group.Byte(), 32) << "height";
    EXPECT_EQ(group.Byte(), 16) << "colour count";
    EXPECT_EQ(group.Byte(), 0) << "reserved";
    EXPECT_EQ(group.Word(), 1) << "planes";
    EXPECT_EQ(group.Word(), 4) << "bits per pixel";
    const DWORD size = group.Dword();
    const WORD image = group.Word();

    // Header, 16-entry palette, 4-bit colour rows, 1-bit mask rows.
    const auto bytes = Raw(3, image);
    EXPECT_EQ(bytes.size(), size) << "the group's size of image " << image;
    EXPECT_EQ(size, 40u + 16 * 4 + 32 * 16 + 32 * 4);
    Reader r(bytes);
    EXPECT_EQ(r.Dword(), 40u) << "biSize";
    EXPECT_EQ(r.Dword(), 32u) << "biWidth";
    EXPECT_EQ(r.Dword(), 64u) << "biHeight: colour bitmap and mask";
    EXPECT_EQ(r.Word(), 1) << "biPlanes";
    EXPECT_EQ(r.Word(), 4) << "biBitCount";
    EXPECT_EQ(r.Dword(), static_cast<DWORD>(BI_RGB)) << "biCompression";
    r.Skip(20);
    for (std::size_t i = 0; i < kVgaPalette.size(); ++i)
        EXPECT_EQ(Hex(r.Dword()), Hex(kVgaPalette[i])) << "palette entry " << i;
}

// The icon drawn for real at `size` pixels over a colour it never uses, the
// way a window shows it: loaded at that size, then drawn with its mask.
constexpr DWORD kBackground = 0x123456;
std::vector<DWORD> RenderIcon(int size)
{
    std::vector<DWORD> pixels;
    HICON icon = static_cast<HICON>(
        ::LoadImageW(Program(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, size, size, 0));
    if (!icon)
        return pixels;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP dib = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib) {
        HGDIOBJ old = ::SelectObject(dc, dib);
        auto* px = static_cast<DWORD*>(bits);
        std::fill(px, px + size * size, kBackground);
        if (::DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL)) {
            ::GdiFlush();
            for (int i = 0; i < size * size; ++i)
                pixels.push_back(px[i] & 0xFFFFFF);
        }
        ::SelectObject(dc, old);
        ::DeleteObject(dib);
    }
    ::DeleteDC(dc);
    ::DestroyIcon(icon);
    return pixels;
}

// Looked at by region: catches a flipped bitmap, swapped colour channels and
// an inverted mask.
TEST_F(resources, IconDrawsARedBandOverAWhitePageWithABlueNumber)
{
    const auto px = RenderIcon(32);
    ASSERT_EQ(px.size(), 32u * 32);
    auto count = [&](DWORD colour, int top, int bottom) {
        return std::count(px.begin() + top * 32, px.begin() + (bottom + 1) * 32, colour);
    };
    EXPECT_GE(count(0xFF0000, 0, 15), 30) << "red band in the upper half";
    EXPECT_EQ(count(0xFF0000, 16, 31), 0) << "no red in the lower half";
    EXPECT_GE(count(0x0000FF, 14, 27), 50) << "blue digits on the page";
    EXPECT_EQ(count(0x0000FF, 0, 13), 0) << "no blue in the band";
    EXPECT_GE(count(0xFFFFFF, 14, 29), 120) << "white page";
    EXPECT_EQ(count(kBackground, 0, 1), 64) << "transparent above the leaf";
    EXPECT_EQ(count(kBackground, 31, 31), 32) << "transparent below the leaf";
    for (auto [x, y] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}})
        EXPECT_EQ(Hex(px[y * 32 + x]), Hex(kBackground)) << "corner " << x << "," << y;
}

// The small icon of the title bar and the taskbar is this one shrunk: the
// two digits must stay apart and the 3 must not close into a blob.
TEST_F(resources, ShrunkTo16PixelsTheIconStillShowsTwoSeparateDigits)
{
    const auto px = RenderIcon(16);
    ASSERT_EQ(px.size(), 16u * 16);
    std::array<bool, 16> blueColumn{};
    int top = 16, bottom = -1;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (px[y * 16 + x] == 0x0000FF) {
                blueColumn[x] = true;
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    std::vector<std::pair<int, int>> runs; // first and last column of each digit
    for (int x = 0; x < 16; ++x) {
        if (!blueColumn[x])
            continue;
        if (runs.empty() || runs.back().second != x - 1)
            runs.push_back({x, x});
        else
            runs.back().second = x;
    }
    ASSERT_EQ(runs.size(), 2u) << "blue columns must form two digits";
    int white = 0, area = 0;
    for (int y = top; y <= bottom; ++y)
        for (int x = runs[0].first; x <= runs[0].second; ++x, ++area)
            white += px[y * 16 + x] == 0xFFFFFF;
    EXPECT_GE(white * 4, area) << "the 3 keeps its open spaces";
}

// ---------------------------------------------------------------------------
// Version record

struct VersionNode {
    std::wstring key;
    std::vector<VersionNode> children;
};

// wLength, wValueLength, wType, key, padding, value, padding, children.
VersionNode ParseVersionNode(std::span<const BYTE> bytes)
{
    Reader r(bytes);
    const WORD length = r.Word();
    const WORD valueLength = r.Word();
    const WORD type = r.Word();
    VersionNode node{r.Sz(), {}};
    r.AlignDword();
    r.Skip(type == 1 ? valueLength * 2u : valueLength);
    while (r.AlignDword(), r.Pos() < length) {
        const auto rest = bytes.subspan(r.Pos(), length - r.Pos());
        const WORD childLength = Reader(rest).Word();
        if (childLength == 0)
            throw std::runtime_error("empty version node");
        node.children.push_back(ParseVersionNode(rest.first(childLength)));
        r.Skip(childLength);
    }
    return node;
}

TEST_F(resources, VersionRecord)
{
    const auto path = ProgramPath();
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, size, data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof *fixed);
    EXPECT_EQ(Hex(fixed->dwSignature), Hex(VS_FFI_SIGNATURE));
    EXPECT_EQ(Hex(fixed->dwFileVersionMS), Hex(MAKELONG(0, 1))) << "file version 1.0";
    EXPECT_EQ(Hex(fixed->dwFileVersionLS), Hex(MAKELONG(0, 1))) << "file version .1.0";
    EXPECT_EQ(Hex(fixed->dwProductVersionMS), Hex(MAKELONG(0, 1))) << "product version 1.0";
    EXPECT_EQ(Hex(fixed->dwProductVersionLS), Hex(MAKELONG(1, 0))) << "product version .0.1";
    EXPECT_EQ(Hex(fixed->dwFileFlags & fixed->dwFileFlagsMask), Hex(0)) << "file flags";
    EXPECT_EQ(Hex(fixed->dwFileOS), Hex(VOS__WINDOWS32));
    EXPECT_EQ(Hex(fixed->dwFileType), Hex(VFT_APP));
    EXPECT_EQ(Hex(fixed->dwFileSubtype), Hex(0));

    WORD* translation = nullptr;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                                 reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u) << "one translation";
    EXPECT_EQ(Hex(translation[0]), Hex(0x0407));
    EXPECT_EQ(translation[1], 1200);

    auto value = [&](const wchar_t* name) {
        wchar_t* text = nullptr;
        UINT chars = 0;
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040704b0\\") + name;
        if (!::VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&text), &chars) || !text)
            return std::wstring(L"<missing>");
        return std::wstring(text);
    };
    EXPECT_EQ(value(L"FileVersion"), L"1, 0, 1, 0");
    EXPECT_EQ(value(L"ProductVersion"), L"1, 0, 0, 1");
    EXPECT_EQ(value(L"FileDescription"), L"Morvelin \u2013 Kalender");
    EXPECT_EQ(value(L"OriginalFilename"), L"Morvelin.exe");
    EXPECT_EQ(value(L"ProductName"), L"Morvelin");
    for (const wchar_t* name : {L"CompanyName", L"InternalName", L"LegalCopyright"}) {
        EXPECT_NE(value(name), L"<missing>") << ::testing::PrintToString(std::wstring(name));
        EXPECT_NE(value(name), L"") << ::testing::PrintToString(std::wstring(name));
    }

    // Exactly one string block and one translation list, nothing beside them.
    const auto root = ParseVersionNode(Raw(16, VS_VERSION_INFO));
    EXPECT_EQ(root.key, L"VS_VERSION_INFO");
    std::map<std::wstring, std::vector<std::wstring>> blocks;
    for (const auto& child : root.children)
        for (const auto& block : child.children)
            blocks[child.key].push_back(block.key);
    EXPECT_EQ(blocks, (std::map<std::wstring, std::vector<std::wstring>>{
                          {L"StringFileInfo", {L"040704b0"}}, {L"VarFileInfo", {L"Translation"}}}));
}

// ---------------------------------------------------------------------------
// Manifest

TEST_F(resources, ManifestAsksForCommonControls6AndSystemDpiAwareness)
{
    const auto bytes = Raw(24, 1);
    std::string manifest(bytes.begin(), bytes.end());
    // Only what the loader reads counts, not what the comments say.
    for (std::size_t at; (at = manifest.find("<!--")) != std::string::npos;) {
        const auto end = manifest.find("-->", at);
        ASSERT_NE(end, std::string::npos) << "unterminated comment";
        manifest.erase(at, end + 3 - at);
    }
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos)
        << manifest;
    EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos) << manifest;
    // Per-monitor awareness, in either spelling, would let dialog units and
    // the font's point sizes disagree after a move between monitors.
    EXPECT_EQ(manifest.find("dpiAwareness"), std::string::npos) << manifest;
    EXPECT_EQ(manifest.find("PerMonitor"), std::string::npos) << manifest;
    EXPECT_NE(manifest.find("processorArchitecture=\"amd64\""), std::string::npos) << manifest;
}

// ---------------------------------------------------------------------------
// Identifiers

TEST_F(resources, IdsAreDistinctWithinEachKindAndSystemCommandsSurviveTheLowBitMask)
{
    auto distinct = [](std::initializer_list<int> ids) { return std::set<int>(ids).size() == ids.size(); };
    EXPECT_TRUE(distinct({IDD_ABOUTBOX, IDD_MORVELIN_DIALOG, IDD_PARAMETER})) << "dialogs";
    EXPECT_TRUE(distinct(
        {IDS_ABOUTBOX, IDS_PARAMETER, IDS_PRODUCT_TOO_LARGE, IDS_REFRESH, IDS_CAPTION, IDS_SHORT_CLOCK}))
        << "strings";
    EXPECT_TRUE(distinct({IDM_ABOUTBOX, IDM_PARAMETER, IDM_REFRESH, ID_PROGRAM_END, ID_MINIMIZE}))
        << "commands";
    // The buttons' IDOK and IDCANCEL share the dialogs' ID space with the controls.
    EXPECT_TRUE(distinct({IDC_COLUMNS, IDC_ROWS, IDC_FONT, IDC_MONTHVIEW, IDC_FORECOLOR, IDC_STANDARD_COLORS,
                          IDC_MONTHBACKCOLOR, IDC_TITLEBACKCOLOR, IDC_TITLEFORECOLOR, IDC_TRAILINGFORECOLOR,
                          IDC_WEEKNUMBERS, IDOK, IDCANCEL}))
        << "controls";
    // The calendar window compares system commands with their low four bits cleared.
    for (int command : {IDM_ABOUTBOX, IDM_PARAMETER, IDM_REFRESH}) {
        EXPECT_EQ(command & 0xFFF0, command) << "system command " << command;
        EXPECT_LT(command, 0xF000) << "system command " << command;
    }
    const std::string gridClass = MONTHGRID_CLASS_NAME;
    EXPECT_EQ(std::wstring(gridClass.begin(), gridClass.end()), monthgrid::kClassName)
        << "the class dialog 102 names is the class the month grid registers";
}

} // namespace
