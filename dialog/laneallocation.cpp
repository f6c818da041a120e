#include "laneallocation.h"

#include "configforms.h"
#include "dialogrules.h"
#include "formwidgets.h"
#include "nametables.h"

#include <serdes.h>

#include <QComboBox>

#include <array>

namespace IPJESD204B {

namespace {

// A lane used in the core's own direction may be offered again unless an exclusive protocol
// lists it.
bool isLaneShareable(const QString &laneInstanceName)
{
    const IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    for (const QString &protocol : exclusiveProtocols()) {
        if (!IPJESD204B::isLaneShareable(laneInstanceName, model->findLaneName(protocol)))
            return false;
    }
    return true;
}

} // namespace

LaneAllocation::LaneAllocation(core_config &core, phy_config &phy) : m_core(core), m_phy(phy) {}

void LaneAllocation::offerLanes(int coreMode)
{
    const QMap<QString, IPSERDESIP::Instance *> instances =
        IPSERDESIP::serdes::instance()->allInstance();
    QList<LaneOccupancy> occupancy;
    for (const LaneRow &row : NameTables::lanes()) {
        LaneOccupancy lane{row.displayName, LaneState::Absent, false};
        if (const auto *instance =
                dynamic_cast<const IPSERDESIP::LANE *>(instances.value(row.resource))) {
            const int status = instance->getLaneStatus();
            if (status == IPSERDESIP::LANE::Free) {
                lane.state = LaneState::Free;
            } else if (status == coreMode) {
                lane.state = LaneState::UsedInOwnDirection;
                lane.takenByExclusiveProtocol = !isLaneShareable(instance->name());
            } else {
                lane.state = LaneState::UsedOtherwise;
            }
        }
        occupancy.append(lane);
    }
    m_available = offeredLanes(occupancy);

    // The box's own signals carry the refill to the lane rows and the bias, step by step:
    // clearing the count passes through no lane in use, which puts the bias back to neutral.
    QComboBox *count = m_core.comboxNumOfLanes;
    const QString remembered = count->currentText();
    QStringList counts;
    for (int n = 1; n <= m_available.size(); ++n)
        counts << QString::number(n);
    count->clear();
    count->addItems(counts);
    const int countIndex = laneCountIndex(counts, remembered);
    if (countIndex >= 0)
        count->setCurrentIndex(countIndex);
}

void LaneAllocation::fillLaneBoxes()
{
    const auto boxes = FormWidgets::laneBoxes(m_phy);
    for (int k = 0; k < FormWidgets::LaneRows; ++k) {
        boxes[k]->clear();
        boxes[k]->addItems(m_available);
        if (k < m_available.size())
            boxes[k]->setCurrentIndex(k);
    }
}

void LaneAllocation::offerPlls(const QStringList &usedLanes)
{
    QComboBox *box = m_phy.PLL_Selection;
    const QString remembered = box->currentText();
    box->clear();

    const IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    const double lineRate = m_phy.lineRate->text().toDouble();
    std::array<QuadPllState, 2> quads;
    for (const QuadRow &quad : NameTables::quads()) {
        QuadPllState &state = quads[quad.quad];
        state.qpll0Running = model->checkPllEnable(quad.qpll0Resource);
        state.qpll1Running = model->checkPllEnable(quad.qpll1Resource);
        state.serving =
            quad.quad == 0 ? model->checkPLLforQuad0(lineRate) : model->checkPLLforQuad1(lineRate);
    }

    const QStringList &selections = NameTables::pllSelections();
    for (const QString &choice : pllChoices(usedLanes, quads))
        box->addItem(choice, selections.indexOf(choice));

    if (!remembered.isEmpty()) {
        const int index = box->findText(remembered);
        if (index >= 0)
            box->setCurrentIndex(index);
    }
}

QStringList LaneAllocation::usedLanes() const
{
    QStringList used;
    for (const QComboBox *box : FormWidgets::laneBoxes(m_phy)) {
        if (box->isEnabled())
            used << box->currentText();
    }
    return used;
}

QString LaneAllocation::duplicateLane(const QStringList &usedLanes)
{
    for (const QString &lane : NameTables::laneDisplayNames()) {
        if (usedLanes.count(lane) >= 2)
            return lane;
    }
    return QString();
}

} // namespace IPJESD204B
