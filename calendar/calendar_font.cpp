// The calendar font: the stored record made into an OLE font object for the
// month view.
#include "calendar/calendar_window.h"

#include "app/settings_store.h"
#include "core/logfont_record.h"
#include "framework/app.h"
#include "framework/dpi.h"
#include "framework/handles.h"
#include "framework/step_trace.h"

#include <cstring>
#include <optional>
#include <string>

FONTDESC DescribeFont(const LOGFONTA& lf, int dpi, std::wstring& name)
{
    core::LogFontRecord record;
    std::memcpy(record.faceName.data(), lf.lfFaceName, core::kFaceNameSize);
    const std::string_view faceBytes = core::FaceNameBytes(record);
    name.clear();
    if (!faceBytes.empty()) {
        const int n = ::MultiByteToWideChar(CP_ACP, 0, faceBytes.data(), static_cast<int>(faceBytes.size()),
                                            nullptr, 0);
        name.assign(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
        if (n > 0)
            ::MultiByteToWideChar(CP_ACP, 0, faceBytes.data(), static_cast<int>(faceBytes.size()),
                                  name.data(), n);
    }
    FONTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.lpstrName = name.data();
    desc.cySize.int64 = core::PointSizeCy(lf.lfHeight, dpi);
    desc.sWeight = static_cast<SHORT>(lf.lfWeight);
    desc.sCharset = lf.lfCharSet;
    desc.fItalic = lf.lfItalic;
    desc.fUnderline = lf.lfUnderline;
    desc.fStrikethrough = lf.lfStrikeOut;
    return desc;
}

IFontDisp* CreateOleFont(HFONT font)
{
    HGDIOBJ source = font;
    if (!source)
        source = ::GetStockObject(DEFAULT_GUI_FONT);
    if (!source)
        source = ::GetStockObject(SYSTEM_FONT);
    if (!source)
        return nullptr;
    LOGFONTA lf{};
    if (::GetObjectA(source, sizeof lf, &lf) == 0)
        return nullptr;

    // The record's height is in pixels of GDI's logical inch, the system
    // DPI: the font chooser writes it so and the stock fonts have it so.
    // That inch stays the same on every monitor (also for a per-monitor
    // aware window, whatever its own DPI), so a font keeps its size in
    // points wherever the window goes; the grid makes it at the window's
    // DPI from the points.
    const int dpi = static_cast<int>(fw::SystemDpi());

    std::wstring name;
    FONTDESC desc = DescribeFont(lf, dpi, name);
    IFontDisp* result = nullptr;
    fw::StepScope step("font.ole_object");
    if (FAILED(::OleCreateFontIndirect(&desc, IID_IFontDisp, reinterpret_cast<void**>(&result))))
        return nullptr;
    return result;
}

void CCalendarDlg::ApplyCalendarFont()
{
    fw::StepScope step("font");
    // A damaged record reads as the default font.
    const std::optional<LOGFONTA> lf = SettingsStore::ReadLogFont();
    fw::UniqueFont gdiFont(lf ? ::CreateFontIndirectA(&*lf) : nullptr);
    // The holder owns the new object's one reference from here on; the
    // previous object is released first.
    m_font.AttachDispatch(CreateOleFont(gdiFont.get()));
    m_monthView.SetFont(m_font.m_lpDispatch);
    m_monthView.Refresh();
    // gdiFont is deleted on every path, the failing ones included.
}

LRESULT CCalendarDlg::OnFontChanged(WPARAM, LPARAM)
{
    ApplyCalendarFont();
    ApplyCalendarSettings();
    return 0;
}
