#pragma once
// Icon resources as toolkit icons.

#include <QIcon>

// Icon resource iconId at every size the resources hold (PNG images and, where the toolkit reads
// SVG, the scalable image); a null icon when they hold none.
QIcon LoadQtIcon(int iconId);
