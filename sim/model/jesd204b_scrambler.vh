// Self-synchronous scrambler 1 + x^14 + x^15 over octets, most significant bit first.
// state[0] holds the latest scrambled bit. Functions return {next state, octet}.
function [22:0] jesd204b_scramble;
    input [14:0] state;
    input [7:0]  d;
    reg   [14:0] s;
    reg   [7:0]  o;
    integer      b;
    begin
        s = state;
        for (b = 7; b >= 0; b = b - 1) begin
            o[b] = d[b] ^ s[14] ^ s[13];
            s    = {s[13:0], o[b]};
        end
        jesd204b_scramble = {s, o};
    end
endfunction

function [22:0] jesd204b_descramble;
    input [14:0] state;
    input [7:0]  d;
    reg   [14:0] s;
    reg   [7:0]  o;
    integer      b;
    begin
        s = state;
        for (b = 7; b >= 0; b = b - 1) begin
            o[b] = d[b] ^ s[14] ^ s[13];
            s    = {s[13:0], d[b]};
        end
        jesd204b_descramble = {s, o};
    end
endfunction
