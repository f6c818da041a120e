// Test data of clock n after link-up for lane l: runs of sixteen clocks with one repeated
// octet (frame ends repeat, so characters get replaced) alternate with hashed octets.
function [32*`TB_W-1:0] tb_data;
    input [31:0] n;
    input [3:0]  l;
    reg   [31:0] h;
    integer      b;
    begin
        for (b = 0; b < 4 * `TB_W; b = b + 1) begin
            h = (n * 32'd4 * `TB_W + b) * 32'h9E3779B1 ^ {l, 28'h0};
            h = h ^ (h >> 15);
            h = h * 32'h85EBCA6B;
            h = h ^ (h >> 13);
            tb_data[b*8 +: 8] = n[4] ? (n[12:5] ^ {4'h0, l}) : h[7:0];
        end
    end
endfunction
