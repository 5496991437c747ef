#include "res/win32/PngImage.h"

#include <zlib.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

std::uint32_t BigEndian32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

std::uint8_t Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return static_cast<std::uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Undoes the per-row filters of 4-byte pixels; raw holds each row's filter byte and its bytes.
std::vector<std::uint8_t> Unfilter(const std::vector<std::uint8_t>& raw, int width, int height) {
    const std::size_t stride = static_cast<std::size_t>(width) * 4;
    std::vector<std::uint8_t> out(stride * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const std::uint8_t filter = raw[y * (stride + 1)];
        const std::uint8_t* in = &raw[y * (stride + 1) + 1];
        std::uint8_t* row = &out[y * stride];
        const std::uint8_t* up = y > 0 ? row - stride : nullptr;
        for (std::size_t i = 0; i < stride; ++i) {
            const int a = i >= 4 ? row[i - 4] : 0;
            const int b = up ? up[i] : 0;
            const int c = up && i >= 4 ? up[i - 4] : 0;
            int value = in[i];
            switch (filter) {
                case 0:
                    break;
                case 1:
                    value += a;
                    break;
                case 2:
                    value += b;
                    break;
                case 3:
                    value += (a + b) / 2;
                    break;
                case 4:
                    value += Paeth(a, b, c);
                    break;
                default:
                    throw std::runtime_error("unknown PNG row filter");
            }
            row[i] = static_cast<std::uint8_t>(value);
        }
    }
    return out;
}

}  // namespace

SRgbaImage ReadPngImage(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    if (!file.good() && !file.eof()) throw std::runtime_error(path + ": cannot be read");
    if (bytes.size() < 8 || BigEndian32(&bytes[0]) != 0x89504E47u) throw std::runtime_error(path + ": not a PNG");
    SRgbaImage image;
    std::vector<std::uint8_t> compressed;
    for (std::size_t pos = 8; pos + 12 <= bytes.size();) {
        const std::uint32_t length = BigEndian32(&bytes[pos]);
        const std::string type(reinterpret_cast<const char*>(&bytes[pos + 4]), 4);
        const std::uint8_t* data = &bytes[pos + 8];
        if (pos + 12 + length > bytes.size()) throw std::runtime_error(path + ": truncated");
        if (type == "IHDR") {
            image.width = static_cast<int>(BigEndian32(data));
            image.height = static_cast<int>(BigEndian32(data + 4));
            if (data[8] != 8 || data[9] != 6 || data[12] != 0) {
                throw std::runtime_error(path + ": not an 8-bit RGBA non-interlaced PNG");
            }
        } else if (type == "IDAT") {
            compressed.insert(compressed.end(), data, data + length);
        }
        pos += 12 + length;
    }
    const std::size_t stride = static_cast<std::size_t>(image.width) * 4 + 1;
    std::vector<std::uint8_t> raw(stride * static_cast<std::size_t>(image.height));
    uLongf rawSize = static_cast<uLongf>(raw.size());
    if (uncompress(raw.data(), &rawSize, compressed.data(), static_cast<uLong>(compressed.size())) != Z_OK ||
        rawSize != raw.size()) {
        throw std::runtime_error(path + ": bad image data");
    }
    image.pixels = Unfilter(raw, image.width, image.height);
    return image;
}
