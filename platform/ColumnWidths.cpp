#include "platform/ColumnWidths.h"

#include <algorithm>
#include <cstddef>
#include <numeric>

std::vector<int> FitColumnWidths(const std::vector<int>& widths, const std::vector<int>& needs, int room) {
    std::vector<int> fitted(widths.size());
    long long slack = 0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        fitted[i] = std::max(widths[i], i < needs.size() ? needs[i] : 0);
        slack += fitted[i] - (i < needs.size() ? needs[i] : 0);
    }
    const long long excess = std::accumulate(fitted.begin(), fitted.end(), 0LL) - room;
    if (excess <= 0 || slack <= 0) return fitted;
    const long long taken = std::min(excess, slack);
    long long left = taken;
    for (std::size_t i = 0; i < fitted.size() && left > 0; ++i) {
        const long long own = fitted[i] - (i < needs.size() ? needs[i] : 0);
        // Rounded up, so that the excess is all taken; never more than the column's own slack.
        const long long share = std::min({own, left, (own * taken + slack - 1) / slack});
        fitted[i] -= static_cast<int>(share);
        left -= share;
    }
    return fitted;
}
