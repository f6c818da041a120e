// STUB: line-rate and PLL calculation
#include "jesd204bdlg.h"

namespace IPJESD204B {
bool jesd204bdlg::onButtonCalculateClicked(bool) { return false; }
bool jesd204bdlg::checkLaneRateAndPll() { return false; }
bool jesd204bdlg::checkRefClkAccess() { return false; }
void jesd204bdlg::updatedRefClkFreq() {}
} // namespace IPJESD204B
