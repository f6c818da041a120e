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
    wire [63:0]     link_params;
    wire [1:0]      unused_test_mode;
    wire            sysref_always, sysref_reinit, resync_on_err, resync_request, clear_counters;
    wire [1:0]      link_state;
    wire            lmfc_aligned;
    wire [N-1:0]    ilas_refused, overflowed;
    wire [4:0]      buffer_delay;
    wire [16*N-1:0] not_in_table_counts, disparity_counts, unexpected_counts;
    wire [15:0]     resync_count;
    reg  [32*N-1:0] lane_errors, lane_info;
    // Lane flags as 8-bit status fields.
    wire [N+7:0]    k_lock_bits        = {8'd0, k_lock_o};
    wire [N+7:0]    ilas_refused_bits  = {8'd0, ilas_refused};
    wire [N+7:0]    overflowed_bits    = {8'd0, overflowed};
    wire            unused_status_bits = ^{k_lock_bits[N+7:8], ilas_refused_bits[N+7:8],
                                           overflowed_bits[N+7:8]};

    integer lane;
    always @(*)
        for (lane = 0; lane < N; lane = lane + 1) begin
            lane_errors[lane*32 +: 32] = {disparity_counts[lane*16 +: 16],
                                          not_in_table_counts[lane*16 +: 16]};
            lane_info[lane*32 +: 32]   = {11'd0, fill_o[lane*5 +: 5],
                                          unexpected_counts[lane*16 +: 16]};
        end

    jesd204b_cfg_regs #(
        .LANE(N), .MODE(MODE), .FIX_EN(FIX_EN), .FIX_F(FIX_F), .INIT_F(INIT_F),
        .INIT_K(INIT_K), .INIT_SCR(INIT_SCR), .INIT_SYS(INIT_SYS), .INIT_REINI(INIT_REINI),
        .TEST_MASK(0)
    ) u_regs (
        .cfg_clk(cfg_clk_i), .cfg_rstn(cfg_rstn_i), .addr(cfg_addr_i),
        .sel(cfg_sel_i), .ena(cfg_ena_i), .wr(cfg_wr_i), .wdata(cfg_wdata_i),
        .strb(cfg_strb_i), .rdata(cfg_rdata_o), .rdy(cfg_rdy_o),
        .core_clk(core_clk_i), .link_params(link_params), .test_mode(unused_test_mode),
        .resync_on_err(resync_on_err), .sysref_always(sysref_always),
        .sysref_reinit(sysref_reinit), .resync_pulse(resync_request),
        .clr_pulse(clear_counters), .rbd(buffer_delay),
        .status({overflowed_bits[7:0], ilas_refused_bits[7:0], k_lock_bits[7:0], 3'd0, aligned_o,
                 lmfc_aligned, sync_n_o, link_state}),
        .resync_cnt(resync_count), .lane_err(lane_errors), .lane_info(lane_info)
    );

    jesd204b_rx_link #(.L(N), .W(MODE), .BUF(BUFFER_SIZE)) u_link (
        .clk(core_clk_i), .rst(link_rst_i), .link_params(link_params),
        .sysref_always(sysref_always), .sysref_reinit(sysref_reinit),
        .resync_on_err(resync_on_err), .resync_req(resync_request), .clr_cnt(clear_counters),
        .sysref(sysref_i), .rbd(buffer_delay), .cg_i(cg_i), .sync_n_o(sync_n_o),
        .valid_o(data_valid_o), .sof_o(data_sof_o), .eof_o(data_eof_o),
        .somf_o(data_somf_o), .eomf_o(data_eomf_o), .data_o(data_o),
        .err_o(data_err_o), .debug_o(debug_o), .k_lock_o(k_lock_o),
        .aligned_o(aligned_o), .ilas_err_o(ilas_refused), .overflow_o(overflowed),
        .nit_cnt_o(not_in_table_counts), .disp_cnt_o(disparity_counts),
        .unexp_cnt_o(unexpected_counts), .resync_cnt_o(resync_count), .fill_o(fill_o),
        .state_o(link_state), .lmfc_aligned_o(lmfc_aligned)
    );
endmodule
