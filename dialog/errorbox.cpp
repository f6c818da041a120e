// STUB: error boxes
#include "jesd204bdlg.h"

namespace IPJESD204B {
void jesd204bdlg::showErrorBox(const QString &, const QString &, bool) {}
} // namespace IPJESD204B
