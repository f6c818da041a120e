#include "decimaltext.h"

#include <algorithm>

namespace IPJESD204B {

using IPSERDESIP::Ratio;

namespace {

// Decimal places of the exact form, or -1 when it does not end.
int terminatingDecimals(Ratio::Int denominator)
{
    int twos = 0;
    int fives = 0;
    while (denominator % 2 == 0) {
        denominator /= 2;
        ++twos;
    }
    while (denominator % 5 == 0) {
        denominator /= 5;
        ++fives;
    }
    return denominator == 1 ? std::max(twos, fives) : -1;
}

// e with 10^e <= value < 10^(e+1), for a positive value.
int decimalExponent(const Ratio &value)
{
    int exponent = 0;
    Ratio power = Ratio::fromInt(1);
    // A power past the 128-bit range is invalid and ends the climb: the value is below it.
    for (Ratio next = power * 10; next.isValid() && !(value < next); next = next * 10) {
        power = next;
        ++exponent;
    }
    while (value < power) {
        power = power / 10;
        --exponent;
    }
    return exponent;
}

} // namespace

QString decimalText(const Ratio &value)
{
    if (!value.isValid())
        return QStringLiteral("?");
    const int exact = terminatingDecimals(value.denominator());
    if (exact >= 0 && exact <= MaxExactDecimals)
        return value.toString(exact);
    const int decimals = RoundedSignificantDigits - 1 - decimalExponent(value);
    return value.toString(std::clamp(decimals, 0, 18));
}

} // namespace IPJESD204B
