// STUB: dialog form of the lane options
#include "jesd204bdlg.h"
#include "protocol/laneoptions.h"

namespace IPJESD204B {
LaneOptionValues jesd204bdlg::laneOptionValues() const { return {}; }
void jesd204bdlg::appendLaneOptions(QStringList &, const QString &, const QString &) const {}
} // namespace IPJESD204B
