#pragma once

#include <QtGlobal>

namespace IPSERDESIP {

// Bounds of what a design may hold, checked while it is read.
constexpr int MaxDesignListEntries = 200000;        // entries of each list, keys of globalData
constexpr int MaxRefClockUseCount = 1024;           // useCount of one reference clock entry
constexpr qint64 MaxDesignUseCount = 1 << 20;       // useCount summed over the design
constexpr qint64 MaxPllDividerCombinations = 65536; // N1 x N2 x M x D of one PLL type

} // namespace IPSERDESIP
