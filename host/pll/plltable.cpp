#include <pll/plltable.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>

#include <algorithm>

namespace IPSERDESIP {
namespace {

// Largest divider range a table may give; keeps the solver's search bounded.
constexpr int maxRangeSize = 1024;

QString joinInts(const QVector<int> &values)
{
    QStringList texts;
    for (const int value : values)
        texts << QString::number(value);
    return texts.join(QStringLiteral(", "));
}

// An integer parameter is a list ([1, 2, 4]) or a range ({"min": 16, "max": 160}).
bool readIntSet(const QJsonValue &value, const QString &where, QVector<int> *out, QString *error)
{
    QVector<int> result;
    if (value.isArray()) {
        for (const QJsonValue &item : value.toArray()) {
            if (!item.isDouble() || item.toDouble() != item.toInt() || item.toInt() < 1) {
                *error = QStringLiteral("%1: list entries must be positive integers").arg(where);
                return false;
            }
            result << item.toInt();
        }
    } else if (value.isObject()) {
        const QJsonObject range = value.toObject();
        const QJsonValue min = range.value(QStringLiteral("min"));
        const QJsonValue max = range.value(QStringLiteral("max"));
        if (!min.isDouble() || !max.isDouble() || min.toDouble() != min.toInt() ||
            max.toDouble() != max.toInt() || min.toInt() < 1 || max.toInt() < min.toInt()) {
            *error = QStringLiteral("%1: a range needs integer \"min\" >= 1 and \"max\" >= \"min\"")
                         .arg(where);
            return false;
        }
        if (max.toInt() - min.toInt() >= maxRangeSize) {
            *error = QStringLiteral("%1: a range may span at most %2 values")
                         .arg(where)
                         .arg(maxRangeSize);
            return false;
        }
        for (int i = min.toInt(); i <= max.toInt(); ++i)
            result << i;
    } else {
        *error = QStringLiteral("%1: expected a list of integers or {\"min\", \"max\"}").arg(where);
        return false;
    }
    if (result.isEmpty() || result.size() > maxRangeSize) {
        *error = QStringLiteral("%1: expected 1 to %2 values").arg(where).arg(maxRangeSize);
        return false;
    }
    std::sort(result.begin(), result.end());
    result.erase(std::unique(result.begin(), result.end()), result.end());
    *out = result;
    return true;
}

Ratio readDecimal(const QJsonValue &value)
{
    if (value.isString())
        return Ratio::fromDecimal(value.toString());
    if (value.isDouble())
        return Ratio::fromDouble(value.toDouble());
    return {};
}

// A band {"min", "max"} of decimal texts in the given unit, 0 < min <= max.
bool readBand(const QJsonValue &value, const QString &where, const char *unit, Ratio *lower,
              Ratio *upper, QString *error)
{
    const QJsonObject band = value.toObject();
    const Ratio min = readDecimal(band.value(QStringLiteral("min")));
    const Ratio max = readDecimal(band.value(QStringLiteral("max")));
    if (!value.isObject() || !min.isValid() || !max.isValid() || min.isZero() || max < min) {
        *error = QStringLiteral("%1: expected {\"min\": \"...\", \"max\": \"...\"} in %2, "
                                "0 < min <= max")
                     .arg(where, QLatin1String(unit));
        return false;
    }
    *lower = min;
    *upper = max;
    return true;
}

// Applies the fields present in json to *limits.
bool readFields(const QJsonObject &json, const QString &where, PllLimits *limits, QString *error)
{
    static const QStringList known{
        QStringLiteral("scope"),  QStringLiteral("rateFactor"),  QStringLiteral("N"),
        QStringLiteral("N1"),     QStringLiteral("N2"),          QStringLiteral("M"),
        QStringLiteral("D"),      QStringLiteral("vcoGHz"),      QStringLiteral("refClockMHz"),
        QStringLiteral("pfdMHz"), QStringLiteral("lineRateGbps")};
    for (auto it = json.begin(); it != json.end(); ++it) {
        const QString field = where + QLatin1Char('.') + it.key();
        if (!known.contains(it.key())) {
            *error = QStringLiteral("%1: unknown field").arg(field);
            return false;
        }
        if (it.key() == QLatin1String("N") || it.key() == QLatin1String("N1")) {
            if (!readIntSet(it.value(), field, &limits->n1, error))
                return false;
        } else if (it.key() == QLatin1String("N2")) {
            if (!readIntSet(it.value(), field, &limits->n2, error))
                return false;
        } else if (it.key() == QLatin1String("M")) {
            if (!readIntSet(it.value(), field, &limits->m, error))
                return false;
        } else if (it.key() == QLatin1String("D")) {
            if (!readIntSet(it.value(), field, &limits->d, error))
                return false;
        } else if (it.key() == QLatin1String("vcoGHz")) {
            if (!readBand(it.value(), field, "GHz", &limits->vcoMin, &limits->vcoMax, error))
                return false;
        } else if (it.key() == QLatin1String("refClockMHz")) {
            if (!readBand(it.value(), field, "MHz", &limits->refMin, &limits->refMax, error))
                return false;
        } else if (it.key() == QLatin1String("pfdMHz")) {
            if (!readBand(it.value(), field, "MHz", &limits->pfdMin, &limits->pfdMax, error))
                return false;
        } else if (it.key() == QLatin1String("lineRateGbps")) {
            if (!readBand(it.value(), field, "Gbps", &limits->lineRateMin, &limits->lineRateMax,
                          error))
                return false;
        }
    }
    return true;
}

} // namespace

QString PllLimits::bandText() const
{
    return QStringLiteral("%1-%2 GHz").arg(vcoMin.toString(), vcoMax.toString());
}

bool PllLimits::admitsPfd(const Ratio &fref, int m) const
{
    const Ratio pfd = fref / m;
    return pfdMin <= pfd && pfd <= pfdMax;
}

QString PllLimits::refText() const
{
    return QStringLiteral("%1-%2 MHz").arg(refMin.toString(), refMax.toString());
}

QString PllLimits::pfdText() const
{
    return QStringLiteral("%1-%2 MHz").arg(pfdMin.toString(), pfdMax.toString());
}

QString PllLimits::dividerText() const
{
    return QStringLiteral("D in {%1}").arg(joinInts(d));
}

const PllTable &PllTable::builtin()
{
    static const PllTable table = [] {
        PllTable loaded;
        QFile file(QStringLiteral(":/serdes/plltable.json"));
        QString error;
        if (!file.open(QIODevice::ReadOnly) ||
            !fromJson(QJsonDocument::fromJson(file.readAll()).object(), &loaded, &error))
            qFatal("built-in PLL table is broken: %s", qPrintable(error));
        return loaded;
    }();
    return table;
}

bool PllTable::fromJson(const QJsonObject &json, PllTable *table, QString *error)
{
    PllTable result;
    for (auto it = json.begin(); it != json.end(); ++it) {
        const QJsonObject entry = it.value().toObject();
        PllLimits limits;
        limits.name = it.key();
        const QString scope = entry.value(QStringLiteral("scope")).toString();
        if (scope != QLatin1String("quad") && scope != QLatin1String("lane")) {
            *error = QStringLiteral("%1.scope: expected \"quad\" or \"lane\"").arg(it.key());
            return false;
        }
        limits.perLane = scope == QLatin1String("lane");
        limits.rateFactor = entry.value(QStringLiteral("rateFactor")).toInt(1);
        limits.n2 = {1};
        if (!readFields(entry, it.key(), &limits, error))
            return false;
        if (limits.rateFactor < 1 || limits.n1.isEmpty() || limits.m.isEmpty() ||
            limits.d.isEmpty() || !limits.vcoMin.isValid() || !limits.refMin.isValid() ||
            !limits.pfdMin.isValid()) {
            *error = QStringLiteral("%1: needs N (or N1), M, D, vcoGHz, refClockMHz and pfdMHz, "
                                    "rateFactor >= 1")
                         .arg(it.key());
            return false;
        }
        result.m_limits.insert(limits.name, limits);
    }
    *table = result;
    return true;
}

bool PllTable::applyOverrides(const QJsonObject &overrides, QString *error)
{
    QMap<QString, PllLimits> changed = m_limits;
    for (auto it = overrides.begin(); it != overrides.end(); ++it) {
        if (!changed.contains(it.key())) {
            *error = QStringLiteral("%1: unknown PLL (known: %2)")
                         .arg(it.key(), QStringList(changed.keys()).join(QStringLiteral(", ")));
            return false;
        }
        if (!it.value().isObject()) {
            *error = QStringLiteral("%1: expected an object of fields").arg(it.key());
            return false;
        }
        const QJsonObject fields = it.value().toObject();
        if (fields.contains(QStringLiteral("scope")) ||
            fields.contains(QStringLiteral("rateFactor"))) {
            *error =
                QStringLiteral("%1: scope and rateFactor are fixed by the device").arg(it.key());
            return false;
        }
        if (!readFields(fields, it.key(), &changed[it.key()], error))
            return false;
    }
    m_limits = changed;
    return true;
}

const PllLimits *PllTable::limits(const QString &name) const
{
    const auto found = m_limits.constFind(name);
    return found == m_limits.constEnd() ? nullptr : &found.value();
}

} // namespace IPSERDESIP
