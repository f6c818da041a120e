#include "configforms.h"
#include "formwidgets.h"
#include "jesd204bdlg.h"
#include "nametables.h"
#include "parameterkeys.h"
#include "parameterrules.h"

#include <serdes.h>

#include <QGridLayout>
#include <QRegExp>
#include <QRegExpValidator>

#include <memory>

namespace IPJESD204B {

namespace {

using FormWidgets::selectText;

void installValidator(QLineEdit *edit, const QString &pattern)
{
    edit->setValidator(new QRegExpValidator(QRegExp(pattern), edit));
}

// Devices of groups A and B have one quad: the rows beyond its lanes go, spacers included.
void removeLaneRowsFrom(phy_config &phy, int firstRemoved)
{
    const auto boxes = FormWidgets::laneBoxes(phy);
    const auto labels = FormWidgets::laneLabels(phy);
    QGridLayout *grid = phy.gridLayout_2;
    for (int row = firstRemoved; row < FormWidgets::LaneRows; ++row) {
        labels[row]->hide();
        boxes[row]->hide();
        grid->removeWidget(labels[row]);
        grid->removeWidget(boxes[row]);
    }
    for (int row = firstRemoved; row < FormWidgets::LaneRows; ++row) {
        QLayoutItem *item = grid->itemAtPosition(row, 2);
        if (item && item->spacerItem()) {
            grid->removeItem(item);
            std::unique_ptr<QLayoutItem> removed(item);
        }
    }
}

// Choice lists, validators and defaults of the core tab.
void fillCoreForm(core_config &core)
{
    core.comboBoxLmfcBuffer->addItems(ParameterRules::choices(Key::LmfcBuffer));
    selectText(core.comboBoxLmfcBuffer, QStringLiteral("1024"));
    core.defaultSysrefAlw->addItems(ParameterRules::choices(Key::SysrefAlways));
    selectText(core.defaultSysrefAlw, QStringLiteral("Always Off"));
    core.defaultScram->addItems(ParameterRules::choices(Key::ScramblingOn));
    selectText(core.defaultScram, QStringLiteral("Scrambling OFF"));
    installValidator(core.defaultF, QStringLiteral("^\\d{0,3}"));
    installValidator(core.defaultK, QStringLiteral("^\\d{0,2}"));
    core.defaultF->setText(QStringLiteral("4"));
    core.defaultK->setText(QStringLiteral("32"));
    core.defaultSysrefReq->addItems(ParameterRules::choices(Key::SysrefRequired));
    selectText(core.defaultSysrefReq, QStringLiteral("Not Required"));
    installValidator(core.lineEditClkFreq, QStringLiteral("^(100|\\d{0,2}(\\.\\d{1,6})?)$"));
    core.lineEditClkFreq->setText(QStringLiteral("10.0"));
}

} // namespace

void jesd204bdlg::initDialog()
{
    const CorePinFigure::Hold hold(m_figure);
    core_config &core = *m_core;
    phy_config &phy = *m_phy;
    afe_config &afe = *m_afe;

    fillCoreForm(core);

    installValidator(phy.lineRate, QStringLiteral("^(\\d{0,2}(\\.\\d{0,8})?)$"));
    phy.lineRate->setText(QStringLiteral("4.9152"));
    const QString deviceName = device().device();
    const QStringList sources = NameTables::offeredRefClocks(deviceName);
    for (int i = 0; i < sources.size(); ++i)
        phy.refClkSource->addItem(sources.at(i), i);
    removeLaneRowsFrom(phy, NameTables::laneRowCount(deviceName));
    selectText(phy.refClkSource, QStringLiteral("Q0 REFCLK0"));
    installValidator(phy.refClkFreq, QStringLiteral("^(\\d{1,3}(\\.\\d{1,8})?)$"));
    phy.refClkFreq->setText(QStringLiteral("122.88"));
    phy.PLL_Selection->addItems(ParameterRules::choices(Key::PllSelection));
    selectText(phy.PLL_Selection, QStringLiteral("QPLL1"));
    phy.LoopbackMode->addItems(ParameterRules::choices(Key::LoopbackMode));
    selectText(phy.LoopbackMode, QStringLiteral("OFF"));

    afe.differeSwingComboBox->addItems(ParameterRules::choices(Key::DifferentialSwing));
    selectText(afe.differeSwingComboBox, QStringLiteral("900mV"));
    afe.sdThresholdComboBox->addItems(ParameterRules::choices(Key::SdThreshold));
    selectText(afe.sdThresholdComboBox, QStringLiteral("100mV"));

    connectSignals();
    onNumOfLanesChanged();
    updateLaneConect();

    const double knownFrequency =
        IPSERDESIP::serdes::instance()->getFreqByRefsrc(phy.refClkSource->currentText());
    if (knownFrequency != 0.0) {
        phy.refClkFreq->setText(QStringLiteral("%1").arg(knownFrequency, 0, 'g', 6));
        phy.refClkFreq->setEnabled(false);
    } else {
        // Usually still the text set above: setting it again would only lay it out again.
        if (phy.refClkFreq->text() != QLatin1String("122.88"))
            phy.refClkFreq->setText(QStringLiteral("122.88"));
        phy.refClkFreq->setEnabled(true);
    }

    updateBiasDefaultValue();
    onFFEModeChanged();
    onEqualizationModeChanged();
    calculateFFE_C0();
    fileNameConnectCreatIn();
}

void jesd204bdlg::connectSignals()
{
    using Self = jesd204bdlg;
    const auto indexChanged = QOverload<int>::of(&QComboBox::currentIndexChanged);
    const auto valueChanged = QOverload<int>::of(&QSpinBox::valueChanged);
    const QRadioButton *coreModes[] = {m_core->Receive, m_core->Transmit, m_core->Both};
    const QRadioButton *pcsWidths[] = {m_phy->radioButton32Bit, m_phy->radioButton64Bit};
    const auto laneBoxes = FormWidgets::laneBoxes(*m_phy);
    QComboBox *laneCount = m_core->comboxNumOfLanes;

    for (const QRadioButton *button : coreModes)
        connect(button, &QRadioButton::toggled, this, &Self::onCoreModeChanged);
    connect(laneCount, indexChanged, this, &Self::onNumOfLanesChanged);
    for (const QRadioButton *button : coreModes)
        connect(button, &QRadioButton::toggled, this, &Self::updateLaneConect);
    for (QComboBox *box : laneBoxes)
        connect(box, indexChanged, this, &Self::updatePLLSel);
    connect(m_phy->lineRate, &QLineEdit::editingFinished, this, &Self::updatePLLSel);
    for (const QRadioButton *button : pcsWidths)
        connect(button, &QRadioButton::toggled, this, &Self::refreshFigure);

    connect(m_core->defaultF, &QLineEdit::editingFinished, this, &Self::checkDefaultF);
    connect(m_core->defaultK, &QLineEdit::editingFinished, this, &Self::checkDefaultK);
    connect(m_core->lineEditClkFreq, &QLineEdit::editingFinished, this, &Self::checkClkFreq);
    connect(m_phy->lineRate, &QLineEdit::editingFinished, this, &Self::checkLineRate);
    connect(m_phy->refClkFreq, &QLineEdit::editingFinished, this, &Self::checkRefClkFreq);
    connect(m_phy->refClkSource, indexChanged, this, &Self::updatedRefClkFreq);
    // The button's clicked(bool) must not reach `prompt`: wire it to the argument-less slot.
    connect(m_phy->pushButton, SIGNAL(clicked()), this, SLOT(onButtonCalculateClicked()));

    connect(laneCount, indexChanged, this, &Self::resetFlagforBias);
    for (QComboBox *box : laneBoxes)
        connect(box, indexChanged, this, &Self::resetFlagforBias);
    connect(m_afe->biasSpinBox, valueChanged, this, &Self::resetFlagforBias);
    connect(laneCount, indexChanged, this, &Self::updateBiasDefaultValue);
    for (QComboBox *box : laneBoxes)
        connect(box, indexChanged, this, &Self::updateBiasDefaultValue);
    connect(m_afe->cmSpinBox, valueChanged, this, &Self::calculateFFE_C0);
    connect(m_afe->c1SpinBox, valueChanged, this, &Self::calculateFFE_C0);
    connect(m_afe->ffeModeCombox, indexChanged, this, &Self::onFFEModeChanged);
    connect(m_afe->equalizationModeCombox, indexChanged, this, &Self::onEqualizationModeChanged);

    for (const QRadioButton *button : coreModes)
        connect(button, &QRadioButton::toggled, this, &Self::refreshFigure);
    for (QComboBox *box : laneBoxes)
        connect(box, indexChanged, this, &Self::refreshFigure);
    connect(m_phy->PLL_Selection, indexChanged, this, &Self::refreshFigure);
    connect(laneCount, indexChanged, this, &Self::refreshFigure);
    connect(m_opt->checkBoxDRPPort, &QCheckBox::toggled, this, &Self::refreshFigure);
}

} // namespace IPJESD204B
