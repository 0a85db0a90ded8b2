#pragma once
// The grid's font: what it keeps of a font object (its description, never
// the object), the GDI font made from it at the window's DPI, and the text
// metrics measured with that font, each remade only when what it depends on
// has changed.
#include <windows.h>
#include <ocidl.h>

#include <array>
#include <string>

#include "core/grid_geometry.h"
#include "framework/handles.h"

namespace monthgrid {

struct FontDescription {
    std::wstring face;
    long long size = 0; // 1/10000 pt, as IFont's CY
    int weight = FW_NORMAL;
    int charset = DEFAULT_CHARSET;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;

    bool operator==(const FontDescription&) const = default;
};

// Reads an IFont; fields it cannot answer keep the defaults above.
FontDescription DescribeFont(IFont* font);
// The GDI font for a description at a vertical DPI:
// lfHeight = -round(size * dpi / 720000), kept within 1..96 pixels.
LOGFONTW ToLogFont(const FontDescription& font, int dpi);
// The stock GUI font (the system font where there is none).
HFONT StockGuiFont();

class GridFont {
public:
    // False when the description is the one in use already (null: the GUI
    // font); the font and its metrics are then kept.
    bool Set(const FontDescription* font);

    // The font to draw with at `dpi`; made anew when the DPI changed.
    HFONT Get(int dpi);
    // Measured with Get(dpi) on `window`'s screen.
    const core::FontMetrics& Metrics(HWND window, int dpi);

    // The same face and size in bold, for the holidays, and its digits'
    // widths as drawn: made once per font and DPI, measured on `window`'s
    // screen. Nothing of the grid's size depends on it.
    HFONT GetBold(HWND window, int dpi);
    const std::array<int, 10>& BoldDigitWidths() const { return m_boldDigitWidths; }

    // Changes whenever the description does: two paints with the same
    // generation and DPI use the same font.
    unsigned Generation() const { return m_generation; }
    // Of the last measurement.
    int MeasuredDpi() const { return m_metricsDpi; }
    int TextHeight() const { return m_textHeight; }
    const std::array<int, 10>& DigitWidths() const { return m_digitWidths; }

private:
    // The font put (or the stock GUI font, when none is) at `dpi`; a zero
    // height when there is neither.
    LOGFONTW LogFontAt(int dpi) const;
    void Measure(HDC dc);
    static void MeasureDigits(HDC dc, std::array<int, 10>& widths);

    bool m_hasDescription = false;
    FontDescription m_description;
    fw::UniqueFont m_font; // made from m_description; null: the stock GUI font
    int m_fontDpi = 0;
    unsigned m_generation = 1;

    core::FontMetrics m_metrics;
    unsigned m_metricsGeneration = 0; // m_generation it was measured for
    int m_metricsDpi = 0;
    HFONT m_metricsFont = nullptr;
    std::array<int, 10> m_digitWidths{};
    int m_textHeight = 0;

    fw::UniqueFont m_bold;
    unsigned m_boldGeneration = 0; // m_generation it was made for
    int m_boldDpi = 0;
    std::array<int, 10> m_boldDigitWidths{};
};

} // namespace monthgrid
