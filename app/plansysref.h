#pragma once

#include <pll/ratio.h>

#include <configuredlink.h>
#include <parametermap.h>

#include <QString>
#include <QStringList>
#include <QVector>

// The JESD204B links of a design and the SYSREF they can share. A design names each core by
// its instance "FILE:MODULE"; the core's parameter set is FILE.json in the design's folder and
// its planned link the link record beside it (FILE.link.json), as plan --emit-set writes them.
namespace HostProgram {

using IPSERDESIP::Ratio;

struct SysrefLink
{
    QString name; // the instance; empty for the core being planned or checked
    Ratio lmfcMHz;
};

struct DesignLinks
{
    QVector<SysrefLink> links;
    QStringList leftOut; // one line per core whose link is unknown
};

QVector<Ratio> lmfcsOf(const QVector<SysrefLink> &links);

// The design's JESD204B cores other than the instance named except.
DesignLinks designLinks(const QString &designPath, const QString &except);

// The LMFC of a stored set's link: lane rate / (10 * F * K); invalid when it gives none.
Ratio storedLmfcMHz(const IPJESD204B::ConfiguredLink &link);

// The lines plan prints for the links (the first is the planned one): each design link, then
// the common SYSREF frequencies or why there is none.
QStringList commonSysrefLines(const QVector<SysrefLink> &links, const Ratio &deviceClockMHz);

// Empty when the links share a SYSREF; else the text saying which link breaks it.
QString noCommonSysrefText(const QVector<SysrefLink> &links, const Ratio &deviceClockMHz);

// check --design: the warning when a stored core and the design's other links share no
// SYSREF; empty when they do or the set gives no link.
QString designSysrefWarning(const QString &designPath, const QString &instance,
                            const IPSERDESIP::ParameterMap &params);

} // namespace HostProgram
