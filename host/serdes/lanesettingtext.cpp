#include "pllplanner.h"

namespace IPSERDESIP {

using namespace Names;

QString LaneSetting::describe() const
{
    const bool tx = demand.lane.directions & TxDirection;
    const bool rx = demand.lane.directions & RxDirection;
    QStringList dirs;
    if (tx)
        dirs << QStringLiteral("tx");
    if (rx)
        dirs << QStringLiteral("rx");
    QString rate;
    QString dividers;
    if (tx && rx && demand.txRate != demand.rxRate) {
        rate = demand.txRate + QLatin1Char('/') + demand.rxRate;
        dividers = QStringLiteral("D tx %1, rx %2").arg(txDivider).arg(rxDivider);
    } else {
        rate = tx ? demand.txRate : demand.rxRate;
        dividers = QStringLiteral("D %1").arg(tx ? txDivider : rxDivider);
    }
    QString multipliers;
    if (m == 0)
        multipliers = QStringLiteral("dividers set by %1").arg(runningFor);
    else if (demand.kind == PllKind::Cpll)
        multipliers = QStringLiteral("M %1, N1 %2, N2 %3").arg(m).arg(n1).arg(n2);
    else
        multipliers = QStringLiteral("M %1, N %2").arg(m).arg(n1);
    QString text = QStringLiteral("%1 (%2, %3): %4 Gbps on %5, %6, %7, VCO %8 GHz, from %9 at "
                                  "%10 MHz")
                       .arg(demand.label, laneName(demand.lane.quad, demand.lane.lane),
                            dirs.join(QLatin1Char('+')), rate, pll, multipliers, dividers,
                            vco.toString(), demand.refSource)
                       .arg(demand.refFrequency);
    if (!demand.askedFrequency.isEmpty())
        text += QStringLiteral(" (the configuration line's clock; %1 MHz was asked)")
                    .arg(demand.askedFrequency);
    if (!runningFor.isEmpty())
        text += QStringLiteral(" (shared with %1)").arg(runningFor);
    return text;
}

} // namespace IPSERDESIP
