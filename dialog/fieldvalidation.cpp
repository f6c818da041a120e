// STUB: field rules
#include "jesd204bdlg.h"

namespace IPJESD204B {
void jesd204bdlg::onCoreModeChanged() {}
void jesd204bdlg::onNumOfLanesChanged() {}
int jesd204bdlg::checkCoreMode() { return -1; }
void jesd204bdlg::checkDefaultF() {}
void jesd204bdlg::checkDefaultK() {}
void jesd204bdlg::checkClkFreq() {}
void jesd204bdlg::checkLineRate() {}
void jesd204bdlg::checkRefClkFreq() {}
void jesd204bdlg::onFFEModeChanged() {}
void jesd204bdlg::onEqualizationModeChanged() {}
} // namespace IPJESD204B
