// Receive direction of jesd204b_core: configuration registers and receive link layer.
module jesd204b_core_rx #(
    parameter LANE        = 1,
    parameter MODE        = 1,
    parameter BUFFER_SIZE = 1024,
    parameter FIX_EN      = 0,
    parameter FIX_F       = 0,
    parameter INIT_F      = 3,
    parameter INIT_K      = 31,
    parameter INIT_SCR    = 0,
    parameter INIT_SYS    = 0,
    parameter INIT_REINI  = 0
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
    input  wire [40*MODE*LANE-1:0]  cg_i,
    output wire                     sync_n_o,
    output wire                     data_valid_o,
    output wire [4*MODE-1:0]        data_sof_o,
    output wire [4*MODE-1:0]        data_eof_o,
    output wire [4*MODE-1:0]        data_somf_o,
    output wire [4*MODE-1:0]        data_eomf_o,
    output wire [32*MODE*LANE-1:0]  data_o,
    output wire [4*MODE*LANE-1:0]   data_err_o,
    output wire [44*MODE*LANE-1:0]  debug_o,
    output wire [LANE-1:0]          k_lock_o,
    output wire                     aligned_o,
    output wire [5*LANE-1:0]        fill_o
);
    localparam N = LANE;
    wire [63:0]       link_params;
    wire [1:0]        unused_rx_test;
    wire              rx_sys_always, rx_sys_reinit, rx_roe, rx_resync, rx_clr;
    wire [1:0]        rx_state;
    wire              rx_lmfc_aligned;
    wire [N-1:0]      rx_ilas_err, rx_overflow;
    wire [4:0]        rx_rbd;
    wire [16*N-1:0]   rx_nit, rx_disp, rx_unexp;
    wire [15:0]       rx_resync_cnt;
    reg  [32*N-1:0]   rx_lane_err, rx_lane_info;
    wire [N+7:0]      rx_klock8    = {8'd0, k_lock_o};
    wire [N+7:0]      rx_ilas_err8 = {8'd0, rx_ilas_err};
    wire [N+7:0]      rx_overflow8 = {8'd0, rx_overflow};
    wire              unused_rx_bits = ^{rx_klock8[N+7:8], rx_ilas_err8[N+7:8],
                                         rx_overflow8[N+7:8]};

    integer rx_n;
    always @(*)
        for (rx_n = 0; rx_n < N; rx_n = rx_n + 1) begin
            rx_lane_err[rx_n*32 +: 32]  = {rx_disp[rx_n*16 +: 16], rx_nit[rx_n*16 +: 16]};
            rx_lane_info[rx_n*32 +: 32] = {11'd0, fill_o[rx_n*5 +: 5], rx_unexp[rx_n*16 +: 16]};
        end

    jesd204b_cfg_regs #(
        .LANE(N), .MODE(MODE), .FIX_EN(FIX_EN), .FIX_F(FIX_F), .INIT_F(INIT_F),
        .INIT_K(INIT_K), .INIT_SCR(INIT_SCR), .INIT_SYS(INIT_SYS), .INIT_REINI(INIT_REINI),
        .TEST_MASK(0)
    ) u_regs (
        .cfg_clk(cfg_clk_i), .cfg_rstn(cfg_rstn_i), .addr(cfg_addr_i),
        .sel(cfg_sel_i), .ena(cfg_ena_i), .wr(cfg_wr_i), .wdata(cfg_wdata_i),
        .strb(cfg_strb_i), .rdata(cfg_rdata_o), .rdy(cfg_rdy_o),
        .core_clk(core_clk_i), .link_params(link_params), .test_mode(unused_rx_test),
        .resync_on_err(rx_roe), .sysref_always(rx_sys_always), .sysref_reinit(rx_sys_reinit),
        .resync_pulse(rx_resync), .clr_pulse(rx_clr),
        .rbd(rx_rbd),
        .status({rx_overflow8[7:0], rx_ilas_err8[7:0], rx_klock8[7:0], 3'd0, aligned_o,
                 rx_lmfc_aligned, sync_n_o, rx_state}),
        .resync_cnt(rx_resync_cnt), .lane_err(rx_lane_err), .lane_info(rx_lane_info)
    );

    jesd204b_rx_link #(.L(N), .W(MODE), .BUF(BUFFER_SIZE)) u_link (
        .clk(core_clk_i), .rst(link_rst_i), .link_params(link_params),
        .sysref_always(rx_sys_always), .sysref_reinit(rx_sys_reinit), .resync_on_err(rx_roe), .resync_req(rx_resync),
        .clr_cnt(rx_clr), .sysref(sysref_i), .rbd(rx_rbd), .cg_i(cg_i), .sync_n_o(sync_n_o),
        .valid_o(data_valid_o), .sof_o(data_sof_o), .eof_o(data_eof_o),
        .somf_o(data_somf_o), .eomf_o(data_eomf_o), .data_o(data_o),
        .err_o(data_err_o), .debug_o(debug_o), .k_lock_o(k_lock_o),
        .aligned_o(aligned_o), .ilas_err_o(rx_ilas_err), .overflow_o(rx_overflow),
        .nit_cnt_o(rx_nit), .disp_cnt_o(rx_disp), .unexp_cnt_o(rx_unexp),
        .resync_cnt_o(rx_resync_cnt), .fill_o(fill_o), .state_o(rx_state),
        .lmfc_aligned_o(rx_lmfc_aligned)
    );
endmodule
