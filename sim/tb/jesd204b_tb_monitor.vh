// Data source and sink of the testbench: clock n after each link-up carries tb_data(n, lane)
// on both ends, or in a test mode the pattern on every lane, which the receiver descrambles
// when scrambling is on; the latency is the distance between the first accepted and the
// first received clock of a link-up, and it must not change over re-synchronisations.
    integer cyc = 0, t_rst = 0, t_tx_first = 0, lmfc_clk = 1, f_eff = 1, k_eff = 1;
    integer kcnt = 0, jcnt = 0, linkups = 0, lat0 = -1, lat = 0, linkup_lmfc = -1;
    integer checked = 0, data_errors = 0, ml;
    reg     checking = 1'b1, lat_const = 1'b1, tx_ready_q = 1'b0, rx_valid_q = 1'b0, mism;

`ifndef TB_SAMPLES
    always @(*)
        for (ml = 0; ml < N; ml = ml + 1)
            tx_data[ml*32*W +: 32*W] = tb_data(kcnt, ml[3:0]);
`endif

    // Frame and multiframe markers of clock n after link-up: data starts on a multiframe.
    function [P-1:0] marks;
        input integer n;
        input integer which;
        integer i, pos;
        begin
            for (i = 0; i < P; i = i + 1) begin
                pos = (n * P + i) % (f_eff * k_eff);
                case (which)
                    0: marks[i] = pos % f_eff == 0;
                    1: marks[i] = pos % f_eff == f_eff - 1;
                    2: marks[i] = pos == 0;
                    default: marks[i] = pos == f_eff * k_eff - 1;
                endcase
            end
        end
    endfunction

    // Expected octets of a clock in a test mode: the pattern from the data start (JSPAT: zeros
    // through the scrambler from its start state), then the receiver's descrambler.
    reg [14:0] pat_gen, pat_dsc;
    reg [22:0] pat_step;
    reg [7:0]  pat_raw;
    reg [32*W-1:0] pat_exp;
    integer po;
    task pattern_clock;
        input integer n;
        begin
            for (po = 0; po < P; po = po + 1) begin
                pat_raw = tb_rpat(n * P + po);
                if (TMODE == 2'd2) begin
                    pat_step = tb_lfsr(pat_gen, 8'h00, 1'b0);
                    pat_gen  = pat_step[22:8];
                    pat_raw  = pat_step[7:0];
                end
                pat_exp[po*8 +: 8] = pat_raw;
                if (ctrl[8]) begin
                    pat_step = tb_lfsr(pat_dsc, pat_raw, 1'b1);
                    pat_dsc  = pat_step[22:8];
                    pat_exp[po*8 +: 8] = pat_step[7:0];
                end
            end
        end
    endtask

    integer rl;
    always @(posedge clk) begin
        cyc <= cyc + 1;
        tx_ready_q <= tx_ready;
        rx_valid_q <= rx_valid;
        if (tx_ready && !tx_ready_q) t_tx_first = cyc;
        if (tx_ready && (tx_sof != marks(kcnt, 0) || tx_eof != marks(kcnt, 1)
                         || tx_somf != marks(kcnt, 2) || tx_eomf != marks(kcnt, 3)))
            data_errors = data_errors + 1;
        kcnt <= tx_ready ? kcnt + 1 : 0;
        if (rx_valid) begin
            if (!rx_valid_q) begin
                linkups = linkups + 1;
                lat     = cyc - t_tx_first;
                if (lat0 < 0) begin
                    lat0        = lat;
                    linkup_lmfc = (cyc - t_rst + lmfc_clk - 1) / lmfc_clk;
                end else if (lat != lat0) begin
                    lat_const = 1'b0;
                end
                checking = 1'b1;
                pat_gen  = 15'h7F80;
                pat_dsc  = 15'h7F80;
            end
            if (checking) begin
                mism = |rx_err || rx_sof != marks(jcnt, 0) || rx_eof != marks(jcnt, 1)
                       || rx_somf != marks(jcnt, 2) || rx_eomf != marks(jcnt, 3);
                if (TMODE != 2'd0) pattern_clock(jcnt);
`ifndef TB_SAMPLES
                for (rl = 0; rl < N; rl = rl + 1)
                    if (rx_data[rl*32*W +: 32*W] != (TMODE == 2'd0 ? tb_data(jcnt, rl[3:0])
                                                                   : pat_exp)) mism = 1'b1;
`endif
                if (mism) data_errors = data_errors + 1;
                checked = checked + P;
            end
        end
        jcnt <= rx_valid ? jcnt + 1 : 0;
    end

    always @(posedge clk)
        sysref <= !rst && ((cyc - t_rst) % (4 * lmfc_clk)) == 5;

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
