// STUB: initDialog
#include "jesd204bdlg.h"

namespace IPJESD204B {
void jesd204bdlg::initDialog() {}
void jesd204bdlg::connectSignals() {}
} // namespace IPJESD204B
