// Self-checking link testbench for the generated core: runs the link in loopback through a
// channel with lane skew, optional bit error and re-synchronisations, checks every octet and
// the latency, and prints one summary line starting with "JESD204B_SIM". A receive-only core
// gets jesd204b_tx_link as its converter, a transmit-only core jesd204b_rx_link.
`include "top_define.vh"
`include "jesd204b_top_defines.vh"
`include "tb_config.vh"
`include "jesd204b_tb_defaults.vh"

module jesd204b_tb;
    localparam N = `LANE;
    localparam W = `TB_W;
    localparam P = 4 * W;
    localparam [4:0] LANE_FIELD = N - 1;
    localparam integer INJ = `TB_INJECT;
    localparam [7:0] T_F1 = `TB_F - 1, T_M1 = `TB_M - 1, T_DID = `TB_DID, T_TXDID = `TB_TX_DID;
    localparam [4:0] T_RBD = `TB_RBD;
    localparam [4:0] T_K1 = `TB_K - 1, T_N1 = `TB_N - 1, T_NP1 = `TB_NP - 1, T_S1 = `TB_S - 1;
    localparam [4:0] T_CF = `TB_CF;
    localparam [3:0] T_BID = `TB_BID;
    localparam [1:0] T_CS = `TB_CS;
    localparam [0:0] T_HD = `TB_HD, T_SCR = `TB_SCR;
    localparam [1:0] TMODE = `TB_TEST_MODE;

    reg clk = 1'b0, cfg_clk = 1'b0, rst = 1'b1, cfg_rstn = 1'b0, sysref = 1'b0;
    always #2 clk = ~clk;
    always #5 cfg_clk = ~cfg_clk;

    reg  [31:0] cfg_addr = 0, cfg_wdata = 0;
    reg         cfg_wr = 0, cfg_ena = 0, tx_sel = 0, rx_sel = 0, conv_resync = 0, inject = 0;
    reg  [3:0]  cfg_strb = 4'hF;
    wire [31:0] tx_rdata, rx_rdata;
    wire        tx_rdy, rx_rdy, tx_ready, rx_valid, sync_n, tx_pcs_clk, rx_pcs_clk;
    wire [P-1:0] tx_sof, tx_eof, tx_somf, tx_eomf, rx_sof, rx_eof, rx_somf, rx_eomf;
    reg  [32*W*N-1:0] tx_data;
    wire [32*W*N-1:0] rx_data;
    wire [4*W*N-1:0]  rx_err;
    wire [36*W*N-1:0] tx_debug;
    wire [44*W*N-1:0] rx_debug;
    wire [40*W*N-1:0] tx_cg, chan_cg;
    wire [5*N-1:0]    tx_fifo, rx_fifo;
    wire [N-1:0]      rx_pma_lock, rx_k_lock, rx_align, cpll_ok, conv_ilas_err, conv_overflow;
    wire [16*N-1:0]   conv_nit, conv_disp, conv_unexp;
    wire [15:0]       conv_resyncs;
    wire [1:0]        conv_state, conv_state_rx;
    wire              conv_aligned, conv_first, rx_aligned1, conv_rx_aligned;
    wire              drp_clk, drp_ready, drp_rdvld, drp_resp;
    wire [31:0]       drp_rddata;
    reg  [31:0]       ctrl, link0, link1, link2;
    wire [63:0]       link_params = {2'b00, link1[30:26], link1[31], link1[20:16],
                                     link1[12:8], link1[4:0], link1[25:24], link0[23:16],
                                     link0[12:8], link0[7:0], LANE_FIELD, ctrl[8], link2[11:8],
                                     link2[7:0]};

    `include "jesd204b_tb_dut.vh"

    reg [15:0] chan_extra = 16'd0;
    jesd204b_tb_channel #(.N(N), .W(W), .SKEW(`TB_SKEW), .VAR(`TB_DELAY_VAR)) u_chan (
        .clk(clk), .cg_i(tx_cg), .inject(inject), .inject_lane(INJ[3:0]), .extra(chan_extra),
        .cg_o(chan_cg)
    );

    `include "jesd204b_tb_data.vh"
    `include "jesd204b_tb_bus.vh"
    `include "jesd204b_tb_monitor.vh"
    `include "jesd204b_tb_latency.vh"
`ifdef TB_SAMPLES
    `include "jesd204b_tb_samples.vh"
`endif
    `include "jesd204b_tb_run.vh"
endmodule
