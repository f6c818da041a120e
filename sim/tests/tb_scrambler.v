// Checks the model's scrambler against reference vectors (jesdref.py, given as
// +vectors=FILE), that descrambling recovers the data, and that a descrambler started from
// a wrong state recovers after two octets (self-synchronisation).
module tb_scrambler;
    `include "jesd204b_scrambler.vh"
    `include "jesd204b_link_params.vh"

    integer    fd, n, d, s, count, errors;
    `include "tb_vectors.vh"
    reg [22:0] sc, ds, dw;
    reg [14:0] st_s, st_d, st_w;

    initial begin
        errors = 0; count = 0;
        st_s = JESD204B_SCR_INIT; st_d = JESD204B_SCR_INIT; st_w = 15'h0000;
        open_vectors;
        n = $fscanf(fd, "%h %h", d, s);
        while (n == 2) begin
            sc = jesd204b_scramble(st_s, d[7:0]);
            ds = jesd204b_descramble(st_d, s[7:0]);
            dw = jesd204b_descramble(st_w, s[7:0]);
            st_s = sc[22:8]; st_d = ds[22:8]; st_w = dw[22:8];
            if (sc[7:0] != s[7:0] || ds[7:0] != d[7:0] || (count >= 2 && dw[7:0] != d[7:0])) begin
                errors = errors + 1;
                $display("octet %0d: data %02h scrambled %02h (want %02h) descrambled %02h / %02h",
                         count, d, sc[7:0], s, ds[7:0], dw[7:0]);
            end
            count = count + 1;
            n = $fscanf(fd, "%h %h", d, s);
        end
        if (count < 1000) errors = errors + 1;
        $display("%0s: %0d octets, %0d mismatches", errors == 0 ? "PASS" : "FAIL", count, errors);
        $finish;
    end
endmodule
