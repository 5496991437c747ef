#include "res/win32/IconFile.h"

#include <array>
#include <stdexcept>

namespace {

struct SColour {
    std::uint8_t r, g, b;
};

constexpr std::array<SColour, 16> kStandardColours = {{
    {0, 0, 0},
    {128, 0, 0},
    {0, 128, 0},
    {128, 128, 0},
    {0, 0, 128},
    {128, 0, 128},
    {0, 128, 128},
    {192, 192, 192},
    {128, 128, 128},
    {255, 0, 0},
    {0, 255, 0},
    {255, 255, 0},
    {0, 0, 255},
    {255, 0, 255},
    {0, 255, 255},
    {255, 255, 255},
}};

// The 6x6x6 colour cube and a ramp of 40 greys.
std::vector<SColour> Palette256() {
    std::vector<SColour> palette;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette.push_back({static_cast<std::uint8_t>(r * 51), static_cast<std::uint8_t>(g * 51),
                                   static_cast<std::uint8_t>(b * 51)});
    for (int i = 0; i < 40; ++i) {
        const auto grey = static_cast<std::uint8_t>(3 + i * 6);
        palette.push_back({grey, grey, grey});
    }
    return palette;
}

std::vector<SColour> PaletteFor(int bits) {
    if (bits == 4) return {kStandardColours.begin(), kStandardColours.end()};
    if (bits == 8) return Palette256();
    return {};
}

int Nearest(const std::vector<SColour>& palette, const std::uint8_t* rgba) {
    int best = 0;
    long bestDistance = -1;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const long dr = palette[i].r - rgba[0], dg = palette[i].g - rgba[1], db = palette[i].b - rgba[2];
        const long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = distance;
        }
    }
    return best;
}

class CByteWriter {
public:
    void U8(unsigned value) { m_bytes.push_back(static_cast<std::uint8_t>(value)); }
    void U16(unsigned value) {
        U8(value & 0xFF);
        U8(value >> 8);
    }
    void U32(std::uint32_t value) {
        U16(value & 0xFFFF);
        U16(value >> 16);
    }
    void Append(const std::vector<std::uint8_t>& bytes) { m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end()); }
    std::vector<std::uint8_t>& Bytes() { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

std::size_t RowBytes(int width, int bits) { return (static_cast<std::size_t>(width) * bits + 31) / 32 * 4; }

bool IsOpaque(const SRgbaImage& image, int x, int y) {
    return image.pixels[(static_cast<std::size_t>(y) * image.width + x) * 4 + 3] >= 128;
}

// The colour bits of one row: palette indices, or blue, green, red bytes at 24 bits.
std::vector<std::uint8_t> ColourRow(const SRgbaImage& image, int y, int bits, const std::vector<SColour>& palette) {
    std::vector<std::uint8_t> row(RowBytes(image.width, bits), 0);
    for (int x = 0; x < image.width; ++x) {
        if (!IsOpaque(image, x, y)) continue;
        const std::uint8_t* rgba = &image.pixels[(static_cast<std::size_t>(y) * image.width + x) * 4];
        if (bits == 24) {
            row[x * 3] = rgba[2];
            row[x * 3 + 1] = rgba[1];
            row[x * 3 + 2] = rgba[0];
        } else if (bits == 8) {
            row[x] = static_cast<std::uint8_t>(Nearest(palette, rgba));
        } else {
            row[x / 2] |= static_cast<std::uint8_t>(Nearest(palette, rgba) << (x % 2 ? 0 : 4));
        }
    }
    return row;
}

std::vector<std::uint8_t> MaskRow(const SRgbaImage& image, int y) {
    std::vector<std::uint8_t> row(RowBytes(image.width, 1), 0);
    for (int x = 0; x < image.width; ++x) {
        if (!IsOpaque(image, x, y)) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    return row;
}

// One image as the icon file stores it: header, palette, colour bits and mask, rows bottom up.
std::vector<std::uint8_t> IconImage(const SRgbaImage& image, int bits) {
    const std::vector<SColour> palette = PaletteFor(bits);
    CByteWriter out;
    out.U32(40);
    out.U32(static_cast<std::uint32_t>(image.width));
    out.U32(static_cast<std::uint32_t>(image.height * 2));  // the colour bits and the mask
    out.U16(1);
    out.U16(static_cast<unsigned>(bits));
    out.U32(0);  // no compression
    out.U32(static_cast<std::uint32_t>((RowBytes(image.width, bits) + RowBytes(image.width, 1)) * image.height));
    for (int i = 0; i < 4; ++i) out.U32(0);
    for (int i = 0; i < (1 << bits) && bits <= 8; ++i) {
        const SColour colour = i < static_cast<int>(palette.size()) ? palette[i] : SColour{0, 0, 0};
        out.U8(colour.b);
        out.U8(colour.g);
        out.U8(colour.r);
        out.U8(0);
    }
    for (int y = image.height - 1; y >= 0; --y) out.Append(ColourRow(image, y, bits, palette));
    for (int y = image.height - 1; y >= 0; --y) out.Append(MaskRow(image, y));
    return std::move(out.Bytes());
}

}  // namespace

std::vector<std::uint8_t> MakeIconFile(const std::vector<SRgbaImage>& images, const std::vector<int>& bitsPerPixel) {
    std::vector<std::vector<std::uint8_t>> entries;
    std::vector<std::pair<const SRgbaImage*, int>> kinds;
    for (const SRgbaImage& image : images) {
        if (image.width > 256 || image.height > 256) throw std::invalid_argument("icon image too large");
        for (int bits : bitsPerPixel) {
            if (bits != 4 && bits != 8 && bits != 24) throw std::invalid_argument("unsupported icon depth");
            entries.push_back(IconImage(image, bits));
            kinds.emplace_back(&image, bits);
        }
    }
    CByteWriter out;
    out.U16(0);
    out.U16(1);  // an icon
    out.U16(static_cast<unsigned>(entries.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto [image, bits] = kinds[i];
        out.U8(static_cast<unsigned>(image->width) & 0xFF);
        out.U8(static_cast<unsigned>(image->height) & 0xFF);
        out.U8(bits == 4 ? 16 : 0);
        out.U8(0);
        out.U16(1);
        out.U16(static_cast<unsigned>(bits));
        out.U32(static_cast<std::uint32_t>(entries[i].size()));
        out.U32(offset);
        offset += static_cast<std::uint32_t>(entries[i].size());
    }
    for (const auto& entry : entries) out.Append(entry);
    return std::move(out.Bytes());
}
