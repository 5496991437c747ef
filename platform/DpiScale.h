#pragma once
// Sizes in pixels at one screen resolution (dots per inch) and at another.

// The resolution at a scale of 100 %, which system metrics and designs in pixels assume.
inline constexpr int kDefaultDpi = 96;

// value pixels at fromDpi, in pixels at toDpi, rounded to the nearest (halves away from zero). A
// resolution that is not positive (an unknown one) counts as kDefaultDpi.
int ScaleBetweenDpi(int value, int fromDpi, int toDpi);
