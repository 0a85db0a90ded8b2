#pragma once
// A clickable colour field of the parameter dialog. It is bound to a static
// control of the dialog's template (SS_NOTIFY, so a click reaches the dialog
// as the control's ID with code 0) and paints that control's whole client
// area itself. It knows nothing of settings: the dialog stores the colour.
#include <windows.h>

#include "framework/window_base.h"

class CColorSwatch : public fw::WithMessageMap<CColorSwatch> {
public:
    CColorSwatch() = default;
    ~CColorSwatch() override;

    // The colour shown. A direct write does not repaint: the writer
    // invalidates the swatch where it is already on screen.
    COLORREF m_color = 0;

    // Runs the colour chooser over the swatch's parent, starting on m_color.
    // 1 when the user confirmed a different colour (now in m_color, the
    // swatch marked for repainting); 0 when cancelled or confirmed unchanged.
    int PickColor();

    void OnPaint();

    static const fw::MessageMap<CColorSwatch, 1> kMessageMap;
};
