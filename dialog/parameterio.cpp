// STUB: parameter collection and restore
#include "jesd204bdlg.h"

namespace IPJESD204B {
void jesd204bdlg::collectUsedLanes() {}
void jesd204bdlg::writeParameters() {}
bool jesd204bdlg::loadParameters(const QMap<QString, QVariant> &) { return false; }
void jesd204bdlg::applyParameters(const QMap<QString, QVariant> &) {}
} // namespace IPJESD204B
