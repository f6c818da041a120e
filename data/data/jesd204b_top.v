// Top-level wrapper of the JESD204B link core.
//
// The generated headers configure it: top_define.vh names the module, and
// jesd204b_top_defines.vh selects the directions (RX_EN, TX_EN, TX_AND_RX_EN), the lane count
// (LANE), the PCS width (MODE 1 for 32 bits, 2 for 64 bits) and the DRP port (DRP_PORT_EN).
// The link core itself, module jesd204b_core, comes from the vendor's jesd204b_core_encryption.v,
// which reads the same headers; this project does not ship it.
//
// The quad PLL status outputs depend on the lanes and PLL in use, which the headers do not
// carry; the synthesis flow defines JESD204B_<quad>_<pll>_OK for each one the core needs (the
// reference host's synthesis manifest lists them under "defines").

`include "top_define.vh"
`include "jesd204b_top_defines.vh"

`ifdef TX_AND_RX_EN
`define JESD204B_HAS_TX
`define JESD204B_HAS_RX
`endif
`ifdef TX_EN
`define JESD204B_HAS_TX
`endif
`ifdef RX_EN
`define JESD204B_HAS_RX
`endif

// Width factor of the data paths: 1 for the 32-bit PCS, 2 for the 64-bit PCS.
`ifdef MODE
`define JESD204B_W `MODE
`else
`define JESD204B_W 1
`endif
`define JESD204B_N `LANE

module `module_name (
`ifdef JESD204B_HAS_TX
    input  wire                                      tx_rst_i,
    input  wire                                      tx_core_clk_i,
    input  wire                                      tx_cfg_clk_i,
    input  wire                                      tx_cfg_rstn_i,
    input  wire [31:0]                               tx_cfg_addr_i,
    input  wire                                      tx_cfg_sel_i,
    input  wire                                      tx_cfg_ena_i,
    input  wire                                      tx_cfg_wr_i,
    output wire [31:0]                               tx_cfg_rdata_o,
    input  wire [31:0]                               tx_cfg_rdata_i,
    output wire                                      tx_cfg_rdy_o,
    input  wire [3:0]                                tx_cfg_strb_i,
    input  wire                                      tx_sysref_i,
    input  wire                                      tx_sync_i,
    output wire                                      tx_data_ready_o,
    output wire [4*`JESD204B_W-1:0]                  tx_data_sof_o,
    output wire [4*`JESD204B_W-1:0]                  tx_data_eof_o,
    output wire [4*`JESD204B_W-1:0]                  tx_data_somf_o,
    output wire [4*`JESD204B_W-1:0]                  tx_data_eomf_o,
    input  wire [32*`JESD204B_W*`JESD204B_N-1:0]     tx_data_i,
    output wire [36*`JESD204B_W*`JESD204B_N-1:0]     tx_debug_o,
    output wire                                      gt_pcs_tx_clk_o,
    input  wire                                      gt_pcs_tx_rst_i,
    output wire [5*`JESD204B_N-1:0]                  gt_tx_fifo_wrusewd_o,
`endif
`ifdef JESD204B_HAS_RX
    input  wire                                      rx_rst_i,
    input  wire                                      rx_core_clk_i,
    input  wire                                      rx_cfg_clk_i,
    input  wire                                      rx_cfg_rstn_i,
    input  wire [31:0]                               rx_cfg_addr_i,
    input  wire                                      rx_cfg_sel_i,
    input  wire                                      rx_cfg_ena_i,
    input  wire                                      rx_cfg_wr_i,
    output wire [31:0]                               rx_cfg_rdata_o,
    input  wire [31:0]                               rx_cfg_rdata_i,
    output wire                                      rx_cfg_rdy_o,
    input  wire [3:0]                                rx_cfg_strb_i,
    input  wire                                      rx_sysref_i,
    output wire                                      rx_sync_o,
    output wire                                      rx_data_valid_o,
    output wire [4*`JESD204B_W-1:0]                  rx_data_sof_o,
    output wire [4*`JESD204B_W-1:0]                  rx_data_eof_o,
    output wire [4*`JESD204B_W-1:0]                  rx_data_somf_o,
    output wire [4*`JESD204B_W-1:0]                  rx_data_eomf_o,
    output wire [32*`JESD204B_W*`JESD204B_N-1:0]     rx_data_o,
    output wire [4*`JESD204B_W*`JESD204B_N-1:0]      rx_data_err_o,
    output wire [44*`JESD204B_W*`JESD204B_N-1:0]     rx_debug_o,
    output wire                                      gt_pcs_rx_clk_o,
    output wire [`JESD204B_N-1:0]                    gt_pma_rx_lock_o,
    output wire [`JESD204B_N-1:0]                    gt_rx_k_lock_o,
    output wire [`JESD204B_N-1:0]                    gt_rx_align_link_o,
    input  wire                                      gt_pcs_rx_rst_i,
    output wire [5*`JESD204B_N-1:0]                  gt_rx_fifo_rdusewd_o,
`endif
`ifdef DRP_PORT_EN
    output wire                                      user_drp_clk_o,
    input  wire [23:0]                               user_drp_addr_i,
    input  wire                                      user_drp_wren_i,
    input  wire [31:0]                               user_drp_wrdata_i,
    input  wire [7:0]                                user_drp_strb_i,
    input  wire                                      user_drp_rden_i,
    output wire                                      user_drp_ready_o,
    output wire                                      user_drp_rdvld_o,
    output wire [31:0]                               user_drp_rddata_o,
    output wire                                      user_drp_resp_o,
`endif
`ifdef JESD204B_Q0_QPLL0_OK
    output wire                                      gt_q0_qpll0_ok_o,
`endif
`ifdef JESD204B_Q0_QPLL1_OK
    output wire                                      gt_q0_qpll1_ok_o,
`endif
`ifdef JESD204B_Q1_QPLL0_OK
    output wire                                      gt_q1_qpll0_ok_o,
`endif
`ifdef JESD204B_Q1_QPLL1_OK
    output wire                                      gt_q1_qpll1_ok_o,
`endif
    output wire [`JESD204B_N-1:0]                    gt_cpll_ok_o,
    input  wire                                      gt_fabric_rstn_i
);

    jesd204b_core u_core (
`ifdef JESD204B_HAS_TX
        .tx_rst_i(tx_rst_i),
        .tx_core_clk_i(tx_core_clk_i),
        .tx_cfg_clk_i(tx_cfg_clk_i),
        .tx_cfg_rstn_i(tx_cfg_rstn_i),
        .tx_cfg_addr_i(tx_cfg_addr_i),
        .tx_cfg_sel_i(tx_cfg_sel_i),
        .tx_cfg_ena_i(tx_cfg_ena_i),
        .tx_cfg_wr_i(tx_cfg_wr_i),
        .tx_cfg_rdata_o(tx_cfg_rdata_o),
        .tx_cfg_rdata_i(tx_cfg_rdata_i),
        .tx_cfg_rdy_o(tx_cfg_rdy_o),
        .tx_cfg_strb_i(tx_cfg_strb_i),
        .tx_sysref_i(tx_sysref_i),
        .tx_sync_i(tx_sync_i),
        .tx_data_ready_o(tx_data_ready_o),
        .tx_data_sof_o(tx_data_sof_o),
        .tx_data_eof_o(tx_data_eof_o),
        .tx_data_somf_o(tx_data_somf_o),
        .tx_data_eomf_o(tx_data_eomf_o),
        .tx_data_i(tx_data_i),
        .tx_debug_o(tx_debug_o),
        .gt_pcs_tx_clk_o(gt_pcs_tx_clk_o),
        .gt_pcs_tx_rst_i(gt_pcs_tx_rst_i),
        .gt_tx_fifo_wrusewd_o(gt_tx_fifo_wrusewd_o),
`endif
`ifdef JESD204B_HAS_RX
        .rx_rst_i(rx_rst_i),
        .rx_core_clk_i(rx_core_clk_i),
        .rx_cfg_clk_i(rx_cfg_clk_i),
        .rx_cfg_rstn_i(rx_cfg_rstn_i),
        .rx_cfg_addr_i(rx_cfg_addr_i),
        .rx_cfg_sel_i(rx_cfg_sel_i),
        .rx_cfg_ena_i(rx_cfg_ena_i),
        .rx_cfg_wr_i(rx_cfg_wr_i),
        .rx_cfg_rdata_o(rx_cfg_rdata_o),
        .rx_cfg_rdata_i(rx_cfg_rdata_i),
        .rx_cfg_rdy_o(rx_cfg_rdy_o),
        .rx_cfg_strb_i(rx_cfg_strb_i),
        .rx_sysref_i(rx_sysref_i),
        .rx_sync_o(rx_sync_o),
        .rx_data_valid_o(rx_data_valid_o),
        .rx_data_sof_o(rx_data_sof_o),
        .rx_data_eof_o(rx_data_eof_o),
        .rx_data_somf_o(rx_data_somf_o),
        .rx_data_eomf_o(rx_data_eomf_o),
        .rx_data_o(rx_data_o),
        .rx_data_err_o(rx_data_err_o),
        .rx_debug_o(rx_debug_o),
        .gt_pcs_rx_clk_o(gt_pcs_rx_clk_o),
        .gt_pma_rx_lock_o(gt_pma_rx_lock_o),
        .gt_rx_k_lock_o(gt_rx_k_lock_o),
        .gt_rx_align_link_o(gt_rx_align_link_o),
        .gt_pcs_rx_rst_i(gt_pcs_rx_rst_i),
        .gt_rx_fifo_rdusewd_o(gt_rx_fifo_rdusewd_o),
`endif
`ifdef DRP_PORT_EN
        .user_drp_clk_o(user_drp_clk_o),
        .user_drp_addr_i(user_drp_addr_i),
        .user_drp_wren_i(user_drp_wren_i),
        .user_drp_wrdata_i(user_drp_wrdata_i),
        .user_drp_strb_i(user_drp_strb_i),
        .user_drp_rden_i(user_drp_rden_i),
        .user_drp_ready_o(user_drp_ready_o),
        .user_drp_rdvld_o(user_drp_rdvld_o),
        .user_drp_rddata_o(user_drp_rddata_o),
        .user_drp_resp_o(user_drp_resp_o),
`endif
`ifdef JESD204B_Q0_QPLL0_OK
        .gt_q0_qpll0_ok_o(gt_q0_qpll0_ok_o),
`endif
`ifdef JESD204B_Q0_QPLL1_OK
        .gt_q0_qpll1_ok_o(gt_q0_qpll1_ok_o),
`endif
`ifdef JESD204B_Q1_QPLL0_OK
        .gt_q1_qpll0_ok_o(gt_q1_qpll0_ok_o),
`endif
`ifdef JESD204B_Q1_QPLL1_OK
        .gt_q1_qpll1_ok_o(gt_q1_qpll1_ok_o),
`endif
        .gt_cpll_ok_o(gt_cpll_ok_o),
        .gt_fabric_rstn_i(gt_fabric_rstn_i)
    );

endmodule
