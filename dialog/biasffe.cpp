// STUB: FFE main tap and quad bias
#include "jesd204bdlg.h"

namespace IPJESD204B {
bool jesd204bdlg::calculateFFE_C0() { return false; }
void jesd204bdlg::resetFlagforBias() {}
void jesd204bdlg::updateBiasDefaultValue() {}
void jesd204bdlg::confirmBiasScope() {}
void jesd204bdlg::appendBiasLines() {}
void jesd204bdlg::publishBiasAndDrp() {}
} // namespace IPJESD204B
