#pragma once

#include "designbounds.h"
#include <serdes/serdesstate.h>

#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>

// A design as read from its JSON file, checked entry by entry before anything is applied.
namespace IPSERDESIP {

struct DesignLane
{
    Names::LaneRef lane;
    int status = 0;
    QString rate;
    QString rxSource;
    QString txSource;
    QString owner;
};

struct DesignPll
{
    QString pll;
    QString vco;
    QString refClock;
    QString owner;
};

struct DesignRefClock
{
    QString source;
    QString frequency;
    int useCount = 1;
    QString owner;
};

struct DesignData
{
    DEV::DeviceArg device; // null: the model keeps its device
    PllTable pllTable;
    QList<DesignLane> lanes;
    QList<DesignPll> plls;
    QList<DesignRefClock> refClocks;
    QList<ProtocolInstance> instances;
    ParameterMap globalData;
};

// The owner recorded for design entries that name none.
QString anonymousOwner();

// Reads and checks a design; on failure *error is "entry: reason" ("lanes[2].status: ...").
// currentDevice is the device the design applies to when it names none.
bool parseDesign(const QJsonObject &root, const DEV::DeviceArg &currentDevice, DesignData *design,
                 QString *error);

// Puts a checked design into a fresh model.
void applyDesign(const DesignData &design, serdes::Model &model);

} // namespace IPSERDESIP
