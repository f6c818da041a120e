#include "jesd204bdlg.h"

#include "dialogrules.h"
#include "ui_afe_config.h"
#include "ui_core_config.h"
#include "ui_opt_config.h"
#include "ui_phy_config.h"

#include <generator.h>
#include <serdes.h>
#include <serdesfunctions.h>

#include <QCheckBox>
#include <QIcon>
#include <QMessageBox>
#include <QPixmap>
#include <QWidget>

namespace IPJESD204B {

namespace {

QString infoText(const IPSERDESIP::ParameterMap &ipInfo, const char *key)
{
    return ipInfo.value(QLatin1String(key)).toString();
}

} // namespace

jesd204bdlg::jesd204bdlg(const IPSERDESIP::ParameterMap &ipInfo,
                         IPSERDESIP::ParameterMap *parameters, QWidget *parent)
    : protocolGenDlg(parent), m_core(std::make_unique<Ui::core_config>()),
      m_phy(std::make_unique<Ui::phy_config>()), m_afe(std::make_unique<Ui::afe_config>()),
      m_opt(std::make_unique<Ui::opt_config>()), m_ipInfo(ipInfo), m_parameters(parameters)
{
    Q_ASSERT(m_parameters);
    uiSetLabelText(infoText(m_ipInfo, "ipcore.label"));
    uiSetDefaultFileName(infoText(m_ipInfo, "ipcore.target"));
    uiSetModuleName(infoText(m_ipInfo, "ipcore.module"));
    m_helpText = infoText(m_ipInfo, "ipcore.doc.help");

    // The pages are owned by the dialog; the base class reparents them into its tab area.
    // They join the tab area empty and get their forms after: a tab page that already has its
    // form is laid out on the spot (text measured for every label), long before the dialog is
    // shown and laid out anyway.
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
    if (m_availableLaneCount == 0) {
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

    // Record the bias decision, publish the quad biases and the DRP lane record.
    publishBiasAndDrp();
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
