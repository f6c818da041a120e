// Transmit direction of jesd204b_core: registers and link layer.
    localparam TEST_MASK = (`RPAT_EN ? 1 : 0) | (`JSPAT_EN ? 2 : 0);
    wire [63:0] tx_lp;
    wire [1:0]  tx_test_mode;
    wire        tx_sys_always, tx_sys_reinit, unused_tx_resync, unused_tx_clr, unused_tx_roe;
    wire [1:0]  tx_state;
    wire        tx_lmfc_aligned, unused_tx_lmfc_first;
    wire [4:0]  unused_tx_rbd;
    wire        tx_link_rst = tx_rst_i || gt_pcs_tx_rst_i || !gt_fabric_rstn_i;

    jesd204b_cfg_regs #(
        .LANE(N), .MODE(W), .FIX_EN(`FIX_EN), .FIX_F(FIX_F), .INIT_F(`INIT_F),
        .INIT_K(`INIT_K), .INIT_SCR(INIT_SCR), .INIT_SYS(INIT_SYS), .INIT_REINI(INIT_REINI),
        .TEST_MASK(TEST_MASK)
    ) u_tx_regs (
        .cfg_clk(tx_cfg_clk_i), .cfg_rstn(tx_cfg_rstn_i), .addr(tx_cfg_addr_i),
        .sel(tx_cfg_sel_i), .ena(tx_cfg_ena_i), .wr(tx_cfg_wr_i), .wdata(tx_cfg_rdata_i),
        .strb(tx_cfg_strb_i), .rdata(tx_cfg_rdata_o), .rdy(tx_cfg_rdy_o),
        .core_clk(tx_core_clk_i), .lp(tx_lp), .test_mode(tx_test_mode),
        .resync_on_err(unused_tx_roe), .sysref_always(tx_sys_always),
        .sysref_reinit(tx_sys_reinit), .resync_pulse(unused_tx_resync),
        .clr_pulse(unused_tx_clr), .rbd(unused_tx_rbd),
        .status({28'd0, tx_lmfc_aligned, tx_sync_i, tx_state}), .resync_cnt(16'd0),
        .lane_err({32*N{1'b0}}), .lane_info({32*N{1'b0}})
    );

    jesd204b_tx_link #(.L(N), .W(W)) u_tx (
        .clk(tx_core_clk_i), .rst(tx_link_rst), .lp(tx_lp), .test_mode(tx_test_mode),
        .sysref_always(tx_sys_always), .sysref_reinit(tx_sys_reinit), .sysref(tx_sysref_i),
        .sync_n(tx_sync_i), .data_i(tx_data_i), .ready_o(tx_data_ready_o),
        .sof_o(tx_data_sof_o), .eof_o(tx_data_eof_o), .somf_o(tx_data_somf_o),
        .eomf_o(tx_data_eomf_o), .cg_o(sim_tx_cg), .debug_o(tx_debug_o), .state_o(tx_state),
        .lmfc_aligned_o(tx_lmfc_aligned), .lmfc_first_o(unused_tx_lmfc_first)
    );

    assign gt_pcs_tx_clk_o      = tx_core_clk_i;
    assign gt_tx_fifo_wrusewd_o = {5*N{1'b0}};
