// Where each lane's ILAS start (the first /R/ after /K/, as the receiver decodes it) arrives
// against the receiver's LMFC and release point. A lane's margin is how many octets later it
// could have arrived and still be released at the same release point; the latest lane's
// margin at the first link-up is what a later change of the channel delay may use up before
// the latency changes by a multiframe.
`ifdef TB_CORE_RX
`define TB_RX_LINK dut.u_core.u_rx.u_link
    localparam TB_RX_BUF = `BUFFER_SIZE;
`else
`define TB_RX_LINK u_conv_rx
    localparam TB_RX_BUF = 1024;
`endif
    `include "jesd204b_link_params.vh"

    integer     arr_t [0:N-1], arr_pos [0:N-1], arr_rel [0:N-1], lane_margin [0:N-1];
    integer     ref_pos [0:N-1], ref_margin [0:N-1];
    integer     margin0 = -1, snap_margin = -1, lat_first = -1, lat_now, ups = 0, al, ao, alate;
    reg [N-1:0] arr_got = {N{1'b0}};
    reg [8:0]   arr_prev [0:N-1];
    reg [10:0]  arr_oct;
    // The common channel delay after each requested re-synchronisation: 0..TB_DELAY_VAR
    // octets from a fixed start value, so that a run repeats.
    reg [31:0]  var_state = 32'h2545F491;

    task next_delay;
        begin
            var_state = var_state ^ (var_state << 13);
            var_state = var_state ^ (var_state >> 17);
            var_state = var_state ^ (var_state << 5);
            chan_extra = var_state % (`TB_DELAY_VAR + 1);
        end
    endtask

    always @(posedge clk) begin
        for (al = 0; al < N; al = al + 1)
            for (ao = 0; ao < P; ao = ao + 1) begin
                arr_oct = rx_debug[(al*P+ao)*11 +: 11];
                if (arr_oct == 11'h11C && arr_prev[al] == 9'h1BC && !arr_got[al]) begin
                    arr_t[al]   = cyc * P + ao;
                    arr_pos[al] = `TB_RX_LINK.lmfc_cnt * P + ao;
                    arr_rel[al] = `TB_RX_LINK.release_count * P + ao;
                    arr_got[al] = 1'b1;
                end
                arr_prev[al] = arr_oct[8:0];
            end
        if (&arr_got) begin
            alate = 0;
            for (al = 1; al < N; al = al + 1)
                if (arr_t[al] > arr_t[alate]) alate = al;
            snap_margin = (f_eff * k_eff - arr_rel[alate]) % (f_eff * k_eff);
            for (al = 0; al < N; al = al + 1)
                lane_margin[al] = snap_margin + arr_t[alate] - arr_t[al];
            arr_got = {N{1'b0}};
        end
        if (rx_valid && !rx_valid_q) begin
            ups     = ups + 1;
            lat_now = cyc - t_tx_first;
            if (margin0 < 0) begin
                margin0   = snap_margin;
                lat_first = lat_now;
                for (al = 0; al < N; al = al + 1) begin
                    ref_pos[al]    = arr_pos[al];
                    ref_margin[al] = lane_margin[al];
                end
            end else if (lat_now != lat_first)
                $display("JESD204B_CROSSED linkup=%0d delay=%0d margin=%0d latency=%0d first=%0d",
                         ups, chan_extra, margin0, lat_now, lat_first);
        end
    end

    // Per lane: arrival (octets after the LMFC boundary), release point, margin, overflow; then
    // the configuration octets of a lane whose ILAS the receiver refused.
    integer rl_i;
    task report_lanes;
        input [N-1:0] overflowed;
        input [N-1:0] refused;
        begin
            if (margin0 < 0 && snap_margin >= 0)
                for (al = 0; al < N; al = al + 1) begin
                    ref_pos[al]    = arr_pos[al];
                    ref_margin[al] = lane_margin[al];
                end
            if (margin0 >= 0 || snap_margin >= 0)
                for (al = 0; al < N; al = al + 1)
                    $display("JESD204B_LANE lane=%0d arrival=%0d release=%0d margin=%0d overflow=%0d buffer=%0d octets_per_clock=%0d",
                             al, ref_pos[al], `TB_RX_LINK.release_at * P, ref_margin[al],
                             overflowed[al], TB_RX_BUF, P);
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
