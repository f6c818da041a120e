#include "jesd204bdlg.h"

#include "ui_afe_config.h"
#include "ui_core_config.h"
#include "ui_opt_config.h"
#include "ui_phy_config.h"

#include <generator.h>

namespace IPJESD204B {

// STUB: construction and accept
jesd204bdlg::jesd204bdlg(const QMap<QString, QVariant> &ipInfo,
                         QMap<QString, QVariant> *parameters, QWidget *parent)
    : protocolGenDlg(parent), m_core(std::make_unique<Ui::core_config>()),
      m_phy(std::make_unique<Ui::phy_config>()), m_afe(std::make_unique<Ui::afe_config>()),
      m_opt(std::make_unique<Ui::opt_config>()), m_ipInfo(ipInfo), m_parameters(parameters)
{
}

jesd204bdlg::~jesd204bdlg() = default;

void jesd204bdlg::accept() {}
void jesd204bdlg::initDialog() {}
bool jesd204bdlg::loadParameters(const QMap<QString, QVariant> &) { return false; }
void jesd204bdlg::refreshFigure() {}
void jesd204bdlg::onCoreModeChanged() {}
void jesd204bdlg::updatedRefClkFreq() {}
void jesd204bdlg::updatePLLSel() {}
void jesd204bdlg::updateLaneConect() {}
void jesd204bdlg::onNumOfLanesChanged() {}
int jesd204bdlg::checkCoreMode() { return -1; }
bool jesd204bdlg::onButtonCalculateClicked(bool) { return false; }
void jesd204bdlg::checkDefaultF() {}
void jesd204bdlg::checkDefaultK() {}
void jesd204bdlg::checkClkFreq() {}
void jesd204bdlg::checkLineRate() {}
void jesd204bdlg::checkRefClkFreq() {}
bool jesd204bdlg::calculateFFE_C0() { return false; }
void jesd204bdlg::onFFEModeChanged() {}
void jesd204bdlg::onEqualizationModeChanged() {}
void jesd204bdlg::resetFlagforBias() {}
void jesd204bdlg::updateBiasDefaultValue() {}
void jesd204bdlg::appendLaneOptions(QStringList &, const QString &, const QString &) const {}
bool jesd204bdlg::recordResources() { return false; }
void jesd204bdlg::collectUsedLanes() {}

} // namespace IPJESD204B
