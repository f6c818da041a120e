// Local multiframe clock from SYSREF (subclass 1). One LMFC period is F*K octets, i.e.
// F*K/P core clocks for P octets per clock. The first SYSREF rising edge aligns the counter;
// with always_on every later edge re-aligns it; with reinit a re-synchronisation drops the
// alignment so that the link waits for the next SYSREF edge.
module jesd204b_lmfc #(
    parameter P = 4
) (
    input  wire        clk,
    input  wire        rst,
    input  wire        sysref,
    input  wire [13:0] multiframe_octets,
    input  wire        always_on,
    input  wire        reinit,
    input  wire        resync,
    output reg  [10:0] cnt,
    output wire        first,
    output wire        last,
    output reg         aligned
);
    localparam [13:0] OCTETS_PER_CLOCK = P[13:0];
    wire [13:0] period_clocks = multiframe_octets / OCTETS_PER_CLOCK;
    wire [10:0] period = period_clocks[10:0];
    wire        unused_period_clocks = ^period_clocks[13:11];
    reg         sysref_q;
    wire        edge_seen = sysref && !sysref_q;

    initial begin
        cnt      = 11'd0;
        aligned  = 1'b0;
        sysref_q = 1'b0;
    end

    assign first = (cnt == 11'd0);
    assign last  = (cnt >= period - 11'd1);

    always @(posedge clk) begin
        sysref_q <= sysref;
        if (rst) begin
            cnt     <= 11'd0;
            aligned <= 1'b0;
        end else begin
            cnt <= last ? 11'd0 : cnt + 11'd1;
            if (resync && reinit) aligned <= 1'b0;
            if (edge_seen && (!aligned || always_on) && !(resync && reinit)) begin
                cnt     <= 11'd0;
                aligned <= 1'b1;
            end
        end
    end
endmodule
