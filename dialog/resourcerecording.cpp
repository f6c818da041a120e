#include "jesd204bdlg.h"
#include "model/nametables.h"
#include "ui_phy_config.h"

#include <serdes.h>
#include <serdesfunctions.h>

namespace IPJESD204B {

bool jesd204bdlg::recordResources()
{
    m_laneResources.clear();
    m_pllResources.clear();
    m_refClkResources.clear();
    m_refClkFrequencies.clear();
    m_serdesOptions.clear();
    m_parameters->clear();

    collectUsedLanes();
    if (m_usedLanes.isEmpty())
        return false;

    const QString source = m_phy->refClkSource->currentText();
    const QString frequency = m_phy->refClkFreq->text();
    const QString pllSelection = m_phy->PLL_Selection->currentText();
    const int coreMode = checkCoreMode();
    const QStringList lanes = m_usedLanes;
    for (const QString &lane : lanes) {
        if (const std::optional<LaneRow> row = NameTables::laneByDisplayName(lane)) {
            appendLaneOptions(m_serdesOptions, row->lanePrefix, row->quadPrefix);
            if (coreMode == 1)
                m_laneResources << row->rxResource;
            else if (coreMode == 2)
                m_laneResources << row->txResource;
            else if (coreMode == 3)
                m_laneResources << row->resource;
            if (const std::optional<QString> pll = NameTables::pllResource(pllSelection, *row))
                m_pllResources << *pll;
        }
        // One clock entry per used lane, matched to the table or not.
        m_refClkResources << IPSERDESIP::FromRefOptionToRef(source);
        m_refClkFrequencies << frequency;
    }

    if (const std::optional<QString> line = NameTables::frequencyTemplate(source))
        m_serdesOptions << line->arg(frequency.toDouble(), 0, 'g', 6);

    IPSERDESIP::serdes::instance()->setGlobalResetEnableParam(m_serdesOptions);
    writeParameters();
    return true;
}

} // namespace IPJESD204B
