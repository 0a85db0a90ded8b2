#pragma once
// The parameter dialog (template IDD_PARAMETER). It has no OK and no Apply:
// each change is written to the settings store the moment the user makes it
// and the calendar window is told synchronously, so the calendar behind the
// dialog follows every change while the dialog stays open. A change that
// cannot be stored is reported once per user action and the field or
// swatch shows the stored value again. Closing the dialog (the cancel
// command) undoes nothing and writes nothing.
#include <windows.h>

#include <array>
#include <cstdint>

#include "framework/dialog.h"
#include "parameters/color_swatch.h"

namespace core {
struct SettingKey;
}

// A colour setting as stored.
COLORREF StoredColor(const core::SettingKey& key);
// Opens the swatch's colour chooser and stores the colour picked at once,
// telling the calendar; a colour that cannot be stored is reported and the
// swatch shows the stored one again. Every dialog's colour fields do so.
void PickAndStoreColor(CColorSwatch& swatch, const core::SettingKey& key);

class CParameterDlg : public fw::WithMessageMap<CParameterDlg, fw::CDialog> {
public:
    // The calendar window passes no parent: the dialog is then owned by the
    // application's main window.
    explicit CParameterDlg(fw::CWnd* parent = nullptr);
    ~CParameterDlg() override;

    // Each colour lives only in its swatch.
    CColorSwatch m_ctlMonthBackColor;
    CColorSwatch m_ctlTrailingForeColor;
    CColorSwatch m_ctlTitleBackColor;
    CColorSwatch m_ctlTitleForeColor;
    CColorSwatch m_ctlForeColor;
    std::int16_t m_nColumns = 0;
    std::int16_t m_nRows = 0;
    int m_bWeekNumbers = 0;

    // Loads every setting afresh into the members and the controls.
    BOOL OnInitDialog() override;

    static const fw::MessageMap<CParameterDlg, 10> kMessageMap;

protected:
    void DoDataExchange(fw::CDataExchange* dx) override;
    // Enter in a number field or on the check box arrives here (the dialog
    // has no default button); every change is saved already, so the dialog
    // simply stays open.
    void OnOK() override;

    void OnFont();
    void OnForeColor();
    void OnMonthBackColor();
    void OnTitleBackColor();
    void OnTitleForeColor();
    void OnTrailingForeColor();
    void OnStandardColors();
    void OnWeekNumbers();
    void OnChangeColumns();
    void OnChangeRows();

private:
    void StoreMonthCounts();
    void LoadStoredCounts();
    // In the order of core::keys::kColourKeys.
    std::array<CColorSwatch*, 5> Swatches();
};
