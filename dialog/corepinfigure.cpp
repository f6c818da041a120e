#include "corepinfigure.h"

#include "configforms.h"
#include "nametables.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

#include <algorithm>
#include <utility>

namespace IPJESD204B {

namespace {

enum Side { In = 0, Out = 1 };

// One port of the symbol. A port with a width fills "%1" in its label with its upper bit
// index: bits x (PCS width factor, if byWidth) x (lanes, if byLanes) - 1.
struct Port
{
    const char *label;
    Side side;
    bool bus;
    int bits = 0;
    bool byWidth = false;
    bool byLanes = false;
};

const Port transmitPorts[] = {
    {"tx_rst_i", In, false},
    {"tx_core_clk_i", In, false},
    {"tx_cfg_clk_i", In, false},
    {"tx_cfg_rstn_i", In, false},
    {"tx_cfg_addr_i[31:0]", In, true},
    {"tx_cfg_sel_i", In, false},
    {"tx_cfg_ena_i", In, false},
    {"tx_cfg_wr_i", In, false},
    {"tx_cfg_rdata_o[31:0]", Out, true},
    {"tx_cfg_rdata_i[31:0]", In, true},
    {"tx_cfg_rdy_o", Out, false},
    {"tx_cfg_strb_i[3:0]", In, true},
    {"tx_sysref_i", In, false},
    {"tx_sync_i", In, false},
    {"tx_data_ready_o", Out, false},
    {"tx_data_sof_o[%1:0]", Out, true, 4, true, false},
    {"tx_data_eof_o[%1:0]", Out, true, 4, true, false},
    {"tx_data_somf_o[%1:0]", Out, true, 4, true, false},
    {"tx_data_eomf_o[%1:0]", Out, true, 4, true, false},
    {"tx_data_i[%1:0]", In, true, 32, true, true},
    {"tx_debug_o[%1:0]", Out, true, 36, true, true},
    {"gt_pcs_tx_clk_o", Out, false},
    {"gt_pcs_tx_rst_i", In, false},
    {"gt_tx_fifo_wrusewd_o[%1:0]", Out, true, 5, false, true},
};

const Port receivePorts[] = {
    {"rx_rst_i", In, false},
    {"rx_core_clk_i", In, false},
    {"rx_cfg_clk_i", In, false},
    {"rx_cfg_rstn_i", In, false},
    {"rx_cfg_addr_i[31:0]", In, true},
    {"rx_cfg_sel_i", In, false},
    {"rx_cfg_ena_i", In, false},
    {"rx_cfg_wr_i", In, false},
    {"rx_cfg_rdata_o[31:0]", Out, true},
    {"rx_cfg_rdata_i[31:0]", In, true},
    {"rx_cfg_rdy_o", Out, false},
    {"rx_cfg_strb_i[3:0]", In, true},
    {"rx_sysref_i", In, false},
    {"rx_sync_o", Out, false},
    {"rx_data_valid_o", Out, false},
    {"rx_data_sof_o[%1:0]", Out, true, 4, true, false},
    {"rx_data_eof_o[%1:0]", Out, true, 4, true, false},
    {"rx_data_somf_o[%1:0]", Out, true, 4, true, false},
    {"rx_data_eomf_o[%1:0]", Out, true, 4, true, false},
    {"rx_data_o[%1:0]", Out, true, 32, true, true},
    {"rx_data_err_o[%1:0]", Out, true, 4, true, true},
    {"rx_debug_o[%1:0]", Out, true, 44, true, true},
    {"gt_pcs_rx_clk_o", Out, false},
    {"gt_pma_rx_lock_o[%1:0]", Out, false, 1, false, true},
    {"gt_rx_k_lock_o[%1:0]", Out, false, 1, false, true},
    {"gt_rx_align_link_o[%1:0]", Out, false, 1, false, true},
    {"gt_pcs_rx_rst_i", In, false},
    {"gt_rx_fifo_rdusewd_o[%1:0]", Out, false, 5, false, true},
};

const Port commonPorts[] = {
    {"gt_cpll_ok_o[%1:0]", Out, true, 1, false, true},
    {"gt_fabric_rstn_i", In, false},
};

const Port drpPorts[] = {
    {"user_drp_clk_o", Out, false},         {"user_drp_addr_i[23:0]", In, true},
    {"user_drp_wren_i", In, false},         {"user_drp_wrdata_i[31:0]", In, true},
    {"user_drp_strb_i[7:0]", In, true},     {"user_drp_rden_i", In, false},
    {"user_drp_ready_o", Out, false},       {"user_drp_rdvld_o", Out, false},
    {"user_drp_rddata_o[31:0]", Out, true}, {"user_drp_resp_o", Out, false},
};

template <std::size_t N>
void append(QList<Utils::PinFigure> &pins, const Port (&ports)[N], int lanes, int widthFactor)
{
    for (const Port &port : ports) {
        QString label = QString::fromLatin1(port.label);
        if (port.bits > 0)
            label = label.arg(
                port.bits * (port.byWidth ? widthFactor : 1) * (port.byLanes ? lanes : 1) - 1);
        pins.append(Utils::PinFigure(label, port.side, port.bus,
                                     port.side == In ? Qt::AlignLeft : Qt::AlignRight));
    }
}

} // namespace

bool CorePinFigure::Inputs::operator==(const Inputs &other) const
{
    return transmit == other.transmit && receive == other.receive && drp == other.drp &&
           lanes == other.lanes && widthFactor == other.widthFactor && pll == other.pll &&
           quadsInUse == other.quadsInUse;
}

CorePinFigure::CorePinFigure(Read read, Draw draw)
    : m_read(std::move(read)), m_draw(std::move(draw))
{}

CorePinFigure::Hold::Hold(CorePinFigure &figure) : m_figure(figure)
{
    ++m_figure.m_holds;
}

CorePinFigure::Hold::~Hold()
{
    if (--m_figure.m_holds == 0)
        m_figure.refresh();
}

void CorePinFigure::refresh()
{
    if (m_holds > 0)
        return;
    const Inputs inputs = m_read();
    if (m_isDrawn && inputs == m_drawn)
        return;
    m_drawn = inputs;
    m_isDrawn = true;
    m_draw(pins(inputs));
}

CorePinFigure::Inputs CorePinFigure::read(const core_config &core, const phy_config &phy,
                                          const opt_config &opt, const QStringList &usedLanes)
{
    Inputs inputs;
    inputs.transmit = core.Transmit->isChecked() || core.Both->isChecked();
    inputs.receive = core.Receive->isChecked() || core.Both->isChecked();
    inputs.drp = opt.checkBoxDRPPort->isChecked();
    inputs.lanes = core.comboxNumOfLanes->currentText().toInt();
    inputs.widthFactor =
        phy.radioButton64Bit->isChecked() && !phy.radioButton32Bit->isChecked() ? 2 : 1;
    inputs.pll = phy.PLL_Selection->currentText();
    for (const QuadRow &quad : NameTables::quads()) {
        const bool inUse =
            std::any_of(usedLanes.cbegin(), usedLanes.cend(),
                        [&](const QString &lane) { return lane.contains(quad.displayPrefix); });
        if (inUse)
            inputs.quadsInUse.append(quad.optionPrefix);
    }
    return inputs;
}

QList<Utils::PinFigure> CorePinFigure::pins(const Inputs &inputs)
{
    QList<Utils::PinFigure> pins;
    pins.reserve(80);
    if (inputs.transmit)
        append(pins, transmitPorts, inputs.lanes, inputs.widthFactor);
    if (inputs.receive)
        append(pins, receivePorts, inputs.lanes, inputs.widthFactor);
    append(pins, commonPorts, inputs.lanes, inputs.widthFactor);

    // One lock flag per quad PLL the core runs on; a CPLL reports through gt_cpll_ok_o.
    const QStringList &selections = NameTables::pllSelections();
    const char *lockTemplate = inputs.pll == selections[0]   ? "gt_%1_qpll0_ok_o"
                               : inputs.pll == selections[1] ? "gt_%1_qpll1_ok_o"
                                                             : nullptr;
    if (lockTemplate) {
        for (const QString &quad : qAsConst(inputs.quadsInUse))
            pins.append(Utils::PinFigure(QString::fromLatin1(lockTemplate).arg(quad), Out, false,
                                         Qt::AlignRight));
    }

    if (inputs.drp)
        append(pins, drpPorts, inputs.lanes, inputs.widthFactor);
    return pins;
}

} // namespace IPJESD204B
