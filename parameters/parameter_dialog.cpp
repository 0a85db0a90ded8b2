#include "parameters/parameter_dialog.h"

#include "app/private_messages.h"
#include "app/setting_feedback.h"
#include "app/settings_store.h"
#include "core/grid_geometry.h"
#include "core/settings_keys.h"
#include "framework/app.h"
#include "framework/choosers.h"
#include "resource.h"

#include <array>
#include <iterator>
#include <optional>
#include <string>

namespace {

namespace keys = core::keys;

} // namespace

decltype(CParameterDlg::kMessageMap) CParameterDlg::kMessageMap{
    fw::OnControl<BN_CLICKED, IDC_FONT, &CParameterDlg::OnFont>(),
    fw::OnControl<STN_CLICKED, IDC_FORECOLOR, &CParameterDlg::OnForeColor>(),
    fw::OnControl<STN_CLICKED, IDC_MONTHBACKCOLOR, &CParameterDlg::OnMonthBackColor>(),
    fw::OnControl<STN_CLICKED, IDC_TITLEBACKCOLOR, &CParameterDlg::OnTitleBackColor>(),
    fw::OnControl<STN_CLICKED, IDC_TITLEFORECOLOR, &CParameterDlg::OnTitleForeColor>(),
    fw::OnControl<STN_CLICKED, IDC_TRAILINGFORECOLOR, &CParameterDlg::OnTrailingForeColor>(),
    fw::OnControl<BN_CLICKED, IDC_STANDARD_COLORS, &CParameterDlg::OnStandardColors>(),
    fw::OnControl<BN_CLICKED, IDC_WEEKNUMBERS, &CParameterDlg::OnWeekNumbers>(),
    fw::OnControl<EN_CHANGE, IDC_COLUMNS, &CParameterDlg::OnChangeColumns>(),
    fw::OnControl<EN_CHANGE, IDC_ROWS, &CParameterDlg::OnChangeRows>(),
};

CParameterDlg::CParameterDlg(fw::CWnd* parent) : WithMessageMap(IDD_PARAMETER, parent) {}

CParameterDlg::~CParameterDlg() = default;

void CParameterDlg::DoDataExchange(fw::CDataExchange* dx)
{
    // The swatches are only bound here; their colours are never exchanged.
    fw::DDX_Control(dx, IDC_MONTHBACKCOLOR, m_ctlMonthBackColor);
    fw::DDX_Control(dx, IDC_TRAILINGFORECOLOR, m_ctlTrailingForeColor);
    fw::DDX_Control(dx, IDC_TITLEBACKCOLOR, m_ctlTitleBackColor);
    fw::DDX_Control(dx, IDC_TITLEFORECOLOR, m_ctlTitleForeColor);
    fw::DDX_Control(dx, IDC_FORECOLOR, m_ctlForeColor);
    fw::DDX_Text(dx, IDC_COLUMNS, m_nColumns);
    fw::DDX_Text(dx, IDC_ROWS, m_nRows);
    fw::DDX_Check(dx, IDC_WEEKNUMBERS, m_bWeekNumbers);
}

BOOL CParameterDlg::OnInitDialog()
{
    fw::CDialog::OnInitDialog();

    LoadStoredCounts();
    for (std::size_t i = 0; i < std::size(keys::kColourKeys); ++i)
        Swatches()[i]->m_color = StoredColor(*keys::kColourKeys[i]);
    m_bWeekNumbers = SettingsStore::ReadInt(keys::kWeekNumbers);

    // The swatches are not on screen yet; their first paint shows the colours.
    UpdateData(FALSE);
    return TRUE;
}

void CParameterDlg::LoadStoredCounts()
{
    // Counts beyond the 16-bit fields show as their low 16 bits.
    m_nColumns = static_cast<std::int16_t>(SettingsStore::ReadInt(keys::kColumns));
    m_nRows = static_cast<std::int16_t>(SettingsStore::ReadInt(keys::kRows));
}

std::array<CColorSwatch*, 5> CParameterDlg::Swatches()
{
    // Paired by position with the store's colour order.
    static_assert(std::size(keys::kColourKeys) == 5);
    static_assert(
        keys::kColourKeys[0] == &keys::kForeColor && keys::kColourKeys[1] == &keys::kMonthBackColor &&
        keys::kColourKeys[2] == &keys::kTitleBackColor && keys::kColourKeys[3] == &keys::kTitleForeColor &&
        keys::kColourKeys[4] == &keys::kTrailingForeColor);
    return {&m_ctlForeColor, &m_ctlMonthBackColor, &m_ctlTitleBackColor, &m_ctlTitleForeColor,
            &m_ctlTrailingForeColor};
}

void CParameterDlg::OnOK() {}

COLORREF StoredColor(const core::SettingKey& key)
{
    return static_cast<COLORREF>(SettingsStore::ReadInt(key));
}

void PickAndStoreColor(CColorSwatch& swatch, const core::SettingKey& key)
{
    if (!swatch.PickColor())
        return;
    if (!SettingsStore::WriteInt(key, static_cast<int>(swatch.m_color))) {
        ReportSaveFailure();
        swatch.m_color = StoredColor(key);
        swatch.Invalidate(TRUE);
        return;
    }
    NotifyCalendar(WM_SETTINGS_CHANGED);
}

void CParameterDlg::OnForeColor() { PickAndStoreColor(m_ctlForeColor, keys::kForeColor); }
void CParameterDlg::OnMonthBackColor() { PickAndStoreColor(m_ctlMonthBackColor, keys::kMonthBackColor); }
void CParameterDlg::OnTitleBackColor() { PickAndStoreColor(m_ctlTitleBackColor, keys::kTitleBackColor); }
void CParameterDlg::OnTitleForeColor() { PickAndStoreColor(m_ctlTitleForeColor, keys::kTitleForeColor); }
void CParameterDlg::OnTrailingForeColor()
{
    PickAndStoreColor(m_ctlTrailingForeColor, keys::kTrailingForeColor);
}

void CParameterDlg::OnStandardColors()
{
    const std::array<CColorSwatch*, 5> swatches = Swatches();
    for (std::size_t i = 0; i < swatches.size(); ++i)
        swatches[i]->m_color = static_cast<COLORREF>(keys::kColourKeys[i]->defaultValue);
    // Every key every time: the user asked for the defaults, whatever the
    // profile held before.
    bool allStored = true;
    bool anyStored = false;
    for (std::size_t i = 0; i < swatches.size(); ++i) {
        const bool stored =
            SettingsStore::WriteInt(*keys::kColourKeys[i], static_cast<int>(swatches[i]->m_color));
        allStored = allStored && stored;
        anyStored = anyStored || stored;
    }
    if (!allStored) {
        ReportSaveFailure();
        for (std::size_t i = 0; i < swatches.size(); ++i)
            swatches[i]->m_color = StoredColor(*keys::kColourKeys[i]);
    }
    for (CColorSwatch* swatch : swatches)
        swatch->Invalidate(TRUE);
    if (anyStored)
        NotifyCalendar(WM_SETTINGS_CHANGED);
}

void CParameterDlg::OnWeekNumbers()
{
    // The exchange reads the count fields too, so a field holding no number
    // blocks this click from being saved until it is corrected.
    if (!UpdateData(TRUE))
        return;
    if (!SettingsStore::WriteInt(keys::kWeekNumbers, m_bWeekNumbers)) {
        ReportSaveFailure();
        m_bWeekNumbers = SettingsStore::ReadInt(keys::kWeekNumbers);
        ::CheckDlgButton(m_hWnd, IDC_WEEKNUMBERS, m_bWeekNumbers != 0 ? BST_CHECKED : BST_UNCHECKED);
        return;
    }
    NotifyCalendar(WM_SETTINGS_CHANGED);
}

void CParameterDlg::OnChangeColumns() { StoreMonthCounts(); }
void CParameterDlg::OnChangeRows() { StoreMonthCounts(); }

void CParameterDlg::StoreMonthCounts()
{
    // Runs on every keystroke: typing "12" over "4" first stores 1, then
    // refuses 12.
    if (!UpdateData(TRUE))
        return;
    const std::int32_t months = std::int32_t{m_nRows} * std::int32_t{m_nColumns};
    if (months > core::kMaxMonths) {
        // The field keeps what the user typed; the calendar keeps its layout.
        fw::AfxMessageBox(IDS_PRODUCT_TOO_LARGE, MB_OK, static_cast<UINT>(-1));
        return;
    }
    // Both counts every time: the pair is only valid together.
    const bool columnsStored = SettingsStore::WriteInt(keys::kColumns, m_nColumns);
    const bool rowsStored = SettingsStore::WriteInt(keys::kRows, m_nRows);
    if (!columnsStored || !rowsStored) {
        ReportSaveFailure();
        LoadStoredCounts();
        UpdateData(FALSE);
    }
    if (columnsStored || rowsStored)
        NotifyCalendar(WM_SETTINGS_CHANGED);
}

void CParameterDlg::OnFont()
{
    // The stored font as the calendar reads it: a damaged record starts
    // the chooser from the default GUI font, and is replaced only if the
    // user confirms.
    const std::optional<LOGFONTA> initial = SettingsStore::ReadLogFont();

    fw::CFontDialog chooser(initial ? &*initial : nullptr, CF_SCREENFONTS | CF_EFFECTS, nullptr, nullptr);
    if (chooser.DoModal() != IDOK)
        return;
    // Written and announced on every confirmation, changed or not. The
    // text colour the chooser offers is not a setting.
    LOGFONTA chosen{};
    chooser.GetCurrentFont(&chosen);
    if (!SettingsStore::WriteLogFont(chosen)) {
        ReportSaveFailure();
        return;
    }
    NotifyCalendar(WM_FONT_CHANGED);
}
