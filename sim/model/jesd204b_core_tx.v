// Transmit direction of jesd204b_core: configuration registers and transmit link layer.
module jesd204b_core_tx #(
    parameter LANE       = 1,
    parameter MODE       = 1,
    parameter FIX_EN     = 0,
    parameter FIX_F      = 0,
    parameter INIT_F     = 3,
    parameter INIT_K     = 31,
    parameter INIT_SCR   = 0,
    parameter INIT_SYS   = 0,
    parameter INIT_REINI = 0,
    parameter TEST_MASK  = 0
) (
    input  wire                     cfg_clk_i,
    input  wire                     cfg_rstn_i,
    input  wire [31:0]              cfg_addr_i,
    input  wire                     cfg_sel_i,
    input  wire                     cfg_ena_i,
    input  wire                     cfg_wr_i,
    input  wire [31:0]              cfg_wdata_i,
    input  wire [3:0]               cfg_strb_i,
    output wire [31:0]              cfg_rdata_o,
    output wire                     cfg_rdy_o,
    input  wire                     core_clk_i,
    input  wire                     link_rst_i,
    input  wire                     sysref_i,
    input  wire                     sync_n_i,
    input  wire [32*MODE*LANE-1:0]  data_i,
    output wire                     data_ready_o,
    output wire [4*MODE-1:0]        data_sof_o,
    output wire [4*MODE-1:0]        data_eof_o,
    output wire [4*MODE-1:0]        data_somf_o,
    output wire [4*MODE-1:0]        data_eomf_o,
    output wire [36*MODE*LANE-1:0]  debug_o,
    output wire [40*MODE*LANE-1:0]  cg_o
);
    wire [63:0] link_params;
    wire [1:0]  test_mode;
    wire        sysref_always, sysref_reinit;
    wire        unused_resync_request, unused_clear_counters, unused_resync_on_err;
    wire [1:0]  link_state;
    wire        lmfc_aligned, unused_lmfc_first;
    wire [4:0]  unused_buffer_delay;

    jesd204b_cfg_regs #(
        .LANE(LANE), .MODE(MODE), .FIX_EN(FIX_EN), .FIX_F(FIX_F), .INIT_F(INIT_F),
        .INIT_K(INIT_K), .INIT_SCR(INIT_SCR), .INIT_SYS(INIT_SYS), .INIT_REINI(INIT_REINI),
        .TEST_MASK(TEST_MASK)
    ) u_regs (
        .cfg_clk(cfg_clk_i), .cfg_rstn(cfg_rstn_i), .addr(cfg_addr_i),
        .sel(cfg_sel_i), .ena(cfg_ena_i), .wr(cfg_wr_i), .wdata(cfg_wdata_i),
        .strb(cfg_strb_i), .rdata(cfg_rdata_o), .rdy(cfg_rdy_o),
        .core_clk(core_clk_i), .link_params(link_params), .test_mode(test_mode),
        .resync_on_err(unused_resync_on_err), .sysref_always(sysref_always),
        .sysref_reinit(sysref_reinit), .resync_pulse(unused_resync_request),
        .clr_pulse(unused_clear_counters), .rbd(unused_buffer_delay),
        .status({28'd0, lmfc_aligned, sync_n_i, link_state}), .resync_cnt(16'd0),
        .lane_err({32*LANE{1'b0}}), .lane_info({32*LANE{1'b0}})
    );

    jesd204b_tx_link #(.L(LANE), .W(MODE)) u_link (
        .clk(core_clk_i), .rst(link_rst_i), .link_params(link_params), .test_mode(test_mode),
        .sysref_always(sysref_always), .sysref_reinit(sysref_reinit), .sysref(sysref_i),
        .sync_n(sync_n_i), .data_i(data_i), .ready_o(data_ready_o),
        .sof_o(data_sof_o), .eof_o(data_eof_o), .somf_o(data_somf_o),
        .eomf_o(data_eomf_o), .cg_o(cg_o), .debug_o(debug_o), .state_o(link_state),
        .lmfc_aligned_o(lmfc_aligned), .lmfc_first_o(unused_lmfc_first)
    );
endmodule
