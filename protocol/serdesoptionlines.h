#pragma once

#include <parametermap.h>

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

// The SERDES configuration lines of a core (the .ini record) and its module options.
namespace IPJESD204B {

// The receive-equaliser bias of the two quads as the host's global data holds them.
struct QuadBias
{
    QVariant q0;
    QVariant q1;
};

// The core's lines before the host adds its own: one option block per recorded lane that
// names a known lane, the reference-clock frequency line, then the bias lines.
void appendIniLines(QStringList &ini, const IPSERDESIP::ParameterMap &params,
                    const QString &deviceName, const QuadBias &bias);

// The blocks of the recorded lanes, in list order; unknown lane names are skipped.
void appendRecordedLaneBlocks(QStringList &ini, const IPSERDESIP::ParameterMap &params,
                              const QString &deviceName);
// "q0_refclk0_freq 122.88" for a known source; nothing otherwise.
void appendRefClockFrequencyLine(QStringList &lines, const QString &source,
                                 const QString &frequencyText);
// One bias line per quad in use, quad 0 first, when the set asks for quad-wide bias.
void appendBiasLines(QStringList &ini, const IPSERDESIP::ParameterMap &params,
                     const QuadBias &bias);

// "-<module><option> <value>" lines that describe the core instance to the host.
void appendModuleOptions(QStringList &options, const IPSERDESIP::ParameterMap &params);

// The 'g' six-significant-digit form of a frequency text; a text that is no number gives 0.
QString frequencyValue(const QString &frequencyText);

} // namespace IPJESD204B
