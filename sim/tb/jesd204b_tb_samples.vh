// Sample check through the generated transport modules: converter m sends tb_sample(m, t)
// as its sample t (and its control bits), counted from the beat the transmit transport takes
// for a link-up's first data clock; every beat the receive transport delivers must carry the
// next samples of every converter.
    localparam SB = `TB_SB;
    localparam SDW = `TB_M * SB * `TB_N;
    wire [32*W*N-1:0] tt_data;
    wire [SDW-1:0]    rs_data;
    wire              ts_ready, rs_valid, rs_somf;
    reg  [SDW-1:0]    ts_data;
    integer           bt = 0, base_tx = 0, rb = 0, samples_checked = 0, sample_errors = 0;
    integer           sm, si, cm, ci;
    reg               rs_restart = 1'b0;

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

    always @(*) begin
        tx_data = tt_data;
        for (sm = 0; sm < `TB_M; sm = sm + 1)
            for (si = 0; si < SB; si = si + 1)
                ts_data[(sm*SB+si)*`TB_N +: `TB_N] = tb_sample(sm, bt * SB + si);
    end

`ifdef TB_SAMPLE_CS
    localparam SCW = `TB_M * SB * `TB_CS;
    reg  [SCW-1:0] ts_ctrl;
    wire [SCW-1:0] rs_ctrl;
    always @(*)
        for (cm = 0; cm < `TB_M; cm = cm + 1)
            for (ci = 0; ci < SB; ci = ci + 1)
                ts_ctrl[(cm*SB+ci)*`TB_CS +: `TB_CS] = tb_sample(cm, bt * SB + ci) >> (32 - `TB_CS);
`endif

    jesd204b_tb_tx_transport u_tx_transport (
        .clk(clk), .rst(rst), .tx_somf_i(tx_somf[0]), .sample_data_i(ts_data),
`ifdef TB_SAMPLE_CS
        .sample_ctrl_i(ts_ctrl),
`endif
        .sample_ready_o(ts_ready), .tx_data_o(tt_data)
    );
    jesd204b_tb_rx_transport u_rx_transport (
        .clk(clk), .rst(rst), .rx_valid_i(rx_valid), .rx_somf_i(rx_somf[0]), .rx_data_i(rx_data),
        .sample_data_o(rs_data),
`ifdef TB_SAMPLE_CS
        .sample_ctrl_o(rs_ctrl),
`endif
        .sample_valid_o(rs_valid), .sample_somf_o(rs_somf)
    );

    integer    rm, ri, idx;
    reg [31:0] want;
    always @(posedge clk) begin
        if (ts_ready) bt <= bt + 1;
        if (tx_ready && !tx_ready_q) base_tx <= bt - 1;
        if (rx_valid && !rx_valid_q) rs_restart <= 1'b1;
        if (rs_valid) begin
            idx = rs_restart ? base_tx : rb;
            rs_restart <= 1'b0;
            rb <= idx + 1;
            if (checking) begin
                for (rm = 0; rm < `TB_M; rm = rm + 1)
                    for (ri = 0; ri < SB; ri = ri + 1) begin
                        want = tb_sample(rm, idx * SB + ri);
                        if (rs_data[(rm*SB+ri)*`TB_N +: `TB_N] != want[`TB_N-1:0]
`ifdef TB_SAMPLE_CS
                            || rs_ctrl[(rm*SB+ri)*`TB_CS +: `TB_CS] != want[31:32-`TB_CS]
`endif
                           )
                            sample_errors = sample_errors + 1;
                        samples_checked = samples_checked + 1;
                    end
                // Multiframes hold K * S / SB beats, the first one marked.
                if (rs_somf != ((idx - base_tx) % (`TB_K * `TB_S / SB) == 0))
                    sample_errors = sample_errors + 1;
            end
        end
    end
