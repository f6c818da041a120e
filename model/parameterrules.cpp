#include "parameterrules.h"

#include "nametables.h"
#include "parameterkeys.h"

#include <services/verilognames.h>

#include <QRegularExpression>

#include <cmath>

namespace IPJESD204B {

namespace {

QStringList millivolts(int first, int step, int count)
{
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts << QStringLiteral("%1mV").arg(first + i * step);
    return texts;
}

FieldRange whole(int min, int max)
{
    return {FieldRange::Integer, double(min), double(max), QString(), false};
}

ParameterRule choice(const QString &key, const QStringList &choices)
{
    return {key, ParameterRule::Choice, choices, {}, false};
}

ParameterRule ranged(const QString &key, const FieldRange &range)
{
    const auto kind =
        range.kind == FieldRange::Integer ? ParameterRule::Integer : ParameterRule::Decimal;
    return {key, kind, {}, range, false};
}

ParameterRule of(const QString &key, ParameterRule::Kind kind, bool required = false)
{
    return {key, kind, {}, {}, required};
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString refusal(const QString &key, const QString &value, const QString &allowed)
{
    return QStringLiteral("%1 is %2; allowed: %3")
        .arg(quoted(key), ParameterRules::shownValue(value), allowed);
}

QString rangeText(const FieldRange &range)
{
    return QStringLiteral("%1 %2 to %3")
        .arg(range.kind == FieldRange::Integer ? QStringLiteral("a whole number from")
                                               : QStringLiteral("a decimal number from"))
        .arg(range.min)
        .arg(range.max);
}

bool inRange(const QString &text, const FieldRange &range)
{
    static const QRegularExpression integer(QStringLiteral("^[0-9]{1,9}$"));
    static const QRegularExpression decimal(QStringLiteral("^[0-9]{1,9}(\\.[0-9]{1,9})?$"));
    if (!(range.kind == FieldRange::Integer ? integer : decimal).match(text).hasMatch())
        return false;
    const double value = text.toDouble();
    return std::isfinite(value) && value >= range.min && value <= range.max;
}

int laneLimit(const DeviceFacts &device)
{
    return qMin(NameTables::laneRowCount(device.name), ParameterRules::deviceLanes(device).size());
}

QString listText(const QStringList &values)
{
    QStringList shown;
    for (const QString &value : values)
        shown << quoted(value);
    return shown.isEmpty() ? QStringLiteral("nothing on this device")
                           : shown.join(QStringLiteral(", "));
}

// The problem of one value by its rule; empty when it keeps it.
QString ruleProblem(const ParameterRule &rule, const QVariant &value, const DeviceFacts &device)
{
    const QString text = value.toString();
    const QStringList lanes = ParameterRules::deviceLanes(device);
    switch (rule.kind) {
    case ParameterRule::Choice:
        return rule.choices.contains(text) ? QString()
                                           : refusal(rule.key, text, listText(rule.choices));
    case ParameterRule::Integer:
    case ParameterRule::Decimal:
        return inRange(text, rule.range) ? QString()
                                         : refusal(rule.key, text, rangeText(rule.range));
    case ParameterRule::Flag:
        return value.userType() == QMetaType::Bool
                   ? QString()
                   : refusal(rule.key, text, QStringLiteral("true or false"));
    case ParameterRule::LaneCount: {
        const FieldRange counts = whole(1, laneLimit(device));
        return inRange(text, counts)
                   ? QString()
                   : refusal(rule.key, text,
                             rangeText(counts) + QStringLiteral(" on ") + device.name);
    }
    case ParameterRule::DeviceLane:
    case ParameterRule::LaneOrEmpty:
        if (lanes.contains(text) || (rule.kind == ParameterRule::LaneOrEmpty && text.isEmpty()))
            return {};
        return refusal(rule.key, text,
                       QStringLiteral("a lane of %1: %2").arg(device.name, listText(lanes)));
    case ParameterRule::LaneList:
        for (const QString &lane : value.toStringList()) {
            if (!lanes.contains(lane))
                return refusal(rule.key, lane,
                               QStringLiteral("lanes of %1: %2").arg(device.name, listText(lanes)));
        }
        return {};
    case ParameterRule::RefClock: {
        const QStringList sources = NameTables::offeredRefClocks(device.name);
        return sources.contains(text) ? QString() : refusal(rule.key, text, listText(sources));
    }
    case ParameterRule::ModuleName:
        return IPSERDESIP::VerilogNames::isModuleName(text)
                   ? QString()
                   : refusal(rule.key, text,
                             QStringLiteral("a Verilog identifier (ASCII letters, digits, \"_\" "
                                            "and \"$\", not starting with a digit or \"$\") that "
                                            "is no Verilog-2005 keyword"));
    case ParameterRule::FileName:
        return {}; // a safety rule, judged before every value rule
    case ParameterRule::TargetDevice:
        return device.known ? QString()
                            : refusal(rule.key, text,
                                      QStringLiteral("a device of the database (see ipcore-host "
                                                     "devices)"));
    }
    return {};
}

QString missingKeys()
{
    QStringList required;
    for (const ParameterRule &rule : ParameterRules::table()) {
        if (rule.required)
            required << quoted(rule.key);
    }
    return required.join(QStringLiteral(", "));
}

} // namespace

namespace ParameterRules {

const QList<ParameterRule> &table()
{
    static const QList<ParameterRule> rules = [] {
        QList<ParameterRule> list{
            of(Key::TargetDevice, ParameterRule::TargetDevice, true),
            of(Key::File, ParameterRule::FileName, true),
            of(Key::Module, ParameterRule::ModuleName, true),
            of(Key::RecordLanes, ParameterRule::LaneList, true),
            of(Key::Receive, ParameterRule::Flag),
            of(Key::Transmit, ParameterRule::Flag),
            of(Key::Both, ParameterRule::Flag),
            of(Key::NumberOfLanes, ParameterRule::LaneCount),
            choice(Key::LmfcBuffer, {QStringLiteral("128"), QStringLiteral("256"),
                                     QStringLiteral("512"), QStringLiteral("1024")}),
            of(Key::RpatGenerator, ParameterRule::Flag),
            of(Key::JspatGenerator, ParameterRule::Flag),
            choice(Key::SysrefAlways, {QStringLiteral("Always On"), QStringLiteral("Always Off")}),
            choice(Key::ScramblingOn,
                   {QStringLiteral("Scrambling ON"), QStringLiteral("Scrambling OFF")}),
            ranged(Key::DefaultF, Fields::DefaultF),
            ranged(Key::DefaultK, Fields::DefaultK),
            choice(Key::SysrefRequired,
                   {QStringLiteral("Not Required"), QStringLiteral("Required")}),
            of(Key::FixedConfigEnable, ParameterRule::Flag),
            ranged(Key::ClockFrequency, Fields::ClockFrequency),
            ranged(Key::LineRate, Fields::LineRate),
            of(Key::PcsWidth32, ParameterRule::Flag),
            of(Key::PcsWidth64, ParameterRule::Flag),
            of(Key::RefClkSource, ParameterRule::RefClock),
            ranged(Key::RefClkFrequency, Fields::RefClockFrequency),
            {Key::PllSelection, ParameterRule::Choice, NameTables::pllSelections(), {}, true},
            choice(Key::LoopbackMode, {QStringLiteral("OFF"), QStringLiteral("LB_NES"),
                                       QStringLiteral("LB_FES"), QStringLiteral("LB_ENC")}),
            choice(Key::DifferentialSwing, millivolts(180, 48, 16)),
            choice(Key::FfeMode, {QStringLiteral("Auto"), QStringLiteral("Manual")}),
            ranged(Key::FfeCm, whole(0, 19)),
            ranged(Key::FfeC1, whole(0, 19)),
            ranged(Key::FfeC0, whole(21, 40)),
            choice(Key::SdThreshold, millivolts(25, 25, 8)),
            choice(Key::EqualizationMode, {QStringLiteral("Auto"), QStringLiteral("Manual")}),
            ranged(Key::Att, whole(0, 10)),
            ranged(Key::Boost, whole(0, 15)),
            of(Key::DrpPorts, ParameterRule::Flag),
            of(Key::ChangedAllOfBias, ParameterRule::Flag),
        };
        for (int lane = 0; lane < MaxLanes; ++lane)
            list << of(QString(Key::LaneConnectTemplate).arg(lane), ParameterRule::LaneOrEmpty);
        return list;
    }();
    return rules;
}

const ParameterRule *rule(const QString &key)
{
    for (const ParameterRule &entry : table()) {
        if (entry.key == key)
            return &entry;
    }
    return nullptr;
}

QStringList choices(const QString &key)
{
    const ParameterRule *found = rule(key);
    return found ? found->choices : QStringList();
}

QStringList deviceLanes(const DeviceFacts &device)
{
    QStringList lanes;
    if (!device.known)
        return lanes;
    const int rows = NameTables::laneRowCount(device.name);
    for (const LaneRow &row : NameTables::lanes()) {
        if (row.quad < device.quadCount && lanes.size() < rows)
            lanes << row.displayName;
    }
    return lanes;
}

QString valueProblem(const IPSERDESIP::ParameterMap &params, const DeviceFacts &device)
{
    for (const ParameterRule &entry : table()) {
        if (entry.required && !params.contains(entry.key))
            return QStringLiteral("%1 is missing; a parameter set needs %2")
                .arg(quoted(entry.key), missingKeys());
    }
    const QString unsafe = safetyProblem(params);
    if (!unsafe.isEmpty())
        return unsafe;
    const QString deviceProblem =
        ruleProblem(*rule(Key::TargetDevice), params.value(Key::TargetDevice), device);
    if (!deviceProblem.isEmpty())
        return deviceProblem;
    for (const ParameterRule &entry : table()) {
        const auto found = params.constFind(entry.key);
        if (found == params.constEnd())
            continue;
        const QString problem = ruleProblem(entry, found.value(), device);
        if (!problem.isEmpty())
            return problem;
    }
    // The lanes the core takes part in must each be connected.
    const int lanes = params.value(Key::NumberOfLanes, QString(Absent::NumberOfLanes)).toInt();
    for (int lane = 0; lane < lanes; ++lane) {
        const QString key = QString(Key::LaneConnectTemplate).arg(lane);
        if (params.value(key).toString().isEmpty())
            return QStringLiteral("%1 is %2; allowed: a lane of %3 for each of the %4 lanes "
                                  "in \"Number_of_lanes\"")
                .arg(quoted(key), shownValue(params.value(key).toString()), device.name)
                .arg(lanes);
    }
    return {};
}

} // namespace ParameterRules
} // namespace IPJESD204B
