#pragma once

#include <pll/ratio.h>

#include <QString>

namespace IPJESD204B {

// Significant digits of a value whose decimal form does not end (or ends only after more than
// MaxExactDecimals places).
constexpr int RoundedSignificantDigits = 9;
constexpr int MaxExactDecimals = 12;

// A value that ends within MaxExactDecimals places is written
// exactly; any other is rounded to RoundedSignificantDigits significant digits and marked with
// a leading "~" ("~10.4166667").
QString decimalText(const IPSERDESIP::Ratio &value);

} // namespace IPJESD204B
