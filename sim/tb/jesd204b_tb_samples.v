// Sample check through the generated transport modules: converter m sends tb_sample(m, t)
// as its sample t (and its control bits), counted from the beat the transmit transport takes
// for a link-up's first data clock; every beat the receive transport delivers must carry the
// next samples of every converter. M, S, N, CS, SB: converters, samples per frame, sample
// width, control bits, samples per beat; multiframes hold K frames.
module jesd204b_tb_samples #(
    parameter LANES = 1,
    parameter W     = 1,
    parameter M     = 1,
    parameter S     = 1,
    parameter N     = 16,
    parameter CS    = 0,
    parameter SB    = 1,
    parameter K     = 32
) (
    input  wire                    clk,
    input  wire                    rst,
    input  wire                    checking,
    input  wire                    tx_ready,
    input  wire                    tx_somf,
    input  wire                    rx_valid,
    input  wire                    rx_somf,
    input  wire [32*W*LANES-1:0]   rx_data,
    output wire [32*W*LANES-1:0]   tx_data,
    output wire signed [31:0]      samples_checked,
    output wire signed [31:0]      sample_errors
);
    localparam SAMPLE_BITS = M * SB * N;
    wire [SAMPLE_BITS-1:0] rx_samples;
    wire                   tx_samples_ready, rx_samples_valid, rx_samples_somf;
    reg  [SAMPLE_BITS-1:0] tx_samples;
    integer                tx_beat = 0, first_beat = 0, rx_beat = 0;
    integer                checked_count = 0, error_count = 0, sm, si, cm, ci;
    reg                    rx_restart = 1'b0, tx_ready_q = 1'b0, rx_valid_q = 1'b0;

    assign samples_checked = checked_count;
    assign sample_errors   = error_count;

    function [31:0] tb_sample;
        input integer m;
        input integer t;
        reg [31:0] h;
        begin
            h = t * 32'h9E3779B1 ^ (m + 1) * 32'h85EBCA6B;
            h = h ^ (h >> 15);
            h = h * 32'h2C1B3C6D;
            tb_sample = h ^ (h >> 12);
        end
    endfunction

    always @(*)
        for (sm = 0; sm < M; sm = sm + 1)
            for (si = 0; si < SB; si = si + 1)
                tx_samples[(sm*SB+si)*N +: N] = tb_sample(sm, tx_beat * SB + si);

`ifdef TB_SAMPLE_CS
    localparam CONTROL_BITS = M * SB * CS;
    reg  [CONTROL_BITS-1:0] tx_controls;
    wire [CONTROL_BITS-1:0] rx_controls;
    always @(*)
        for (cm = 0; cm < M; cm = cm + 1)
            for (ci = 0; ci < SB; ci = ci + 1)
                tx_controls[(cm*SB+ci)*CS +: CS] = tb_sample(cm, tx_beat * SB + ci) >> (32 - CS);
`endif

    jesd204b_tb_tx_transport u_tx_transport (
        .clk(clk), .rst(rst), .tx_somf_i(tx_somf), .sample_data_i(tx_samples),
`ifdef TB_SAMPLE_CS
        .sample_ctrl_i(tx_controls),
`endif
        .sample_ready_o(tx_samples_ready), .tx_data_o(tx_data)
    );
    jesd204b_tb_rx_transport u_rx_transport (
        .clk(clk), .rst(rst), .rx_valid_i(rx_valid), .rx_somf_i(rx_somf), .rx_data_i(rx_data),
        .sample_data_o(rx_samples),
`ifdef TB_SAMPLE_CS
        .sample_ctrl_o(rx_controls),
`endif
        .sample_valid_o(rx_samples_valid), .sample_somf_o(rx_samples_somf)
    );

    integer    rm, ri, beat;
    reg [31:0] want;
    always @(posedge clk) begin
        tx_ready_q <= tx_ready;
        rx_valid_q <= rx_valid;
        if (tx_samples_ready) tx_beat <= tx_beat + 1;
        if (tx_ready && !tx_ready_q) first_beat <= tx_beat - 1;
        if (rx_valid && !rx_valid_q) rx_restart <= 1'b1;
        if (rx_samples_valid) begin
            beat = rx_restart ? first_beat : rx_beat;
            rx_restart <= 1'b0;
            rx_beat <= beat + 1;
            if (checking) begin
                for (rm = 0; rm < M; rm = rm + 1)
                    for (ri = 0; ri < SB; ri = ri + 1) begin
                        want = tb_sample(rm, beat * SB + ri);
                        if (rx_samples[(rm*SB+ri)*N +: N] != want[N-1:0]
`ifdef TB_SAMPLE_CS
                            || rx_controls[(rm*SB+ri)*CS +: CS] != want[31:32-CS]
`endif
                           )
                            error_count = error_count + 1;
                        checked_count = checked_count + 1;
                    end
                // Multiframes hold K * S / SB beats, the first one marked.
                if (rx_samples_somf != ((beat - first_beat) % (K * S / SB) == 0))
                    error_count = error_count + 1;
            end
        end
    end
endmodule
