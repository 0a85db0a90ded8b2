#include "grid_fixture.h"

#include <cmath>
#include <cstdio>

#include "core/dates.h"
#include "framework/control_site.h"

namespace gridtest {
namespace {

constexpr wchar_t kHostClass[] = L"MorvelinGridTestHost";

void RegisterHostClass()
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), kHostClass, &wc))
        return;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kHostClass;
    ::RegisterClassExW(&wc);
}

} // namespace

HostWindow::HostWindow()
{
    RegisterHostClass();
    m_hwnd = ::CreateWindowExW(0, kHostClass, L"Gitter", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 10, 10, 900,
                               700, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

HostWindow::~HostWindow()
{
    if (m_hwnd)
        ::DestroyWindow(m_hwnd);
}

HWND CreateGrid(HWND parent, int x, int y, int width, int height, DWORD style)
{
    monthgrid::RegisterMonthGridClass(::GetModuleHandleW(nullptr));
    return ::CreateWindowExW(0, monthgrid::kClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y,
                             width, height, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(1005)),
                             ::GetModuleHandleW(nullptr), nullptr);
}

fw::ComPtr<IDispatch> DispatchOf(HWND grid) { return fw::GetControlDispatch(grid); }

HRESULT Put(IDispatch* d, DISPID id, const VARIANT& value, UINT* argErr)
{
    if (!d)
        return E_POINTER;
    VARIANT arg = value;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&arg, &named, 1, 1};
    UINT err = 0xFFFF;
    const HRESULT hr =
        d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, &err);
    if (argErr)
        *argErr = err;
    return hr;
}

namespace {

// A put of one VARIANT of `type`, its value filled in by `set`.
template <class Set>
HRESULT PutAs(HWND grid, DISPID id, VARTYPE type, Set set)
{
    VARIANT v;
    ::VariantInit(&v);
    V_VT(&v) = type;
    set(v);
    return Put(DispatchOf(grid).get(), id, v);
}

} // namespace

HRESULT PutI4(HWND grid, DISPID id, LONG value)
{
    return PutAs(grid, id, VT_I4, [&](VARIANT& v) { V_I4(&v) = value; });
}

HRESULT PutI2(HWND grid, DISPID id, SHORT value)
{
    return PutAs(grid, id, VT_I2, [&](VARIANT& v) { V_I2(&v) = value; });
}

HRESULT PutBool(HWND grid, DISPID id, bool value)
{
    return PutAs(grid, id, VT_BOOL, [&](VARIANT& v) { V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE; });
}

HRESULT PutDate(HWND grid, DATE value)
{
    return PutAs(grid, monthgrid::members::kValue.dispid, VT_DATE, [&](VARIANT& v) { V_DATE(&v) = value; });
}

HRESULT PutText(HWND grid, DISPID id, const wchar_t* text)
{
    VARIANT v;
    ::VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = ::SysAllocString(text);
    const HRESULT hr = Put(DispatchOf(grid).get(), id, v);
    ::VariantClear(&v);
    return hr;
}

void ShowHolidays(HWND grid, const wchar_t* region, COLORREF colour)
{
    PutI4(grid, monthgrid::members::kHolidayForeColor.dispid, static_cast<LONG>(colour));
    PutText(grid, monthgrid::members::kHolidayRegion.dispid, region);
    PutBool(grid, monthgrid::members::kShowHolidays.dispid, true);
}

HRESULT PutFont(HWND grid, IDispatch* font)
{
    // The put borrows the caller's reference.
    return PutAs(grid, monthgrid::members::kFont.dispid, VT_DISPATCH,
                 [&](VARIANT& v) { V_DISPATCH(&v) = font; });
}

void SetShape(HWND grid, int columns, int rows)
{
    PutI2(grid, monthgrid::members::kMonthColumns.dispid, 1);
    PutI2(grid, monthgrid::members::kMonthRows.dispid, static_cast<SHORT>(rows));
    PutI2(grid, monthgrid::members::kMonthColumns.dispid, static_cast<SHORT>(columns));
}

HRESULT CallRefresh(HWND grid)
{
    fw::ComPtr<IDispatch> d = DispatchOf(grid);
    if (!d)
        return E_POINTER;
    DISPPARAMS none{};
    return d->Invoke(monthgrid::members::kRefresh.dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                     &none, nullptr, nullptr, nullptr);
}

SIZE FitGrid(HWND grid)
{
    ::MoveWindow(grid, 0, 0, 0, 0, TRUE);
    CallRefresh(grid);
    RECT r{};
    ::GetClientRect(grid, &r);
    return {r.right - r.left, r.bottom - r.top};
}

fw::ComPtr<IDispatch> MakeFont(const wchar_t* face, double points, bool bold)
{
    FONTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.lpstrName = const_cast<LPOLESTR>(face);
    desc.cySize.int64 = static_cast<LONGLONG>(std::llround(points * 10000));
    desc.sWeight = static_cast<SHORT>(bold ? FW_BOLD : FW_NORMAL);
    desc.sCharset = DEFAULT_CHARSET;
    IDispatch* font = nullptr;
    ::OleCreateFontIndirect(&desc, IID_IFontDisp, reinterpret_cast<void**>(&font));
    return fw::ComPtr<IDispatch>::Adopt(font);
}

monthgrid::GridInfo Info(HWND grid)
{
    monthgrid::GridInfo info;
    ::SendMessageW(grid, monthgrid::kGetInfoMessage, 0, reinterpret_cast<LPARAM>(&info));
    return info;
}

core::GridLayout LayoutOf(HWND grid)
{
    const monthgrid::GridInfo info = Info(grid);
    return core::GridLayout(info.metrics, info.shape.columns, info.shape.rows, info.showWeekNumbers);
}

DATE OleDate(int year, int month, int day)
{
    const auto d = core::ToOleDate({std::chrono::sys_days{
        std::chrono::year{year} / static_cast<unsigned>(month) / static_cast<unsigned>(day)}});
    return d ? *d : 0.0;
}

COLORREF Image::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return CLR_INVALID;
    const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int Image::Count(const core::Rect& r, COLORREF color) const
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x)
            n += At(x, y) == color;
    }
    return n;
}

bool Image::SaveBmp(const std::wstring& path) const
{
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f)
        return false;
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof ih;
    ih.biWidth = width;
    ih.biHeight = -height;
    ih.biPlanes = 1;
    ih.biBitCount = 32;
    ih.biCompression = BI_RGB;
    const DWORD bytes = static_cast<DWORD>(pixels.size() * 4);
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + bytes;
    std::fwrite(&fh, sizeof fh, 1, f);
    std::fwrite(&ih, sizeof ih, 1, f);
    std::fwrite(pixels.data(), 1, bytes, f);
    std::fclose(f);
    return true;
}

Image Render(HWND grid)
{
    Image image;
    RECT r{};
    ::GetClientRect(grid, &r);
    image.width = r.right;
    image.height = r.bottom;
    if (image.width <= 0 || image.height <= 0)
        return image;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = image.width;
    bi.bmiHeader.biHeight = -image.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP dib = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, dib);
    ::SendMessageW(grid, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    ::GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    image.pixels.assign(p, p + static_cast<std::size_t>(image.width) * image.height);
    for (auto& px : image.pixels)
        px &= 0x00FFFFFF;
    ::SelectObject(dc, old);
    ::DeleteObject(dib);
    ::DeleteDC(dc);
    return image;
}

void ApplyColors(HWND grid, const Colors& c)
{
    PutI4(grid, monthgrid::members::kForeColor.dispid, static_cast<LONG>(c.fore));
    PutI4(grid, monthgrid::members::kMonthBackColor.dispid, static_cast<LONG>(c.monthBack));
    PutI4(grid, monthgrid::members::kBackColor.dispid, static_cast<LONG>(c.back));
    PutI4(grid, monthgrid::members::kTitleBackColor.dispid, static_cast<LONG>(c.titleBack));
    PutI4(grid, monthgrid::members::kTitleForeColor.dispid, static_cast<LONG>(c.titleFore));
    PutI4(grid, monthgrid::members::kTrailingForeColor.dispid, static_cast<LONG>(c.trailingFore));
}

void Configure(HWND grid, const Colors& c, int columns, int rows, bool weekNumbers)
{
    ApplyColors(grid, c);
    SetShape(grid, columns, rows);
    PutBool(grid, monthgrid::members::kShowWeekNumbers.dispid, weekNumbers);
    FitGrid(grid);
}

} // namespace gridtest
