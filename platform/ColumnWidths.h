#pragma once
// The widths of a list's columns.

#include <vector>

// The widths for columns of widths (as designed) and needs (what each needs to show its heading
// whole), in a list that shows room pixels of them. Each column is at least its need. Where the
// widths add up to more than room, the excess is taken from what the columns have beyond their
// needs, in proportion to it, so that every column shows whole where the needs allow.
std::vector<int> FitColumnWidths(const std::vector<int>& widths, const std::vector<int>& needs, int room);
