// Behavioural model of the JESD204B link core behind jesd204b_top.v, configured by the same
// generated headers. The serial side stays inside: sim_tx_cg carries the transmitted code
// groups, and the receiver takes sim_rx_cg when sim_rx_ext is set (always in a receive-only
// core) or the transmitter's own lanes otherwise. A testbench reaches them hierarchically.
// The ports are those jesd204b_top.v connects, under the same conditions, derived from the
// generated defines without relying on the wrapper's macros.
`include "jesd204b_top_defines.vh"
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

    localparam N = `LANE;
`ifdef MODE
    localparam W = `MODE;
`else
    localparam W = 1;
`endif
`ifdef INIT_SYSMODE
    localparam INIT_SYS = `INIT_SYSMODE;
`else
    localparam INIT_SYS = 0;
`endif
`ifdef INIT_SCAMEBLE
    localparam INIT_SCR = `INIT_SCAMEBLE;
`else
    localparam INIT_SCR = 0;
`endif
`ifdef INIT_REINIT_MODE
    localparam INIT_REINI = `INIT_REINIT_MODE;
`else
    localparam INIT_REINI = 0;
`endif
`ifdef FIX_F
    localparam FIX_F = `FIX_F;
`else
    localparam FIX_F = 0;
`endif

    wire [40*W*N-1:0] sim_tx_cg;
    reg  [40*W*N-1:0] sim_rx_cg;
    reg               sim_rx_ext;
    wire              unused_sim = ^{sim_tx_cg, sim_rx_cg, sim_rx_ext};
    initial begin
        sim_rx_cg  = {40*W*N{1'b0}};
        sim_rx_ext = 1'b0;
    end

`ifdef JESD204B_CORE_TX
    wire tx_link_rst = tx_rst_i || gt_pcs_tx_rst_i || !gt_fabric_rstn_i;
    jesd204b_core_tx #(
        .LANE(N), .MODE(W), .FIX_EN(`FIX_EN), .FIX_F(FIX_F), .INIT_F(`INIT_F),
        .INIT_K(`INIT_K), .INIT_SCR(INIT_SCR), .INIT_SYS(INIT_SYS), .INIT_REINI(INIT_REINI),
        .TEST_MASK((`RPAT_EN ? 1 : 0) | (`JSPAT_EN ? 2 : 0))
    ) u_tx (
        .cfg_clk_i(tx_cfg_clk_i), .cfg_rstn_i(tx_cfg_rstn_i), .cfg_addr_i(tx_cfg_addr_i),
        .cfg_sel_i(tx_cfg_sel_i), .cfg_ena_i(tx_cfg_ena_i), .cfg_wr_i(tx_cfg_wr_i),
        .cfg_wdata_i(tx_cfg_rdata_i), .cfg_strb_i(tx_cfg_strb_i), .cfg_rdata_o(tx_cfg_rdata_o),
        .cfg_rdy_o(tx_cfg_rdy_o), .core_clk_i(tx_core_clk_i), .link_rst_i(tx_link_rst),
        .sysref_i(tx_sysref_i), .sync_n_i(tx_sync_i), .data_i(tx_data_i),
        .data_ready_o(tx_data_ready_o), .data_sof_o(tx_data_sof_o), .data_eof_o(tx_data_eof_o),
        .data_somf_o(tx_data_somf_o), .data_eomf_o(tx_data_eomf_o), .debug_o(tx_debug_o),
        .cg_o(sim_tx_cg)
    );
    assign gt_pcs_tx_clk_o      = tx_core_clk_i;
    assign gt_tx_fifo_wrusewd_o = {5*N{1'b0}};
`else
    assign sim_tx_cg = {40*W*N{1'b0}};
`endif

`ifdef JESD204B_CORE_RX
    wire              rx_link_rst = rx_rst_i || gt_pcs_rx_rst_i || !gt_fabric_rstn_i;
    wire              rx_aligned;
`ifdef JESD204B_CORE_TX
    wire [40*W*N-1:0] rx_cg = sim_rx_ext ? sim_rx_cg : sim_tx_cg;
`else
    wire [40*W*N-1:0] rx_cg = sim_rx_cg;
`endif
    jesd204b_core_rx #(
        .LANE(N), .MODE(W), .BUFFER_SIZE(`BUFFER_SIZE), .FIX_EN(`FIX_EN), .FIX_F(FIX_F),
        .INIT_F(`INIT_F), .INIT_K(`INIT_K), .INIT_SCR(INIT_SCR), .INIT_SYS(INIT_SYS),
        .INIT_REINI(INIT_REINI)
    ) u_rx (
        .cfg_clk_i(rx_cfg_clk_i), .cfg_rstn_i(rx_cfg_rstn_i), .cfg_addr_i(rx_cfg_addr_i),
        .cfg_sel_i(rx_cfg_sel_i), .cfg_ena_i(rx_cfg_ena_i), .cfg_wr_i(rx_cfg_wr_i),
        .cfg_wdata_i(rx_cfg_rdata_i), .cfg_strb_i(rx_cfg_strb_i), .cfg_rdata_o(rx_cfg_rdata_o),
        .cfg_rdy_o(rx_cfg_rdy_o), .core_clk_i(rx_core_clk_i), .link_rst_i(rx_link_rst),
        .sysref_i(rx_sysref_i), .cg_i(rx_cg), .sync_n_o(rx_sync_o),
        .data_valid_o(rx_data_valid_o), .data_sof_o(rx_data_sof_o), .data_eof_o(rx_data_eof_o),
        .data_somf_o(rx_data_somf_o), .data_eomf_o(rx_data_eomf_o), .data_o(rx_data_o),
        .data_err_o(rx_data_err_o), .debug_o(rx_debug_o), .k_lock_o(gt_rx_k_lock_o),
        .aligned_o(rx_aligned), .fill_o(gt_rx_fifo_rdusewd_o)
    );
    assign gt_pcs_rx_clk_o    = rx_core_clk_i;
    assign gt_pma_rx_lock_o   = {N{1'b1}};
    assign gt_rx_align_link_o = {N{rx_aligned}};
`endif

    // The SERDES PLLs of a model are always locked.
    assign gt_cpll_ok_o = {N{1'b1}};
`ifdef JESD204B_Q0_QPLL0_OK
    assign gt_q0_qpll0_ok_o = 1'b1;
`endif
`ifdef JESD204B_Q0_QPLL1_OK
    assign gt_q0_qpll1_ok_o = 1'b1;
`endif
`ifdef JESD204B_Q1_QPLL0_OK
    assign gt_q1_qpll0_ok_o = 1'b1;
`endif
`ifdef JESD204B_Q1_QPLL1_OK
    assign gt_q1_qpll1_ok_o = 1'b1;
`endif

`ifdef DRP_PORT_EN
    // The DRP runs on the transmit (else receive) configuration clock.
`ifdef JESD204B_CORE_TX
    assign user_drp_clk_o = tx_cfg_clk_i;
`else
    assign user_drp_clk_o = rx_cfg_clk_i;
`endif
    jesd204b_core_drp u_drp (
        .clk(user_drp_clk_o), .addr_i(user_drp_addr_i), .wren_i(user_drp_wren_i),
        .wrdata_i(user_drp_wrdata_i), .strb_i(user_drp_strb_i), .rden_i(user_drp_rden_i),
        .ready_o(user_drp_ready_o), .rdvld_o(user_drp_rdvld_o), .rddata_o(user_drp_rddata_o),
        .resp_o(user_drp_resp_o)
    );
`endif
endmodule
