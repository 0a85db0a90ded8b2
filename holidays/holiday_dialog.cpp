#include "holidays/holiday_dialog.h"

#include "app/private_messages.h"
#include "app/setting_feedback.h"
#include "app/settings_store.h"
#include "core/calendar_text.h"
#include "core/holidays.h"
#include "core/settings_keys.h"
#include "framework/app.h"
#include "framework/handles.h"
#include "parameters/parameter_dialog.h"
#include "resource.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <string>

namespace {

namespace keys = core::keys;

core::Region RegionOf(int choice)
{
    const int land = choice - CHolidayDlg::kFirstLand;
    return land >= 0 && land < static_cast<int>(core::kLaender.size())
               ? core::kLaender[static_cast<std::size_t>(land)]
               : core::Region::Nationwide;
}

int ChoiceOf(core::Region region)
{
    const auto* at = std::find(core::kLaender.begin(), core::kLaender.end(), region);
    return at == core::kLaender.end()
               ? CHolidayDlg::kNationwide
               : CHolidayDlg::kFirstLand + static_cast<int>(at - core::kLaender.begin());
}

// The list's widest line, so that its horizontal scroll bar shows only
// when a line would be cut.
int TextWidth(HWND control, const std::wstring& text)
{
    fw::WindowDC dc(control);
    if (!dc)
        return 0;
    fw::SelectObjectScope font(dc.get(),
                               reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

} // namespace

decltype(CHolidayDlg::kMessageMap) CHolidayDlg::kMessageMap{
    fw::OnControl<CBN_SELCHANGE, IDC_HOLIDAY_REGION, &CHolidayDlg::OnRegionChanged>(),
    fw::OnControl<STN_CLICKED, IDC_HOLIDAY_COLOR, &CHolidayDlg::OnHolidayColor>(),
};

CHolidayDlg::CHolidayDlg(int year, fw::CWnd* parent) : WithMessageMap(IDD_HOLIDAYS, parent), m_year(year) {}

CHolidayDlg::~CHolidayDlg() = default;

void CHolidayDlg::DoDataExchange(fw::CDataExchange* dx)
{
    fw::DDX_Control(dx, IDC_HOLIDAY_COLOR, m_ctlHolidayColor);
}

BOOL CHolidayDlg::OnInitDialog()
{
    fw::CDialog::OnInitDialog();

    HWND choices = GetDlgItem(IDC_HOLIDAY_REGION);
    for (UINT id : {IDS_HOLIDAYS_NONE, IDS_HOLIDAYS_NATIONWIDE})
        ::SendMessageW(choices, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(fw::AfxLoadString(id).c_str()));
    for (core::Region land : core::kLaender) {
        const std::wstring name(core::LandName(land));
        ::SendMessageW(choices, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }

    const std::wstring pattern = fw::AfxLoadString(IDS_HOLIDAYS_OF_YEAR);
    if (!pattern.empty()) {
        wchar_t heading[128];
        std::swprintf(heading, std::size(heading), pattern.c_str(), m_year);
        ::SetDlgItemTextW(m_hWnd, IDC_HOLIDAY_YEAR, heading);
    }

    ShowChoice(StoredChoice());
    // Not on screen yet: its first paint shows the colour.
    m_ctlHolidayColor.m_color = StoredColor(keys::kHolidayForeColor);
    return TRUE;
}

int CHolidayDlg::StoredChoice()
{
    if (SettingsStore::ReadInt(keys::kHolidays) == 0)
        return kNone;
    // A Land the store cannot read is shown as the calendar shows it: the nationwide holidays.
    return ChoiceOf(core::ParseRegion(SettingsStore::ReadString(keys::kHolidayRegion)).region);
}

void CHolidayDlg::ShowChoice(int choice)
{
    m_nChoice = choice;
    ::SendDlgItemMessageW(m_hWnd, IDC_HOLIDAY_REGION, CB_SETCURSEL, static_cast<WPARAM>(choice), 0);
    FillList(choice);
}

void CHolidayDlg::FillList(int choice)
{
    HWND list = GetDlgItem(IDC_HOLIDAY_LIST);
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
    int widest = 0;
    if (choice != kNone) {
        for (const core::Holiday& holiday : core::HolidaysOf(m_year, RegionOf(choice))) {
            const std::wstring line = core::HolidayListLine(holiday);
            ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
            widest = std::max(widest, TextWidth(list, line));
        }
    }
    // A few pixels for the item's own margin.
    ::SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest > 0 ? widest + 8 : 0), 0);
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

void CHolidayDlg::OnOK() {}

void CHolidayDlg::OnRegionChanged()
{
    const LRESULT choice = ::SendDlgItemMessageW(m_hWnd, IDC_HOLIDAY_REGION, CB_GETCURSEL, 0, 0);
    if (choice == CB_ERR || choice == m_nChoice)
        return;
    // "keine" switches the holidays off and keeps the Land for when they
    // are switched on again.
    bool allStored = true, anyStored = false;
    auto wrote = [&](bool stored) {
        allStored = allStored && stored;
        anyStored = anyStored || stored;
    };
    if (choice != kNone)
        wrote(SettingsStore::WriteString(keys::kHolidayRegion,
                                         core::RegionCode(RegionOf(static_cast<int>(choice)))));
    wrote(SettingsStore::WriteInt(keys::kHolidays, choice == kNone ? 0 : 1));
    if (!allStored) {
        ReportSaveFailure();
        ShowChoice(StoredChoice());
    } else {
        m_nChoice = static_cast<int>(choice);
        FillList(m_nChoice);
    }
    if (anyStored)
        NotifyCalendar(WM_SETTINGS_CHANGED);
}

void CHolidayDlg::OnHolidayColor() { PickAndStoreColor(m_ctlHolidayColor, keys::kHolidayForeColor); }
