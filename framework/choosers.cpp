#include "framework/choosers.h"

#include "framework/app.h"
#include "framework/late_bound.h"
#include "framework/wnd.h"

namespace fw {
namespace {

// The chooser's custom colours live as long as the process and are not
// stored anywhere, as with the platform's framework.
COLORREF g_customColors[16] = {
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};

HWND OwnerOf(CWnd* parent) { return AfxGetSafeOwner(parent ? parent->m_hWnd : nullptr); }

} // namespace

CColorDialog::CColorDialog(COLORREF initial, DWORD flags, CWnd* parent) : m_pParent(parent)
{
    m_cc.lStructSize = sizeof m_cc;
    m_cc.rgbResult = initial;
    m_cc.lpCustColors = g_customColors;
    m_cc.Flags = flags;
}

INT_PTR CColorDialog::DoModal()
{
    m_cc.hwndOwner = OwnerOf(m_pParent);
    static const auto chooseColor = LateBound<decltype(&::ChooseColorW)>(L"comdlg32.dll", "ChooseColorW");
    return chooseColor && chooseColor(&m_cc) ? IDOK : IDCANCEL;
}

CFontDialog::CFontDialog(const LOGFONTA* initial, DWORD flags, HDC printer, CWnd* parent) : m_pParent(parent)
{
    m_cf.lStructSize = sizeof m_cf;
    m_cf.lpLogFont = &m_lf;
    m_cf.Flags = flags;
    m_cf.hDC = printer;
    if (initial) {
        m_lf = *initial;
        m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
    }
}

INT_PTR CFontDialog::DoModal()
{
    m_cf.hwndOwner = OwnerOf(m_pParent);
    m_cf.lpLogFont = &m_lf;
    static const auto chooseFont = LateBound<decltype(&::ChooseFontA)>(L"comdlg32.dll", "ChooseFontA");
    return chooseFont && chooseFont(&m_cf) ? IDOK : IDCANCEL;
}

void CFontDialog::GetCurrentFont(LOGFONTA* out) const { *out = m_lf; }

} // namespace fw
