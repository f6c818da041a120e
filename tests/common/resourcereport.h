#pragma once

#include <services/message.h>

#include <QString>
#include <QStringList>

// A core's resource report as the plug-in makes it; Q0 REFCLK0 at 122.88 MHz feeds every lane.
inline IPSERDESIP::Message resourceReport(const QString &name, const QStringList &lanes,
                                          const QString &pllKind, const QString &rate)
{
    IPSERDESIP::Message message;
    message.protocolName = "JESD204B";
    message.instanceName = name;
    message.laneList = lanes;
    for (const QString &entry : lanes) {
        message.pllList << entry.left(2) + "_" + pllKind;
        message.refClkList << "Q0_REFCLK0";
        message.refClkFreqList << "122.88";
        message.txRateList << rate;
    }
    return message;
}
