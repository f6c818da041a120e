#pragma once

#include <parametermap.h>

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// The dialog's rules that need no widget: which lanes and PLLs it offers, the DRP conflict
// test and the field ranges with their corrections. The dialog feeds them what it reads from
// the widgets and the host's SERDES model.
namespace IPJESD204B {

// ---- Lane offer ----

// How the design uses one SERDES lane, seen from a core in a given direction.
enum class LaneState { Absent, Free, UsedInOwnDirection, UsedOtherwise };

struct LaneOccupancy
{
    QString displayName;
    LaneState state = LaneState::Absent;
    // Only asked for a lane used in the core's own direction.
    bool takenByExclusiveProtocol = false;
};

// The lanes the core may take, in table order: free ones, and those used in its own
// direction that no exclusive protocol lists.
QStringList offeredLanes(const QList<LaneOccupancy> &lanes);

// Protocols whose lane instances may not share a SERDES lane with this core.
const QStringList &exclusiveProtocols();

// Whether a lane instance is free of every name the exclusive protocols list.
bool isLaneShareable(const QString &laneInstanceName, const QStringList &exclusivelyTaken);

// Index of the lane count to show among `counts` ("1" ... offered): the remembered one when
// still offered, otherwise the offered count nearest to it ("2" on the first fill); -1 when
// nothing is offered.
int laneCountIndex(const QStringList &counts, const QString &remembered);

// ---- PLL choice ----

struct QuadPllState
{
    bool qpll0Running = false;
    bool qpll1Running = false;
    QStringList serving; // PLLs that already make the entered line rate
};

// The PLL selections to offer for the used lanes: per quad a lane names, each quad PLL that
// is free or already serves the rate, each once; "CPLL" always last.
QStringList pllChoices(const QStringList &usedLanes, const std::array<QuadPllState, 2> &quads);

// ---- DRP record ----

// The module of the first DRP record in the global data that holds the same lane set, or a
// null string when none does.
QString drpConflictingModule(const IPSERDESIP::ParameterMap &globalData, int laneSet);

// ---- Field ranges and corrections ----

struct FieldRange
{
    enum Kind { Integer, Decimal };
    Kind kind;
    double min;
    double max;
    QString fallback;
    bool refuseTrailingPoint;
};

namespace Fields {
extern const FieldRange DefaultF;
extern const FieldRange DefaultK;
extern const FieldRange ClockFrequency;
extern const FieldRange LineRate;
extern const FieldRange RefClockFrequency;
} // namespace Fields

// The text a field keeps: its own when in range, otherwise the range's default.
QString correctedField(const QString &text, const FieldRange &range);

// The FFE main tap the pre- and post-cursor taps leave, and whether it is strong enough.
int ffeMainTap(int cm, int c1);
bool isMainTapAccepted(int c0);

} // namespace IPJESD204B
