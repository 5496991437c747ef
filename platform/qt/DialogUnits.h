#pragma once
// A dialog's font and its dialog units: horizontally a quarter of the font's average character
// width, vertically an eighth of its height. Layouts name fonts of another system; the closest
// sans-serif font installed stands in at the same point size.

#include <QFont>
#include <QRect>

struct SDialogLayout;

class CDialogUnits {
public:
    explicit CDialogUnits(const SDialogLayout& layout);

    // The font the dialog and its controls show their texts in.
    const QFont& Font() const { return m_font; }
    // A rectangle given in dialog units, in pixels.
    QRect ToPixels(int x, int y, int cx, int cy) const;
    // A width given in pixels of the design (kDesignedBaseUnitX), in pixels of this font.
    int ScaleDesignedWidth(int pixels) const;

private:
    QFont m_font;
    int m_baseX;  // average character width in pixels
    int m_baseY;  // character height in pixels
};
