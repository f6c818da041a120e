// Test sequence: configure, reset, link-up, optional bit error, re-synchronisations, summary.
    integer    phases, phase_frames, timeout, r, ln, lane_errors = 0, inj_count = 0;
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
            while (ok && n / f_eff < fr && t < timeout + fr * f_eff) begin
                @(posedge clk);
                if (rx_valid) n = n + P;
                t = t + 1;
            end
            if (n / f_eff < fr) ok = 1'b0;
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
        f_eff    = link0[7:0] + 1;
        k_eff    = link0[12:8] + 1;
        lmfc_clk = f_eff * k_eff / P;
        timeout  = 300 * lmfc_clk + 4000;
        repeat (4) @(posedge clk);
        t_rst = cyc;
        // Inputs of the clocked logic change on the falling edge, so that no order of the
        // processes woken by a rising edge decides which edge sees them first.
        @(negedge clk) rst = 1'b0;

        phases       = 1 + `TB_RESYNCS + (INJ >= 0 ? 1 : 0);
        phase_frames = (`TB_FRAMES + phases - 1) / phases;
        wait_valid(1'b1);
        wait_frames(phase_frames);
        if (INJ >= 0 && ok) begin
            @(negedge clk) inject = 1'b1;
            checking = 1'b0;
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
            if (ln == INJ) inj_count = v[15:0] + v[31:16];
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
            if (ln == INJ) inj_count = conv_nit[ln*16 +: 16] + conv_disp[ln*16 +: 16];
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
        margin_octets = margin0 >= 0 ? margin0 : snap_margin;
        if (linkups < phases || data_errors != 0 || !lat_const || ilas_errors != 0
            || overflows != 0
            || checked / f_eff < `TB_FRAMES || (INJ < 0 ? lane_errors != 0 : inj_count == 0))
            ok = 1'b0;
`ifdef TB_SAMPLES
        if (sample_errors != 0 || samples_checked == 0) ok = 1'b0;
`endif
        $write("JESD204B_SIM result=%0s linkup_lmfc=%0d frames=%0d data_errors=%0d lane_errors=%0d ilas_errors=%0d buffer_overflows=%0d linkups=%0d resyncs=%0d latency=%0d latency_constant=%0s margin_octets=",
               ok && recovered ? "PASS" : "FAIL", linkup_lmfc, checked / f_eff, data_errors,
               lane_errors, ilas_errors, overflows, linkups, resyncs, lat0,
               linkups == 0 ? "n/a" : (lat_const ? "yes" : "no"));
        if (margin_octets >= 0) $write("%0d", margin_octets);
        else $write("n/a");
        $write(" recovered=%0s clocks=%0d", INJ < 0 ? "n/a" : (recovered ? "yes" : "no"),
               cyc - t_rst);
        if (TMODE == 2'd2) $write(" jspat=stand-in");
`ifdef TB_SAMPLES
        $write(" samples_checked=%0d sample_errors=%0d", samples_checked, sample_errors);
`endif
        $display("");
`ifdef TB_DUMP
        $fclose(fd);
`endif
        $finish;
    end
