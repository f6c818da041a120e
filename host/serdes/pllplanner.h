#pragma once

#include "serdesstate.h"
#include <pll/pllsolver.h>
#include <serdes/generatorresult.h>

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// Settles the PLL settings of a core's lanes against the design: lanes of a quad on one quad
// PLL share its VCO, and a PLL that another instance already runs keeps its VCO and clock.
namespace IPSERDESIP {

class Message;

struct LaneDemand
{
    Names::LaneRef lane; // directions: the lines the core uses
    QString label;       // how messages name the lane ("q0_ln0")
    Names::PllKind kind = Names::PllKind::None;
    QString pllText; // the selection as given, for messages
    QString txRate;  // Gbps, as given
    QString rxRate;
    QString refSource;      // the model's name
    QString refFrequency;   // MHz, as the configuration line gives it: the clock proved
    QString askedFrequency; // MHz, as the route registered it, when that differs
};

struct LaneSetting
{
    LaneDemand demand;
    QString pll; // "Q0_QPLL1", "Q0_CPLL0"
    int m = 0;   // 0 when a PLL run by another instance cannot be traced back to dividers
    int n1 = 0;
    int n2 = 1;
    int txDivider = 0;
    int rxDivider = 0;
    Ratio vco;
    QString runningFor; // owner of the PLL when another instance runs it

    QString describe() const; // one readable line
};

struct PllPlan
{
    QList<LaneSetting> settings;
    QStringList errors;
    QMap<QString, QString> vcos; // PLL -> VCO GHz
    // The errors about one PLL's lanes again, with their parts apart.
    QList<ReasonResult> failures;
    bool ok() const { return errors.isEmpty(); }
};

// With advise, a failure suggests clocks and PLLs with which the whole core would be made.
PllPlan planLanes(const serdes::Model &model, const QList<LaneDemand> &demands,
                  const QString &owner, bool advise = true);

// What an accepted core's resource report would claim, and why the design cannot take it.
struct ReportEvaluation
{
    QList<RouteClaim> claims; // with the lane rates filled in
    PllPlan plan;
    QStringList problems; // conflicts and plan errors; empty when the report fits
};

ReportEvaluation evaluateReport(const serdes::Model &model, const Message &report);

} // namespace IPSERDESIP
