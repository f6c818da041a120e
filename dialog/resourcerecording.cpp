#include "configforms.h"
#include "jesd204bdlg.h"
#include "laneoptions.h"
#include "nametables.h"

#include <serdes.h>
#include <serdesfunctions.h>

namespace IPJESD204B {

LaneOptionValues jesd204bdlg::laneOptionValues() const
{
    const phy_config &phy = *m_phy;
    const afe_config &afe = *m_afe;
    LaneOptionValues values;
    values.lineRate = phy.lineRate->text();
    values.pllSelection = phy.PLL_Selection->currentText();
    values.loopbackMode = phy.LoopbackMode->currentText();
    values.deviceName = device().device();
    if (phy.radioButton32Bit->isChecked())
        values.pcsWidth = PcsWidth::Bits32;
    else if (phy.radioButton64Bit->isChecked())
        values.pcsWidth = PcsWidth::Bits64;
    // Without a receive-only or transmit-only choice the lane carries both directions,
    // whatever the Both button says.
    if (m_core->Receive->isChecked())
        values.frontEnd = FrontEndGroups::Receive;
    else if (m_core->Transmit->isChecked())
        values.frontEnd = FrontEndGroups::Transmit;
    else
        values.frontEnd = FrontEndGroups::ReceiveThenTransmit;
    values.sdThreshold = afe.sdThresholdComboBox->currentText();
    values.equalizationMode = afe.equalizationModeCombox->currentText();
    values.att = afe.attSpinBox->value();
    values.boost = afe.boostSpinBox->value();
    values.differentialSwing = afe.differeSwingComboBox->currentText();
    values.ffeMode = afe.ffeModeCombox->currentText();
    values.ffeCm = afe.cmSpinBox->value();
    values.ffeC1 = afe.c1SpinBox->value();
    values.ffeC0 = afe.c0Lael->text();
    return values;
}

void jesd204bdlg::appendLaneOptions(QStringList &options, const QString &lanePrefix,
                                    const QString &quadPrefix) const
{
    appendLaneOptionLines(options, lanePrefix, quadPrefix, laneOptionValues());
}

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
    const CoreDirection direction = selectedDirection();
    const QStringList lanes = m_usedLanes;
    for (const QString &lane : lanes) {
        if (const std::optional<LaneRow> row = NameTables::laneByDisplayName(lane)) {
            appendLaneOptions(m_serdesOptions, row->lanePrefix, row->quadPrefix);
            if (direction == CoreDirection::Receive)
                m_laneResources << row->rxResource;
            else if (direction == CoreDirection::Transmit)
                m_laneResources << row->txResource;
            else if (direction == CoreDirection::Both)
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
