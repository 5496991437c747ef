#include "platform/DpiScale.h"

#include <cstdlib>

namespace {

int KnownDpi(int dpi) { return dpi > 0 ? dpi : kDefaultDpi; }

}  // namespace

int ScaleBetweenDpi(int value, int fromDpi, int toDpi) {
    const long long scaled = static_cast<long long>(value) * KnownDpi(toDpi);
    const long long from = KnownDpi(fromDpi);
    const long long rounded = (std::llabs(scaled) + from / 2) / from;
    return static_cast<int>(scaled < 0 ? -rounded : rounded);
}
