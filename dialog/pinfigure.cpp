#include "jesd204bdlg.h"

#include "model/nametables.h"
#include "ui_core_config.h"
#include "ui_opt_config.h"
#include "ui_phy_config.h"

#include <pinfigure.h>

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

#include <algorithm>

namespace IPJESD204B {

namespace {

enum Side { In = 0, Out = 1 };

// One port of the symbol; width is the upper bit index filled into "%1", or -1 for none.
struct Port
{
    const char *label;
    Side side;
    bool bus;
    int width;
};

void append(QList<Utils::PinFigure> &pins, const Port &port)
{
    QString label = QString::fromLatin1(port.label);
    if (port.width >= 0)
        label = label.arg(port.width);
    pins.append(Utils::PinFigure(label, port.side, port.bus,
                                 port.side == In ? Qt::AlignLeft : Qt::AlignRight));
}

QList<Port> transmitPorts(int lanes, int widthFactor)
{
    const int frameFlags = 4 * widthFactor - 1;
    return {
        {"tx_rst_i", In, false, -1},
        {"tx_core_clk_i", In, false, -1},
        {"tx_cfg_clk_i", In, false, -1},
        {"tx_cfg_rstn_i", In, false, -1},
        {"tx_cfg_addr_i[31:0]", In, true, -1},
        {"tx_cfg_sel_i", In, false, -1},
        {"tx_cfg_ena_i", In, false, -1},
        {"tx_cfg_wr_i", In, false, -1},
        {"tx_cfg_rdata_o[31:0]", Out, true, -1},
        {"tx_cfg_rdata_i[31:0]", In, true, -1},
        {"tx_cfg_rdy_o", Out, false, -1},
        {"tx_cfg_strb_i[3:0]", In, true, -1},
        {"tx_sysref_i", In, false, -1},
        {"tx_sync_i", In, false, -1},
        {"tx_data_ready_o", Out, false, -1},
        {"tx_data_sof_o[%1:0]", Out, true, frameFlags},
        {"tx_data_eof_o[%1:0]", Out, true, frameFlags},
        {"tx_data_somf_o[%1:0]", Out, true, frameFlags},
        {"tx_data_eomf_o[%1:0]", Out, true, frameFlags},
        {"tx_data_i[%1:0]", In, true, 32 * widthFactor * lanes - 1},
        {"tx_debug_o[%1:0]", Out, true, 36 * widthFactor * lanes - 1},
        {"gt_pcs_tx_clk_o", Out, false, -1},
        {"gt_pcs_tx_rst_i", In, false, -1},
        {"gt_tx_fifo_wrusewd_o[%1:0]", Out, true, 5 * lanes - 1},
    };
}

QList<Port> receivePorts(int lanes, int widthFactor)
{
    const int frameFlags = 4 * widthFactor - 1;
    return {
        {"rx_rst_i", In, false, -1},
        {"rx_core_clk_i", In, false, -1},
        {"rx_cfg_clk_i", In, false, -1},
        {"rx_cfg_rstn_i", In, false, -1},
        {"rx_cfg_addr_i[31:0]", In, true, -1},
        {"rx_cfg_sel_i", In, false, -1},
        {"rx_cfg_ena_i", In, false, -1},
        {"rx_cfg_wr_i", In, false, -1},
        {"rx_cfg_rdata_o[31:0]", Out, true, -1},
        {"rx_cfg_rdata_i[31:0]", In, true, -1},
        {"rx_cfg_rdy_o", Out, false, -1},
        {"rx_cfg_strb_i[3:0]", In, true, -1},
        {"rx_sysref_i", In, false, -1},
        {"rx_sync_o", Out, false, -1},
        {"rx_data_valid_o", Out, false, -1},
        {"rx_data_sof_o[%1:0]", Out, true, frameFlags},
        {"rx_data_eof_o[%1:0]", Out, true, frameFlags},
        {"rx_data_somf_o[%1:0]", Out, true, frameFlags},
        {"rx_data_eomf_o[%1:0]", Out, true, frameFlags},
        {"rx_data_o[%1:0]", Out, true, 32 * widthFactor * lanes - 1},
        {"rx_data_err_o[%1:0]", Out, true, 4 * widthFactor * lanes - 1},
        {"rx_debug_o[%1:0]", Out, true, 44 * widthFactor * lanes - 1},
        {"gt_pcs_rx_clk_o", Out, false, -1},
        {"gt_pma_rx_lock_o[%1:0]", Out, false, lanes - 1},
        {"gt_rx_k_lock_o[%1:0]", Out, false, lanes - 1},
        {"gt_rx_align_link_o[%1:0]", Out, false, lanes - 1},
        {"gt_pcs_rx_rst_i", In, false, -1},
        {"gt_rx_fifo_rdusewd_o[%1:0]", Out, false, 5 * lanes - 1},
    };
}

const Port drpPorts[] = {
    {"user_drp_clk_o", Out, false, -1},         {"user_drp_addr_i[23:0]", In, true, -1},
    {"user_drp_wren_i", In, false, -1},         {"user_drp_wrdata_i[31:0]", In, true, -1},
    {"user_drp_strb_i[7:0]", In, true, -1},     {"user_drp_rden_i", In, false, -1},
    {"user_drp_ready_o", Out, false, -1},       {"user_drp_rdvld_o", Out, false, -1},
    {"user_drp_rddata_o[31:0]", Out, true, -1}, {"user_drp_resp_o", Out, false, -1},
};

} // namespace

jesd204bdlg::FigureHold::FigureHold(jesd204bdlg &dialog) : m_dialog(dialog)
{
    ++m_dialog.m_figureHolds;
}

jesd204bdlg::FigureHold::~FigureHold()
{
    if (--m_dialog.m_figureHolds == 0)
        m_dialog.refreshFigure();
}

void jesd204bdlg::refreshFigure()
{
    if (m_figureHolds > 0)
        return;
    collectUsedLanes();
    const int lanes = m_core->comboxNumOfLanes->currentText().toInt();
    const int widthFactor =
        m_phy->radioButton32Bit->isChecked() ? 1 : (m_phy->radioButton64Bit->isChecked() ? 2 : 1);
    const bool both = m_core->Both->isChecked();
    const QString pll = m_phy->PLL_Selection->currentText();

    // The figure depends on only these inputs: an unchanged set of them keeps the figure drawn.
    QString quadsInUse;
    for (const QuadRow &quad : NameTables::quads())
        quadsInUse +=
            std::any_of(m_usedLanes.cbegin(), m_usedLanes.cend(),
                        [&](const QString &lane) { return lane.contains(quad.displayPrefix); })
                ? QLatin1Char('1')
                : QLatin1Char('0');
    const QString inputs = QStringLiteral("%1%2%3%4 %5 %6 %7 %8")
                               .arg(int(m_core->Transmit->isChecked()))
                               .arg(int(m_core->Receive->isChecked()))
                               .arg(int(both))
                               .arg(int(m_opt->checkBoxDRPPort->isChecked()))
                               .arg(lanes)
                               .arg(widthFactor)
                               .arg(pll, quadsInUse);
    if (inputs == m_figureInputs)
        return;
    m_figureInputs = inputs;

    QList<Utils::PinFigure> pins;
    if (m_core->Transmit->isChecked() || both) {
        for (const Port &port : transmitPorts(lanes, widthFactor))
            append(pins, port);
    }
    if (m_core->Receive->isChecked() || both) {
        for (const Port &port : receivePorts(lanes, widthFactor))
            append(pins, port);
    }
    append(pins, {"gt_cpll_ok_o[%1:0]", Out, true, lanes - 1});
    append(pins, {"gt_fabric_rstn_i", In, false, -1});

    // One lock flag per quad PLL the core runs on; a CPLL reports through gt_cpll_ok_o.
    const QStringList &selections = NameTables::pllSelections();
    const char *lockTemplate = pll == selections[0]   ? "gt_%1_qpll0_ok_o"
                               : pll == selections[1] ? "gt_%1_qpll1_ok_o"
                                                      : nullptr;
    for (const QuadRow &quad : NameTables::quads()) {
        const bool inUse =
            std::any_of(m_usedLanes.cbegin(), m_usedLanes.cend(),
                        [&](const QString &lane) { return lane.contains(quad.displayPrefix); });
        if (inUse && lockTemplate)
            pins.append(Utils::PinFigure(QString::fromLatin1(lockTemplate).arg(quad.optionPrefix),
                                         Out, false, Qt::AlignRight));
    }

    if (m_opt->checkBoxDRPPort->isChecked()) {
        for (const Port &port : drpPorts)
            append(pins, port);
    }
    uiSetFigurePins(pins);
}

} // namespace IPJESD204B
