#include "corefiles.h"

#include <QStringList>

namespace IPJESD204B {

namespace {

enum class Group { Transmit, Receive, Drp, Pll, Common };

// Width = bits, times the PCS factor (1 or 2) and the lane count where marked.
struct Port
{
    Group group;
    const char *name;
    bool output;
    int bits;
    bool perPcs;
    bool perLane;
};

// The wrapper's ports in its own order.
const QVector<Port> &wrapperPorts()
{
    using G = Group;
    static const QVector<Port> ports = {
        {G::Transmit, "tx_rst_i", false, 1, false, false},
        {G::Transmit, "tx_core_clk_i", false, 1, false, false},
        {G::Transmit, "tx_cfg_clk_i", false, 1, false, false},
        {G::Transmit, "tx_cfg_rstn_i", false, 1, false, false},
        {G::Transmit, "tx_cfg_addr_i", false, 32, false, false},
        {G::Transmit, "tx_cfg_sel_i", false, 1, false, false},
        {G::Transmit, "tx_cfg_ena_i", false, 1, false, false},
        {G::Transmit, "tx_cfg_wr_i", false, 1, false, false},
        {G::Transmit, "tx_cfg_rdata_o", true, 32, false, false},
        {G::Transmit, "tx_cfg_rdata_i", false, 32, false, false},
        {G::Transmit, "tx_cfg_rdy_o", true, 1, false, false},
        {G::Transmit, "tx_cfg_strb_i", false, 4, false, false},
        {G::Transmit, "tx_sysref_i", false, 1, false, false},
        {G::Transmit, "tx_sync_i", false, 1, false, false},
        {G::Transmit, "tx_data_ready_o", true, 1, false, false},
        {G::Transmit, "tx_data_sof_o", true, 4, true, false},
        {G::Transmit, "tx_data_eof_o", true, 4, true, false},
        {G::Transmit, "tx_data_somf_o", true, 4, true, false},
        {G::Transmit, "tx_data_eomf_o", true, 4, true, false},
        {G::Transmit, "tx_data_i", false, 32, true, true},
        {G::Transmit, "tx_debug_o", true, 36, true, true},
        {G::Transmit, "gt_pcs_tx_clk_o", true, 1, false, false},
        {G::Transmit, "gt_pcs_tx_rst_i", false, 1, false, false},
        {G::Transmit, "gt_tx_fifo_wrusewd_o", true, 5, false, true},
        {G::Receive, "rx_rst_i", false, 1, false, false},
        {G::Receive, "rx_core_clk_i", false, 1, false, false},
        {G::Receive, "rx_cfg_clk_i", false, 1, false, false},
        {G::Receive, "rx_cfg_rstn_i", false, 1, false, false},
        {G::Receive, "rx_cfg_addr_i", false, 32, false, false},
        {G::Receive, "rx_cfg_sel_i", false, 1, false, false},
        {G::Receive, "rx_cfg_ena_i", false, 1, false, false},
        {G::Receive, "rx_cfg_wr_i", false, 1, false, false},
        {G::Receive, "rx_cfg_rdata_o", true, 32, false, false},
        {G::Receive, "rx_cfg_rdata_i", false, 32, false, false},
        {G::Receive, "rx_cfg_rdy_o", true, 1, false, false},
        {G::Receive, "rx_cfg_strb_i", false, 4, false, false},
        {G::Receive, "rx_sysref_i", false, 1, false, false},
        {G::Receive, "rx_sync_o", true, 1, false, false},
        {G::Receive, "rx_data_valid_o", true, 1, false, false},
        {G::Receive, "rx_data_sof_o", true, 4, true, false},
        {G::Receive, "rx_data_eof_o", true, 4, true, false},
        {G::Receive, "rx_data_somf_o", true, 4, true, false},
        {G::Receive, "rx_data_eomf_o", true, 4, true, false},
        {G::Receive, "rx_data_o", true, 32, true, true},
        {G::Receive, "rx_data_err_o", true, 4, true, true},
        {G::Receive, "rx_debug_o", true, 44, true, true},
        {G::Receive, "gt_pcs_rx_clk_o", true, 1, false, false},
        {G::Receive, "gt_pma_rx_lock_o", true, 1, false, true},
        {G::Receive, "gt_rx_k_lock_o", true, 1, false, true},
        {G::Receive, "gt_rx_align_link_o", true, 1, false, true},
        {G::Receive, "gt_pcs_rx_rst_i", false, 1, false, false},
        {G::Receive, "gt_rx_fifo_rdusewd_o", true, 5, false, true},
        {G::Drp, "user_drp_clk_o", true, 1, false, false},
        {G::Drp, "user_drp_addr_i", false, 24, false, false},
        {G::Drp, "user_drp_wren_i", false, 1, false, false},
        {G::Drp, "user_drp_wrdata_i", false, 32, false, false},
        {G::Drp, "user_drp_strb_i", false, 8, false, false},
        {G::Drp, "user_drp_rden_i", false, 1, false, false},
        {G::Drp, "user_drp_ready_o", true, 1, false, false},
        {G::Drp, "user_drp_rdvld_o", true, 1, false, false},
        {G::Drp, "user_drp_rddata_o", true, 32, false, false},
        {G::Drp, "user_drp_resp_o", true, 1, false, false},
        {G::Pll, "gt_q0_qpll0_ok_o", true, 1, false, false},
        {G::Pll, "gt_q0_qpll1_ok_o", true, 1, false, false},
        {G::Pll, "gt_q1_qpll0_ok_o", true, 1, false, false},
        {G::Pll, "gt_q1_qpll1_ok_o", true, 1, false, false},
        {G::Common, "gt_cpll_ok_o", true, 1, false, true},
        {G::Common, "gt_fabric_rstn_i", false, 1, false, false},
    };
    return ports;
}

bool selected(const CoreShape &core, Group group)
{
    switch (group) {
    case Group::Transmit:
        return core.transmit;
    case Group::Receive:
        return core.receive;
    case Group::Drp:
        return core.drp;
    case Group::Pll:
    case Group::Common:
        break;
    }
    return true;
}

QString groupComment(const CoreShape &core, Group group)
{
    const QString link = QStringLiteral("L %1, F %2, K %3, %4 Gbps, scrambling %5")
                             .arg(core.lanes)
                             .arg(core.octetsPerFrame)
                             .arg(core.framesPerMultiframe)
                             .arg((core.laneRateMbps / 1000).toString().remove(QLatin1Char('~')))
                             .arg(core.scrambling ? QStringLiteral("on") : QStringLiteral("off"));
    const QString clocks = QStringLiteral("core clock %1 MHz (%2-bit PCS), configuration clock "
                                          "%3 MHz")
                               .arg(coreClockMHz(core).toString(6).remove(QLatin1Char('~')))
                               .arg(core.pcsBits)
                               .arg(core.configClockMHz.toString(6).remove(QLatin1Char('~')));
    switch (group) {
    case Group::Transmit:
        return QStringLiteral("Transmit link: ") + link + QLatin1Char('\n') + clocks;
    case Group::Receive:
        return QStringLiteral("Receive link: ") + link + QLatin1Char('\n') + clocks;
    case Group::Drp:
        return QStringLiteral("SERDES dynamic reconfiguration port");
    case Group::Pll:
        return QStringLiteral("Quad PLL status, present where the synthesis flow defines the "
                              "guard");
    case Group::Common:
        break;
    }
    return QStringLiteral("SERDES channel PLL status and fabric reset");
}

int widthOf(const CoreShape &core, const Port &port)
{
    return port.bits * (port.perPcs ? core.pcsBits / 32 : 1) * (port.perLane ? core.lanes : 1);
}

// The port lines of one pass (declarations or connections), each group under its comment.
QStringList portLines(const CoreShape &core, bool connections)
{
    QStringList lines;
    const QString indent = connections ? QStringLiteral("    ") : QString();
    bool first = true;
    Group current = Group::Common;
    for (const Port &port : wrapperPorts()) {
        if (!selected(core, port.group))
            continue;
        if (first || port.group != current) {
            for (const QString &comment : groupComment(core, port.group).split(QLatin1Char('\n')))
                lines << indent + QStringLiteral("// ") + comment;
        }
        first = false;
        current = port.group;
        const QString name = QLatin1String(port.name);
        const int width = widthOf(core, port);
        QString line = connections ? QStringLiteral("    .%1(%1),").arg(name)
                       : width > 1 ? QStringLiteral("wire [%1:0] %2;").arg(width - 1).arg(name)
                                   : QStringLiteral("wire %1;").arg(name);
        // gt_q0_qpll0_ok_o is there under JESD204B_Q0_QPLL0_OK.
        if (port.group == Group::Pll)
            lines << QStringLiteral("`ifdef JESD204B_%1_OK").arg(name.mid(3, 8).toUpper()) << line
                  << QStringLiteral("`endif");
        else
            lines << line;
    }
    if (connections)
        lines.last().chop(1); // the last port is never guarded
    return lines;
}

} // namespace

Ratio coreClockMHz(const CoreShape &core)
{
    return core.laneRateMbps / (10LL * (core.pcsBits / 8));
}

QString instantiationTemplate(const CoreShape &core, const QStringList &beside)
{
    const QString directions = core.transmit && core.receive
                                   ? QStringLiteral("transmit and receive")
                               : core.transmit ? QStringLiteral("transmit")
                                               : QStringLiteral("receive");
    QStringList lines{
        QStringLiteral("// Instance of %1, a JESD204B core: %2, %3 lanes, %4-bit PCS, DRP %5.")
            .arg(core.module, directions)
            .arg(core.lanes)
            .arg(core.pcsBits)
            .arg(core.drp ? QStringLiteral("on") : QStringLiteral("off")),
        QString()};
    lines << portLines(core, false) << QString() << QStringLiteral("%1 u_%1 (").arg(core.module)
          << portLines(core, true) << QStringLiteral(");") << beside;
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace IPJESD204B
