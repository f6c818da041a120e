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

// Octet n of the modified RPAT: the twelve data characters D30.5 D23.6 D3.1 D7.2 D11.3 D15.4
// D19.5 D20.0 D30.2 D27.7 D21.1 D25.2 repeated (Dx.y is the octet y*32 + x), written from the
// character names apart from the model's octet table.
function [7:0] tb_rpat;
    input [31:0] n;
    reg   [59:0] xs, ys;
    integer      i;
    begin
        xs      = {5'd30, 5'd23, 5'd3, 5'd7, 5'd11, 5'd15, 5'd19, 5'd20, 5'd30, 5'd27, 5'd21, 5'd25};
        ys      = {5'd5, 5'd6, 5'd1, 5'd2, 5'd3, 5'd4, 5'd5, 5'd0, 5'd2, 5'd7, 5'd1, 5'd2};
        i       = (11 - n % 12) * 5;
        tb_rpat = {ys[i +: 3], xs[i +: 5]};
    end
endfunction

// One octet through 1 + x^14 + x^15, most significant bit first: s[n] = d[n] ^ s[n-14] ^
// s[n-15] when scrambling; descrambling shifts in the received bits instead. Returns
// {next state, octet}; state[0] holds the latest bit on the line.
function [22:0] tb_lfsr;
    input [14:0] state;
    input [7:0]  d;
    input        descramble;
    reg   [14:0] s;
    reg   [7:0]  q;
    integer      b;
    begin
        s = state;
        for (b = 7; b >= 0; b = b - 1) begin
            q[b] = d[b] ^ s[14] ^ s[13];
            s    = {s[13:0], descramble ? d[b] : q[b]};
        end
        tb_lfsr = {s, q};
    end
endfunction
