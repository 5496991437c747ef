#include "res/Resources.h"

// The icon images are not drawn yet.
std::span<const unsigned char> FindIconPng(int, int) { return {}; }
std::span<const unsigned char> FindIconSvg(int) { return {}; }
