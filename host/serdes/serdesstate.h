#pragma once

#include "serdes.h"
#include "serdesnames.h"
#include <pll/plltable.h>

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>

namespace IPSERDESIP {

// One lane line of the route that checkRoute registered for the next generator run.
struct RouteClaim
{
    QString laneResource; // as registered: "Q0_LANE1_TX", "Q0_LANE1"
    Names::LaneRef lane;
    QString pll;            // "Q0_QPLL1", "Q0_CPLL1" or empty
    QString refSource;      // the model's name, empty when none was given
    QString refFrequency;   // MHz, as the core's configuration line holds it: proved, stored
    QString askedFrequency; // MHz, as given
    // Filled by a successful generator run; what committing the claim records.
    QString rate;
    QString vco;
};

struct RouteConflict
{
    QString laneResource;
    QString text;
};

// A protocol instance of the design, for findLaneName.
struct ProtocolInstance
{
    QString protocol;
    QString name;
    QStringList lanes;
    QStringList globalDataKeys; // what the instance wrote into the global data
};

struct Q_DECL_HIDDEN serdes::Model
{
    DEV::DeviceArg device;
    PllTable pllTable = PllTable::builtin();

    // The SERDES of the device. The objects hold the design's occupancy; the route of the core
    // being checked stays apart until it is committed.
    std::map<QString, std::unique_ptr<LANE>> lanes;            // "Q0_LANE0"
    std::map<QString, std::unique_ptr<PLL>> plls;              // "Q0_QPLL0", "Q0_CPLL0"
    std::map<QString, std::unique_ptr<REF_SOURCE>> refSources; // "Q0_REFCLK0", "MCLK"
    // Lanes (under both name forms) and PLLs by name; only build() changes which exist.
    QMap<QString, Instance *> instances;
    QMap<QString, QString> lineOwners;    // "Q0_LANE0_RX" -> owner
    QMap<QString, QStringList> refOwners; // "Q0_REFCLK0" -> owners
    QList<ProtocolInstance> protocols;

    QString routeOwner;
    QList<RouteClaim> route;
    QList<RouteConflict> conflicts;

    Model();
    int quadCount() const;
    // Creates the lanes, PLLs and sources of the device's quads, drops those beyond them.
    void build();

    LANE *lane(const QString &name) const;
    PLL *pll(const QString &name) const;
    REF_SOURCE *refSource(const QString &name) const; // either name form
    // Who holds a lane line ("Q0_LANE0_RX"); empty when free.
    QString lineOwner(const QString &line) const;

    // Records an instance's use of a lane line, PLL and reference clock in the objects.
    void claimLine(const Names::LaneRef &lane, int direction, const QString &owner,
                   const QString &rate, const QString &source);
    void claimPll(const QString &name, const QString &vco, const QString &refSource,
                  const QString &owner);
    // An instance counts once however many lanes it drives; oncePerOwner false adds count
    // uses whoever the owner is (design entries that give a use count).
    void claimRefSource(const QString &name, const QString &frequency, const QString &owner,
                        int count = 1, bool oncePerOwner = true);
};

// Claims from a core's resource lists (lane, PLL, reference clock and frequency per lane).
QList<RouteClaim> makeClaims(const QStringList &lanes, const QStringList &plls,
                             const QStringList &refClks, const QStringList &refClkFreqs);

// The instance of the model that holds the module name of instanceName, except that one.
QString moduleHolder(const serdes::Model &model, const QString &instanceName,
                     const QString &except);

// Conflicts of the claims with what the design's other instances hold (not those of owner).
QList<RouteConflict> findConflicts(const serdes::Model &model, const QList<RouteClaim> &claims,
                                   const QString &owner);

// Why owner cannot run the source at frequency (MHz): other instances run it at another one.
// Empty when it can.
QString refClockClash(const serdes::Model &model, const QString &source, const QString &frequency,
                      const QString &owner);

} // namespace IPSERDESIP
