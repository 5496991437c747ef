#pragma once
// Writes Windows icon files (.ico): each image as a device-independent bitmap with an AND mask, at
// 4 bits (the 16 standard colours), 8 bits (a fixed 256-colour palette) or 24 bits a pixel.

#include "res/win32/PngImage.h"

#include <cstdint>
#include <vector>

// The icon file holding every image at each of the colour depths in bitsPerPixel (4, 8 or 24), in
// that order. Pixels less than half opaque are transparent; the others are drawn opaque, in the
// nearest colour the depth offers. Throws std::invalid_argument for another depth or an image
// wider than 256 pixels.
std::vector<std::uint8_t> MakeIconFile(const std::vector<SRgbaImage>& images, const std::vector<int>& bitsPerPixel);
