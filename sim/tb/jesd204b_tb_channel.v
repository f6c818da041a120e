// Serial channel of the link testbench: delays lane l by l*SKEW/(N-1) octets, so that the last
// lane lags SKEW octets behind lane 0, all lanes by extra (up to VAR) octets more, and flips
// bit e (0x010) of the first code group of lane inject_lane in a clock with inject high.
module jesd204b_tb_channel #(
    parameter N    = 1,
    parameter W    = 1,
    parameter SKEW = 0,
    parameter VAR  = 0
) (
    input  wire              clk,
    input  wire [40*W*N-1:0] cg_i,
    input  wire              inject,
    input  wire [3:0]        inject_lane,
    input  wire [15:0]       extra,
    output reg  [40*W*N-1:0] cg_o
);
    localparam P = 4 * W;
    localparam H = SKEW + VAR + 2 * P;

    reg [9:0] hist [0:N*H-1];
    integer   wpos, l, o, d;
    reg [9:0] v;

    initial begin
        wpos = 0;
        for (l = 0; l < N * H; l = l + 1) hist[l] = 10'h000;
    end

    always @(posedge clk) begin
        for (l = 0; l < N; l = l + 1) begin
            for (o = 0; o < P; o = o + 1)
                hist[l*H + (wpos + o) % H] = cg_i[(l*P+o)*10 +: 10];
            d = ((N > 1) ? l * SKEW / (N - 1) : 0) + extra;
            for (o = 0; o < P; o = o + 1) begin
                v = hist[l*H + (wpos + o - d + H) % H];
                if (inject && l == inject_lane && o == 0) v = v ^ 10'h010;
                cg_o[(l*P+o)*10 +: 10] <= v;
            end
        end
        wpos = (wpos + P) % H;
    end
endmodule
