#pragma once
// A clickable colour field of the parameter dialog. It is bound to a static
// control of the dialog's template (SS_NOTIFY, so a click reaches the dialog
// as the control's ID with code 0) and paints that control's whole client
// area itself. It knows nothing of settings: the dialog stores the colour.
//
// Without a mouse: the swatch makes its control a tab stop when it binds to
// it (the template stays as it is), shows a focus rectangle while it has the
// focus, and Space or Enter sends the dialog the same notification a click
// does. Assistive technology sees a push button named after the label beside
// it ("Textfarbe der Tage"), whose value is the colour as "#RRGGBB".
#include <windows.h>

#include <string>

#include "framework/window_base.h"

class SwatchAccessible;

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

    // The text of the label that says what the colour means, without its
    // mnemonic marks: a static text next to the swatch in the dialog's
    // order and on its line, else the nearest one to its right on its
    // line, else one next to it in the dialog's order.
    std::wstring AccessibleName() const;
    // m_color as "#RRGGBB".
    std::wstring ColorText() const;
    // What a click does: the dialog hears of it as the control's ID with
    // code 0 (STN_CLICKED).
    void NotifyClicked();

    static const fw::MessageMap<CColorSwatch, 7> kMessageMap;

protected:
    void PreSubclassWindow() override;
    void PostNcDestroy() override;

private:
    LRESULT OnGetDlgCode(WPARAM key, LPARAM message);
    LRESULT OnKeyDown(WPARAM key, LPARAM flags);
    void Repaint() { Invalidate(FALSE); }
    LRESULT OnGetObject(WPARAM w, LPARAM objectId);
    void DisconnectAccessible();

    SwatchAccessible* m_pAccessible = nullptr; // one reference, while bound
    COLORREF m_shownColor = 0;                 // as last painted
    bool m_bPainted = false;
};
