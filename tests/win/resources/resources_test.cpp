// The built program's resources, read from outside: Morvelin.exe opened as an
// image resource file (the working directory is the build directory) and each
// resource taken apart from its raw bytes, the way the dialog manager, the
// menu loader and the version API read them.
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
        {L"#4", {L"#134"}},                            // menu
        {L"#5", {L"#100", L"#102", L"#131", L"#140"}}, // dialogs
        {L"#6",
         {L"#7", L"#13", L"#19", L"#20"}}, // the string blocks of IDs 96..111, 192..207, 288..303, 304..319
        {L"#14", {L"#128"}},               // icon group
        {L"#16", {L"#1"}},                 // version record
        {L"#24", {L"#1"}},                 // manifest
        {L"#240", {L"#102"}},              // dialog-init data
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

// The holidays' texts, in a block of their own so that the one above stays
// byte for byte as it was.
TEST_F(resources, TheHolidaysStringBlockHoldsExactlyItsFourTexts)
{
    const std::map<UINT, std::wstring> expected{
        {IDS_HOLIDAYS, L"Feiertage ..."},
        {IDS_HOLIDAYS_NONE, L"keine"},
        {IDS_HOLIDAYS_NATIONWIDE, L"ganz Deutschland (nur bundesweite)"},
        {IDS_HOLIDAYS_OF_YEAR, L"Feiertage im &Jahr %d:"},
    };
    Reader r(Raw(6, IDS_HOLIDAYS / 16 + 1));
    for (UINT id = IDS_HOLIDAYS / 16 * 16; id < IDS_HOLIDAYS / 16 * 16 + 16; ++id) {
        std::wstring text(r.Word(), L'\0');
        for (auto& c : text)
            c = static_cast<wchar_t>(r.Word());
        const auto want = expected.find(id);
        EXPECT_EQ(text, want == expected.end() ? L"" : want->second) << "string " << id;
    }
    EXPECT_EQ(r.Left(), 0u) << "bytes after the 16 strings";
    EXPECT_NE(IDS_HOLIDAYS / 16, IDS_ABOUTBOX / 16) << "a block of its own";
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
// Manifest

TEST_F(resources, ManifestAsksForCommonControls6AndPerMonitorV2DpiAwarenessElseSystem)
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
    // Systems before Windows 10 1607 read dpiAware alone: system aware
    // ("true/pm" would be per-monitor version 1, whose frames and dialogs
    // nothing scales).
    EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true"
                            "</dpiAware>"),
              std::string::npos)
        << manifest;
    // Later ones take the first value of the list that they know.
    const std::string open = "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">";
    const auto at = manifest.find(open);
    ASSERT_NE(at, std::string::npos) << manifest;
    const auto end = manifest.find("</dpiAwareness>", at);
    ASSERT_NE(end, std::string::npos) << manifest;
    std::vector<std::string> values;
    std::string list = manifest.substr(at + open.size(), end - at - open.size());
    for (std::size_t from = 0; from <= list.size();) {
        std::size_t comma = list.find(',', from);
        if (comma == std::string::npos)
            comma = list.size();
        std::string value = list.substr(from, comma - from);
        value.erase(0, value.find_first_not_of(" \t\r\n"));
        value.erase(value.find_last_not_of(" \t\r\n") + 1);
        values.push_back(value);
        from = comma + 1;
    }
    EXPECT_EQ(values, (std::vector<std::string>{"PerMonitorV2", "System"})) << list;
    EXPECT_NE(manifest.find("processorArchitecture=\"amd64\""), std::string::npos) << manifest;
}

// ---------------------------------------------------------------------------
// Identifiers

TEST_F(resources, IdsAreDistinctWithinEachKindAndSystemCommandsSurviveTheLowBitMask)
{
    auto distinct = [](std::initializer_list<int> ids) { return std::set<int>(ids).size() == ids.size(); };
    EXPECT_TRUE(distinct({IDD_ABOUTBOX, IDD_MORVELIN_DIALOG, IDD_PARAMETER, IDD_HOLIDAYS})) << "dialogs";
    EXPECT_TRUE(distinct({IDS_ABOUTBOX, IDS_PARAMETER, IDS_PRODUCT_TOO_LARGE, IDS_REFRESH, IDS_CAPTION,
                          IDS_SHORT_CLOCK, IDS_HOLIDAYS, IDS_HOLIDAYS_NONE, IDS_HOLIDAYS_NATIONWIDE,
                          IDS_HOLIDAYS_OF_YEAR, IDS_STARTUP_ENDS, IDS_STARTUP_OLE, IDS_STARTUP_GRID_CLASS,
                          IDS_STARTUP_COMMON_CONTROLS, IDS_STARTUP_WINDOW_TEMPLATE, IDS_STARTUP_WINDOW,
                          IDS_STARTUP_WINDOW_SETUP, IDS_STARTUP_WORKER}))
        << "strings";
    EXPECT_TRUE(
        distinct({IDM_ABOUTBOX, IDM_PARAMETER, IDM_REFRESH, ID_PROGRAM_END, ID_MINIMIZE, IDM_HOLIDAYS}))
        << "commands";
    // The buttons' IDOK and IDCANCEL share the dialogs' ID space with the controls.
    EXPECT_TRUE(distinct({IDC_COLUMNS, IDC_ROWS, IDC_FONT, IDC_MONTHVIEW, IDC_FORECOLOR, IDC_STANDARD_COLORS,
                          IDC_MONTHBACKCOLOR, IDC_TITLEBACKCOLOR, IDC_TITLEFORECOLOR, IDC_TRAILINGFORECOLOR,
                          IDC_WEEKNUMBERS, IDC_HOLIDAY_REGION, IDC_HOLIDAY_COLOR, IDC_HOLIDAY_YEAR,
                          IDC_HOLIDAY_LIST, IDOK, IDCANCEL}))
        << "controls";
    // The new resources take IDs outside those the program had before.
    EXPECT_TRUE(distinct({IDD_HOLIDAYS, IDR_CONTEXT_MENU, IDR_MAINFRAME})) << "no other resource's number";
    for (int id : {IDC_HOLIDAY_REGION, IDC_HOLIDAY_COLOR, IDC_HOLIDAY_YEAR, IDC_HOLIDAY_LIST})
        EXPECT_TRUE(id < 1001 || id > 1014) << id;
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
