#pragma once

#include <QString>
#include <QStringList>

namespace IPSERDESIP {

// Resource report of one protocol instance: the SERDES lanes, PLLs and reference clocks it
// occupies. Made by a protocol's resources(), owned by the caller.
class Message
{
public:
    Message() = default;

    QString protocolName;
    QString instanceName;
    QString file;
    QString module;
    QStringList pllList;
    QStringList refClkList;
    QStringList refClkFreqList;
    QStringList laneList;
    QStringList bothRateList;
    QStringList rxRateList;
    QStringList txRateList;
};

} // namespace IPSERDESIP
