#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

namespace LinkSim {

// The testbench's result line: "JESD204B_SIM result=PASS|FAIL key=value ...".
struct SummaryLine
{
    QString text; // empty when the run printed none
    QMap<QString, QString> fields;

    bool found() const { return !text.isEmpty(); }
    bool passed() const { return fields.value(QStringLiteral("result")) == QLatin1String("PASS"); }
};

// The last summary line in a simulator's output.
SummaryLine findSummary(const QByteArray &output);

} // namespace LinkSim
