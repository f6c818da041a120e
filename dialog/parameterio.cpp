#include "jesd204bdlg.h"

#include "biasandffe.h"
#include "configforms.h"
#include "formwidgets.h"
#include "parameterkeys.h"

namespace IPJESD204B {

namespace {

using FormWidgets::selectText;

// A stored set may lack any key: each then reads as the model's absent-key value.
QString storedText(const IPSERDESIP::ParameterMap &params, const QString &key)
{
    return valueOrAbsent(params, key).toString();
}

// Lane and PLL choices follow the design: a stored choice that is not offered is left alone.
void selectIfOffered(QComboBox *box, const QString &text)
{
    const int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        box->setCurrentIndex(index);
}

QString laneConnectKey(int lane)
{
    return QString(Key::LaneConnectTemplate).arg(lane);
}

} // namespace

void jesd204bdlg::writeParameters()
{
    const core_config &core = *m_core;
    const phy_config &phy = *m_phy;
    const afe_config &afe = *m_afe;
    IPSERDESIP::ParameterMap &set = *m_parameters;

    set.insert(Key::TargetDevice, device().id());
    set.insert(Key::Type, m_ipInfo.value(QStringLiteral("ipcore.id")).toString());
    set.insert(Key::Version, QString(ParameterVersion));
    set.insert(Key::SynthesisTool, uiSynthesisTool());
    set.insert(Key::Lang, uiLanguageIndex());
    set.insert(Key::File, fileName());
    set.insert(Key::Module, moduleName());
    set.insert(Key::RecordLanes, m_usedLanes);

    set.insert(Key::Receive, core.Receive->isChecked());
    set.insert(Key::Transmit, core.Transmit->isChecked());
    set.insert(Key::Both, core.Both->isChecked());
    set.insert(Key::NumberOfLanes, core.comboxNumOfLanes->currentText());
    set.insert(Key::LmfcBuffer, core.comboBoxLmfcBuffer->isEnabled()
                                    ? core.comboBoxLmfcBuffer->currentText()
                                    : QStringLiteral("1024"));
    set.insert(Key::RpatGenerator,
               core.rpatGenerator->isChecked() && core.rpatGenerator->isEnabled());
    set.insert(Key::JspatGenerator,
               core.jspatGenerator->isChecked() && core.jspatGenerator->isEnabled());

    set.insert(Key::SysrefAlways, core.defaultSysrefAlw->currentText());
    set.insert(Key::ScramblingOn, core.defaultScram->currentText());
    set.insert(Key::DefaultF, core.defaultF->text());
    set.insert(Key::DefaultK, core.defaultK->text());
    set.insert(Key::SysrefRequired, core.defaultSysrefReq->currentText());
    set.insert(Key::FixedConfigEnable, core.checkBoxFixedCfgEnable->isChecked());
    set.insert(Key::ClockFrequency, core.lineEditClkFreq->text());
    set.insert(Key::LineRate, phy.lineRate->text());
    set.insert(Key::PcsWidth32, phy.radioButton32Bit->isChecked());
    set.insert(Key::PcsWidth64, phy.radioButton64Bit->isChecked());
    set.insert(Key::RefClkSource, phy.refClkSource->currentText());
    set.insert(Key::RefClkFrequency, phy.refClkFreq->text());
    set.insert(Key::PllSelection, phy.PLL_Selection->currentText());
    set.insert(Key::LoopbackMode, phy.LoopbackMode->currentText());

    const auto boxes = FormWidgets::laneBoxes(phy);
    for (int lane = 0; lane < FormWidgets::LaneRows; ++lane)
        set.insert(laneConnectKey(lane), boxes[lane]->currentText());

    set.insert(Key::DifferentialSwing, afe.differeSwingComboBox->currentText());
    set.insert(Key::FfeMode, afe.ffeModeCombox->currentText());
    set.insert(Key::FfeCm, afe.cmSpinBox->value());
    set.insert(Key::FfeC1, afe.c1SpinBox->value());
    set.insert(Key::FfeC0, afe.c0Lael->text());
    set.insert(Key::SdThreshold, afe.sdThresholdComboBox->currentText());
    set.insert(Key::EqualizationMode, afe.equalizationModeCombox->currentText());
    set.insert(Key::Att, afe.attSpinBox->value());
    set.insert(Key::Boost, afe.boostSpinBox->value());
    set.insert(Key::DrpPorts, m_opt->checkBoxDRPPort->isChecked());
}

bool jesd204bdlg::loadParameters(const IPSERDESIP::ParameterMap &params)
{
    if (params.value(Key::Version).toString() != ParameterVersion) {
        showErrorBox(QStringLiteral("This version of specified IP Config file is incompatible "
                                    "with current IP Core Generator."),
                     QStringLiteral("://image/"), false);
        return false;
    }
    applyParameters(params);
    return true;
}

void jesd204bdlg::applyParameters(const IPSERDESIP::ParameterMap &params)
{
    const CorePinFigure::Hold hold(m_figure);
    core_config &core = *m_core;
    phy_config &phy = *m_phy;
    afe_config &afe = *m_afe;
    const auto flag = [&params](const QString &key) { return valueOrAbsent(params, key).toBool(); };
    const auto number = [&params](const QString &key) {
        return valueOrAbsent(params, key).toInt();
    };

    uiSetSynthesisTool(storedText(params, Key::SynthesisTool));
    uiSetLanguageIndex(number(Key::Lang));

    // Exclusive buttons: setting one false never unselects it, the last one set true wins.
    core.Receive->setChecked(flag(Key::Receive));
    core.Transmit->setChecked(flag(Key::Transmit));
    core.Both->setChecked(flag(Key::Both));
    selectText(core.comboxNumOfLanes, storedText(params, Key::NumberOfLanes));
    selectText(core.comboBoxLmfcBuffer, storedText(params, Key::LmfcBuffer));
    core.rpatGenerator->setChecked(flag(Key::RpatGenerator));
    core.jspatGenerator->setChecked(flag(Key::JspatGenerator));

    selectText(core.defaultSysrefAlw, storedText(params, Key::SysrefAlways));
    selectText(core.defaultScram, storedText(params, Key::ScramblingOn));
    core.defaultF->setText(storedText(params, Key::DefaultF));
    core.defaultK->setText(storedText(params, Key::DefaultK));
    selectText(core.defaultSysrefReq, storedText(params, Key::SysrefRequired));
    core.checkBoxFixedCfgEnable->setChecked(flag(Key::FixedConfigEnable));

    core.lineEditClkFreq->setText(storedText(params, Key::ClockFrequency));
    phy.lineRate->setText(storedText(params, Key::LineRate));
    selectText(phy.refClkSource, storedText(params, Key::RefClkSource));
    phy.radioButton32Bit->setChecked(flag(Key::PcsWidth32));
    phy.radioButton64Bit->setChecked(flag(Key::PcsWidth64));
    phy.refClkFreq->setText(storedText(params, Key::RefClkFrequency));
    selectText(phy.LoopbackMode, storedText(params, Key::LoopbackMode));

    const auto boxes = FormWidgets::laneBoxes(phy);
    for (int lane = 0; lane < FormWidgets::LaneRows; ++lane)
        selectIfOffered(boxes[lane], storedText(params, laneConnectKey(lane)));
    // A lane box already on its stored lane sends no change, so the PLL offer is renewed for
    // the stored line rate here: a running PLL that serves it is offered too.
    updatePLLSel();
    selectIfOffered(phy.PLL_Selection, storedText(params, Key::PllSelection));

    selectText(afe.differeSwingComboBox, storedText(params, Key::DifferentialSwing));
    selectText(afe.ffeModeCombox, storedText(params, Key::FfeMode));
    afe.cmSpinBox->setValue(number(Key::FfeCm));
    afe.c1SpinBox->setValue(number(Key::FfeC1));
    afe.c0Lael->setText(storedText(params, Key::FfeC0));
    selectText(afe.sdThresholdComboBox, storedText(params, Key::SdThreshold));
    selectText(afe.equalizationModeCombox, storedText(params, Key::EqualizationMode));
    afe.attSpinBox->setValue(number(Key::Att));
    afe.boostSpinBox->setValue(number(Key::Boost));
    m_opt->checkBoxDRPPort->setChecked(flag(Key::DrpPorts));

    collectUsedLanes();
    m_bias->restore(m_usedLanes, params);
}

} // namespace IPJESD204B
