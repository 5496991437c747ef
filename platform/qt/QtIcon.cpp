#include "platform/qt/QtIcon.h"

#include "res/Resources.h"

#include <QImageReader>
#include <QPixmap>

namespace {

constexpr int kPngSizes[] = {16, 32, 48, 64, 128, 256};
constexpr int kScalableSize = 256;

bool LoadPixmap(QPixmap& pixmap, std::span<const unsigned char> image, const char* format) {
    return !image.empty() && pixmap.loadFromData(image.data(), static_cast<uint>(image.size()), format);
}

}  // namespace

QIcon LoadQtIcon(int iconId) {
    QIcon icon;
    for (int size : kPngSizes) {
        QPixmap pixmap;
        if (LoadPixmap(pixmap, FindIconPng(iconId, size), "PNG")) icon.addPixmap(pixmap);
    }
    QPixmap scalable;
    if (QImageReader::supportedImageFormats().contains("svg") && LoadPixmap(scalable, FindIconSvg(iconId), "SVG")) {
        icon.addPixmap(scalable.scaled(kScalableSize, kScalableSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    return icon;
}
