#include "res/Resources.h"

namespace {

struct SIconImage {
    int size;  // width and height in pixels
    std::span<const unsigned char> png;
};

// kQuorlisSvg and kQuorlisPngs, made at build time from res/icons.
#include "IconImages.inc"

}  // namespace

std::span<const unsigned char> FindIconPng(int id, int size) {
    if (id != IDR_MAINFRAME) return {};
    for (const SIconImage& image : kQuorlisPngs) {
        if (image.size == size) return image.png;
    }
    return {};
}

std::span<const unsigned char> FindIconSvg(int id) {
    if (id != IDR_MAINFRAME) return {};
    return kQuorlisSvg;
}
