#pragma once

#include <QString>
#include <QStringList>

namespace IPJESD204B {

class core_config;
class phy_config;

// Which SERDES lanes and PLLs the core may take, by what the rest of the design leaves free in
// the host's SERDES model, and the lane and PLL boxes that offer them.
class LaneAllocation
{
public:
    LaneAllocation(core_config &core, phy_config &phy);

    QStringList availableLanes() const { return m_available; }
    int availableLaneCount() const { return m_available.size(); }

    // Finds the lanes a core of the mode (1 receive, 2 transmit, 3 both) may take, in table
    // order, and offers their counts, keeping the chosen count where it can.
    void offerLanes(int coreMode);
    // Every lane box offers every available lane; row k starts on the k-th.
    void fillLaneBoxes();
    // PLL choices for the quads of the used lanes at the entered line rate; the chosen one
    // stays while it is offered.
    void offerPlls(const QStringList &usedLanes);
    // The texts of the enabled lane boxes, row 0 first.
    QStringList usedLanes() const;
    // The first lane, in table order, that the used lanes name twice; empty when none.
    static QString duplicateLane(const QStringList &usedLanes);

private:
    core_config &m_core;
    phy_config &m_phy;
    QStringList m_available;
};

} // namespace IPJESD204B
