#include "jesd204bdlg.h"

#include "formwidgets.h"

#include "dialogrules.h"
#include "nametables.h"
#include "ui_core_config.h"
#include "ui_phy_config.h"

#include <serdes.h>

#include <QComboBox>

#include <array>

namespace IPJESD204B {

void jesd204bdlg::updateLaneConect()
{
    const FigureHold hold(*this);
    const int mode = coreModeNumber(selectedDirection());

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
            } else if (status == mode) {
                lane.state = LaneState::UsedInOwnDirection;
                lane.takenByExclusiveProtocol = !isLaneShareable(instance->name());
            } else {
                lane.state = LaneState::UsedOtherwise;
            }
        }
        occupancy.append(lane);
    }
    m_availableLanes = offeredLanes(occupancy);
    m_availableLaneCount = m_availableLanes.size();

    // The boxes' own signals carry the refill to the lane rows and the bias, step by step:
    // clearing the count passes through no lane in use, which puts the bias back to neutral.
    QComboBox *count = m_core->comboxNumOfLanes;
    const QString remembered = count->currentText();
    QStringList counts;
    for (int n = 1; n <= m_availableLaneCount; ++n)
        counts << QString::number(n);
    count->clear();
    count->addItems(counts);
    const int countIndex = laneCountIndex(counts, remembered);
    if (countIndex >= 0)
        count->setCurrentIndex(countIndex);

    // The PLL list follows the lanes once they are all chosen, not once per refilled box.
    const auto boxes = FormWidgets::laneBoxes(*m_phy);
    const auto indexChanged = QOverload<int>::of(&QComboBox::currentIndexChanged);
    std::array<bool, FormWidgets::LaneRows> wired{};
    for (int k = 0; k < FormWidgets::LaneRows; ++k)
        wired[k] = disconnect(boxes[k], indexChanged, this, &jesd204bdlg::updatePLLSel);
    for (int k = 0; k < FormWidgets::LaneRows; ++k) {
        boxes[k]->clear();
        boxes[k]->addItems(m_availableLanes);
        if (k < m_availableLanes.size())
            boxes[k]->setCurrentIndex(k);
    }
    // Only what was wired goes back, so a run before the wiring cannot wire a box twice.
    for (int k = 0; k < FormWidgets::LaneRows; ++k) {
        if (wired[k])
            connect(boxes[k], indexChanged, this, &jesd204bdlg::updatePLLSel);
    }
    updatePLLSel();
}

bool jesd204bdlg::isLaneShareable(const QString &laneInstanceName) const
{
    const IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    for (const QString &protocol : exclusiveProtocols()) {
        if (!IPJESD204B::isLaneShareable(laneInstanceName, model->findLaneName(protocol)))
            return false;
    }
    return true;
}

bool jesd204bdlg::checkDuplicateLanes()
{
    collectUsedLanes();
    for (const QString &lane : NameTables::laneDisplayNames()) {
        if (m_usedLanes.count(lane) >= 2) {
            showErrorBox(QStringLiteral("Selected duplicate %1").arg(lane),
                         QStringLiteral(":/image/"), true);
            return false;
        }
    }
    return true;
}

void jesd204bdlg::updatePLLSel()
{
    const FigureHold hold(*this);
    QComboBox *box = m_phy->PLL_Selection;
    const QString remembered = box->currentText();
    box->clear();

    const IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    const double lineRate = m_phy->lineRate->text().toDouble();
    std::array<QuadPllState, 2> quads;
    for (const QuadRow &quad : NameTables::quads()) {
        QuadPllState &state = quads[quad.quad];
        state.qpll0Running = model->checkPllEnable(quad.qpll0Resource);
        state.qpll1Running = model->checkPllEnable(quad.qpll1Resource);
        state.serving =
            quad.quad == 0 ? model->checkPLLforQuad0(lineRate) : model->checkPLLforQuad1(lineRate);
    }

    collectUsedLanes();
    const QStringList &selections = NameTables::pllSelections();
    for (const QString &choice : pllChoices(m_usedLanes, quads))
        box->addItem(choice, selections.indexOf(choice));

    if (!remembered.isEmpty()) {
        const int index = box->findText(remembered);
        if (index >= 0)
            box->setCurrentIndex(index);
    }
}

} // namespace IPJESD204B
