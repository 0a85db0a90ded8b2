// The program's icon, drawn for real, and its version record.
#include <ole2.h> // before monthgrid.h, which names DISPID

#include "core/monthgrid_state.h"
#include "monthgrid/monthgrid.h"
#include "resources/resource.h"
#include "resources_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace {

using namespace restest;

// ---------------------------------------------------------------------------
// Icon 128

constexpr std::array<DWORD, 16> kVgaPalette{// as RGBQUAD bytes read little-endian: 0x00RRGGBB
                                            0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                            0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                            0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

TEST_F(resources, IconIsOne32By32SixteenColourImage)
{
    Reader group(Raw(14, IDR_MAINFRAME));
    EXPECT_EQ(group.Word(), 0) << "reserved";
    EXPECT_EQ(group.Word(), 1) << "type: icon";
    ASSERT_EQ(group.Word(), 1) << "number of images";
    EXPECT_EQ(group.Byte(), 32) << "width";
    EXPECT_EQ(group.Byte(), 32) << "height";
    EXPECT_EQ(group.Byte(), 16) << "colour count";
    EXPECT_EQ(group.Byte(), 0) << "reserved";
    EXPECT_EQ(group.Word(), 1) << "planes";
    EXPECT_EQ(group.Word(), 4) << "bits per pixel";
    const DWORD size = group.Dword();
    const WORD image = group.Word();

    // Header, 16-entry palette, 4-bit colour rows, 1-bit mask rows.
    const auto bytes = Raw(3, image);
    EXPECT_EQ(bytes.size(), size) << "the group's size of image " << image;
    EXPECT_EQ(size, 40u + 16 * 4 + 32 * 16 + 32 * 4);
    Reader r(bytes);
    EXPECT_EQ(r.Dword(), 40u) << "biSize";
    EXPECT_EQ(r.Dword(), 32u) << "biWidth";
    EXPECT_EQ(r.Dword(), 64u) << "biHeight: colour bitmap and mask";
    EXPECT_EQ(r.Word(), 1) << "biPlanes";
    EXPECT_EQ(r.Word(), 4) << "biBitCount";
    EXPECT_EQ(r.Dword(), static_cast<DWORD>(BI_RGB)) << "biCompression";
    r.Skip(20);
    for (std::size_t i = 0; i < kVgaPalette.size(); ++i)
        EXPECT_EQ(Hex(r.Dword()), Hex(kVgaPalette[i])) << "palette entry " << i;
}

// The icon drawn for real at `size` pixels over a colour it never uses, the
// way a window shows it: loaded at that size, then drawn with its mask.
constexpr DWORD kBackground = 0x123456;
std::vector<DWORD> RenderIcon(int size)
{
    std::vector<DWORD> pixels;
    HICON icon = static_cast<HICON>(
        ::LoadImageW(Program(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, size, size, 0));
    if (!icon)
        return pixels;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP dib = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib) {
        HGDIOBJ old = ::SelectObject(dc, dib);
        auto* px = static_cast<DWORD*>(bits);
        std::fill(px, px + size * size, kBackground);
        if (::DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL)) {
            ::GdiFlush();
            for (int i = 0; i < size * size; ++i)
                pixels.push_back(px[i] & 0xFFFFFF);
        }
        ::SelectObject(dc, old);
        ::DeleteObject(dib);
    }
    ::DeleteDC(dc);
    ::DestroyIcon(icon);
    return pixels;
}

// Looked at by region: catches a flipped bitmap, swapped colour channels and
// an inverted mask.
TEST_F(resources, IconDrawsARedBandOverAWhitePageWithABlueNumber)
{
    const auto px = RenderIcon(32);
    ASSERT_EQ(px.size(), 32u * 32);
    auto count = [&](DWORD colour, int top, int bottom) {
        return std::count(px.begin() + top * 32, px.begin() + (bottom + 1) * 32, colour);
    };
    EXPECT_GE(count(0xFF0000, 0, 15), 30) << "red band in the upper half";
    EXPECT_EQ(count(0xFF0000, 16, 31), 0) << "no red in the lower half";
    EXPECT_GE(count(0x0000FF, 14, 27), 50) << "blue digits on the page";
    EXPECT_EQ(count(0x0000FF, 0, 13), 0) << "no blue in the band";
    EXPECT_GE(count(0xFFFFFF, 14, 29), 120) << "white page";
    EXPECT_EQ(count(kBackground, 0, 1), 64) << "transparent above the leaf";
    EXPECT_EQ(count(kBackground, 31, 31), 32) << "transparent below the leaf";
    for (auto [x, y] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}})
        EXPECT_EQ(Hex(px[y * 32 + x]), Hex(kBackground)) << "corner " << x << "," << y;
}

// The small icon of the title bar and the taskbar is this one shrunk: the
// two digits must stay apart and the 3 must not close into a blob.
TEST_F(resources, ShrunkTo16PixelsTheIconStillShowsTwoSeparateDigits)
{
    const auto px = RenderIcon(16);
    ASSERT_EQ(px.size(), 16u * 16);
    std::array<bool, 16> blueColumn{};
    int top = 16, bottom = -1;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (px[y * 16 + x] == 0x0000FF) {
                blueColumn[x] = true;
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    std::vector<std::pair<int, int>> runs; // first and last column of each digit
    for (int x = 0; x < 16; ++x) {
        if (!blueColumn[x])
            continue;
        if (runs.empty() || runs.back().second != x - 1)
            runs.push_back({x, x});
        else
            runs.back().second = x;
    }
    ASSERT_EQ(runs.size(), 2u) << "blue columns must form two digits";
    int white = 0, area = 0;
    for (int y = top; y <= bottom; ++y)
        for (int x = runs[0].first; x <= runs[0].second; ++x, ++area)
            white += px[y * 16 + x] == 0xFFFFFF;
    EXPECT_GE(white * 4, area) << "the 3 keeps its open spaces";
}

// ---------------------------------------------------------------------------
// Version record

struct VersionNode {
    std::wstring key;
    std::vector<VersionNode> children;
};

// wLength, wValueLength, wType, key, padding, value, padding, children.
VersionNode ParseVersionNode(std::span<const BYTE> bytes)
{
    Reader r(bytes);
    const WORD length = r.Word();
    const WORD valueLength = r.Word();
    const WORD type = r.Word();
    VersionNode node{r.Sz(), {}};
    r.AlignDword();
    r.Skip(type == 1 ? valueLength * 2u : valueLength);
    while (r.AlignDword(), r.Pos() < length) {
        const auto rest = bytes.subspan(r.Pos(), length - r.Pos());
        const WORD childLength = Reader(rest).Word();
        if (childLength == 0)
            throw std::runtime_error("empty version node");
        node.children.push_back(ParseVersionNode(rest.first(childLength)));
        r.Skip(childLength);
    }
    return node;
}

TEST_F(resources, VersionRecord)
{
    const auto path = ProgramPath();
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, size, data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof *fixed);
    EXPECT_EQ(Hex(fixed->dwSignature), Hex(VS_FFI_SIGNATURE));
    EXPECT_EQ(Hex(fixed->dwFileVersionMS), Hex(MAKELONG(0, 1))) << "file version 1.0";
    EXPECT_EQ(Hex(fixed->dwFileVersionLS), Hex(MAKELONG(0, 1))) << "file version .1.0";
    EXPECT_EQ(Hex(fixed->dwProductVersionMS), Hex(MAKELONG(0, 1))) << "product version 1.0";
    EXPECT_EQ(Hex(fixed->dwProductVersionLS), Hex(MAKELONG(1, 0))) << "product version .0.1";
    EXPECT_EQ(Hex(fixed->dwFileFlags & fixed->dwFileFlagsMask), Hex(0)) << "file flags";
    EXPECT_EQ(Hex(fixed->dwFileOS), Hex(VOS__WINDOWS32));
    EXPECT_EQ(Hex(fixed->dwFileType), Hex(VFT_APP));
    EXPECT_EQ(Hex(fixed->dwFileSubtype), Hex(0));

    WORD* translation = nullptr;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                                 reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u) << "one translation";
    EXPECT_EQ(Hex(translation[0]), Hex(0x0407));
    EXPECT_EQ(translation[1], 1200);

    auto value = [&](const wchar_t* name) {
        wchar_t* text = nullptr;
        UINT chars = 0;
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040704b0\\") + name;
        if (!::VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&text), &chars) || !text)
            return std::wstring(L"<missing>");
        return std::wstring(text);
    };
    EXPECT_EQ(value(L"FileVersion"), L"1, 0, 1, 0");
    EXPECT_EQ(value(L"ProductVersion"), L"1, 0, 0, 1");
    EXPECT_EQ(value(L"FileDescription"), L"Morvelin \u2013 Kalender");
    EXPECT_EQ(value(L"OriginalFilename"), L"Morvelin.exe");
    EXPECT_EQ(value(L"ProductName"), L"Morvelin");
    for (const wchar_t* name : {L"CompanyName", L"InternalName", L"LegalCopyright"}) {
        EXPECT_NE(value(name), L"<missing>") << ::testing::PrintToString(std::wstring(name));
        EXPECT_NE(value(name), L"") << ::testing::PrintToString(std::wstring(name));
    }

    // Exactly one string block and one translation list, nothing beside them.
    const auto root = ParseVersionNode(Raw(16, VS_VERSION_INFO));
    EXPECT_EQ(root.key, L"VS_VERSION_INFO");
    std::map<std::wstring, std::vector<std::wstring>> blocks;
    for (const auto& child : root.children)
        for (const auto& block : child.children)
            blocks[child.key].push_back(block.key);
    EXPECT_EQ(blocks, (std::map<std::wstring, std::vector<std::wstring>>{
                          {L"StringFileInfo", {L"040704b0"}}, {L"VarFileInfo", {L"Translation"}}}));
}

} // namespace
