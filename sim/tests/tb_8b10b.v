// Checks the model's 8b/10b encoder and decoder table against reference vectors
// (jesdref.py) given as +vectors=FILE: every character in both disparities, and
// every 10-bit code group in both disparities with its error flags.
module tb_8b10b;
    `include "jesd204b_8b10b.vh"
    reg [11:0] dec_tab [0:2047];
    `include "jesd204b_dec_table.vh"

    integer    fd, n, rd, k, octet, code, after, nit, derr, errors, enc_n, dec_n;
    `include "tb_vectors.vh"
    reg [7:0]  kind;
    reg [10:0] e;
    reg [11:0] d;

    initial begin
        errors = 0; enc_n = 0; dec_n = 0;
        open_vectors;
        #1;
        n = $fscanf(fd, " %c", kind);
        while (n == 1) begin
            if (kind == "E") begin
                n = $fscanf(fd, "%d %d %h %h %d", rd, k, octet, code, after);
                e = jesd204b_enc(octet[7:0], k[0], rd[0]);
                enc_n = enc_n + 1;
                if (e[9:0] != code[9:0] || e[10] != after[0]) begin
                    errors = errors + 1;
                    $display("encode rd%0d k%0d %02h: got %03h rd%0d, want %03h rd%0d",
                             rd, k, octet, e[9:0], e[10], code, after);
                end
            end else begin
                n = $fscanf(fd, "%d %h %d %d %d %h %d", rd, code, nit, derr, k, octet, after);
                d = dec_tab[{rd[0], code[9:0]}];
                dec_n = dec_n + 1;
                if (d[11] != nit[0] || d[10] != derr[0] || d[9] != after[0] ||
                    (!nit[0] && (d[8] != k[0] || d[7:0] != octet[7:0]))) begin
                    errors = errors + 1;
                    $display("decode rd%0d %03h: got %03h, want nit%0d derr%0d k%0d %02h rd%0d",
                             rd, code, d, nit, derr, k, octet, after);
                end
            end
            n = $fscanf(fd, " %c", kind);
        end
        $fclose(fd);
        if (enc_n != 536 || dec_n != 2048) errors = errors + 1;
        $display("%0s: %0d encodings, %0d decodings, %0d mismatches",
                 errors == 0 ? "PASS" : "FAIL", enc_n, dec_n, errors);
        $finish;
    end
endmodule
