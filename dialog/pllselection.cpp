// STUB: PLL choice
#include "jesd204bdlg.h"

namespace IPJESD204B {
void jesd204bdlg::updatePLLSel() {}
} // namespace IPJESD204B
