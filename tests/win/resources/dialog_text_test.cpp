// Every label of every dialog of the built program fits its control, in the
// dialog's own font, at the DPI the test runs at (the harness runs it at 96,
// 120, 144 and 192 and names the DPI in MORVELIN_DPI).
//
// Each dialog template of Morvelin.exe (opened as an image resource file;
// the working directory is the build directory) is created hidden, as the
// dialog manager makes it; a control of a class this process lacks stands in
// as an empty window. The test process carries the program's manifest, so it
// has the program's DPI awareness and common controls. Then each static
// text, check box, radio button, group box and push button gets its text
// measured with DrawText, with the flags the control draws it with, against
// the part of its client area the control lets the text use: all of it for
// a static; for a check box, what is right of the box (12 px at 96 DPI, plus
// 1) and the gap after it (half a digit) less a pixel for the focus frame;
// for a group box, the caption's room between its 7 px indent and the
// right-hand frame; for a push button, what is inside its default frame,
// 3-D edge and 2 px label margin. Those are the distances Wine's common
// controls draw with; they grow with the DPI here, as Windows' do.
#include "resources_reader.h"

#include <windows.h>
#include <commctrl.h> // split buttons

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using restest::Program;
using restest::ProgramPath;
using restest::Raw;
using restest::Reader;

int SystemDpi()
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

int Scaled(int px, int dpi) { return ::MulDiv(px, dpi, 96); }

// ---------------------------------------------------------------------------
// Dialog templates, as far as creating them needs: the header's style and
// font, and each item's class.

struct TemplateInfo {
    bool extended = false;
    std::size_t styleOffset = 0;
    WORD pointSize = 0;
    std::wstring face;
    std::vector<restest::NameOrId> classes; // of the items
};

TemplateInfo ParseTemplate(std::span<const BYTE> bytes)
{
    TemplateInfo t;
    Reader r(bytes);
    DWORD style = 0;
    WORD count = 0;
    const WORD first = r.Word();
    const WORD second = r.Word();
    t.extended = first == 1 && second == 0xFFFF;
    if (t.extended) {
        r.Dword(); // help ID
        r.Dword(); // extended style
        t.styleOffset = 12;
        style = r.Dword();
    } else {
        style = MAKELONG(first, second);
        r.Dword(); // extended style
    }
    count = r.Word();
    r.Skip(4 * sizeof(short));
    r.SzOrOrd(); // menu
    r.SzOrOrd(); // class
    r.Sz();      // caption
    if (style & DS_SETFONT) {
        t.pointSize = r.Word();
        if (t.extended)
            r.Skip(4); // weight, italic, character set
        t.face = r.Sz();
    }
    for (WORD i = 0; i < count; ++i) {
        r.AlignDword();
        r.Skip(t.extended ? 3 * 4 : 2 * 4); // (help ID,) extended style, style
        r.Skip(4 * sizeof(short));
        r.Skip(t.extended ? 4 : 2); // ID
        t.classes.push_back(r.SzOrOrd());
        r.SzOrOrd();      // text
        r.Skip(r.Word()); // creation data
    }
    return t;
}

// A class the dialog names but this process does not have (the month grid)
// stands in as an empty window: a dialog with an unknown class fails to
// create at all.
void ProvideClass(const restest::NameOrId& item)
{
    const std::wstring& name = item.name;
    if (item.ordinal || name.empty())
        return;
    WNDCLASSEXW existing{sizeof existing};
    if (::GetClassInfoExW(nullptr, name.c_str(), &existing) ||
        ::GetClassInfoExW(::GetModuleHandleW(nullptr), name.c_str(), &existing))
        return;
    WNDCLASSW wc{};
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = name.c_str();
    ::RegisterClassW(&wc);
}

INT_PTR CALLBACK QuietDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// The dialog as the dialog manager makes it from the template, never shown.
HWND CreateHidden(HINSTANCE instance, std::span<const BYTE> bytes, const TemplateInfo& info)
{
    for (const auto& c : info.classes)
        ProvideClass(c);
    // DWORD-aligned, as the dialog manager expects.
    std::vector<DWORD> copy((bytes.size() + 3) / 4);
    std::memcpy(copy.data(), bytes.data(), bytes.size());
    DWORD style;
    auto* raw = reinterpret_cast<BYTE*>(copy.data());
    std::memcpy(&style, raw + info.styleOffset, sizeof style);
    style &= ~WS_VISIBLE;
    std::memcpy(raw + info.styleOffset, &style, sizeof style);
    return ::CreateDialogIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(copy.data()), nullptr,
                                        QuietDialog, 0);
}

// ---------------------------------------------------------------------------
// Where a control lets its text go, and how it draws it.

struct TextRoom {
    RECT area;   // in the control's client coordinates
    UINT format; // DrawText flags
    const char* kind;
};

std::optional<TextRoom> TextRoomOf(HWND control, int dpi)
{
    wchar_t cls[64] = L"";
    ::GetClassNameW(control, cls, 64);
    const LONG style = ::GetWindowLongW(control, GWL_STYLE);
    RECT client;
    ::GetClientRect(control, &client);

    if (::lstrcmpiW(cls, L"Static") == 0) {
        UINT format = DT_EXPANDTABS;
        switch (style & SS_TYPEMASK) {
        case SS_LEFT:
            format |= DT_LEFT | DT_WORDBREAK;
            break;
        case SS_CENTER:
            format |= DT_CENTER | DT_WORDBREAK;
            break;
        case SS_RIGHT:
            format |= DT_RIGHT | DT_WORDBREAK;
            break;
        case SS_LEFTNOWORDWRAP:
            format |= DT_LEFT;
            break;
        case SS_SIMPLE:
            format = DT_LEFT | DT_SINGLELINE;
            break;
        default:
            return std::nullopt; // icons, bitmaps, frames, owner drawn
        }
        if (style & SS_NOPREFIX)
            format |= DT_NOPREFIX;
        if (style & SS_EDITCONTROL)
            format |= DT_EDITCONTROL;
        return TextRoom{client, format, "static text"};
    }
    if (::lstrcmpiW(cls, L"Button") != 0)
        return std::nullopt;

    const UINT lines = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    LONG type = style & BS_TYPEMASK;
    if (style & BS_PUSHLIKE)
        type = BS_PUSHBUTTON;
    RECT area = client;
    switch (type) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
    case BS_SPLITBUTTON:
    case BS_DEFSPLITBUTTON: {
        // Any push button draws the default frame while it has the focus.
        const int inset = Scaled(1 + 2, dpi);
        ::InflateRect(&area, -inset, -inset);
        return TextRoom{area, lines, "push button"};
    }
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE: {
        HDC dc = ::GetDC(control);
        HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
        INT digit = 0;
        ::GetCharWidth32W(dc, L'0', L'0', &digit);
        ::SelectObject(dc, old);
        ::ReleaseDC(control, dc);
        const int box = 12 * dpi / 96 + 1;
        if ((style & BS_LEFTTEXT) || (::GetWindowLongW(control, GWL_EXSTYLE) & WS_EX_RIGHT))
            area.right -= box + digit / 2 + 1;
        else
            area.left += box + digit / 2 + 1;
        return TextRoom{area, lines,
                        (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) ? "radio button"
                                                                               : "check box"};
    }
    case BS_GROUPBOX:
        // The caption starts 7 px in; a pixel of background around it, then
        // the frame's 2 px, must stay clear on the right.
        area.left += Scaled(7, dpi);
        area.right -= Scaled(3, dpi);
        return TextRoom{area, lines, "group box"};
    default:
        return std::nullopt; // owner drawn, user buttons, command links
    }
}

std::wstring WindowText(HWND control)
{
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

// What the text needs, laid out in the room's width as the control lays it out.
SIZE TextNeeds(HWND control, const TextRoom& room, const std::wstring& text)
{
    HDC dc = ::GetDC(control);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT need{0, 0, room.area.right - room.area.left, 0};
    ::DrawTextW(dc, text.c_str(), -1, &need, room.format | DT_CALCRECT);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return SIZE{need.right - need.left, need.bottom - need.top};
}

std::string Utf8(const std::wstring& text)
{
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                        nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr,
                          nullptr);
    return out;
}

struct Checked {
    int labels = 0; // controls whose text was measured
    std::vector<std::string> clipped;
};

// Every labelled control of the dialog whose text does not fit its room.
Checked CheckLabels(HWND dialog, int dpi)
{
    Checked result;
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        const auto room = TextRoomOf(c, dpi);
        const std::wstring text = room ? WindowText(c) : std::wstring();
        if (!room || text.empty())
            continue;
        ++result.labels;
        const SIZE need = TextNeeds(c, *room, text);
        const SIZE has{room->area.right - room->area.left, room->area.bottom - room->area.top};
        if (need.cx <= has.cx && need.cy <= has.cy)
            continue;
        RECT at;
        ::GetWindowRect(c, &at);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&at), 2);
        TextRoom oneLine = *room;
        oneLine.format = (oneLine.format & ~DT_WORDBREAK) | DT_SINGLELINE;
        char line[240];
        std::snprintf(line, sizeof line,
                      "%s (ID %d, at %ld,%ld px) needs %ld x %ld px for its text (%ld px on one line), has "
                      "%ld x %ld px",
                      room->kind, static_cast<short>(::GetDlgCtrlID(c)), at.left, at.top, need.cx, need.cy,
                      TextNeeds(c, oneLine, text).cx, has.cx, has.cy);
        std::string entry(1, '"');
        entry.append(Utf8(text)).append("\": ").append(line);
        result.clipped.push_back(std::move(entry));
    }
    return result;
}

std::string FontOf(HWND dialog)
{
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
    HDC dc = ::GetDC(dialog);
    HGDIOBJ old = ::SelectObject(dc, font ? font : ::GetStockObject(SYSTEM_FONT));
    wchar_t face[LF_FACESIZE] = L"";
    ::GetTextFaceW(dc, LF_FACESIZE, face);
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    ::SelectObject(dc, old);
    ::ReleaseDC(dialog, dc);
    return Utf8(face) + " " + std::to_string(tm.tmHeight) + " px";
}

BOOL CALLBACK CollectDialog(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR out)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::set<WORD>*>(out)->insert(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
    else
        ADD_FAILURE() << "dialog named by a string: " << Utf8(name);
    return TRUE;
}

class DialogText : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dpi = SystemDpi();
        if (const char* want = std::getenv("MORVELIN_DPI")) {
            ASSERT_EQ(m_dpi, std::atoi(want)) << "the harness did not start this test at the DPI it names";
        }
    }
    int m_dpi = 96;
};

TEST_F(DialogText, EveryLabelOfEveryDialogFitsItsControl)
{
    ASSERT_NE(Program(), nullptr) << "cannot open " << Utf8(ProgramPath())
                                  << " (tests run in the build directory)";
    std::set<WORD> ids;
    ::EnumResourceNamesW(Program(), RT_DIALOG, CollectDialog, reinterpret_cast<LONG_PTR>(&ids));
    for (WORD known : {100, 102, 131})
        EXPECT_TRUE(ids.count(known)) << "dialog " << known << " not found among the program's dialogs";

    for (WORD id : ids) {
        const std::span<const BYTE> bytes = Raw(RT_DIALOG, MAKEINTRESOURCEW(id));
        ASSERT_FALSE(bytes.empty());
        const TemplateInfo info = ParseTemplate(bytes);
        HWND dialog = CreateHidden(reinterpret_cast<HINSTANCE>(Program()), bytes, info);
        ASSERT_NE(dialog, nullptr) << "dialog " << id << " cannot be created (error " << ::GetLastError()
                                   << ")";
        const Checked checked = CheckLabels(dialog, m_dpi);
        std::printf(
            "dialog %u at %d DPI: template font %d pt \"%s\", in use %s; %d labels measured, %zu clipped\n",
            id, m_dpi, info.pointSize, Utf8(info.face).c_str(), FontOf(dialog).c_str(), checked.labels,
            checked.clipped.size());
        for (const auto& c : checked.clipped)
            ADD_FAILURE() << "dialog " << id << " at " << m_dpi << " DPI: " << c;
        ::DestroyWindow(dialog);
    }
}

// ---------------------------------------------------------------------------
// The check itself, on dialogs made here: each kind of control is caught
// when its text does not fit the way that kind draws it, and left alone when
// it has room. Sizes are set in pixels after creation, from the text's own
// extent measured independently of the check.

class DialogTextCheck : public DialogText {
protected:
    struct Item {
        DWORD style;
        WORD classOrdinal; // 0x80 button, 0x81 edit, 0x82 static
        const wchar_t* text;
    };

    // A hidden dialog in the program's dialog font, one control per item;
    // control i gets ID 100 + i.
    HWND Make(std::initializer_list<Item> items)
    {
        std::vector<WORD> t;
        auto dword = [&](DWORD v) {
            t.push_back(LOWORD(v));
            t.push_back(HIWORD(v));
        };
        auto text = [&](const wchar_t* s) {
            for (; *s; ++s)
                t.push_back(static_cast<WORD>(*s));
            t.push_back(0);
        };
        dword(DS_SETFONT | WS_POPUP | WS_CAPTION);
        dword(0);
        t.push_back(static_cast<WORD>(items.size()));
        for (short v : {0, 0, 300, 200})
            t.push_back(static_cast<WORD>(v));
        t.push_back(0); // no menu
        t.push_back(0); // standard class
        text(L"Test");
        t.push_back(8);
        text(L"MS Sans Serif");
        WORD id = 100;
        for (const Item& item : items) {
            if (t.size() % 2)
                t.push_back(0);
            dword(item.style | WS_CHILD | WS_VISIBLE);
            dword(0);
            for (short v : {5, 5, 200, 14})
                t.push_back(static_cast<WORD>(v));
            t.push_back(id++);
            t.push_back(0xFFFF);
            t.push_back(item.classOrdinal);
            text(item.text);
            t.push_back(0);
        }
        const auto* bytes = reinterpret_cast<const BYTE*>(t.data());
        const std::span<const BYTE> span(bytes, t.size() * sizeof(WORD));
        HWND dialog = CreateHidden(::GetModuleHandleW(nullptr), span, ParseTemplate(span));
        m_dialogs.push_back(dialog);
        return dialog;
    }

    void TearDown() override
    {
        for (HWND d : m_dialogs)
            ::DestroyWindow(d);
    }

    // The plain text's width and height in the control's font.
    static SIZE Extent(HWND control, const wchar_t* text)
    {
        HDC dc = ::GetDC(control);
        HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
        SIZE s{};
        ::GetTextExtentPoint32W(dc, text, ::lstrlenW(text), &s);
        ::SelectObject(dc, old);
        ::ReleaseDC(control, dc);
        return s;
    }

    static void Resize(HWND control, int cx, int cy)
    {
        ::SetWindowPos(control, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    std::vector<HWND> m_dialogs;
};

TEST_F(DialogTextCheck, WrappingStaticCutToItsFirstLineIsCaught)
{
    HWND d = Make({{SS_LEFT, 0x82, L"Textfarbe der Tage"}});
    ASSERT_NE(d, nullptr);
    HWND label = ::GetDlgItem(d, 100);
    const SIZE first = Extent(label, L"Textfarbe der");
    const SIZE whole = Extent(label, L"Textfarbe der Tage");
    // Room for the first two words on one line: the third wraps below it.
    Resize(label, first.cx + 2, whole.cy);
    auto checked = CheckLabels(d, m_dpi);
    ASSERT_EQ(checked.clipped.size(), 1u);
    EXPECT_NE(checked.clipped[0].find("Textfarbe der Tage"), std::string::npos) << checked.clipped[0];
    EXPECT_NE(checked.clipped[0].find("static text"), std::string::npos) << checked.clipped[0];

    Resize(label, whole.cx, whole.cy);
    EXPECT_TRUE(CheckLabels(d, m_dpi).clipped.empty()) << "a label exactly as wide as its text fits";
    // Two lines' height holds the wrapped text.
    Resize(label, first.cx + 2, 2 * whole.cy);
    EXPECT_TRUE(CheckLabels(d, m_dpi).clipped.empty()) << "a wrapping label with room for both lines fits";
}

TEST_F(DialogTextCheck, CheckBoxNeedsRoomForItsBoxBesideTheText)
{
    HWND d = Make({{BS_AUTOCHECKBOX, 0x80, L"Morvelinwochen anzeigen"}});
    ASSERT_NE(d, nullptr);
    HWND box = ::GetDlgItem(d, 100);
    const SIZE text = Extent(box, L"Morvelinwochen anzeigen");
    Resize(box, text.cx + 8, text.cy + 4);
    auto checked = CheckLabels(d, m_dpi);
    ASSERT_EQ(checked.clipped.size(), 1u) << "the text alone fits, the box beside it does not";
    EXPECT_NE(checked.clipped[0].find("check box"), std::string::npos) << checked.clipped[0];

    Resize(box, text.cx + 2 * ::GetSystemMetrics(SM_CXMENUCHECK) + Scaled(8, m_dpi), text.cy + 4);
    EXPECT_TRUE(CheckLabels(d, m_dpi).clipped.empty());
}

TEST_F(DialogTextCheck, GroupBoxCaptionNeedsItsIndentAndFrame)
{
    HWND d = Make({{BS_GROUPBOX, 0x80, L"Anzahl der Zeilen und Spalten"}});
    ASSERT_NE(d, nullptr);
    HWND group = ::GetDlgItem(d, 100);
    const SIZE text = Extent(group, L"Anzahl der Zeilen und Spalten");
    Resize(group, text.cx + 4, 60);
    auto checked = CheckLabels(d, m_dpi);
    ASSERT_EQ(checked.clipped.size(), 1u);
    EXPECT_NE(checked.clipped[0].find("group box"), std::string::npos) << checked.clipped[0];

    Resize(group, text.cx + Scaled(24, m_dpi), 60);
    EXPECT_TRUE(CheckLabels(d, m_dpi).clipped.empty());
}

TEST_F(DialogTextCheck, PushButtonTextMustStayInsideItsFrame)
{
    HWND d = Make({{BS_PUSHBUTTON, 0x80, L"Standardfarben"}});
    ASSERT_NE(d, nullptr);
    HWND button = ::GetDlgItem(d, 100);
    const SIZE text = Extent(button, L"Standardfarben");
    Resize(button, text.cx + 2, text.cy + Scaled(10, m_dpi));
    auto checked = CheckLabels(d, m_dpi);
    ASSERT_EQ(checked.clipped.size(), 1u);
    EXPECT_NE(checked.clipped[0].find("push button"), std::string::npos) << checked.clipped[0];

    // Too low: the text would run into the top and bottom edges.
    Resize(button, text.cx + Scaled(16, m_dpi), text.cy);
    EXPECT_EQ(CheckLabels(d, m_dpi).clipped.size(), 1u);

    Resize(button, text.cx + Scaled(16, m_dpi), text.cy + Scaled(10, m_dpi));
    EXPECT_TRUE(CheckLabels(d, m_dpi).clipped.empty());
}

TEST_F(DialogTextCheck, MnemonicMarkerTakesNoRoomUnlessShown)
{
    HWND d = Make({{SS_LEFT, 0x82, L"&Spalten"}, {SS_LEFT | SS_NOPREFIX, 0x82, L"&Spalten"}});
    ASSERT_NE(d, nullptr);
    const SIZE plain = Extent(::GetDlgItem(d, 100), L"Spalten");
    Resize(::GetDlgItem(d, 100), plain.cx, plain.cy);
    Resize(::GetDlgItem(d, 101), plain.cx, plain.cy);
    auto checked = CheckLabels(d, m_dpi);
    ASSERT_EQ(checked.clipped.size(), 1u) << "only the label that shows its ampersand needs more room";
    EXPECT_NE(checked.clipped[0].find("ID 101"), std::string::npos) << checked.clipped[0];
}

TEST_F(DialogTextCheck, ControlsThatShowNoTextAreLeftAlone)
{
    HWND d = Make({{SS_BLACKFRAME, 0x82, L"a frame's text is never drawn"},
                   {ES_LEFT, 0x81, L"typed text scrolls"},
                   {SS_LEFT, 0x82, L""}});
    ASSERT_NE(d, nullptr);
    for (int id : {100, 101, 102})
        Resize(::GetDlgItem(d, id), 3, 3);
    const auto checked = CheckLabels(d, m_dpi);
    EXPECT_EQ(checked.labels, 0);
    EXPECT_TRUE(checked.clipped.empty());
}

} // namespace
