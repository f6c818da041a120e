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

    integer cycle = 0, tx_first = 0, tx_clock = 0, rx_clock = 0, linkup_count = 0;
    integer first = -1, latency = 0;
    integer lmfc_at_linkup = -1, octets_checked = 0, error_count = 0, lane;
    reg     check_armed = 1'b1, same_latency = 1'b1, tx_ready_q = 1'b0, rx_valid_q = 1'b0, mismatch;
    wire    linkup_edge = rx_valid && !rx_valid_q;

    assign checking         = linkup_edge || (check_armed && !inject);
    assign cycles           = cycle;
    assign tx_first_cycle   = tx_first;
    assign linkups          = linkup_count;
    assign first_latency    = first;
    assign latency_constant = same_latency;
    assign linkup_lmfc      = lmfc_at_linkup;
    assign checked_octets   = octets_checked;
    assign data_errors      = error_count;

    initial sysref = 1'b0;

    always @(*)
        for (lane = 0; lane < N; lane = lane + 1)
            tx_octets[lane*32*W +: 32*W] = tb_data(tx_clock, lane[3:0]);

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
    reg [14:0]     pattern_state, descrambler_state;
    reg [22:0]     lfsr_step;
    reg [7:0]      pattern_octet;
    reg [32*W-1:0] pattern_expected;
    integer        octet;
    task pattern_clock;
        input integer n;
        begin
            for (octet = 0; octet < P; octet = octet + 1) begin
                pattern_octet = tb_rpat(n * P + octet);
                if (TEST_MODE == 2) begin
                    lfsr_step     = tb_lfsr(pattern_state, 8'h00, 1'b0);
                    pattern_state = lfsr_step[22:8];
                    pattern_octet = lfsr_step[7:0];
                end
                pattern_expected[octet*8 +: 8] = pattern_octet;
                if (descramble) begin
                    lfsr_step         = tb_lfsr(descrambler_state, pattern_octet, 1'b1);
                    descrambler_state = lfsr_step[22:8];
                    pattern_expected[octet*8 +: 8] = lfsr_step[7:0];
                end
            end
        end
    endtask

    integer rx_lane;
    always @(posedge clk) begin
        cycle <= cycle + 1;
        tx_ready_q <= tx_ready;
        rx_valid_q <= rx_valid;
        if (inject) check_armed <= 1'b0;
        if (tx_ready && !tx_ready_q) tx_first = cycle;
        if (tx_ready && (tx_sof != marks(tx_clock, 0) || tx_eof != marks(tx_clock, 1)
                         || tx_somf != marks(tx_clock, 2) || tx_eomf != marks(tx_clock, 3)))
            error_count = error_count + 1;
        tx_clock <= tx_ready ? tx_clock + 1 : 0;
        if (rx_valid) begin
            if (linkup_edge) begin
                linkup_count = linkup_count + 1;
                latency      = cycle - tx_first;
                if (first < 0) begin
                    first          = latency;
                    lmfc_at_linkup = (cycle - reset_cycle + lmfc_clocks - 1) / lmfc_clocks;
                end else if (latency != first) begin
                    same_latency = 1'b0;
                end
                check_armed <= 1'b1;
                pattern_state     = 15'h7F80;
                descrambler_state = 15'h7F80;
            end
            if (checking) begin
                mismatch = |rx_err || rx_sof != marks(rx_clock, 0) || rx_eof != marks(rx_clock, 1)
                           || rx_somf != marks(rx_clock, 2) || rx_eomf != marks(rx_clock, 3);
                if (TEST_MODE != 0) pattern_clock(rx_clock);
                if (CHECK_OCTETS != 0)
                    for (rx_lane = 0; rx_lane < N; rx_lane = rx_lane + 1)
                        if (rx_data[rx_lane*32*W +: 32*W] != (TEST_MODE == 0 ?
                                tb_data(rx_clock, rx_lane[3:0]) : pattern_expected))
                            mismatch = 1'b1;
                if (mismatch) error_count = error_count + 1;
                octets_checked = octets_checked + P;
            end
        end
        rx_clock <= rx_valid ? rx_clock + 1 : 0;
    end

    always @(posedge clk)
        sysref <= !rst && ((cycle - reset_cycle) % (4 * lmfc_clocks)) == 5;
endmodule
