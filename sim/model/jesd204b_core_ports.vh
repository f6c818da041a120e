// Module header of jesd204b_core: the ports that jesd204b_top.v connects, under the same
// conditions, derived from the generated defines without relying on the wrapper's macros.
`ifdef TX_AND_RX_EN
`define JESD204B_CORE_TX
`define JESD204B_CORE_RX
`endif
`ifdef TX_EN
`define JESD204B_CORE_TX
`endif
`ifdef RX_EN
`define JESD204B_CORE_RX
`endif
`ifdef MODE
`define JESD204B_CORE_W `MODE
`else
`define JESD204B_CORE_W 1
`endif

module jesd204b_core (
`ifdef JESD204B_CORE_TX
    input  wire                                    tx_rst_i,
    input  wire                                    tx_core_clk_i,
    input  wire                                    tx_cfg_clk_i,
    input  wire                                    tx_cfg_rstn_i,
    input  wire [31:0]                             tx_cfg_addr_i,
    input  wire                                    tx_cfg_sel_i,
    input  wire                                    tx_cfg_ena_i,
    input  wire                                    tx_cfg_wr_i,
    output wire [31:0]                             tx_cfg_rdata_o,
    input  wire [31:0]                             tx_cfg_rdata_i,
    output wire                                    tx_cfg_rdy_o,
    input  wire [3:0]                              tx_cfg_strb_i,
    input  wire                                    tx_sysref_i,
    input  wire                                    tx_sync_i,
    output wire                                    tx_data_ready_o,
    output wire [4*`JESD204B_CORE_W-1:0]           tx_data_sof_o,
    output wire [4*`JESD204B_CORE_W-1:0]           tx_data_eof_o,
    output wire [4*`JESD204B_CORE_W-1:0]           tx_data_somf_o,
    output wire [4*`JESD204B_CORE_W-1:0]           tx_data_eomf_o,
    input  wire [32*`JESD204B_CORE_W*`LANE-1:0]    tx_data_i,
    output wire [36*`JESD204B_CORE_W*`LANE-1:0]    tx_debug_o,
    output wire                                    gt_pcs_tx_clk_o,
    input  wire                                    gt_pcs_tx_rst_i,
    output wire [5*`LANE-1:0]                      gt_tx_fifo_wrusewd_o,
`endif
`ifdef JESD204B_CORE_RX
    input  wire                                    rx_rst_i,
    input  wire                                    rx_core_clk_i,
    input  wire                                    rx_cfg_clk_i,
    input  wire                                    rx_cfg_rstn_i,
    input  wire [31:0]                             rx_cfg_addr_i,
    input  wire                                    rx_cfg_sel_i,
    input  wire                                    rx_cfg_ena_i,
    input  wire                                    rx_cfg_wr_i,
    output wire [31:0]                             rx_cfg_rdata_o,
    input  wire [31:0]                             rx_cfg_rdata_i,
    output wire                                    rx_cfg_rdy_o,
    input  wire [3:0]                              rx_cfg_strb_i,
    input  wire                                    rx_sysref_i,
    output wire                                    rx_sync_o,
    output wire                                    rx_data_valid_o,
    output wire [4*`JESD204B_CORE_W-1:0]           rx_data_sof_o,
    output wire [4*`JESD204B_CORE_W-1:0]           rx_data_eof_o,
    output wire [4*`JESD204B_CORE_W-1:0]           rx_data_somf_o,
    output wire [4*`JESD204B_CORE_W-1:0]           rx_data_eomf_o,
    output wire [32*`JESD204B_CORE_W*`LANE-1:0]    rx_data_o,
    output wire [4*`JESD204B_CORE_W*`LANE-1:0]     rx_data_err_o,
    output wire [44*`JESD204B_CORE_W*`LANE-1:0]    rx_debug_o,
    output wire                                    gt_pcs_rx_clk_o,
    output wire [`LANE-1:0]                        gt_pma_rx_lock_o,
    output wire [`LANE-1:0]                        gt_rx_k_lock_o,
    output wire [`LANE-1:0]                        gt_rx_align_link_o,
    input  wire                                    gt_pcs_rx_rst_i,
    output wire [5*`LANE-1:0]                      gt_rx_fifo_rdusewd_o,
`endif
`ifdef DRP_PORT_EN
    output wire                                    user_drp_clk_o,
    input  wire [23:0]                             user_drp_addr_i,
    input  wire                                    user_drp_wren_i,
    input  wire [31:0]                             user_drp_wrdata_i,
    input  wire [7:0]                              user_drp_strb_i,
    input  wire                                    user_drp_rden_i,
    output wire                                    user_drp_ready_o,
    output wire                                    user_drp_rdvld_o,
    output wire [31:0]                             user_drp_rddata_o,
    output wire                                    user_drp_resp_o,
`endif
`ifdef JESD204B_Q0_QPLL0_OK
    output wire                                    gt_q0_qpll0_ok_o,
`endif
`ifdef JESD204B_Q0_QPLL1_OK
    output wire                                    gt_q0_qpll1_ok_o,
`endif
`ifdef JESD204B_Q1_QPLL0_OK
    output wire                                    gt_q1_qpll0_ok_o,
`endif
`ifdef JESD204B_Q1_QPLL1_OK
    output wire                                    gt_q1_qpll1_ok_o,
`endif
    output wire [`LANE-1:0]                        gt_cpll_ok_o,
    input  wire                                    gt_fabric_rstn_i
);
