#pragma once
// A PNG file decoded to RGBA pixels: 8-bit RGBA, non-interlaced, the form the icon's images have.

#include <cstdint>
#include <string>
#include <vector>

struct SRgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // rows top to bottom, 4 bytes (R, G, B, A) a pixel
};

// Decodes the PNG file at path. Throws std::runtime_error for a file it cannot read or a PNG of
// another kind.
SRgbaImage ReadPngImage(const std::string& path);
