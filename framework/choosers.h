#pragma once
// The platform's colour and font choosers, wrapped for modal use.
#include <windows.h>
#include <commdlg.h>

namespace fw {

class CWnd;

class CColorDialog {
public:
    // `parent` null: owned by the application's active window.
    CColorDialog(COLORREF initial, DWORD flags, CWnd* parent);
    INT_PTR DoModal();
    COLORREF GetColor() const { return m_cc.rgbResult; }

    CHOOSECOLORW m_cc{};

private:
    CWnd* m_pParent;
};

class CFontDialog {
public:
    // `initial` null: the chooser starts without a font.
    CFontDialog(const LOGFONTA* initial, DWORD flags, HDC printer, CWnd* parent);
    INT_PTR DoModal();
    void GetCurrentFont(LOGFONTA* out) const;

    CHOOSEFONTA m_cf{};

private:
    LOGFONTA m_lf{};
    CWnd* m_pParent;
};

} // namespace fw
