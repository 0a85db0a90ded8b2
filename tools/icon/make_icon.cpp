// make_icon: turns the icon's pixel art (morvelin_icon.txt) into a .ico file.
//
//   make_icon ART.txt OUT.ico
//
// Runs on the build machine, so it uses nothing but the standard library and
// writes every structure byte by byte (little-endian) instead of borrowing
// Windows' struct layouts. On any error it says where, writes nothing and
// exits with 1, so a broken drawing never turns into a half-written icon.
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 32;
constexpr int kColours = 16;
constexpr int kBitsPerPixel = 4;

// The standard 16-colour palette in its fixed order; the letter is what the
// pixel art writes for that entry.
struct PaletteEntry {
    char letter;
    std::uint8_t red, green, blue;
};
constexpr std::array<PaletteEntry, kColours> kPalette{{
    {'K', 0x00, 0x00, 0x00}, // black
    {'M', 0x80, 0x00, 0x00}, // maroon
    {'G', 0x00, 0x80, 0x00}, // green
    {'O', 0x80, 0x80, 0x00}, // olive
    {'N', 0x00, 0x00, 0x80}, // navy
    {'P', 0x80, 0x00, 0x80}, // purple
    {'T', 0x00, 0x80, 0x80}, // teal
    {'S', 0xC0, 0xC0, 0xC0}, // silver
    {'D', 0x80, 0x80, 0x80}, // grey
    {'R', 0xFF, 0x00, 0x00}, // red
    {'L', 0x00, 0xFF, 0x00}, // lime
    {'Y', 0xFF, 0xFF, 0x00}, // yellow
    {'B', 0x00, 0x00, 0xFF}, // blue
    {'F', 0xFF, 0x00, 0xFF}, // fuchsia
    {'A', 0x00, 0xFF, 0xFF}, // aqua
    {'W', 0xFF, 0xFF, 0xFF}, // white
}};
constexpr char kTransparent = '.';

class ArtError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Palette index of a letter; nothing for the transparent mark or a stranger.
std::optional<int> PaletteIndex(char c)
{
    for (int i = 0; i < kColours; ++i) {
        if (kPalette[i].letter == c)
            return i;
    }
    return std::nullopt;
}

struct Pixel {
    int index = 0; // colour drawn where the mask is opaque
    bool transparent = true;
};
using Picture = std::array<std::array<Pixel, kSize>, kSize>; // [row][column], top row first

Picture ParseArt(std::istream& in, const std::string& name)
{
    Picture picture{};
    int rows = 0;
    int lineNumber = 0;
    std::string line;
    while (std::getline(in, line)) {
        ++lineNumber;
        // Tolerate a file saved with Windows line ends.
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() == '#')
            continue;
        const auto where = name + ":" + std::to_string(lineNumber);
        if (rows == kSize) {
            throw ArtError(where + ": more than " + std::to_string(kSize) + " rows of pixels");
        }
        if (line.size() != kSize) {
            throw ArtError(where + ": row has " + std::to_string(line.size()) + " pixels, expected " +
                           std::to_string(kSize));
        }
        for (int x = 0; x < kSize; ++x) {
            const char c = line[x];
            Pixel& pixel = picture[rows][x];
            if (c == kTransparent)
                continue;
            const auto index = PaletteIndex(c);
            if (!index) {
                throw ArtError(where + ":" + std::to_string(x + 1) + ": unknown colour '" +
                               std::string(1, c) + "' (see the legend at the top of the file)");
            }
            pixel = {*index, false};
        }
        ++rows;
    }
    if (in.bad())
        throw ArtError(name + ": read error");
    if (rows != kSize) {
        throw ArtError(name + ": " + std::to_string(rows) + " rows of pixels, expected " +
                       std::to_string(kSize));
    }
    return picture;
}

void Put16(std::vector<std::uint8_t>& out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// One image in the icon's own format: a BITMAPINFOHEADER whose height counts
// the colour bitmap and the mask together, the palette, the colour rows, the
// mask rows; both bitmaps bottom-up with rows padded to four bytes.
std::vector<std::uint8_t> IconImage(const Picture& picture)
{
    constexpr std::uint32_t kXorStride = (kSize * kBitsPerPixel / 8 + 3) / 4 * 4;
    constexpr std::uint32_t kAndStride = (kSize / 8 + 3) / 4 * 4;
    std::vector<std::uint8_t> out;
    Put32(out, 40);                                // biSize
    Put32(out, kSize);                             // biWidth
    Put32(out, 2 * kSize);                         // biHeight: colour bitmap plus mask
    Put16(out, 1);                                 // biPlanes
    Put16(out, kBitsPerPixel);                     // biBitCount
    Put32(out, 0);                                 // biCompression: BI_RGB
    Put32(out, (kXorStride + kAndStride) * kSize); // biSizeImage
    Put32(out, 0);                                 // biXPelsPerMeter
    Put32(out, 0);                                 // biYPelsPerMeter
    Put32(out, 0);                                 // biClrUsed: 0 means all 16
    Put32(out, 0);                                 // biClrImportant
    for (const auto& entry : kPalette) {           // RGBQUAD is blue, green, red, 0
        out.push_back(entry.blue);
        out.push_back(entry.green);
        out.push_back(entry.red);
        out.push_back(0);
    }
    for (int y = kSize - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(kXorStride, 0);
        for (int x = 0; x < kSize; ++x) {
            // Transparent pixels stay black: the screen shows through as
            // (screen AND 1) XOR 0.
            const auto& pixel = picture[y][x];
            const int index = pixel.transparent ? 0 : pixel.index;
            row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = kSize - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(kAndStride, 0);
        for (int x = 0; x < kSize; ++x) {
            if (picture[y][x].transparent)
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

std::vector<std::uint8_t> IconFile(const Picture& picture)
{
    const auto image = IconImage(picture);
    constexpr std::uint32_t kHeaderBytes = 6 + 16; // ICONDIR and its one entry
    std::vector<std::uint8_t> out;
    Put16(out, 0);                                        // idReserved
    Put16(out, 1);                                        // idType: icon
    Put16(out, 1);                                        // idCount
    out.push_back(kSize);                                 // bWidth
    out.push_back(kSize);                                 // bHeight
    out.push_back(kColours);                              // bColorCount
    out.push_back(0);                                     // bReserved
    Put16(out, 1);                                        // wPlanes
    Put16(out, kBitsPerPixel);                            // wBitCount
    Put32(out, static_cast<std::uint32_t>(image.size())); // dwBytesInRes
    Put32(out, kHeaderBytes);                             // dwImageOffset
    out.insert(out.end(), image.begin(), image.end());
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: make_icon ART.txt OUT.ico\n";
        return 2;
    }
    const std::string artPath = argv[1];
    const std::string icoPath = argv[2];
    try {
        std::ifstream art(artPath);
        if (!art)
            throw ArtError(artPath + ": cannot open");
        const auto bytes = IconFile(ParseArt(art, artPath));

        std::ofstream ico(icoPath, std::ios::binary | std::ios::trunc);
        if (!ico)
            throw std::runtime_error(icoPath + ": cannot create");
        ico.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        ico.close();
        if (!ico) {
            std::remove(icoPath.c_str());
            throw std::runtime_error(icoPath + ": write error");
        }
    } catch (const std::exception& e) {
        std::cerr << "make_icon: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
