#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// The option lines a generator run reads, sorted by what they configure.
namespace IPSERDESIP {

struct LaneOptions
{
    int quad = 0;
    int lane = 0;
    QString prefix;                // "q0_ln0"
    QMap<QString, QString> values; // "tx_rate" -> "4.9152"
    QStringList lines;
    bool enabled() const { return values.value(QStringLiteral("enable")) == QLatin1String("true"); }
};

struct OptionSet
{
    QMap<QString, LaneOptions> lanes; // by prefix, so quads and lanes come in order
    QMap<QString, QString> refClocks; // source ("Q0_REFCLK0") -> MHz text
    QMap<QString, QString> refClockLines;
    QStringList enabledQuads; // "q0"
    QStringList moduleLines;  // everything that is not a lane's
    QStringList errors;
};

OptionSet parseOptions(const QStringList &options);

} // namespace IPSERDESIP
