// STUB: generation
#include "jesd204b.h"
#include "laneoptions.h"

#include <message.h>

namespace IPJESD204B {

bool jesd204b::generate(const QMap<QString, QVariant> &, QStringList &, QStringList &,
                        QStringList &, QString &, bool)
{
    return false;
}

IPSERDESIP::Message *jesd204b::resources(const QMap<QString, QVariant> &)
{
    return new IPSERDESIP::Message;
}

void jesd204b::appendLaneOptions(QStringList &, const QString &, const QString &) const {}

void appendLaneOptionLines(QStringList &, const QString &, const QString &,
                           const LaneOptionValues &)
{
}

} // namespace IPJESD204B
