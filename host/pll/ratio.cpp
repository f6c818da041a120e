#include <pll/ratio.h>

#include <QRegularExpression>

#include <optional>
#include <tuple>

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
    if (b == 0)
        return a;
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

// a * b, or nullopt when the product does not fit.
std::optional<Ratio::Int> product(Ratio::Int a, Ratio::Int b)
{
    Ratio::Int result = 0;
    if (__builtin_mul_overflow(a, b, &result))
        return std::nullopt;
    return result;
}

// a/b < c/d for non-negative numerators and positive denominators, without overflow: when the
// cross products do not fit, compare the whole parts, then the reciprocals of the remainders.
bool less(Ratio::Int a, Ratio::Int b, Ratio::Int c, Ratio::Int d)
{
    for (;;) {
        const auto ad = product(a, d);
        const auto cb = product(c, b);
        if (ad && cb)
            return *ad < *cb;
        const Ratio::Int wholeA = quotient(a, b);
        const Ratio::Int wholeC = quotient(c, d);
        if (wholeA != wholeC)
            return wholeA < wholeC;
        const Ratio::Int restA = a - wholeA * b;
        const Ratio::Int restC = c - wholeC * d;
        if (restC == 0)
            return false;
        if (restA == 0)
            return true;
        // restA/b < restC/d exactly when d/restC < b/restA.
        std::tie(a, b, c, d) = std::make_tuple(d, restC, b, restA);
    }
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
    const auto num = product(quotient(m_num, d1), quotient(other.m_num, d2));
    const auto den = product(quotient(m_den, d2), quotient(other.m_den, d1));
    if (!num || !den)
        return {};
    return Ratio(*num, *den);
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
    // Over the least common denominator, so that only values that need it leave 64 bits.
    const Int common = gcd(m_den, other.m_den);
    const auto a = product(m_num, quotient(other.m_den, common));
    const auto b = product(other.m_num, quotient(m_den, common));
    const auto den = product(quotient(m_den, common), other.m_den);
    if (!a || !b || !den)
        return {};
    return Ratio(*a > *b ? *a - *b : *b - *a, *den);
}

bool Ratio::operator==(const Ratio &other) const
{
    return m_num == other.m_num && m_den == other.m_den;
}

bool Ratio::operator<(const Ratio &other) const
{
    if (!isValid() || !other.isValid())
        return false;
    return less(m_num, m_den, other.m_num, other.m_den);
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
    // Long division of the part below one, so that no product exceeds ten denominators; then
    // rounded to maxDecimals, half up.
    Int whole = quotient(m_num, m_den);
    Int rest = m_num - whole * m_den;
    Int fraction = 0;
    for (int i = 0; i < maxDecimals; ++i) {
        const auto shifted = product(rest, 10);
        if (!shifted)
            return QStringLiteral("?");
        const Int digit = quotient(*shifted, m_den);
        fraction = fraction * 10 + digit;
        rest = *shifted - digit * m_den;
    }
    if (rest >= m_den - rest && ++fraction == scale) {
        fraction = 0;
        ++whole;
    }
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
