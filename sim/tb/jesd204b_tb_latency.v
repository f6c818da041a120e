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

    integer     arr_t [0:N-1], arr_rel [0:N-1];
    integer     margin0 = -1, snap_margin = -1, lat_first = -1, lat_now, ups = 0, al, ao, alate;
    reg [N-1:0] arr_got = {N{1'b0}};
    reg [8:0]   arr_prev [0:N-1];
    reg [10:0]  arr_oct;
    reg         rx_valid_q = 1'b0;

    assign linkup_margin = margin0;
    assign latest_margin = snap_margin;

    always @(posedge clk) begin
        rx_valid_q <= rx_valid;
        for (al = 0; al < N; al = al + 1)
            for (ao = 0; ao < P; ao = ao + 1) begin
                arr_oct = rx_debug[(al*P+ao)*11 +: 11];
                if (arr_oct == 11'h11C && arr_prev[al] == 9'h1BC && !arr_got[al]) begin
                    arr_t[al]              = cycles * P + ao;
                    arrival[al*32 +: 32]   = {21'd0, rx_lmfc_count} * P + ao;
                    arr_rel[al]            = {18'd0, rx_release_count} * P + ao;
                    arr_got[al]            = 1'b1;
                end
                arr_prev[al] = arr_oct[8:0];
            end
        if (&arr_got) begin
            alate = 0;
            for (al = 1; al < N; al = al + 1)
                if (arr_t[al] > arr_t[alate]) alate = al;
            snap_margin = (frame_octets * multiframe_frames - arr_rel[alate])
                          % (frame_octets * multiframe_frames);
            for (al = 0; al < N; al = al + 1)
                margin[al*32 +: 32] = snap_margin + arr_t[alate] - arr_t[al];
            arr_got = {N{1'b0}};
        end
        if (rx_valid && !rx_valid_q) begin
            ups     = ups + 1;
            lat_now = cycles - tx_first_cycle;
            if (margin0 < 0) begin
                margin0       = snap_margin;
                lat_first     = lat_now;
                first_arrival = arrival;
                first_margin  = margin;
            end else if (lat_now != lat_first)
                $display("JESD204B_CROSSED linkup=%0d delay=%0d margin=%0d latency=%0d first=%0d",
                         ups, channel_delay, margin0, lat_now, lat_first);
        end
    end
endmodule
