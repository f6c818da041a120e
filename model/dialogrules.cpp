#include "dialogrules.h"

#include "nametables.h"
#include "parameterkeys.h"

#include <QtGlobal>

namespace IPJESD204B {

namespace {

constexpr int ffeBudget = 40;
// C0 at or below this leaves the main tap too weak against the pre- and post-cursor taps.
constexpr int mainTapFloor = 20;

} // namespace

QStringList offeredLanes(const QList<LaneOccupancy> &lanes)
{
    QStringList offered;
    for (const LaneOccupancy &lane : lanes) {
        if (lane.state == LaneState::Free ||
            (lane.state == LaneState::UsedInOwnDirection && !lane.takenByExclusiveProtocol))
            offered.append(lane.displayName);
    }
    return offered;
}

const QStringList &exclusiveProtocols()
{
    static const QStringList protocols{QStringLiteral("Quillan 64B66B"),
                                       QStringLiteral("Quillan 8B10B")};
    return protocols;
}

bool isLaneShareable(const QString &laneInstanceName, const QStringList &exclusivelyTaken)
{
    for (const QString &name : exclusivelyTaken) {
        if (name.contains(laneInstanceName))
            return false;
    }
    return true;
}

int laneCountIndex(const QStringList &counts, const QString &remembered)
{
    const QString wanted = remembered.isEmpty() ? QStringLiteral("2") : remembered;
    const int exact = counts.indexOf(wanted);
    if (exact >= 0 || counts.isEmpty())
        return exact;
    return qBound(1, wanted.toInt(), counts.size()) - 1;
}

QStringList pllChoices(const QStringList &usedLanes, const std::array<QuadPllState, 2> &quads)
{
    const QStringList &selections = NameTables::pllSelections(); // QPLL0, QPLL1, CPLL
    QStringList choices;
    const auto offer = [&choices](const QString &selection) {
        if (!choices.contains(selection))
            choices.append(selection);
    };
    for (const QString &lane : usedLanes) {
        for (const QuadRow &quad : NameTables::quads()) {
            if (!lane.contains(quad.displayPrefix))
                continue;
            // A free quad PLL can be set up for any rate; a running one only serves the rates
            // its VCO already makes.
            const QuadPllState &state = quads[quad.quad];
            if (!state.qpll0Running || state.serving.contains(selections[0]))
                offer(selections[0]);
            if (!state.qpll1Running || state.serving.contains(selections[1]))
                offer(selections[1]);
        }
    }
    choices.append(selections[2]);
    return choices;
}

QString drpConflictingModule(const IPSERDESIP::ParameterMap &globalData, int laneSet)
{
    const QString prefix = GlobalKey::DrpRecordPrefix;
    for (auto it = globalData.cbegin(); it != globalData.cend(); ++it) {
        if (it.key().startsWith(prefix) && it.value().toInt() == laneSet)
            return QString(it.key()).remove(prefix);
    }
    return {};
}

namespace Fields {
const FieldRange DefaultF{FieldRange::Integer, 1, 256, QStringLiteral("4"), false};
const FieldRange DefaultK{FieldRange::Integer, 1, 32, QStringLiteral("32"), false};
const FieldRange ClockFrequency{FieldRange::Decimal, 1.0, 100.0, QStringLiteral("10.0"), false};
const FieldRange LineRate{FieldRange::Decimal, 1.0, 12.5, QStringLiteral("4.9152"), true};
const FieldRange RefClockFrequency{FieldRange::Decimal, 50.0, 500.0, QStringLiteral("122.88"),
                                   false};
} // namespace Fields

QString correctedField(const QString &text, const FieldRange &range)
{
    if (text.isEmpty())
        return range.fallback;
    if (range.kind == FieldRange::Integer) {
        const int value = text.toInt(nullptr, 10);
        return value < range.min || value > range.max ? range.fallback : text;
    }
    const double value = text.toDouble();
    const bool outside = value < range.min || value > range.max ||
                         (range.refuseTrailingPoint && text.endsWith(QLatin1Char('.')));
    return outside ? range.fallback : text;
}

int ffeMainTap(int cm, int c1)
{
    return ffeBudget - cm - c1;
}

bool isMainTapAccepted(int c0)
{
    return c0 > mainTapFloor;
}

} // namespace IPJESD204B
