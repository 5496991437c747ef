#pragma once
// The four keywords of the cable list file, in column order: the writer puts them before the
// cells of each row, and the reader keeps the lines that contain one of them.

#include <array>
#include <cstddef>
#include <string_view>

inline constexpr std::array<std::string_view, 4> kCableKeywords = {"CableName", "Velocity", "CableLoss", "Frequency"};
inline constexpr std::size_t kShortestCableKeyword = [] {
    std::size_t shortest = kCableKeywords[0].size();
    for (std::string_view keyword : kCableKeywords) {
        shortest = keyword.size() < shortest ? keyword.size() : shortest;
    }
    return shortest;
}();
