// STUB: resource recording
#include "jesd204bdlg.h"

namespace IPJESD204B {
bool jesd204bdlg::recordResources() { return false; }
} // namespace IPJESD204B
