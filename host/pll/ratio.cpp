#include "ratio.h"

#include <QRegularExpression>

namespace IPSERDESIP {
namespace {

using Narrow = unsigned long long;
constexpr Ratio::Int NarrowMax = static_cast<Ratio::Int>(~Narrow(0));

// 128-bit division is a library call several times slower than the processor's 64-bit one,
// and nearly every value the solver meets fits in 64 bits: divide narrow when both do.
Ratio::Int quotient(Ratio::Int a, Ratio::Int b)
{
    if (a >= 0 && b > 0 && a <= NarrowMax && b <= NarrowMax)
        return static_cast<Ratio::Int>(static_cast<Narrow>(a) / static_cast<Narrow>(b));
    return a / b;
}

Ratio::Int gcd(Ratio::Int a, Ratio::Int b)
{
    if (a < 0)
        a = -a;
    if (b < 0)
        b = -b;
    while (b != 0 && (a > NarrowMax || b > NarrowMax)) {
        const Ratio::Int t = a % b;
        a = b;
        b = t;
    }
    Narrow x = static_cast<Narrow>(a);
    Narrow y = static_cast<Narrow>(b);
    while (y != 0) {
        const Narrow t = x % y;
        x = y;
        y = t;
    }
    return static_cast<Ratio::Int>(x);
}

Ratio::Int power10(int exponent)
{
    Ratio::Int value = 1;
    for (int i = 0; i < exponent; ++i)
        value *= 10;
    return value;
}

QString intToString(Ratio::Int value)
{
    if (value == 0)
        return QStringLiteral("0");
    QString digits;
    while (value > 0) {
        digits.prepend(QChar('0' + static_cast<int>(value % 10)));
        value /= 10;
    }
    return digits;
}

} // namespace

Ratio::Ratio(Int numerator, Int denominator)
{
    if (denominator == 0 || numerator < 0 || denominator < 0)
        return;
    const Int divisor = gcd(numerator, denominator);
    m_num = quotient(numerator, divisor);
    m_den = quotient(denominator, divisor);
}

Ratio Ratio::fromDecimal(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d*)(?:\\.(\\d*))?\\s*$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return {};
    QString whole = match.captured(1);
    QString decimals = match.captured(2);
    if (whole.isEmpty() && decimals.isEmpty())
        return {};
    while (decimals.endsWith(QLatin1Char('0')))
        decimals.chop(1);
    while (whole.startsWith(QLatin1Char('0')))
        whole.remove(0, 1);
    if (decimals.size() > 9 || whole.size() + decimals.size() > 12)
        return {};
    const QString digits = whole + decimals;
    Int value = 0;
    for (const QChar digit : digits)
        value = value * 10 + (digit.unicode() - '0');
    return Ratio(value, power10(decimals.size()));
}

Ratio Ratio::fromDouble(double value)
{
    if (!(value >= 0.0))
        return {};
    return fromDecimal(QString::number(value, 'f', 9));
}

double Ratio::toDouble() const
{
    if (!isValid())
        return 0.0;
    return static_cast<double>(m_num) / static_cast<double>(m_den);
}

Ratio Ratio::operator*(const Ratio &other) const
{
    if (!isValid() || !other.isValid())
        return {};
    const Int g1 = gcd(m_num, other.m_den);
    const Int g2 = gcd(other.m_num, m_den);
    const Int d1 = g1 == 0 ? 1 : g1;
    const Int d2 = g2 == 0 ? 1 : g2;
    return Ratio(quotient(m_num, d1) * quotient(other.m_num, d2),
                 quotient(m_den, d2) * quotient(other.m_den, d1));
}

Ratio Ratio::operator/(const Ratio &other) const
{
    if (!other.isValid() || other.m_num == 0)
        return {};
    return *this * Ratio(other.m_den, other.m_num);
}

Ratio Ratio::distanceTo(const Ratio &other) const
{
    if (!isValid() || !other.isValid())
        return {};
    const Int a = m_num * other.m_den;
    const Int b = other.m_num * m_den;
    return Ratio(a > b ? a - b : b - a, m_den * other.m_den);
}

bool Ratio::operator==(const Ratio &other) const
{
    return m_num == other.m_num && m_den == other.m_den;
}

bool Ratio::operator<(const Ratio &other) const
{
    return m_num * other.m_den < other.m_num * m_den;
}

bool Ratio::hasDecimals(int maxDecimals) const
{
    if (!isValid())
        return false;
    return (power10(maxDecimals) % m_den) == 0;
}

QString Ratio::toString(int maxDecimals) const
{
    if (!isValid())
        return QStringLiteral("?");
    const bool exact = hasDecimals(maxDecimals);
    const Int scale = power10(maxDecimals);
    // Rounded to maxDecimals, half up.
    Int scaled = (m_num * scale * 2 + m_den) / (m_den * 2);
    const Int whole = scaled / scale;
    Int fraction = scaled % scale;
    QString text = intToString(whole);
    if (fraction != 0) {
        QString decimals = intToString(fraction).rightJustified(maxDecimals, QLatin1Char('0'));
        while (decimals.endsWith(QLatin1Char('0')))
            decimals.chop(1);
        text += QLatin1Char('.') + decimals;
    }
    return exact ? text : QLatin1Char('~') + text;
}

} // namespace IPSERDESIP
