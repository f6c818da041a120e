#pragma once

#include "dialogrules.h"

#include <parametermap.h>

#include <QList>
#include <QString>
#include <QStringList>

// What each key of a parameter set may hold, as one table: the configuration dialog fills its
// choice lists and field checks from it, and a stored set is judged by it before generation.
namespace IPJESD204B {

struct ParameterRule
{
    enum Kind {
        Choice,       // one of `choices`
        Integer,      // whole number within `range`
        Decimal,      // plain decimal number within `range`
        Flag,         // true or false
        LaneCount,    // "1" up to the lanes the device has
        DeviceLane,   // a lane of the device
        LaneOrEmpty,  // a lane of the device or ""
        LaneList,     // distinct lanes of the device, at most MaxLanes
        RefClock,     // a reference clock source the device offers
        ModuleName,   // a Verilog-2005 identifier that is no keyword
        FileName,     // one safe path component
        TargetDevice, // a device the database knows
    };
    QString key;
    Kind kind;
    QStringList choices;
    FieldRange range;
    bool required;
};

// The device a set is judged for, as the protocol looked it up.
struct DeviceFacts
{
    bool known = false;
    QString name;      // device name ("TQ2-S1"), not the part number
    int quadCount = 0; // SERDES quads
};

namespace ParameterRules {

const QList<ParameterRule> &table();
// The rule of a key; null for keys the table does not judge.
const ParameterRule *rule(const QString &key);
// The choice list of a Choice key, in the dialog's order.
QStringList choices(const QString &key);
// The lanes of the device, in table order.
QStringList deviceLanes(const DeviceFacts &device);

// Why the set cannot be generated at all: a "file" that is no single safe path component, a
// value that would add a line, directive or quote to a generated file, a lane list that is
// too long or repeats a lane. Empty when none.
QString safetyProblem(const IPSERDESIP::ParameterMap &params);
// Why a set breaks the dialog's rules for the device (the safety rules included). Empty when
// it keeps them all. One line: the key, the value and what is allowed.
QString valueProblem(const IPSERDESIP::ParameterMap &params, const DeviceFacts &device);

// A value as a message shows it: quoted, control characters escaped, long texts cut.
QString shownValue(const QString &value);

} // namespace ParameterRules
} // namespace IPJESD204B
