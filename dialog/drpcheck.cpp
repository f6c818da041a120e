// STUB: DRP conflict check
#include "jesd204bdlg.h"

namespace IPJESD204B {
bool jesd204bdlg::checkDrpConflict() { return false; }
} // namespace IPJESD204B
