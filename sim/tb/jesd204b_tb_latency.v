// Where each lane's ILAS start (the first /R/ after /K/, as the receiver decodes it) arrives
// against the receiver's LMFC and release point. A lane's margin is how many octets later it
// could have arrived and still be released at the same release point; the latest lane's
// margin at the first link-up is what a later change of the channel delay may use up before
// the latency changes by a multiframe.
module jesd204b_tb_latency #(
    parameter N = 1,
    parameter W = 1
) (
    input  wire                clk,
    input  wire [44*W*N-1:0]   rx_debug,
    input  wire                rx_valid,
    // The receiver's LMFC count and clocks since its release point.
    input  wire [10:0]         rx_lmfc_count,
    input  wire [13:0]         rx_release_count,
    input  wire signed [31:0]  cycles,
    input  wire signed [31:0]  tx_first_cycle,
    input  wire signed [31:0]  frame_octets,
    input  wire signed [31:0]  multiframe_frames,
    input  wire [15:0]         channel_delay,
    // Per lane, 32 bits each: arrival and margin of the latest attempt and of the first link-up.
    output reg  [32*N-1:0]     arrival,
    output reg  [32*N-1:0]     margin,
    output reg  [32*N-1:0]     first_arrival,
    output reg  [32*N-1:0]     first_margin,
    output wire signed [31:0]  linkup_margin,
    output wire signed [31:0]  latest_margin
);
    localparam P = 4 * W;

    integer     arrival_octet [0:N-1], arrival_release [0:N-1];
    integer     margin_at_linkup = -1, snapshot_margin = -1, first_latency = -1, latency;
    integer     linkups = 0, lane, octet, latest_lane;
    reg [N-1:0] arrived = {N{1'b0}};
    reg [8:0]   prev_character [0:N-1];
    reg [10:0]  character;
    reg         rx_valid_q = 1'b0;

    assign linkup_margin = margin_at_linkup;
    assign latest_margin = snapshot_margin;

    always @(posedge clk) begin
        rx_valid_q <= rx_valid;
        for (lane = 0; lane < N; lane = lane + 1)
            for (octet = 0; octet < P; octet = octet + 1) begin
                character = rx_debug[(lane*P+octet)*11 +: 11];
                if (character == 11'h11C && prev_character[lane] == 9'h1BC && !arrived[lane]) begin
                    arrival_octet[lane]    = cycles * P + octet;
                    arrival[lane*32 +: 32] = {21'd0, rx_lmfc_count} * P + octet;
                    arrival_release[lane]  = {18'd0, rx_release_count} * P + octet;
                    arrived[lane]          = 1'b1;
                end
                prev_character[lane] = character[8:0];
            end
        if (&arrived) begin
            latest_lane = 0;
            for (lane = 1; lane < N; lane = lane + 1)
                if (arrival_octet[lane] > arrival_octet[latest_lane]) latest_lane = lane;
            snapshot_margin = (frame_octets * multiframe_frames - arrival_release[latest_lane])
                              % (frame_octets * multiframe_frames);
            for (lane = 0; lane < N; lane = lane + 1)
                margin[lane*32 +: 32] = snapshot_margin + arrival_octet[latest_lane]
                                        - arrival_octet[lane];
            arrived = {N{1'b0}};
        end
        if (rx_valid && !rx_valid_q) begin
            linkups = linkups + 1;
            latency = cycles - tx_first_cycle;
            if (margin_at_linkup < 0) begin
                margin_at_linkup = snapshot_margin;
                first_latency    = latency;
                first_arrival    = arrival;
                first_margin     = margin;
            end else if (latency != first_latency)
                $display("JESD204B_CROSSED linkup=%0d delay=%0d margin=%0d latency=%0d first=%0d",
                         linkups, channel_delay, margin_at_linkup, latency, first_latency);
        end
    end
endmodule
