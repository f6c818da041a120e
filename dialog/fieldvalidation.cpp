#include "configforms.h"
#include "dialogrules.h"
#include "formwidgets.h"
#include "jesd204bdlg.h"

namespace IPJESD204B {

namespace {

// A field outside its range silently gets its default back; no message.
void correct(QLineEdit *edit, const FieldRange &range)
{
    const QString text = edit->text();
    const QString kept = correctedField(text, range);
    if (kept != text)
        edit->setText(kept);
}

void enableAll(std::initializer_list<QWidget *> widgets, bool enabled)
{
    for (QWidget *widget : widgets)
        widget->setEnabled(enabled);
}

} // namespace

void jesd204bdlg::checkDefaultF()
{
    correct(m_core->defaultF, Fields::DefaultF);
}

void jesd204bdlg::checkDefaultK()
{
    correct(m_core->defaultK, Fields::DefaultK);
}

void jesd204bdlg::checkClkFreq()
{
    correct(m_core->lineEditClkFreq, Fields::ClockFrequency);
}

void jesd204bdlg::checkLineRate()
{
    correct(m_phy->lineRate, Fields::LineRate);
}

void jesd204bdlg::checkRefClkFreq()
{
    correct(m_phy->refClkFreq, Fields::RefClockFrequency);
}

CoreDirection jesd204bdlg::selectedDirection() const
{
    return coreDirection(m_core->Receive->isChecked(), m_core->Transmit->isChecked(),
                         m_core->Both->isChecked());
}

int jesd204bdlg::checkCoreMode()
{
    return coreModeNumber(selectedDirection());
}

void jesd204bdlg::onCoreModeChanged()
{
    core_config &core = *m_core;
    core.LMFCBuffer->setEnabled(!core.Transmit->isChecked());
    if (core.Receive->isChecked()) {
        core.rpatGenerator->setChecked(false);
        core.rpatGenerator->setEnabled(false);
        core.jspatGenerator->setChecked(false);
        core.jspatGenerator->setEnabled(false);
    } else {
        core.rpatGenerator->setEnabled(true);
        core.jspatGenerator->setEnabled(true);
    }

    switch (selectedDirection()) {
    case CoreDirection::Receive:
        m_afe->groupBoxRx->show();
        m_afe->groupBoxTx->hide();
        break;
    case CoreDirection::Transmit:
        m_afe->groupBoxRx->hide();
        m_afe->groupBoxTx->show();
        break;
    case CoreDirection::Both:
        m_afe->groupBoxRx->show();
        m_afe->groupBoxTx->show();
        break;
    case CoreDirection::None:
        break;
    }
}

void jesd204bdlg::onNumOfLanesChanged()
{
    // The first `requested` rows take part, the rest are greyed out; no count greys out all.
    const auto boxes = FormWidgets::laneBoxes(*m_phy);
    const auto labels = FormWidgets::laneLabels(*m_phy);
    const int requested = m_core->comboxNumOfLanes->currentText().toInt(nullptr, 10);
    for (int row = 0; row < FormWidgets::LaneRows; ++row) {
        boxes[row]->setEnabled(row < requested);
        labels[row]->setEnabled(row < requested);
    }
}

void jesd204bdlg::onFFEModeChanged()
{
    afe_config &afe = *m_afe;
    const QString mode = afe.ffeModeCombox->currentText();
    if (mode == QLatin1String("Auto")) {
        afe.cmSpinBox->setValue(0);
        afe.c1SpinBox->setValue(0);
        enableAll({afe.cmSpinBox, afe.c1SpinBox, afe.label, afe.label_2}, false);
    } else if (mode == QLatin1String("Manual")) {
        enableAll({afe.cmSpinBox, afe.c1SpinBox, afe.label, afe.label_2}, true);
    }
}

void jesd204bdlg::onEqualizationModeChanged()
{
    afe_config &afe = *m_afe;
    const QString mode = afe.equalizationModeCombox->currentText();
    if (mode == QLatin1String("Auto")) {
        afe.attSpinBox->setValue(7);
        afe.attSpinBox->setEnabled(false);
        afe.boostSpinBox->setValue(9);
        afe.boostSpinBox->setEnabled(false);
        enableAll({afe.label_14, afe.label_15}, false);
    } else if (mode == QLatin1String("Manual")) {
        enableAll({afe.attSpinBox, afe.boostSpinBox, afe.label_14, afe.label_15}, true);
    }
}

} // namespace IPJESD204B
