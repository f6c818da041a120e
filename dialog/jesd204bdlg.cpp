// STUB: construction, tabs and accept
#include "jesd204bdlg.h"

#include "ui_afe_config.h"
#include "ui_core_config.h"
#include "ui_opt_config.h"
#include "ui_phy_config.h"

#include <generator.h>

namespace IPJESD204B {

jesd204bdlg::jesd204bdlg(const QMap<QString, QVariant> &ipInfo,
                         QMap<QString, QVariant> *parameters, QWidget *parent)
    : protocolGenDlg(parent), m_core(std::make_unique<Ui::core_config>()),
      m_phy(std::make_unique<Ui::phy_config>()), m_afe(std::make_unique<Ui::afe_config>()),
      m_opt(std::make_unique<Ui::opt_config>()), m_ipInfo(ipInfo), m_parameters(parameters)
{
}

jesd204bdlg::~jesd204bdlg() = default;

void jesd204bdlg::accept() {}

} // namespace IPJESD204B
