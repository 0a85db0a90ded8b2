#include "parameters/color_swatch.h"

#include "framework/choosers.h"
#include "framework/handles.h"

decltype(CColorSwatch::kMessageMap) CColorSwatch::kMessageMap{
    fw::On<WM_PAINT, &CColorSwatch::OnPaint>(),
};

CColorSwatch::~CColorSwatch() = default;

void CColorSwatch::OnPaint()
{
    fw::PaintDC dc(m_hWnd);
    const RECT client = GetClientRect();
    // The DC's own brush and pen: nothing to create, so nothing can fail.
    fw::SelectObjectScope keepBrush(dc.get(), ::GetStockObject(DC_BRUSH));
    fw::SelectObjectScope keepPen(dc.get(), ::GetStockObject(DC_PEN));
    ::SetDCBrushColor(dc.get(), m_color);
    ::SetDCPenColor(dc.get(), RGB(0, 0, 0));
    // One rectangle over the whole client area: the pen is the 1-pixel black
    // frame, the brush the fill. The static's own black frame never shows,
    // and no background needs erasing.
    ::Rectangle(dc.get(), client.left, client.top, client.right, client.bottom);
}

int CColorSwatch::PickColor()
{
    fw::CColorDialog chooser(m_color, CC_RGBINIT | CC_FULLOPEN, fw::CWnd::FromHandlePermanent(GetParent()));
    if (chooser.DoModal() != IDOK)
        return 0;
    const COLORREF chosen = chooser.GetColor();
    if (chosen == m_color)
        return 0; // the dialog must not store or announce an unchanged colour
    m_color = chosen;
    Invalidate(TRUE);
    return 1;
}
