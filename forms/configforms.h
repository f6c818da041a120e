#pragma once

#include "ui_afe_config.h"
#include "ui_core_config.h"
#include "ui_opt_config.h"
#include "ui_phy_config.h"

// The dialog's four tab forms under the plug-in's class names. uic nests a form's class in a
// `Ui` namespace; these add nothing to what it generates.
namespace IPJESD204B {

class core_config : public Ui::core_config
{
};

class phy_config : public Ui::phy_config
{
};

class afe_config : public Ui::afe_config
{
};

class opt_config : public Ui::opt_config
{
};

} // namespace IPJESD204B
