#include <pll/pllsolver.h>

#include <logging/hostlogging.h>

#include <QStringList>

#include <algorithm>

namespace IPSERDESIP {
namespace PllSolver {
namespace {

using Int = Ratio::Int;

// VCO = rate x D / k, compared with the band without building a ratio.
bool vcoInBand(const PllLimits &limits, const Ratio &rate, int d)
{
    const Int num = rate.numerator() * d;
    const Int den = rate.denominator() * limits.rateFactor;
    return limits.vcoMin.numerator() * den <= num * limits.vcoMin.denominator() &&
           num * limits.vcoMax.denominator() <= limits.vcoMax.numerator() * den;
}

// The divider that turns vco into rate (rate x D = k x vco), 0 when none of its dividers does.
int dividerFor(const PllLimits &limits, const Ratio &vco, const Ratio &rate)
{
    // D = k x vco / rate must be an integer of the set.
    const Int num = vco.numerator() * limits.rateFactor * rate.denominator();
    const Int den = vco.denominator() * rate.numerator();
    if (den == 0 || num % den != 0)
        return 0;
    const Int d = num / den;
    return std::binary_search(limits.d.begin(), limits.d.end(), static_cast<int>(d)) ? int(d) : 0;
}

// N = N1 x N2 of the allowed sets; fills n1/n2 when the product is reachable. Each N1 tried
// spends one step of the budget.
bool splitN(const PllLimits &limits, Int n, int *n1, int *n2, long long *budget)
{
    for (const int a : limits.n1) {
        if (--*budget < 0)
            return false;
        if (n % a != 0)
            continue;
        const Int b = n / a;
        if (std::binary_search(limits.n2.begin(), limits.n2.end(), static_cast<int>(b))) {
            *n1 = a;
            *n2 = static_cast<int>(b);
            return true;
        }
    }
    return false;
}

QString decimalList(const QVector<Ratio> &values)
{
    QStringList texts;
    for (const Ratio &value : values)
        texts << value.toString(6);
    return texts.join(QStringLiteral(", "));
}

} // namespace

QString setText(const QVector<int> &values)
{
    if (values.size() > 2 && values.last() - values.first() == values.size() - 1)
        return QStringLiteral("%1..%2").arg(values.first()).arg(values.last());
    QStringList texts;
    for (const int value : values)
        texts << QString::number(value);
    return QStringLiteral("{%1}").arg(texts.join(QStringLiteral(", ")));
}

bool bandAdmits(const PllLimits &limits, const Ratio &rate)
{
    if (!rate.isValid() || rate.isZero())
        return false;
    return std::any_of(limits.d.begin(), limits.d.end(),
                       [&](int d) { return vcoInBand(limits, rate, d); });
}

std::optional<QVector<int>> dividersFor(const PllLimits &limits, const Ratio &vco,
                                        const QVector<Ratio> &rates)
{
    QVector<int> dividers;
    for (const Ratio &rate : rates) {
        if (!rate.isValid() || rate.isZero())
            return std::nullopt;
        const int d = dividerFor(limits, vco, rate);
        if (d == 0)
            return std::nullopt;
        dividers << d;
    }
    return dividers;
}

std::optional<PllSolution> solve(const PllLimits &limits, const Ratio &fref,
                                 const QVector<Ratio> &rates)
{
    long long budget = maxDividerSets;
    return solve(limits, fref, rates, &budget);
}

std::optional<PllSolution> solve(const PllLimits &limits, const Ratio &fref,
                                 const QVector<Ratio> &rates, long long *budget)
{
    if (rates.isEmpty() || !fref.isValid() || fref.isZero())
        return std::nullopt;
    const Ratio &first = rates.first();
    if (!first.isValid() || first.isZero())
        return std::nullopt;
    // N1 x N2 / M = VCO x 1000 / fref = rate x D x 1000 / (k x fref) = q x D.
    if (!limits.admitsRefClock(fref))
        return std::nullopt;
    const Ratio q = first * 1000 / (fref * limits.rateFactor);
    int tries = 0;
    for (const int m : limits.m) {
        if (!limits.admitsPfd(fref, m))
            continue;
        for (const int d : limits.d) {
            if (--*budget < 0)
                return std::nullopt;
            if (!vcoInBand(limits, first, d))
                continue;
            ++tries;
            const Int num = q.numerator() * d * m;
            if (num % q.denominator() != 0)
                continue;
            PllSolution solution;
            if (!splitN(limits, num / q.denominator(), &solution.n1, &solution.n2, budget))
                continue;
            solution.m = m;
            solution.vco = first * d / limits.rateFactor;
            const auto dividers = dividersFor(limits, solution.vco, rates);
            if (!dividers)
                continue;
            solution.d = *dividers;
            qCDebug(Logging::lcSolver).noquote()
                << decimalList(rates) << "Gbps from" << fref.toString(6) << "MHz: M" << m << "N1"
                << solution.n1 << "N2" << solution.n2 << "VCO" << solution.vco.toString(6)
                << "GHz after" << tries << "M/D pairs in the VCO band";
            return solution;
        }
    }
    qCDebug(Logging::lcSolver).noquote()
        << decimalList(rates) << "Gbps from" << fref.toString(6) << "MHz: none of" << tries
        << "M/D pairs in the VCO band works";
    return std::nullopt;
}

std::optional<PllSolution> vcoDividers(const PllLimits &limits, const Ratio &fref, const Ratio &vco)
{
    if (!fref.isValid() || fref.isZero() || !vco.isValid() || !limits.admitsRefClock(fref))
        return std::nullopt;
    const Ratio ratio = vco * 1000 / fref; // N1 x N2 / M
    long long budget = maxDividerSets;
    for (const int m : limits.m) {
        if (!limits.admitsPfd(fref, m))
            continue;
        const Ratio n = ratio * m;
        PllSolution solution;
        if (!n.isInteger() || !splitN(limits, n.toInt(), &solution.n1, &solution.n2, &budget))
            continue;
        solution.m = m;
        solution.vco = vco;
        return solution;
    }
    return std::nullopt;
}

QString servedRates(const PllLimits &limits, const Ratio &vco)
{
    QVector<Ratio> rates;
    for (const int d : limits.d) {
        const Ratio rate = vco * limits.rateFactor / d;
        if (limits.admitsLineRate(rate))
            rates << rate;
    }
    return decimalList(rates) + QStringLiteral(" Gbps");
}

namespace {

// The first rate no VCO in the band makes with any output divider; empty when every rate has one.
QString bandProblem(const PllLimits &limits, const QVector<Ratio> &rates)
{
    const QString vcoRule = limits.rateFactor == 1
                                ? QStringLiteral("rate x D")
                                : QStringLiteral("rate x D / %1").arg(limits.rateFactor);
    for (const Ratio &rate : rates) {
        if (bandAdmits(limits, rate))
            continue;
        QVector<Ratio> vcos;
        for (const int d : limits.d)
            vcos << rate * d / limits.rateFactor;
        return QStringLiteral("%1 Gbps needs a VCO of %2 GHz (%3, %4), none of which lies in %5")
            .arg(rate.toString(), decimalList(vcos), vcoRule, limits.dividerText(),
                 limits.bandText());
    }
    return {};
}

// Why several rates cannot come from one VCO; empty when one VCO serves them all.
QString sharedVcoProblem(const PllLimits &limits, const QVector<Ratio> &rates)
{
    if (rates.size() <= 1)
        return {};
    for (const int d : limits.d) {
        if (vcoInBand(limits, rates.first(), d) &&
            dividersFor(limits, rates.first() * d / limits.rateFactor, rates))
            return {};
    }
    QStringList texts;
    for (const Ratio &rate : rates) {
        if (!texts.contains(rate.toString()))
            texts << rate.toString();
    }
    return QStringLiteral("the rates %1 Gbps share one VCO, and no VCO in %2 gives all of "
                          "them with %3")
        .arg(texts.join(QStringLiteral(", ")), limits.bandText(), limits.dividerText());
}

// The feedback ratio each usable VCO would need, which no divider set in range gives.
QString feedbackProblem(const PllLimits &limits, const Ratio &fref, const QVector<Ratio> &rates,
                        const QVector<int> &admittedM)
{
    const QString nText = limits.perLane ? QStringLiteral("N1 x N2") : QStringLiteral("N");
    const QString nRange =
        limits.perLane
            ? QStringLiteral("N1 in %1, N2 in %2").arg(setText(limits.n1), setText(limits.n2))
            : QStringLiteral("N in %1").arg(setText(limits.n1));
    QStringList needs;
    for (const int d : limits.d) {
        if (!vcoInBand(limits, rates.first(), d))
            continue;
        const Ratio vco = rates.first() * d / limits.rateFactor;
        if (!dividersFor(limits, vco, rates))
            continue;
        needs << QStringLiteral("VCO %1 GHz (D %2) would need %3 / M = %4")
                     .arg(vco.toString(6))
                     .arg(d)
                     .arg(nText, (vco * 1000 / fref).toString(6));
    }
    if (needs.isEmpty())
        return QStringLiteral("no divider set within the search bound makes it");
    return QStringLiteral("%1, which no %2 with M in %3 gives")
        .arg(needs.join(QStringLiteral(" or ")), nRange, setText(admittedM));
}

} // namespace

QString explainFailure(const PllLimits &limits, const Ratio &fref, const QVector<Ratio> &rates)
{
    if (!limits.admitsRefClock(fref)) {
        return QStringLiteral("%1 MHz lies outside its reference clock input range of %2")
            .arg(fref.toString(6), limits.refText());
    }
    QVector<int> admittedM;
    for (const int m : limits.m) {
        if (limits.admitsPfd(fref, m))
            admittedM << m;
    }
    if (admittedM.isEmpty()) {
        return QStringLiteral("no M in %1 puts its phase detector (clock / M) into %2")
            .arg(setText(limits.m), limits.pfdText());
    }
    QString problem = bandProblem(limits, rates);
    if (problem.isEmpty())
        problem = sharedVcoProblem(limits, rates);
    return problem.isEmpty() ? feedbackProblem(limits, fref, rates, admittedM) : problem;
}

} // namespace PllSolver
} // namespace IPSERDESIP
