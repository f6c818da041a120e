// The receive link layer compares the link configuration of the ILAS with its own: a
// transmitter that announces the same parameters brings the link up without an ILAS error;
// each differing field (DID, BID, scrambling, M, CS, N, S, HD) is flagged on every lane.
module tb_ilas_check;
    localparam L = 2, W = 1;
    // DID 0x55, BID 0xA, SCR 0, L-1 1, F-1 1, K-1 15, M-1 3, CS 2, N-1 13, N'-1 15, S-1 0
    localparam [63:0] LINK_PARAMS = {2'b00, 5'd0, 1'b0, 5'd0, 5'd15, 5'd13, 2'd2, 8'd3, 5'd15,
                                     8'd1, 5'd1, 1'b0, 4'hA, 8'h55};

    reg          clk = 1'b0, rst = 1'b1, sysref = 1'b0;
    reg  [63:0]  rx_link_params;
    wire [63:0]  tx_link_params = LINK_PARAMS;
    wire         sync_n, ready, valid;
    wire [80*W-1:0] cg;
    wire [L-1:0] ilas_err;
    integer      cyc = 0, errors = 0, c;

    always #1 clk = ~clk;
    always @(posedge clk) begin
        cyc    <= cyc + 1;
        sysref <= (cyc % 64) == 3;
    end

    jesd204b_tx_link #(.L(L), .W(W)) u_tx (
        .clk(clk), .rst(rst), .link_params(tx_link_params), .test_mode(2'd0), .sysref_always(1'b0),
        .sysref_reinit(1'b0), .sysref(sysref), .sync_n(sync_n), .data_i({32*W*L{1'b0}}),
        .ready_o(ready), .sof_o(), .eof_o(), .somf_o(), .eomf_o(), .cg_o(cg), .debug_o(),
        .state_o(), .lmfc_aligned_o(), .lmfc_first_o()
    );
    jesd204b_rx_link #(.L(L), .W(W), .BUF(256)) u_rx (
        .clk(clk), .rst(rst), .link_params(rx_link_params), .sysref_always(1'b0), .sysref_reinit(1'b0),
        .resync_on_err(1'b0), .resync_req(1'b0), .clr_cnt(1'b0), .sysref(sysref), .rbd(5'd0),
        .cg_i(cg), .sync_n_o(sync_n), .valid_o(valid), .sof_o(), .eof_o(), .somf_o(), .eomf_o(),
        .data_o(), .err_o(), .debug_o(), .k_lock_o(), .aligned_o(), .ilas_err_o(ilas_err),
        .overflow_o(), .nit_cnt_o(), .disp_cnt_o(), .unexp_cnt_o(), .resync_cnt_o(), .fill_o(), .state_o(),
        .lmfc_aligned_o()
    );

    task run;
        input [63:0]  link_params;
        input         want_err;
        input [8*8:1] name;
        begin
            rx_link_params = link_params;
            rst   = 1'b1;
            repeat (4) @(posedge clk);
            rst = 1'b0;
            c = 0;
            while (!valid && c < 2000) begin
                @(posedge clk);
                c = c + 1;
            end
            if (!valid || (ilas_err != {L{want_err}})) begin
                errors = errors + 1;
                $display("%0s: valid %b, ILAS errors %b", name, valid, ilas_err);
            end
        end
    endtask

    initial begin
        run(LINK_PARAMS, 1'b0, "same");
        run(LINK_PARAMS ^ 64'h1, 1'b1, "DID");
        run(LINK_PARAMS ^ (64'h1 << 8), 1'b1, "BID");
        run(LINK_PARAMS ^ (64'h1 << 12), 1'b1, "SCR");
        run(LINK_PARAMS ^ (64'h1 << 31), 1'b1, "M");
        run(LINK_PARAMS ^ (64'h1 << 39), 1'b1, "CS");
        run(LINK_PARAMS ^ (64'h1 << 41), 1'b1, "N");
        run(LINK_PARAMS ^ (64'h1 << 51), 1'b1, "S");
        run(LINK_PARAMS ^ (64'h1 << 56), 1'b1, "HD");
        $display("%0s: ILAS comparison, %0d mismatches", errors == 0 ? "PASS" : "FAIL", errors);
        $finish;
    end
endmodule
