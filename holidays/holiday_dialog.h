#pragma once
// The holiday dialog (template IDD_HOLIDAYS): whose holidays the calendar
// marks ("keine", the nationwide ones or a Land's), in which colour, and
// the list of the chosen region's holidays of one year. Like the parameter
// dialog it has no OK: each choice is written to the settings store at
// once and the calendar window is told synchronously; a choice that cannot
// be stored is reported once and the dialog shows the stored one again.
#include <windows.h>

#include "framework/dialog.h"
#include "parameters/color_swatch.h"

class CHolidayDlg : public fw::WithMessageMap<CHolidayDlg, fw::CDialog> {
public:
    // `year`: the year whose holidays the list shows, the first one the
    // calendar shows. The calendar window passes no parent: the dialog is
    // then owned by the application's main window.
    explicit CHolidayDlg(int year, fw::CWnd* parent = nullptr);
    ~CHolidayDlg() override;

    CColorSwatch m_ctlHolidayColor;

    // Loads the three settings afresh into the controls.
    BOOL OnInitDialog() override;

    static const fw::MessageMap<CHolidayDlg, 2> kMessageMap;

    // The entries of the drop-down list: "keine", the nationwide holidays,
    // then the Länder in the order of core::kLaender.
    static constexpr int kNone = 0;
    static constexpr int kNationwide = 1;
    static constexpr int kFirstLand = 2;

protected:
    void DoDataExchange(fw::CDataExchange* dx) override;
    // Enter on the list or the drop-down list: every choice is stored
    // already, so the dialog stays open.
    void OnOK() override;

    void OnRegionChanged();
    void OnHolidayColor();

private:
    // The entry the stored settings stand for.
    static int StoredChoice();
    void ShowChoice(int choice);
    // The list of the chosen region's holidays of the year.
    void FillList(int choice);

    int m_year;
    // The entry shown for what is stored: a notification that leaves the
    // choice where it was stores nothing.
    int m_nChoice = -1;
};
