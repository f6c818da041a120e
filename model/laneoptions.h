#pragma once

#include <parametermap.h>

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

// One SERDES lane's block of option lines. Generation and the dialog fill LaneOptionValues
// from their own sources and share the one line builder.
namespace IPJESD204B {

enum class PcsWidth { Bits32, Bits64, None };

// Which front-end groups the block carries, in the order they are written.
enum class FrontEndGroups { Receive, Transmit, TransmitThenReceive, ReceiveThenTransmit, None };

struct LaneOptionValues
{
    QString lineRate;
    QString pllSelection; // as selected; lower-cased by the builder
    QString loopbackMode; // as selected; lower-cased by the builder
    QString deviceName;
    PcsWidth pcsWidth = PcsWidth::None;
    FrontEndGroups frontEnd = FrontEndGroups::None;
    // Receive group.
    QString sdThreshold;
    QString equalizationMode; // lower-cased by the builder
    int att = 0;
    int boost = 0;
    // Transmit group.
    QString differentialSwing;
    QString ffeMode; // lower-cased by the builder
    int ffeCm = 0;
    int ffeC1 = 0;
    QString ffeC0; // written as given
};

void appendLaneOptionLines(QStringList &options, const QString &lanePrefix,
                           const QString &quadPrefix, const LaneOptionValues &values);

// The values of the generation form: read from a parameter set, with the front-end defaults
// for absent keys; FFE_C0 is written as an integer; both directions only when
// "Both_Receive_and_Transmit" is set, transmit group first.
LaneOptionValues laneOptionValuesFromParameters(const IPSERDESIP::ParameterMap &params,
                                                const QString &deviceName);

} // namespace IPJESD204B
