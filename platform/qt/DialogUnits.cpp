#include "platform/qt/DialogUnits.h"

#include "res/Layout.h"

#include <QFontMetrics>
#include <QString>

namespace {

// value * numerator / denominator, rounded to the nearest integer.
int ScaleRounded(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

QFont DialogFont(const SDialogLayout& layout) {
    QFont font(QString::fromLatin1(layout.fontName));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(layout.pointSize);
    return font;
}

// The average width of the Latin letters, the way dialog managers measure it.
int AverageCharWidth(const QFontMetrics& metrics) {
    static const QString kLetters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return (metrics.horizontalAdvance(kLetters) / 26 + 1) / 2;
}

}  // namespace

CDialogUnits::CDialogUnits(const SDialogLayout& layout) : m_font(DialogFont(layout)) {
    const QFontMetrics metrics(m_font);
    m_baseX = AverageCharWidth(metrics);
    m_baseY = metrics.height();
}

int CDialogUnits::ScaleDesignedWidth(int pixels) const { return ScaleRounded(pixels, m_baseX, kDesignedBaseUnitX); }

QRect CDialogUnits::ToPixels(int x, int y, int cx, int cy) const {
    // Corners are converted, not sizes, so that controls that meet in dialog units meet in pixels.
    const QPoint topLeft(ScaleRounded(x, m_baseX, 4), ScaleRounded(y, m_baseY, 8));
    const QPoint bottomRight(ScaleRounded(x + cx, m_baseX, 4), ScaleRounded(y + cy, m_baseY, 8));
    return QRect(topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()));
}
