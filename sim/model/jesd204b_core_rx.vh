// Receive direction of jesd204b_core: registers and link layer.
    wire [63:0]       rx_lp;
    wire [1:0]        unused_rx_test;
    wire              rx_sys_always, rx_sys_reinit, rx_roe, rx_resync, rx_clr;
    wire [1:0]        rx_state;
    wire              rx_lmfc_aligned, rx_aligned;
    wire [N-1:0]      rx_klock, rx_ilas_err, rx_overflow;
    wire [4:0]        rx_rbd;
    wire [16*N-1:0]   rx_nit, rx_disp, rx_unexp;
    wire [15:0]       rx_resync_cnt;
    wire [5*N-1:0]    rx_fill;
    wire              rx_link_rst = rx_rst_i || gt_pcs_rx_rst_i || !gt_fabric_rstn_i;
    wire [40*W*N-1:0] rx_cg;
    reg  [32*N-1:0]   rx_lane_err, rx_lane_info;
    wire [N+7:0]      rx_klock8    = {8'd0, rx_klock};
    wire [N+7:0]      rx_ilas_err8 = {8'd0, rx_ilas_err};
    wire [N+7:0]      rx_overflow8 = {8'd0, rx_overflow};
    wire              unused_rx_bits = ^{rx_klock8[N+7:8], rx_ilas_err8[N+7:8],
                                         rx_overflow8[N+7:8]};
`ifdef JESD204B_CORE_TX
    assign rx_cg = sim_rx_ext ? sim_rx_cg : sim_tx_cg;
`else
    assign rx_cg = sim_rx_cg;
`endif

    integer rx_n;
    always @(*)
        for (rx_n = 0; rx_n < N; rx_n = rx_n + 1) begin
            rx_lane_err[rx_n*32 +: 32]  = {rx_disp[rx_n*16 +: 16], rx_nit[rx_n*16 +: 16]};
            rx_lane_info[rx_n*32 +: 32] = {11'd0, rx_fill[rx_n*5 +: 5], rx_unexp[rx_n*16 +: 16]};
        end

    jesd204b_cfg_regs #(
        .LANE(N), .MODE(W), .FIX_EN(`FIX_EN), .FIX_F(FIX_F), .INIT_F(`INIT_F),
        .INIT_K(`INIT_K), .INIT_SCR(INIT_SCR), .INIT_SYS(INIT_SYS), .INIT_REINI(INIT_REINI),
        .TEST_MASK(0)
    ) u_rx_regs (
        .cfg_clk(rx_cfg_clk_i), .cfg_rstn(rx_cfg_rstn_i), .addr(rx_cfg_addr_i),
        .sel(rx_cfg_sel_i), .ena(rx_cfg_ena_i), .wr(rx_cfg_wr_i), .wdata(rx_cfg_rdata_i),
        .strb(rx_cfg_strb_i), .rdata(rx_cfg_rdata_o), .rdy(rx_cfg_rdy_o),
        .core_clk(rx_core_clk_i), .lp(rx_lp), .test_mode(unused_rx_test),
        .resync_on_err(rx_roe), .sysref_always(rx_sys_always), .sysref_reinit(rx_sys_reinit),
        .resync_pulse(rx_resync), .clr_pulse(rx_clr),
        .rbd(rx_rbd),
        .status({rx_overflow8[7:0], rx_ilas_err8[7:0], rx_klock8[7:0], 3'd0, rx_aligned, rx_lmfc_aligned, rx_sync_o,
                 rx_state}),
        .resync_cnt(rx_resync_cnt), .lane_err(rx_lane_err), .lane_info(rx_lane_info)
    );

    jesd204b_rx_link #(.L(N), .W(W), .BUF(`BUFFER_SIZE)) u_rx (
        .clk(rx_core_clk_i), .rst(rx_link_rst), .lp(rx_lp), .sysref_always(rx_sys_always),
        .sysref_reinit(rx_sys_reinit), .resync_on_err(rx_roe), .resync_req(rx_resync),
        .clr_cnt(rx_clr), .sysref(rx_sysref_i), .rbd(rx_rbd), .cg_i(rx_cg), .sync_n_o(rx_sync_o),
        .valid_o(rx_data_valid_o), .sof_o(rx_data_sof_o), .eof_o(rx_data_eof_o),
        .somf_o(rx_data_somf_o), .eomf_o(rx_data_eomf_o), .data_o(rx_data_o),
        .err_o(rx_data_err_o), .debug_o(rx_debug_o), .k_lock_o(rx_klock),
        .aligned_o(rx_aligned), .ilas_err_o(rx_ilas_err), .overflow_o(rx_overflow), .nit_cnt_o(rx_nit),
        .disp_cnt_o(rx_disp), .unexp_cnt_o(rx_unexp), .resync_cnt_o(rx_resync_cnt),
        .fill_o(rx_fill), .state_o(rx_state), .lmfc_aligned_o(rx_lmfc_aligned)
    );

    assign gt_pcs_rx_clk_o      = rx_core_clk_i;
    assign gt_pma_rx_lock_o     = {N{1'b1}};
    assign gt_rx_k_lock_o       = rx_klock;
    assign gt_rx_align_link_o   = {N{rx_aligned}};
    assign gt_rx_fifo_rdusewd_o = rx_fill;
