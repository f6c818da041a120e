// Data source and sink of the link testbench: clock n after each link-up carries
// tb_data(n, lane) on both ends, or in a test mode the pattern on every lane, which the
// receiver descrambles when scrambling is on; the latency is the distance between the first
// accepted and the first received clock of a link-up, and it must not change over
// re-synchronisations. Also SYSREF, every four LMFC periods.
module jesd204b_tb_monitor #(
    parameter N         = 1,
    parameter W         = 1,
    parameter TEST_MODE = 0,
    // 0: the transport modules' samples are checked instead of the octets.
    parameter CHECK_OCTETS = 1
) (
    input  wire                clk,
    input  wire                rst,
    // Clock at the end of reset, frame and multiframe length, LMFC period in clocks.
    input  wire signed [31:0]  reset_cycle,
    input  wire signed [31:0]  frame_octets,
    input  wire signed [31:0]  multiframe_frames,
    input  wire signed [31:0]  lmfc_clocks,
    input  wire                descramble,
    // An injected bit error: checking pauses until the next link-up.
    input  wire                inject,
    input  wire                tx_ready,
    input  wire [4*W-1:0]      tx_sof,
    input  wire [4*W-1:0]      tx_eof,
    input  wire [4*W-1:0]      tx_somf,
    input  wire [4*W-1:0]      tx_eomf,
    input  wire                rx_valid,
    input  wire [4*W-1:0]      rx_sof,
    input  wire [4*W-1:0]      rx_eof,
    input  wire [4*W-1:0]      rx_somf,
    input  wire [4*W-1:0]      rx_eomf,
    input  wire [32*W*N-1:0]   rx_data,
    input  wire [4*W*N-1:0]    rx_err,
    output reg  [32*W*N-1:0]   tx_octets,
    output reg                 sysref,
    output wire                checking,
    output wire signed [31:0]  cycles,
    output wire signed [31:0]  tx_first_cycle,
    output wire signed [31:0]  linkups,
    output wire signed [31:0]  first_latency,
    output wire                latency_constant,
    output wire signed [31:0]  linkup_lmfc,
    output wire signed [31:0]  checked_octets,
    output wire signed [31:0]  data_errors
);
    localparam P = 4 * W;

    `include "jesd204b_tb_data.vh"

    integer cyc = 0, t_tx_first = 0, kcnt = 0, jcnt = 0, ups = 0, lat0 = -1, lat = 0;
    integer lmfc_at_linkup = -1, checked = 0, errors = 0, ml;
    reg     check_armed = 1'b1, lat_const = 1'b1, tx_ready_q = 1'b0, rx_valid_q = 1'b0, mism;
    wire    linkup_edge = rx_valid && !rx_valid_q;

    assign checking         = linkup_edge || (check_armed && !inject);
    assign cycles           = cyc;
    assign tx_first_cycle   = t_tx_first;
    assign linkups          = ups;
    assign first_latency    = lat0;
    assign latency_constant = lat_const;
    assign linkup_lmfc      = lmfc_at_linkup;
    assign checked_octets   = checked;
    assign data_errors      = errors;

    initial sysref = 1'b0;

    always @(*)
        for (ml = 0; ml < N; ml = ml + 1)
            tx_octets[ml*32*W +: 32*W] = tb_data(kcnt, ml[3:0]);

    // Frame and multiframe markers of clock n after link-up: data starts on a multiframe.
    function [P-1:0] marks;
        input integer n;
        input integer which;
        integer i, pos;
        begin
            for (i = 0; i < P; i = i + 1) begin
                pos = (n * P + i) % (frame_octets * multiframe_frames);
                case (which)
                    0: marks[i] = pos % frame_octets == 0;
                    1: marks[i] = pos % frame_octets == frame_octets - 1;
                    2: marks[i] = pos == 0;
                    default: marks[i] = pos == frame_octets * multiframe_frames - 1;
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
                if (TEST_MODE == 2) begin
                    pat_step = tb_lfsr(pat_gen, 8'h00, 1'b0);
                    pat_gen  = pat_step[22:8];
                    pat_raw  = pat_step[7:0];
                end
                pat_exp[po*8 +: 8] = pat_raw;
                if (descramble) begin
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
        if (inject) check_armed <= 1'b0;
        if (tx_ready && !tx_ready_q) t_tx_first = cyc;
        if (tx_ready && (tx_sof != marks(kcnt, 0) || tx_eof != marks(kcnt, 1)
                         || tx_somf != marks(kcnt, 2) || tx_eomf != marks(kcnt, 3)))
            errors = errors + 1;
        kcnt <= tx_ready ? kcnt + 1 : 0;
        if (rx_valid) begin
            if (linkup_edge) begin
                ups = ups + 1;
                lat = cyc - t_tx_first;
                if (lat0 < 0) begin
                    lat0           = lat;
                    lmfc_at_linkup = (cyc - reset_cycle + lmfc_clocks - 1) / lmfc_clocks;
                end else if (lat != lat0) begin
                    lat_const = 1'b0;
                end
                check_armed <= 1'b1;
                pat_gen = 15'h7F80;
                pat_dsc = 15'h7F80;
            end
            if (checking) begin
                mism = |rx_err || rx_sof != marks(jcnt, 0) || rx_eof != marks(jcnt, 1)
                       || rx_somf != marks(jcnt, 2) || rx_eomf != marks(jcnt, 3);
                if (TEST_MODE != 0) pattern_clock(jcnt);
                if (CHECK_OCTETS != 0)
                    for (rl = 0; rl < N; rl = rl + 1)
                        if (rx_data[rl*32*W +: 32*W] != (TEST_MODE == 0 ? tb_data(jcnt, rl[3:0])
                                                                        : pat_exp))
                            mism = 1'b1;
                if (mism) errors = errors + 1;
                checked = checked + P;
            end
        end
        jcnt <= rx_valid ? jcnt + 1 : 0;
    end

    always @(posedge clk)
        sysref <= !rst && ((cyc - reset_cycle) % (4 * lmfc_clocks)) == 5;
endmodule
