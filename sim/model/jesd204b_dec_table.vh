// Fills dec_tab, the decoder's lookup table, from the encoder: index {rd, code group},
// entry {not in table, disparity error, rd after, k, octet}. A code group that is valid only
// in the other disparity is a disparity error; one valid in neither is not in the table.
// The running disparity after an invalid code group follows its own balance.
initial begin : dec_fill
    integer i, r, d;
    reg [10:0] e;
    reg [3:0]  ones;
    for (i = 0; i < 2048; i = i + 1) begin
        ones = 4'd0;
        for (d = 0; d < 10; d = d + 1) ones = ones + {3'b000, i[d]};
        dec_tab[i] = {1'b1, 1'b0, (ones > 4'd5) ? 1'b1 : (ones < 4'd5) ? 1'b0 : i[10], 9'h000};
    end
    for (r = 0; r < 2; r = r + 1)
        for (d = 0; d < 268; d = d + 1) begin
            e = jesd204b_enc(jesd204b_ctrl_octet(d), d >= 256, r[0]);
            if (dec_tab[{~r[0], e[9:0]}][11])
                dec_tab[{~r[0], e[9:0]}] = {2'b01, e[10], d >= 256, jesd204b_ctrl_octet(d)};
        end
    for (r = 0; r < 2; r = r + 1)
        for (d = 0; d < 268; d = d + 1) begin
            e = jesd204b_enc(jesd204b_ctrl_octet(d), d >= 256, r[0]);
            dec_tab[{r[0], e[9:0]}] = {2'b00, e[10], d >= 256, jesd204b_ctrl_octet(d)};
        end
end
