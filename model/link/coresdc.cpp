#include "corefiles.h"

#include <QStringList>

namespace IPJESD204B {

namespace {

// Periods to the picosecond: what timing tools resolve.
QString periodNs(const Ratio &frequencyMHz)
{
    return (Ratio::fromInt(1000) / frequencyMHz).toString(3).remove(QLatin1Char('~'));
}

QString mhz(const Ratio &frequencyMHz)
{
    return frequencyMHz.toString(6).remove(QLatin1Char('~'));
}

QString portName(const QString &refClockSource)
{
    return refClockSource.toLower().replace(QLatin1Char(' '), QLatin1Char('_'));
}

// Clocks, SYSREF and SYNC~ of one direction ("tx" or "rx").
QStringList directionLines(const CoreShape &core, const QString &prefix)
{
    const QString sync =
        prefix == QLatin1String("tx") ? QStringLiteral("tx_sync_i") : QStringLiteral("rx_sync_o");
    const bool syncIn = prefix == QLatin1String("tx");
    return {
        QStringLiteral("# %1 core clock: lane rate %2 Mbps / %3 = %4 MHz")
            .arg(prefix, mhz(core.laneRateMbps))
            .arg(core.pcsBits / 8 * 10)
            .arg(mhz(coreClockMHz(core))),
        QStringLiteral("create_clock -name %1_core_clk -period %2 [get_ports {%1_core_clk_i}]")
            .arg(prefix, periodNs(coreClockMHz(core))),
        QStringLiteral("create_clock -name %1_cfg_clk -period %2 [get_ports {%1_cfg_clk_i}]")
            .arg(prefix, periodNs(core.configClockMHz)),
        QStringLiteral("# SYSREF is captured on the device clock, the core clock here."),
        QStringLiteral("set_input_delay -clock %1_core_clk -max $sysref_delay_max [get_ports "
                       "{%1_sysref_i}]")
            .arg(prefix),
        QStringLiteral("set_input_delay -clock %1_core_clk -min $sysref_delay_min [get_ports "
                       "{%1_sysref_i}]")
            .arg(prefix),
        QStringLiteral("# SYNC~ crosses between the devices without a common clock."),
        syncIn ? QStringLiteral("set_false_path -from [get_ports {%1}]").arg(sync)
               : QStringLiteral("set_false_path -to [get_ports {%1}]").arg(sync),
        QString(),
    };
}

} // namespace

QString timingConstraints(const CoreShape &core)
{
    QStringList lines{
        QStringLiteral("# Timing constraints of %1, a JESD204B core: L %2, F %3, K %4.")
            .arg(core.module)
            .arg(core.lanes)
            .arg(core.octetsPerFrame)
            .arg(core.framesPerMultiframe),
        QStringLiteral("# SYSREF input delay window in ns, from the board's clock tree."),
        QStringLiteral("set sysref_delay_max 1.000"),
        QStringLiteral("set sysref_delay_min 0.000"),
        QString(),
        QStringLiteral("# Reference clock %1: %2 MHz")
            .arg(core.refClockSource, mhz(core.refClockMHz)),
        QStringLiteral("create_clock -name refclk -period %1 [get_ports {%2}]")
            .arg(periodNs(core.refClockMHz), portName(core.refClockSource)),
        QString(),
    };
    QStringList groups{QStringLiteral("-group {refclk}")};
    for (const auto &[used, prefix] : {std::pair{core.transmit, QStringLiteral("tx")},
                                       std::pair{core.receive, QStringLiteral("rx")}}) {
        if (!used)
            continue;
        lines << directionLines(core, prefix);
        groups << QStringLiteral("-group {%1_core_clk}").arg(prefix)
               << QStringLiteral("-group {%1_cfg_clk}").arg(prefix);
    }
    lines << QStringLiteral("# The reference, core and configuration clocks are unrelated.")
          << QStringLiteral("set_clock_groups -asynchronous ") + groups.join(QLatin1Char(' '));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace IPJESD204B
