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
    localparam integer INJECT_LANE = `TB_INJECT;
    // The link parameters as the registers and the ILAS hold them: *_FIELD is the value minus
    // one; RX_DID / TX_DID the DID the receiving / transmitting side expects / sends.
    localparam [4:0] LANE_FIELD = N - 1;
    localparam [7:0] F_FIELD = `TB_F - 1, M_FIELD = `TB_M - 1;
    localparam [7:0] RX_DID = `TB_DID, TX_DID = `TB_TX_DID;
    localparam [4:0] RBD = `TB_RBD;
    localparam [4:0] K_FIELD = `TB_K - 1, N_FIELD = `TB_N - 1, NP_FIELD = `TB_NP - 1;
    localparam [4:0] S_FIELD = `TB_S - 1;
    localparam [4:0] CF = `TB_CF;
    localparam [3:0] BID = `TB_BID;
    localparam [1:0] CS = `TB_CS;
    localparam [0:0] HD = `TB_HD, SCRAMBLING = `TB_SCR;
    localparam [1:0] TEST_MODE = `TB_TEST_MODE;

    reg clk = 1'b0, cfg_clk = 1'b0, rst = 1'b1, cfg_rstn = 1'b0;
    always #2 clk = ~clk;
    always #5 cfg_clk = ~cfg_clk;

    reg  [31:0] cfg_addr = 0, cfg_wdata = 0;
    reg         cfg_wr = 0, cfg_ena = 0, tx_sel = 0, rx_sel = 0, conv_resync = 0, inject = 0;
    reg  [3:0]  cfg_strb = 4'hF;
    wire [31:0] tx_rdata, rx_rdata;
    wire        tx_rdy, rx_rdy, tx_ready, rx_valid, sync_n, tx_pcs_clk, rx_pcs_clk;
    wire [P-1:0] tx_sof, tx_eof, tx_somf, tx_eomf, rx_sof, rx_eof, rx_somf, rx_eomf;
    wire [32*W*N-1:0] tx_data, rx_data;
    wire [4*W*N-1:0]  rx_err;
    wire [36*W*N-1:0] tx_debug;
    wire [44*W*N-1:0] rx_debug;
    wire [40*W*N-1:0] tx_cg, chan_cg;
    wire [5*N-1:0]    tx_fifo, rx_fifo;
    wire [N-1:0]      rx_pma_lock, rx_k_lock, rx_align, cpll_ok, conv_ilas_err, conv_overflow;
    wire [16*N-1:0]   conv_nit, conv_disp, conv_unexp;
    wire [15:0]       conv_resyncs;
    wire [1:0]        conv_state, conv_state_rx;
    wire              conv_aligned, conv_first, rx_aligned1, conv_rx_aligned, sysref, checking;
    wire              drp_clk, drp_ready, drp_rdvld, drp_resp;
    wire [31:0]       drp_rddata;
    reg  [31:0]       ctrl, link0, link1, link2;
    wire [63:0]       link_params = {2'b00, link1[30:26], link1[31], link1[20:16],
                                     link1[12:8], link1[4:0], link1[25:24], link0[23:16],
                                     link0[12:8], link0[7:0], LANE_FIELD, ctrl[8], link2[11:8],
                                     link2[7:0]};

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
        .clk(clk), .rst(rst), .link_params({link_params[63:8], TX_DID}), .test_mode(TEST_MODE),
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
        .clk(clk), .rst(rst), .link_params({link_params[63:8], RX_DID}),
        .sysref_always(ctrl[9]), .sysref_reinit(ctrl[10]), .resync_on_err(1'b1),
        .resync_req(conv_resync), .clr_cnt(1'b0), .sysref(sysref), .rbd(RBD), .cg_i(chan_cg),
        .sync_n_o(sync_n), .valid_o(rx_valid), .sof_o(rx_sof), .eof_o(rx_eof),
        .somf_o(rx_somf), .eomf_o(rx_eomf), .data_o(rx_data), .err_o(rx_err),
        .debug_o(rx_debug), .k_lock_o(rx_k_lock), .aligned_o(rx_aligned1),
        .ilas_err_o(conv_ilas_err), .overflow_o(conv_overflow), .nit_cnt_o(conv_nit),
        .disp_cnt_o(conv_disp), .unexp_cnt_o(conv_unexp), .resync_cnt_o(conv_resyncs),
        .fill_o(rx_fifo), .state_o(conv_state_rx), .lmfc_aligned_o(conv_rx_aligned)
    );
`endif

    reg [15:0] channel_delay = 16'd0;
    jesd204b_tb_channel #(.N(N), .W(W), .SKEW(`TB_SKEW), .VAR(`TB_DELAY_VAR)) u_chan (
        .clk(clk), .cg_i(tx_cg), .inject(inject), .inject_lane(INJECT_LANE[3:0]),
        .extra(channel_delay), .cg_o(chan_cg)
    );

`ifdef TB_CORE_RX
`define TB_RX_LINK dut.u_core.u_rx.u_link
    localparam RX_BUFFER_OCTETS = `BUFFER_SIZE;
`else
`define TB_RX_LINK u_conv_rx
    localparam RX_BUFFER_OCTETS = 1024;
`endif
    `include "jesd204b_link_params.vh"

    // Observed inside the receiver: its LMFC and release point, for the lanes' arrivals.
    wire [10:0] rx_lmfc_count    = `TB_RX_LINK.lmfc_cnt;
    wire [13:0] rx_release_count = `TB_RX_LINK.release_count;
    wire [13:0] rx_release_at    = `TB_RX_LINK.release_at;

    integer frame_octets = 1, multiframe_frames = 1, lmfc_clocks = 1, reset_cycle = 0;
    wire signed [31:0] cycles, tx_first_cycle, linkups, first_latency, linkup_lmfc;
    wire signed [31:0] checked_octets, data_errors;
    wire signed [31:0] linkup_margin, latest_margin;
    wire               latency_constant;
    wire [32*W*N-1:0]  octets;
    wire [32*N-1:0]    arrival, margin, first_arrival, first_margin;

`ifdef TB_SAMPLES
    localparam CHECK_OCTETS = 0;
`else
    localparam CHECK_OCTETS = 1;
`endif
    jesd204b_tb_monitor #(
        .N(N), .W(W), .TEST_MODE(TEST_MODE), .CHECK_OCTETS(CHECK_OCTETS)
    ) u_monitor (
        .clk(clk), .rst(rst), .reset_cycle(reset_cycle), .frame_octets(frame_octets),
        .multiframe_frames(multiframe_frames), .lmfc_clocks(lmfc_clocks), .descramble(ctrl[8]),
        .inject(inject), .tx_ready(tx_ready), .tx_sof(tx_sof), .tx_eof(tx_eof),
        .tx_somf(tx_somf), .tx_eomf(tx_eomf), .rx_valid(rx_valid), .rx_sof(rx_sof),
        .rx_eof(rx_eof), .rx_somf(rx_somf), .rx_eomf(rx_eomf), .rx_data(rx_data),
        .rx_err(rx_err), .tx_octets(octets), .sysref(sysref), .checking(checking),
        .cycles(cycles), .tx_first_cycle(tx_first_cycle), .linkups(linkups),
        .first_latency(first_latency), .latency_constant(latency_constant),
        .linkup_lmfc(linkup_lmfc), .checked_octets(checked_octets), .data_errors(data_errors)
    );

    jesd204b_tb_latency #(.N(N), .W(W)) u_latency (
        .clk(clk), .rx_debug(rx_debug), .rx_valid(rx_valid), .rx_lmfc_count(rx_lmfc_count),
        .rx_release_count(rx_release_count), .cycles(cycles), .tx_first_cycle(tx_first_cycle),
        .frame_octets(frame_octets), .multiframe_frames(multiframe_frames),
        .channel_delay(channel_delay),
        .arrival(arrival), .margin(margin), .first_arrival(first_arrival),
        .first_margin(first_margin), .linkup_margin(linkup_margin), .latest_margin(latest_margin)
    );

`ifdef TB_SAMPLES
    wire signed [31:0] samples_checked, sample_errors;
    jesd204b_tb_samples #(
        .LANES(N), .W(W), .M(`TB_M), .S(`TB_S), .N(`TB_N), .CS(`TB_CS), .SB(`TB_SB), .K(`TB_K)
    ) u_samples (
        .clk(clk), .rst(rst), .checking(checking), .tx_ready(tx_ready), .tx_somf(tx_somf[0]),
        .rx_valid(rx_valid), .rx_somf(rx_somf[0]), .rx_data(rx_data), .tx_data(tx_data),
        .samples_checked(samples_checked), .sample_errors(sample_errors)
    );
`else
    assign tx_data = octets;
`endif

`ifdef TB_DUMP
    // One line per character time: the code group of every lane, lane 0 first.
    integer fd, dl, dn;
    initial fd = $fopen(`TB_DUMP, "w");
    always @(posedge clk)
        if (!rst)
            for (dn = 0; dn < P; dn = dn + 1)
                for (dl = 0; dl < N; dl = dl + 1)
                    if (dl == N - 1) $fwrite(fd, "%03h\n", tx_cg[(dl*P+dn)*10 +: 10]);
                    else $fwrite(fd, "%03h ", tx_cg[(dl*P+dn)*10 +: 10]);
`endif

`ifdef TB_VCD
    // The testbench's own signals (SYNC~, code groups, data handshakes), not the model's.
    initial begin
        $dumpfile(`TB_VCD);
        $dumpvars(1, jesd204b_tb);
    end
`endif

    // Configuration bus accesses (zero wait states, see sim/README.md).
    task cfg_access;
        input        to_rx;
        input        write;
        input [7:0]  addr;
        input [31:0] wdata;
        output [31:0] rdata;
        begin
            // The first falling edge after the call, also for a call made on one.
            #1 @(negedge cfg_clk);
            cfg_addr  = {24'd0, addr};
            cfg_wdata = wdata;
            cfg_wr    = write;
            cfg_strb  = 4'hF;
            tx_sel    = !to_rx;
            rx_sel    = to_rx;
            cfg_ena   = 1'b1;
            #1 rdata  = to_rx ? rx_rdata : tx_rdata;
            @(negedge cfg_clk);
            tx_sel  = 1'b0;
            rx_sel  = 1'b0;
            cfg_ena = 1'b0;
            cfg_wr  = 1'b0;
        end
    endtask

    reg [31:0] bus_dummy;
    // Writes the requested link parameters to every core the headers build and reads the
    // values back that the core keeps, which the converter model then uses.
    task configure;
        input to_rx;
        begin
            cfg_access(to_rx, 1'b1, 8'h08, {8'd0, M_FIELD, 3'd0, K_FIELD, F_FIELD}, bus_dummy);
            cfg_access(to_rx, 1'b1, 8'h0C, {HD, CF, CS, 3'd0, S_FIELD, 3'd0, NP_FIELD, 3'd0,
                                            N_FIELD}, bus_dummy);
            cfg_access(to_rx, 1'b1, 8'h10, {20'd0, BID, to_rx ? RX_DID : TX_DID}, bus_dummy);
            if (to_rx) cfg_access(1'b1, 1'b1, 8'h1C, {27'd0, RBD}, bus_dummy);
            cfg_access(to_rx, 1'b1, 8'h04, (ctrl & ~32'h130) | (SCRAMBLING ? 32'h100 : 32'h0)
                                           | {26'd0, TEST_MODE, 4'd0}, bus_dummy);
            cfg_access(to_rx, 1'b0, 8'h04, 32'd0, ctrl);
            cfg_access(to_rx, 1'b0, 8'h08, 32'd0, link0);
            cfg_access(to_rx, 1'b0, 8'h0C, 32'd0, link1);
            cfg_access(to_rx, 1'b0, 8'h10, 32'd0, link2);
        end
    endtask

    // The common channel delay after each requested re-synchronisation: 0..TB_DELAY_VAR
    // octets from a fixed start value, so that a run repeats.
    reg [31:0]  delay_state = 32'h2545F491;

    task next_delay;
        begin
            delay_state = delay_state ^ (delay_state << 13);
            delay_state = delay_state ^ (delay_state >> 17);
            delay_state = delay_state ^ (delay_state << 5);
            channel_delay = delay_state % (`TB_DELAY_VAR + 1);
        end
    endtask

    // Per lane: arrival (octets after the LMFC boundary), release point, margin, overflow; then
    // the configuration octets of a lane whose ILAS the receiver refused.
    integer al, rl_i;
    task report_lanes;
        input [N-1:0] overflowed;
        input [N-1:0] refused;
        reg           latest;
        begin
            latest = linkup_margin < 0 && latest_margin >= 0;
            if (linkup_margin >= 0 || latest_margin >= 0)
                for (al = 0; al < N; al = al + 1)
                    $display("JESD204B_LANE lane=%0d arrival=%0d release=%0d margin=%0d overflow=%0d buffer=%0d octets_per_clock=%0d",
                             al,
                             $signed(latest ? arrival[al*32 +: 32] : first_arrival[al*32 +: 32]),
                             rx_release_at * P,
                             $signed(latest ? margin[al*32 +: 32] : first_margin[al*32 +: 32]),
                             overflowed[al], RX_BUFFER_OCTETS, P);
            for (al = 0; al < N; al = al + 1)
                if (refused[al]) begin
                    $write("JESD204B_ILAS lane=%0d expected=", al);
                    for (rl_i = 0; rl_i < 14; rl_i = rl_i + 1)
                        $write("%02h", jesd204b_ilas_octet(`TB_RX_LINK.link_params[61:0], al[4:0],
                                                           rl_i[3:0]));
                    $write(" received=");
                    for (rl_i = 0; rl_i < 14; rl_i = rl_i + 1)
                        $write("%02h", `TB_RX_LINK.ilas_received[al*14 + rl_i]);
                    $display("");
                end
        end
    endtask

    // Test sequence: configure, reset, link-up, optional bit error, re-synchronisations, summary.
    integer    phases, phase_frames, timeout, r, ln, lane_errors = 0, injected_lane_errors = 0;
    integer    ilas_errors = 0, resyncs = 0, overflows = 0, margin_octets;
    reg [N-1:0] refused, overflowed;
    reg        ok = 1'b1, recovered = 1'b1;
    reg [31:0] v;

    task wait_valid;
        input level;
        integer t;
        begin
            t = 0;
            while (ok && rx_valid !== level && t < timeout) begin
                @(posedge clk);
                t = t + 1;
            end
            if (rx_valid !== level) ok = 1'b0;
        end
    endtask

    // Counts the valid clocks itself: the monitor's counters change on the edge this task
    // wakes on, and which of the two runs first differs between simulators.
    task wait_frames;
        input integer fr;
        integer n, t;
        begin
            n = 0;
            t = 0;
            while (ok && n / frame_octets < fr && t < timeout + fr * frame_octets) begin
                @(posedge clk);
                if (rx_valid) n = n + P;
                t = t + 1;
            end
            if (n / frame_octets < fr) ok = 1'b0;
        end
    endtask

    initial begin
        ctrl = 0; link0 = 0; link1 = 0; link2 = 0;
        // Rising edges first: the clock's start from x at time 0 is a falling edge to some
        // simulators only.
        repeat (4) @(posedge cfg_clk);
        @(negedge cfg_clk) cfg_rstn = 1'b1;
`ifdef TB_CORE_RX
        cfg_access(1'b1, 1'b0, 8'h04, 32'd0, ctrl);
        configure(1'b1);
`endif
`ifdef TB_CORE_TX
        cfg_access(1'b0, 1'b0, 8'h04, 32'd0, ctrl);
        configure(1'b0);
`endif
        frame_octets    = link0[7:0] + 1;
        multiframe_frames    = link0[12:8] + 1;
        lmfc_clocks = frame_octets * multiframe_frames / P;
        timeout  = 300 * lmfc_clocks + 4000;
        repeat (4) @(posedge clk);
        reset_cycle = cycles;
        // Inputs of the clocked logic change on the falling edge, so that no order of the
        // processes woken by a rising edge decides which edge sees them first.
        @(negedge clk) rst = 1'b0;

        phases       = 1 + `TB_RESYNCS + (INJECT_LANE >= 0 ? 1 : 0);
        phase_frames = (`TB_FRAMES + phases - 1) / phases;
        wait_valid(1'b1);
        wait_frames(phase_frames);
        if (INJECT_LANE >= 0 && ok) begin
            @(negedge clk) inject = 1'b1;
            @(negedge clk) inject = 1'b0;
            wait_valid(1'b0);
            wait_valid(1'b1);
            recovered = ok;
            wait_frames(phase_frames);
        end
        for (r = 0; r < `TB_RESYNCS && ok; r = r + 1) begin
`ifdef TB_CORE_RX
            cfg_access(1'b1, 1'b1, 8'h04, ctrl | 32'h1, v);
`else
            @(negedge clk) conv_resync = 1'b1;
            @(negedge clk) conv_resync = 1'b0;
`endif
            wait_valid(1'b0);
            if (`TB_DELAY_VAR > 0) next_delay;
            wait_valid(1'b1);
            wait_frames(phase_frames);
        end
        repeat (8) @(posedge clk);
        #1;
`ifdef TB_CORE_RX
        for (ln = 0; ln < N; ln = ln + 1) begin
            cfg_access(1'b1, 1'b0, 8'h20 + 4 * ln, 32'd0, v);
            lane_errors = lane_errors + v[15:0] + v[31:16];
            if (ln == INJECT_LANE) injected_lane_errors = v[15:0] + v[31:16];
            cfg_access(1'b1, 1'b0, 8'h40 + 4 * ln, 32'd0, v);
            lane_errors = lane_errors + v[15:0];
        end
        cfg_access(1'b1, 1'b0, 8'h14, 32'd0, v);
        refused    = v[16 +: N];
        overflowed = v[24 +: N];
        cfg_access(1'b1, 1'b0, 8'h18, 32'd0, v);
        resyncs = v[15:0];
`else
        for (ln = 0; ln < N; ln = ln + 1) begin
            lane_errors = lane_errors + conv_nit[ln*16 +: 16] + conv_disp[ln*16 +: 16]
                        + conv_unexp[ln*16 +: 16];
            if (ln == INJECT_LANE)
                injected_lane_errors = conv_nit[ln*16 +: 16] + conv_disp[ln*16 +: 16];
        end
        refused     = conv_ilas_err;
        overflowed  = conv_overflow;
        resyncs     = conv_resyncs;
`endif
        // Every process of the last edge has run.
        #1;
        for (ln = 0; ln < N; ln = ln + 1) begin
            ilas_errors = ilas_errors + refused[ln];
            overflows   = overflows + overflowed[ln];
        end
        report_lanes(overflowed, refused);
        margin_octets = linkup_margin >= 0 ? linkup_margin : latest_margin;
        if (linkups < phases || data_errors != 0 || !latency_constant || ilas_errors != 0
            || overflows != 0
            || checked_octets / frame_octets < `TB_FRAMES
            || (INJECT_LANE < 0 ? lane_errors != 0 : injected_lane_errors == 0))
            ok = 1'b0;
`ifdef TB_SAMPLES
        if (sample_errors != 0 || samples_checked == 0) ok = 1'b0;
`endif
        $write("JESD204B_SIM result=%0s linkup_lmfc=%0d frames=%0d data_errors=%0d lane_errors=%0d ilas_errors=%0d buffer_overflows=%0d linkups=%0d resyncs=%0d latency=%0d latency_constant=%0s margin_octets=",
               ok && recovered ? "PASS" : "FAIL", linkup_lmfc, checked_octets / frame_octets,
               data_errors, lane_errors, ilas_errors, overflows, linkups, resyncs, first_latency,
               linkups == 0 ? "n/a" : (latency_constant ? "yes" : "no"));
        if (margin_octets >= 0) $write("%0d", margin_octets);
        else $write("n/a");
        $write(" recovered=%0s clocks=%0d", INJECT_LANE < 0 ? "n/a" : (recovered ? "yes" : "no"),
               cycles - reset_cycle);
        if (TEST_MODE == 2'd2) $write(" jspat=stand-in");
`ifdef TB_SAMPLES
        $write(" samples_checked=%0d sample_errors=%0d", samples_checked, sample_errors);
`endif
        $display("");
`ifdef TB_DUMP
        $fclose(fd);
`endif
        $finish;
    end
endmodule
