#include "serdesfunctions.h"

#include "serdesnames.h"

namespace IPSERDESIP {

int FromLaneToInt(const QStringList &lanes)
{
    // One bit per lane (quad x 4 + lane); directions and name forms do not matter.
    int bits = 0;
    for (const QString &name : lanes) {
        const Names::LaneRef lane = Names::parseLane(name);
        if (lane.isValid() && lane.index() < 31)
            bits |= 1 << lane.index();
    }
    return bits;
}

QString refsrcOptTransforSerdesName(const QString &displayName)
{
    return Names::refSourceName(displayName);
}

QString FromPllToStringOption(const QString &pll)
{
    const Names::PllRef resource = Names::parsePll(pll);
    if (resource.isValid())
        return Names::pllKindName(resource.kind);
    const Names::PllKind kind = Names::pllKindFromText(pll);
    return kind == Names::PllKind::None ? pll : Names::pllKindName(kind);
}

} // namespace IPSERDESIP
