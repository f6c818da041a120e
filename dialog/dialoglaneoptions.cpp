#include "jesd204bdlg.h"
#include "protocol/laneoptions.h"
#include "ui_afe_config.h"
#include "ui_core_config.h"
#include "ui_phy_config.h"

namespace IPJESD204B {

LaneOptionValues jesd204bdlg::laneOptionValues() const
{
    const Ui::phy_config &phy = *m_phy;
    const Ui::afe_config &afe = *m_afe;
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

} // namespace IPJESD204B
