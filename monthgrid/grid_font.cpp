#include "monthgrid/grid_font.h"

#include <olectl.h>
#include <oleauto.h>

#include <algorithm>

#include "core/dates.h"
#include "framework/com_values.h"
#include "framework/dpi.h"

namespace monthgrid {
namespace {

// Where the description gives no size or the GUI font no height.
constexpr LONG kFallbackHeight = -11;
// DPIs and sizes beyond these are no screen's; inside them the arithmetic
// below cannot overflow.
constexpr int kMinDpi = 48;
constexpr int kMaxDpi = 960;
constexpr long long kMaxSizeCy = 10'000'000; // 1000 pt
// CY units per pixel at one DPI: 10000 per point, 72 points an inch.
constexpr long long kCyPerInch = 720'000;
// The pixel heights the grid's geometry can lay out.
constexpr long long kMinPixels = 1;
constexpr long long kMaxPixels = 96;
// Widest day or week number measured: week 53.
constexpr int kLargestNumber = 53;
// The heaviest weight LOGFONT knows.
constexpr int kMaxWeight = 1000;

SIZE Extent(HDC dc, std::wstring_view text)
{
    SIZE s{};
    ::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &s);
    return s;
}

} // namespace

HFONT StockGuiFont()
{
    if (HGDIOBJ f = ::GetStockObject(DEFAULT_GUI_FONT))
        return static_cast<HFONT>(f);
    return static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
}

FontDescription DescribeFont(IFont* font)
{
    FontDescription d;
    if (!font)
        return d;
    fw::Bstr name;
    if (SUCCEEDED(font->get_Name(name.put())) && name)
        d.face = name.str();
    CY size{};
    if (SUCCEEDED(font->get_Size(&size)))
        d.size = size.int64;
    SHORT weight = 0;
    BOOL flag = FALSE;
    if (SUCCEEDED(font->get_Weight(&weight)))
        d.weight = weight;
    else if (SUCCEEDED(font->get_Bold(&flag)))
        d.weight = flag ? FW_BOLD : FW_NORMAL;
    SHORT charset = 0;
    if (SUCCEEDED(font->get_Charset(&charset)))
        d.charset = charset;
    if (SUCCEEDED(font->get_Italic(&flag)))
        d.italic = flag != FALSE;
    if (SUCCEEDED(font->get_Underline(&flag)))
        d.underline = flag != FALSE;
    if (SUCCEEDED(font->get_Strikethrough(&flag)))
        d.strikethrough = flag != FALSE;
    return d;
}

LOGFONTW ToLogFont(const FontDescription& font, int dpi)
{
    // Whatever the description lacks comes from the GUI font.
    LOGFONTW lf{};
    if (::GetObjectW(StockGuiFont(), sizeof lf, &lf) != sizeof lf)
        lf = LOGFONTW{};
    if (lf.lfHeight == 0)
        lf.lfHeight = kFallbackHeight;
    dpi = std::clamp(dpi, kMinDpi, kMaxDpi);
    const long long size = std::clamp(font.size, 0LL, kMaxSizeCy);
    if (size > 0) {
        const long long px = (size * dpi + kCyPerInch / 2) / kCyPerInch;
        lf.lfHeight = -static_cast<LONG>(std::clamp(px, kMinPixels, kMaxPixels));
    }
    lf.lfWidth = 0;
    lf.lfEscapement = 0;
    lf.lfOrientation = 0;
    lf.lfWeight = std::clamp(font.weight, 0, kMaxWeight);
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfStrikeOut = font.strikethrough;
    lf.lfCharSet = static_cast<BYTE>(std::clamp(font.charset, 0, 255));
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    if (!font.face.empty() && font.face[0] != L'\0') {
        const std::size_t n = std::min<std::size_t>(font.face.size(), LF_FACESIZE - 1);
        std::copy_n(font.face.data(), n, lf.lfFaceName);
        lf.lfFaceName[n] = L'\0';
    }
    return lf;
}

bool GridFont::Set(const FontDescription* font)
{
    // The same description makes the same GDI font: the one made is kept,
    // and with it the measured metrics.
    if (font ? m_hasDescription && *font == m_description : !m_hasDescription)
        return false;
    m_hasDescription = font != nullptr;
    if (font)
        m_description = *font;
    m_font.reset();
    m_bold.reset();
    m_fontDpi = 0;
    ++m_generation;
    return true;
}

LOGFONTW GridFont::LogFontAt(int dpi) const
{
    LOGFONTW lf{};
    if (m_hasDescription) {
        lf = ToLogFont(m_description, dpi);
    } else if (::GetObjectW(StockGuiFont(), sizeof lf, &lf) == sizeof lf) {
        // The stock font's pixels are the system DPI's: on a monitor of
        // another DPI, the same font in points.
        lf.lfHeight = ::MulDiv(lf.lfHeight, dpi, static_cast<int>(fw::SystemDpi()));
    }
    return lf;
}

HFONT GridFont::Get(int dpi)
{
    const int system = static_cast<int>(fw::SystemDpi());
    if (!m_hasDescription && dpi == system)
        return StockGuiFont();
    if (!m_font || m_fontDpi != dpi) {
        const LOGFONTW lf = LogFontAt(dpi);
        m_font.reset(lf.lfHeight ? ::CreateFontIndirectW(&lf) : nullptr);
        m_fontDpi = dpi;
    }
    return m_font ? m_font.get() : StockGuiFont();
}

HFONT GridFont::GetBold(HWND window, int dpi)
{
    if (m_bold && m_boldGeneration == m_generation && m_boldDpi == dpi)
        return m_bold.get();
    LOGFONTW lf = LogFontAt(dpi);
    if (lf.lfHeight == 0)
        lf = ToLogFont(FontDescription{}, dpi);
    // A font that is bold already stays as it is: the colour tells the days apart.
    lf.lfWeight = std::max<LONG>(lf.lfWeight, FW_BOLD);
    m_bold.reset(::CreateFontIndirectW(&lf));
    m_boldGeneration = m_generation;
    m_boldDpi = dpi;
    m_boldDigitWidths = m_digitWidths;
    if (!m_bold)
        return Get(dpi); // no bold to be had: the holidays keep their colour
    fw::WindowDC dc(window);
    if (dc) {
        fw::SelectObjectScope select(dc.get(), m_bold.get());
        MeasureDigits(dc.get(), m_boldDigitWidths);
    }
    return m_bold.get();
}

const core::FontMetrics& GridFont::Metrics(HWND window, int dpi)
{
    HFONT font = Get(dpi);
    if (m_metricsGeneration == m_generation && m_metricsDpi == dpi && m_metricsFont == font)
        return m_metrics;
    m_metrics = core::FontMetrics{};
    m_textHeight = 0;
    m_digitWidths.fill(0);
    fw::WindowDC dc(window);
    if (dc) {
        fw::SelectObjectScope select(dc.get(), font);
        Measure(dc.get());
    }
    m_metrics.dpi = dpi;
    m_metricsGeneration = m_generation;
    m_metricsDpi = dpi;
    m_metricsFont = font;
    return m_metrics;
}

void GridFont::MeasureDigits(HDC dc, std::array<int, 10>& widths)
{
    for (int d = 0; d < 10; ++d) {
        const wchar_t digit = static_cast<wchar_t>(L'0' + d);
        widths[static_cast<std::size_t>(d)] = Extent(dc, {&digit, 1}).cx;
    }
}

void GridFont::Measure(HDC dc)
{
    TEXTMETRICW tm{};
    if (::GetTextMetricsW(dc, &tm)) {
        m_metrics.textHeight = tm.tmHeight;
        m_metrics.averageCharWidth = tm.tmAveCharWidth;
        m_textHeight = tm.tmHeight;
    }
    // Day and week numbers: measured as drawn, pair by pair, so kerning
    // and proportional digits are both covered.
    MeasureDigits(dc, m_digitWidths);
    wchar_t pair[2];
    int widestDigit = 0;
    wchar_t widestDigitChar = L'0';
    for (int d = 0; d < 10; ++d) {
        if (m_digitWidths[d] > widestDigit) {
            widestDigit = m_digitWidths[d];
            widestDigitChar = static_cast<wchar_t>(L'0' + d);
        }
    }
    for (int n = 0; n <= kLargestNumber; ++n) {
        pair[0] = static_cast<wchar_t>(L'0' + n / 10);
        pair[1] = static_cast<wchar_t>(L'0' + n % 10);
        m_metrics.numberWidth = std::max<int>(m_metrics.numberWidth, Extent(dc, {pair, 2}).cx);
    }
    for (std::wstring_view abbreviation : core::kWeekdayAbbreviations)
        m_metrics.weekdayWidth = std::max<int>(m_metrics.weekdayWidth, Extent(dc, abbreviation).cx);
    // Every month name with the widest four-digit year: the size then
    // depends on the font alone, never on the months shown.
    const std::wstring year(4, widestDigitChar);
    for (std::wstring_view name : core::kMonthNames) {
        std::wstring title(name);
        title += L' ';
        title += year;
        m_metrics.titleWidth = std::max<int>(m_metrics.titleWidth, Extent(dc, title).cx);
    }
}

} // namespace monthgrid
