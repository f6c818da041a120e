// STUB: pin figure
#include "jesd204bdlg.h"

namespace IPJESD204B {
void jesd204bdlg::refreshFigure() {}
} // namespace IPJESD204B
