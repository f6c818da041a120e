// STUB: lane offer and duplicate lanes
#include "jesd204bdlg.h"

namespace IPJESD204B {
void jesd204bdlg::updateLaneConect() {}
bool jesd204bdlg::isLaneShareable(const QString &) const { return false; }
bool jesd204bdlg::checkDuplicateLanes() { return false; }
} // namespace IPJESD204B
