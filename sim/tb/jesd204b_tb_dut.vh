// The generated top with every port the headers enable; the cores' serial sides are reached
// through dut.u_core (sim_tx_cg, sim_rx_cg, sim_rx_ext).
    `module_name dut (
`ifdef TB_CORE_TX
        .tx_rst_i(rst), .tx_core_clk_i(clk), .tx_cfg_clk_i(cfg_clk), .tx_cfg_rstn_i(cfg_rstn),
        .tx_cfg_addr_i(cfg_addr), .tx_cfg_sel_i(tx_sel), .tx_cfg_ena_i(cfg_ena),
        .tx_cfg_wr_i(cfg_wr), .tx_cfg_rdata_o(tx_rdata), .tx_cfg_rdata_i(cfg_wdata),
        .tx_cfg_rdy_o(tx_rdy), .tx_cfg_strb_i(cfg_strb), .tx_sysref_i(sysref),
        .tx_sync_i(sync_n), .tx_data_ready_o(tx_ready), .tx_data_sof_o(tx_sof),
        .tx_data_eof_o(tx_eof), .tx_data_somf_o(tx_somf), .tx_data_eomf_o(tx_eomf),
        .tx_data_i(tx_data), .tx_debug_o(tx_debug), .gt_pcs_tx_clk_o(tx_pcs_clk),
        .gt_pcs_tx_rst_i(1'b0), .gt_tx_fifo_wrusewd_o(tx_fifo),
`endif
`ifdef TB_CORE_RX
        .rx_rst_i(rst), .rx_core_clk_i(clk), .rx_cfg_clk_i(cfg_clk), .rx_cfg_rstn_i(cfg_rstn),
        .rx_cfg_addr_i(cfg_addr), .rx_cfg_sel_i(rx_sel), .rx_cfg_ena_i(cfg_ena),
        .rx_cfg_wr_i(cfg_wr), .rx_cfg_rdata_o(rx_rdata), .rx_cfg_rdata_i(cfg_wdata),
        .rx_cfg_rdy_o(rx_rdy), .rx_cfg_strb_i(cfg_strb), .rx_sysref_i(sysref),
        .rx_sync_o(sync_n), .rx_data_valid_o(rx_valid), .rx_data_sof_o(rx_sof),
        .rx_data_eof_o(rx_eof), .rx_data_somf_o(rx_somf), .rx_data_eomf_o(rx_eomf),
        .rx_data_o(rx_data), .rx_data_err_o(rx_err), .rx_debug_o(rx_debug),
        .gt_pcs_rx_clk_o(rx_pcs_clk), .gt_pma_rx_lock_o(rx_pma_lock),
        .gt_rx_k_lock_o(rx_k_lock), .gt_rx_align_link_o(rx_align), .gt_pcs_rx_rst_i(1'b0),
        .gt_rx_fifo_rdusewd_o(rx_fifo),
`endif
`ifdef DRP_PORT_EN
        .user_drp_clk_o(drp_clk), .user_drp_addr_i(24'd0), .user_drp_wren_i(1'b0),
        .user_drp_wrdata_i(32'd0), .user_drp_strb_i(8'd0), .user_drp_rden_i(1'b0),
        .user_drp_ready_o(drp_ready), .user_drp_rdvld_o(drp_rdvld),
        .user_drp_rddata_o(drp_rddata), .user_drp_resp_o(drp_resp),
`endif
        .gt_cpll_ok_o(cpll_ok), .gt_fabric_rstn_i(1'b1)
    );

`ifdef TB_CORE_TX
    assign tx_cg = dut.u_core.sim_tx_cg;
`else
    jesd204b_tx_link #(.L(N), .W(W)) u_conv_tx (
        .clk(clk), .rst(rst), .link_params({link_params[63:8], T_TXDID}), .test_mode(TMODE),
        .sysref_always(ctrl[9]), .sysref_reinit(ctrl[10]), .sysref(sysref), .sync_n(sync_n),
        .data_i(tx_data),
        .ready_o(tx_ready), .sof_o(tx_sof), .eof_o(tx_eof), .somf_o(tx_somf),
        .eomf_o(tx_eomf), .cg_o(tx_cg), .debug_o(tx_debug), .state_o(conv_state),
        .lmfc_aligned_o(conv_aligned), .lmfc_first_o(conv_first)
    );
`endif
`ifdef TB_CORE_RX
    always @(posedge clk) begin
        dut.u_core.sim_rx_cg  <= chan_cg;
        dut.u_core.sim_rx_ext <= 1'b1;
    end
`else
    jesd204b_rx_link #(.L(N), .W(W), .BUF(1024)) u_conv_rx (
        .clk(clk), .rst(rst), .link_params({link_params[63:8], T_DID}), .sysref_always(ctrl[9]),
        .sysref_reinit(ctrl[10]), .resync_on_err(1'b1), .resync_req(conv_resync),
        .clr_cnt(1'b0), .sysref(sysref), .rbd(T_RBD), .cg_i(chan_cg), .sync_n_o(sync_n), .valid_o(rx_valid), .sof_o(rx_sof),
        .eof_o(rx_eof), .somf_o(rx_somf), .eomf_o(rx_eomf), .data_o(rx_data), .err_o(rx_err),
        .debug_o(rx_debug), .k_lock_o(rx_k_lock), .aligned_o(rx_aligned1),
        .ilas_err_o(conv_ilas_err), .overflow_o(conv_overflow), .nit_cnt_o(conv_nit), .disp_cnt_o(conv_disp),
        .unexp_cnt_o(conv_unexp), .resync_cnt_o(conv_resyncs), .fill_o(rx_fifo),
        .state_o(conv_state_rx), .lmfc_aligned_o(conv_rx_aligned)
    );
`endif
