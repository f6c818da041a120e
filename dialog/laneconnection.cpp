#include "jesd204bdlg.h"

#include "formwidgets.h"

#include "model/nametables.h"
#include "ui_core_config.h"
#include "ui_phy_config.h"

#include <serdes.h>

#include <QComboBox>
#include <QSignalBlocker>

#include <vector>

namespace IPJESD204B {

namespace {

// Protocols whose lane instances may not share a SERDES lane with this core.
const char *const exclusiveProtocols[] = {"Quillan 64B66B", "Quillan 8B10B"};

// Index of the lane count to show: the remembered one when still offered, otherwise the
// offered count nearest to it ("2" on the first fill), so that a count is always chosen.
int laneCountIndex(const QComboBox &box, const QString &remembered, int offered)
{
    const QString wanted = remembered.isEmpty() ? QStringLiteral("2") : remembered;
    const int exact = box.findText(wanted);
    if (exact >= 0 || offered == 0)
        return exact;
    return qBound(1, wanted.toInt(), offered) - 1;
}

} // namespace

void jesd204bdlg::updateLaneConect()
{
    const FigureHold hold(*this);
    m_availableLanes.clear();
    m_availableLaneCount = 0;
    const int mode = checkCoreMode();

    const QMap<QString, IPSERDESIP::Instance *> instances =
        IPSERDESIP::serdes::instance()->allInstance();
    for (const LaneRow &row : NameTables::lanes()) {
        const auto *lane = dynamic_cast<const IPSERDESIP::LANE *>(instances.value(row.resource));
        if (!lane)
            continue;
        const int status = lane->getLaneStatus();
        if (status == IPSERDESIP::LANE::Free || (status == mode && isLaneShareable(lane->name()))) {
            m_availableLanes.append(row.displayName);
            ++m_availableLaneCount;
        }
    }

    QComboBox *count = m_core->comboxNumOfLanes;
    const auto boxes = FormWidgets::laneBoxes(*m_phy);
    {
        // A refill passes every box through several indexes; what depends on them is worked
        // out once below, from the final choices.
        std::vector<QSignalBlocker> blockers;
        blockers.reserve(FormWidgets::LaneRows + 1);
        blockers.emplace_back(count);
        for (QComboBox *box : boxes)
            blockers.emplace_back(box);

        const QString remembered = count->currentText();
        QStringList counts;
        for (int n = 1; n <= m_availableLaneCount; ++n)
            counts << QString::number(n);
        count->clear();
        count->addItems(counts);
        const int countIndex = laneCountIndex(*count, remembered, m_availableLaneCount);
        if (countIndex >= 0)
            count->setCurrentIndex(countIndex);

        for (int k = 0; k < FormWidgets::LaneRows; ++k) {
            boxes[k]->clear();
            boxes[k]->addItems(m_availableLanes);
            if (k < m_availableLanes.size())
                boxes[k]->setCurrentIndex(k);
        }
    }
    onNumOfLanesChanged();
    resetFlagforBias();
    updateBiasDefaultValue();
    updatePLLSel();
}

bool jesd204bdlg::isLaneShareable(const QString &laneInstanceName) const
{
    const IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    for (const char *protocol : exclusiveProtocols) {
        const QStringList taken = model->findLaneName(QString::fromLatin1(protocol));
        for (const QString &name : taken) {
            if (name.contains(laneInstanceName))
                return false;
        }
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

} // namespace IPJESD204B
