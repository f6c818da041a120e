#include "topdefines.h"
#include "coredirection.h"
#include "parametervalues.h"

#include "parameterkeys.h"

#include <cmath>

namespace IPJESD204B {

namespace {

using ParameterValues::flag;
using ParameterValues::integer;
using ParameterValues::text;

QString define(const QString &body)
{
    return QLatin1Char('`') + QStringLiteral("define ") + body;
}

QString define(const QString &name, const QString &value)
{
    return define(name + QLatin1Char(' ') + value);
}

QString define(const QString &name, qint64 value)
{
    return define(name, QString::number(value));
}

// A string setting with two known texts gives 0 or 1; any other text gives no line.
void appendChoice(QStringList &lines, const QString &name, const QString &value,
                  const QString &zeroText, const QString &oneText)
{
    if (value == zeroText)
        lines << define(name, 0);
    else if (value == oneText)
        lines << define(name, 1);
}

void appendFixedConfig(QStringList &lines, const IPSERDESIP::ParameterMap &params)
{
    if (!flag(params, Key::FixedConfigEnable)) {
        lines << define(QStringLiteral("FIX_EN"), 0) << define(QStringLiteral("FIX_SCAM"), 0)
              << define(QStringLiteral("FIX_F"), 0);
        return;
    }
    lines << define(QStringLiteral("FIX_EN"), 1);
    appendChoice(lines, QStringLiteral("FIX_SCAM"), text(params, Key::ScramblingOn),
                 QStringLiteral("Scrambling OFF"), QStringLiteral("Scrambling ON"));
    const qint64 f = integer(params, Key::DefaultF);
    if (flag(params, Key::PcsWidth32))
        lines << define(QStringLiteral("FIX_F"), qMin<qint64>(f, 4));
    else if (flag(params, Key::PcsWidth64))
        lines << define(QStringLiteral("FIX_F"), qMin<qint64>(f, 8));
}

} // namespace

QStringList topLevelDefines(const IPSERDESIP::ParameterMap &params)
{
    return {define(QStringLiteral("module_name"), text(params, Key::Module))};
}

QStringList coreDefines(const IPSERDESIP::ParameterMap &params)
{
    QStringList lines;
    const CoreDirection direction = coreDirection(params);
    switch (direction) {
    case CoreDirection::Receive:
        lines << define(QStringLiteral("RX_EN")) << define(QStringLiteral("JESD_TX"), 0)
              << define(QStringLiteral("JESD_RX"), 1);
        break;
    case CoreDirection::Transmit:
        lines << define(QStringLiteral("TX_EN")) << define(QStringLiteral("JESD_TX"), 1)
              << define(QStringLiteral("JESD_RX"), 0);
        break;
    case CoreDirection::Both:
        lines << define(QStringLiteral("TX_AND_RX_EN")) << define(QStringLiteral("JESD_TX"), 1)
              << define(QStringLiteral("JESD_RX"), 1);
        break;
    case CoreDirection::None:
        break;
    }

    lines << define(QStringLiteral("LANE"), text(params, Key::NumberOfLanes));
    // A transmit-only core has no elastic buffer to size.
    lines << (direction == CoreDirection::Transmit
                  ? define(QStringLiteral("BUFFER_SIZE"), 1024)
                  : define(QStringLiteral("BUFFER_SIZE"), text(params, Key::LmfcBuffer)));
    lines << define(QStringLiteral("RPAT_EN"), flag(params, Key::RpatGenerator) ? 1 : 0);
    lines << define(QStringLiteral("JSPAT_EN"), flag(params, Key::JspatGenerator) ? 1 : 0);
    appendChoice(lines, QStringLiteral("INIT_SYSMODE"), text(params, Key::SysrefAlways),
                 QStringLiteral("Always Off"), QStringLiteral("Always On"));
    appendChoice(lines, QStringLiteral("INIT_SCAMEBLE"), text(params, Key::ScramblingOn),
                 QStringLiteral("Scrambling OFF"), QStringLiteral("Scrambling ON"));
    // The link configuration registers hold F and K minus one.
    lines << define(QStringLiteral("INIT_F"), integer(params, Key::DefaultF) - 1);
    lines << define(QStringLiteral("INIT_K"), integer(params, Key::DefaultK) - 1);
    appendChoice(lines, QStringLiteral("INIT_REINIT_MODE"), text(params, Key::SysrefRequired),
                 QStringLiteral("Not Required"), QStringLiteral("Required"));
    if (flag(params, Key::DrpPorts))
        lines << define(QStringLiteral("DRP_PORT_EN"));
    appendFixedConfig(lines, params);
    if (flag(params, Key::PcsWidth32))
        lines << define(QStringLiteral("MODE"), 1);
    else if (flag(params, Key::PcsWidth64))
        lines << define(QStringLiteral("MODE"), 2);
    // The directive carries hertz; the parameter holds megahertz.
    // Adding zero turns a rounded -0 into 0.
    const double hertz = std::round(text(params, Key::ClockFrequency).toDouble() * 1000000.0) + 0.0;
    lines << define(QStringLiteral("CFG_CLK"), QString::number(hertz, 'f', 0));
    return lines;
}

} // namespace IPJESD204B
