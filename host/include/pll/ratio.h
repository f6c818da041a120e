#pragma once

#include "hostexport.h"

#include <QString>

// An exact non-negative rational number, read from decimal texts such as "122.88". Frequencies
// and line rates are compared with it exactly: 4.9152 Gbps either is or is not 122.88 MHz x 40.
// Numerator and denominator are 128-bit and kept in lowest terms. Every product is checked: a
// product, quotient or distance whose terms, reduced first, would pass 2^127 - 1 is invalid,
// never wrong. Comparisons are exact for every valid ratio; toString needs a denominator below
// 10^37 and gives "?" past it.
namespace IPSERDESIP {

class IPSERDESHOST_EXPORT Ratio
{
public:
    using Int = __int128;

    Ratio() = default;
    Ratio(Int numerator, Int denominator);
    static Ratio fromInt(long long value) { return Ratio(value, 1); }

    // Plain decimal texts only ("156.25", "8", "8.0", ".5"); at most 12 significant digits and 9
    // decimals, so that every product the solver forms stays exact. Invalid texts give an
    // invalid ratio.
    static Ratio fromDecimal(const QString &text);
    // Shortest decimal text of a double (15 significant digits), then read exactly.
    static Ratio fromDouble(double value);

    bool isValid() const { return m_den != 0; }
    bool isZero() const { return m_num == 0 && m_den != 0; }
    bool isInteger() const { return m_den == 1; }
    Int numerator() const { return m_num; }
    Int denominator() const { return m_den; }
    long long toInt() const { return static_cast<long long>(m_num / m_den); }
    double toDouble() const;

    Ratio operator*(const Ratio &other) const;
    Ratio operator/(const Ratio &other) const;
    Ratio operator*(long long factor) const { return *this * fromInt(factor); }
    Ratio operator/(long long divisor) const { return *this / fromInt(divisor); }
    // |this - other|: how far apart two values are, never negative.
    Ratio distanceTo(const Ratio &other) const;
    bool operator==(const Ratio &other) const;
    bool operator!=(const Ratio &other) const { return !(*this == other); }
    bool operator<(const Ratio &other) const;
    bool operator<=(const Ratio &other) const { return !(other < *this); }

    // Decimal text: exact when it terminates within maxDecimals ("9.8304"), else rounded and
    // marked with a leading "~".
    QString toString(int maxDecimals = 9) const;
    // Whether the decimal form ends within maxDecimals digits.
    bool hasDecimals(int maxDecimals) const;

private:
    Int m_num = 0;
    Int m_den = 0;
};

} // namespace IPSERDESIP
