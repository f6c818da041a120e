#include "jesd204bdlg.h"

#include "biasandffe.h"
#include "configforms.h"
#include "dialogrules.h"
#include "formwidgets.h"
#include "laneallocation.h"
#include "parameterkeys.h"

#include <generator.h>
#include <serdes.h>
#include <serdesfunctions.h>

#include <QCheckBox>
#include <QComboBox>
#include <QIcon>
#include <QMessageBox>
#include <QPixmap>
#include <QWidget>

#include <array>

namespace IPJESD204B {

namespace {

QString infoText(const IPSERDESIP::ParameterMap &ipInfo, const char *key)
{
    return ipInfo.value(QLatin1String(key)).toString();
}

} // namespace

jesd204bdlg::jesd204bdlg(const IPSERDESIP::ParameterMap &ipInfo,
                         IPSERDESIP::ParameterMap *parameters, QWidget *parent)
    : protocolGenDlg(parent), m_core(std::make_unique<core_config>()),
      m_phy(std::make_unique<phy_config>()), m_afe(std::make_unique<afe_config>()),
      m_opt(std::make_unique<opt_config>()), m_ipInfo(ipInfo), m_parameters(parameters),
      m_lanes(std::make_unique<LaneAllocation>(*m_core, *m_phy)),
      m_bias(std::make_unique<BiasAndFfe>(*m_afe, this)),
      m_figure(
          [this] {
              collectUsedLanes();
              return CorePinFigure::read(*m_core, *m_phy, *m_opt, m_usedLanes);
          },
          [this](const QList<Utils::PinFigure> &pins) { uiSetFigurePins(pins); })
{
    Q_ASSERT(m_parameters);
    uiSetLabelText(infoText(m_ipInfo, "ipcore.label"));
    uiSetDefaultFileName(infoText(m_ipInfo, "ipcore.target"));
    uiSetModuleName(infoText(m_ipInfo, "ipcore.module"));
    m_helpText = infoText(m_ipInfo, "ipcore.doc.help");

    // The pages are owned by the dialog; the base class reparents them into its tab area.
    // They join it empty and get their forms after: a page added with its form is laid out on
    // the spot, long before the dialog is shown (README.md, "Order of the tab pages").
    auto *corePage = new QWidget(this);
    auto *phyPage = new QWidget(this);
    auto *afePage = new QWidget(this);
    auto *optPage = new QWidget(this);
    uiAddTab(corePage, QStringLiteral("JESD204B Core Configuration"));
    uiAddTab(phyPage, QStringLiteral("PHY Configuration"));
    uiAddTab(afePage, QStringLiteral("AFE"));
    uiAddTab(optPage, QStringLiteral("Optional Ports Configuration"));
    m_core->setupUi(corePage);
    m_phy->setupUi(phyPage);
    m_afe->setupUi(afePage);
    m_opt->setupUi(optPage);
}

jesd204bdlg::~jesd204bdlg()
{
    m_core.reset();
    m_phy.reset();
    m_afe.reset();
    m_opt.reset();
    m_calcGenerator.reset();
}

void jesd204bdlg::accept()
{
    const QStringList fileProblems = checkFileOptions();
    if (!fileProblems.isEmpty()) {
        showErrorMsg(fileProblems);
        return;
    }
    if (!m_fileChecked && !checkFileExisting())
        return;
    if (!checkModuleName())
        return;
    if (m_lanes->availableLaneCount() == 0) {
        showErrorBox(QStringLiteral("No available lanes"), QStringLiteral(":/image/"), false);
        return;
    }

    // Each check tells the user itself why it refuses.
    if (!checkDrpConflict())
        return;
    if (!calculateFFE_C0())
        return;
    if (!checkDuplicateLanes())
        return;
    if (!recordResources())
        return;
    if (!onButtonCalculateClicked(false))
        return;

    m_bias->publish(m_usedLanes, *m_parameters);
    publishDrpRecord();
    QDialog::accept();
}

bool jesd204bdlg::checkDrpConflict()
{
    if (!m_opt->checkBoxDRPPort->isChecked())
        return true;

    collectUsedLanes();
    const QString otherModule = drpConflictingModule(IPSERDESIP::serdes::instance()->globalData(),
                                                     IPSERDESIP::FromLaneToInt(m_usedLanes));
    if (otherModule.isNull())
        return true;
    showErrorBox(QStringLiteral("There is a DRP interface conflict between %1 and %2")
                     .arg(otherModule, moduleName()),
                 QStringLiteral("://image/"), true);
    return false;
}

void jesd204bdlg::publishDrpRecord()
{
    if (m_opt->checkBoxDRPPort->isChecked())
        IPSERDESIP::serdes::instance()->setData(GlobalKey::DrpRecordPrefix + moduleName(),
                                                IPSERDESIP::FromLaneToInt(m_usedLanes));
}

QStringList jesd204bdlg::availableLanes() const
{
    return m_lanes->availableLanes();
}

void jesd204bdlg::collectUsedLanes()
{
    m_usedLanes = m_lanes->usedLanes();
}

void jesd204bdlg::updateLaneConect()
{
    const CorePinFigure::Hold hold(m_figure);
    m_lanes->offerLanes(checkCoreMode());
    // The PLL offer follows the lanes once they are all chosen, not once per refilled box.
    // Only what was wired goes back, so a run before the wiring cannot wire a box twice.
    const auto boxes = FormWidgets::laneBoxes(*m_phy);
    const auto indexChanged = QOverload<int>::of(&QComboBox::currentIndexChanged);
    std::array<bool, FormWidgets::LaneRows> wired{};
    for (int k = 0; k < FormWidgets::LaneRows; ++k)
        wired[k] = disconnect(boxes[k], indexChanged, this, &jesd204bdlg::updatePLLSel);
    m_lanes->fillLaneBoxes();
    for (int k = 0; k < FormWidgets::LaneRows; ++k) {
        if (wired[k])
            connect(boxes[k], indexChanged, this, &jesd204bdlg::updatePLLSel);
    }
    updatePLLSel();
}

void jesd204bdlg::updatePLLSel()
{
    const CorePinFigure::Hold hold(m_figure);
    collectUsedLanes();
    m_lanes->offerPlls(m_usedLanes);
}

bool jesd204bdlg::checkDuplicateLanes()
{
    collectUsedLanes();
    const QString duplicate = LaneAllocation::duplicateLane(m_usedLanes);
    if (duplicate.isEmpty())
        return true;
    showErrorBox(QStringLiteral("Selected duplicate %1").arg(duplicate), QStringLiteral(":/image/"),
                 true);
    return false;
}

void jesd204bdlg::refreshFigure()
{
    m_figure.refresh();
}

int jesd204bdlg::biasDecision() const
{
    return biasDecisionNumber(m_bias->decision());
}

bool jesd204bdlg::calculateFFE_C0()
{
    return m_bias->calculateMainTap();
}

void jesd204bdlg::resetFlagforBias()
{
    m_bias->resetDecision();
}

void jesd204bdlg::updateBiasDefaultValue()
{
    collectUsedLanes();
    m_bias->updateDefault(m_usedLanes);
}

void jesd204bdlg::showErrorBox(const QString &text, const QString &imageRoot, bool fixedSize)
{
    QMessageBox box(this);
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(QStringLiteral("Error"));
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    if (fixedSize)
        box.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    box.setWindowIcon(QIcon(imageRoot + QStringLiteral("module.png")));
    box.setIconPixmap(QPixmap(imageRoot + QStringLiteral("exclamation.png")));
    box.exec();
}

} // namespace IPJESD204B
