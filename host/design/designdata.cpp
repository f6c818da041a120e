#include "designdata.h"
#include "designparser.h"

namespace IPSERDESIP {

using namespace Names;

QString anonymousOwner()
{
    return QStringLiteral("another core");
}

bool parseDesign(const QJsonObject &root, const DEV::DeviceArg &currentDevice, DesignData *design,
                 QString *error)
{
    DesignData result;
    DesignParser parser(currentDevice, &result);
    if (!parser.parse(root)) {
        *error = parser.error();
        return false;
    }
    *design = result;
    return true;
}

void applyDesign(const DesignData &design, serdes::Model &model)
{
    model.device = design.device;
    model.build();
    model.pllTable = design.pllTable;
    for (const DesignLane &lane : design.lanes) {
        if (lane.status & RxDirection)
            model.claimLine(lane.lane, RxDirection, lane.owner, lane.rate, lane.rxSource);
        if (lane.status & TxDirection)
            model.claimLine(lane.lane, TxDirection, lane.owner, lane.rate, lane.txSource);
    }
    for (const DesignPll &pll : design.plls)
        model.claimPll(pll.pll, pll.vco, pll.refClock, pll.owner);
    for (const DesignRefClock &clock : design.refClocks)
        model.claimRefSource(clock.source, clock.frequency, clock.owner, clock.useCount, false);
    model.protocols = design.instances;
}

} // namespace IPSERDESIP
