// 8b/10b coding functions, included inside the modules that need them.
// Code groups are abcdei_fghj with a in bit 9 (first on the wire); data is HGF_EDCBA.
// Running disparity: 0 for RD-, 1 for RD+.

// 5b/6b sub-block in its RD- form; D.x and K.28.
function [5:0] jesd204b_6b;
    input [4:0] x;
    input       k;
    begin
        case (x)
            5'd0:  jesd204b_6b = 6'b100111; 5'd1:  jesd204b_6b = 6'b011101;
            5'd2:  jesd204b_6b = 6'b101101; 5'd3:  jesd204b_6b = 6'b110001;
            5'd4:  jesd204b_6b = 6'b110101; 5'd5:  jesd204b_6b = 6'b101001;
            5'd6:  jesd204b_6b = 6'b011001; 5'd7:  jesd204b_6b = 6'b111000;
            5'd8:  jesd204b_6b = 6'b111001; 5'd9:  jesd204b_6b = 6'b100101;
            5'd10: jesd204b_6b = 6'b010101; 5'd11: jesd204b_6b = 6'b110100;
            5'd12: jesd204b_6b = 6'b001101; 5'd13: jesd204b_6b = 6'b101100;
            5'd14: jesd204b_6b = 6'b011100; 5'd15: jesd204b_6b = 6'b010111;
            5'd16: jesd204b_6b = 6'b011011; 5'd17: jesd204b_6b = 6'b100011;
            5'd18: jesd204b_6b = 6'b010011; 5'd19: jesd204b_6b = 6'b110010;
            5'd20: jesd204b_6b = 6'b001011; 5'd21: jesd204b_6b = 6'b101010;
            5'd22: jesd204b_6b = 6'b011010; 5'd23: jesd204b_6b = 6'b111010;
            5'd24: jesd204b_6b = 6'b110011; 5'd25: jesd204b_6b = 6'b100110;
            5'd26: jesd204b_6b = 6'b010110; 5'd27: jesd204b_6b = 6'b110110;
            5'd28: jesd204b_6b = k ? 6'b001111 : 6'b001110;
            5'd29: jesd204b_6b = 6'b101110; 5'd30: jesd204b_6b = 6'b011110;
            default: jesd204b_6b = 6'b101011;
        endcase
    end
endfunction

// 3b/4b sub-block in its RD- form; y = 7 gives the primary form, 8 the alternate one.
function [3:0] jesd204b_4b;
    input [3:0] y;
    begin
        case (y)
            4'd0: jesd204b_4b = 4'b1011; 4'd1: jesd204b_4b = 4'b1001;
            4'd2: jesd204b_4b = 4'b0101; 4'd3: jesd204b_4b = 4'b1100;
            4'd4: jesd204b_4b = 4'b1101; 4'd5: jesd204b_4b = 4'b1010;
            4'd6: jesd204b_4b = 4'b0110; 4'd7: jesd204b_4b = 4'b1110;
            default: jesd204b_4b = 4'b0111;
        endcase
    end
endfunction

function [2:0] jesd204b_ones4;
    input [3:0] v;
    begin
        jesd204b_ones4 = {2'b00, v[0]} + {2'b00, v[1]} + {2'b00, v[2]} + {2'b00, v[3]};
    end
endfunction

// Returns {running disparity after the code group, code group}.
function [10:0] jesd204b_enc;
    input [7:0] d;
    input       k;
    input       rd;
    reg   [5:0] s6;
    reg   [3:0] s4;
    reg   [3:0] y;
    reg         r;
    reg   [2:0] ones6;
    begin
        s6    = jesd204b_6b(d[4:0], k);
        ones6 = jesd204b_ones4({1'b0, s6[5:3]}) + jesd204b_ones4({1'b0, s6[2:0]});
        if (rd && (ones6 != 3'd3 || d[4:0] == 5'd7)) s6 = ~s6;
        r = (ones6 == 3'd3) ? rd : ~rd;
        y = {1'b0, d[7:5]};
        // The alternate x.7 form avoids runs of five equal bits.
        if (d[7:5] == 3'd7 && (k || (!r && (d[4:0] == 5'd17 || d[4:0] == 5'd18 || d[4:0] == 5'd20))
                               || (r && (d[4:0] == 5'd11 || d[4:0] == 5'd13 || d[4:0] == 5'd14))))
            y = 4'd8;
        s4 = jesd204b_4b(y);
        if (r && (jesd204b_ones4(s4) != 3'd2 || y == 4'd3)) s4 = ~s4;
        // K.28.y keeps the orientation of its balanced fghj opposite to D.x.y in RD-.
        if (k && !r && jesd204b_ones4(s4) == 3'd2 && y != 4'd3) s4 = ~s4;
        if (jesd204b_ones4(s4) != 3'd2) r = ~r;
        jesd204b_enc = {r, s6, s4};
    end
endfunction

// Octet of character index i: 0..255 the data octets, 256..267 the twelve control characters
// K28.0..K28.7, K23.7, K27.7, K29.7, K30.7.
function [7:0] jesd204b_ctrl_octet;
    input integer i;
    begin
        if (i < 256) jesd204b_ctrl_octet = i[7:0];
        else if (i < 264) jesd204b_ctrl_octet = {i[2:0], 5'd28};
        else case (i)
            264: jesd204b_ctrl_octet = 8'hF7;
            265: jesd204b_ctrl_octet = 8'hFB;
            266: jesd204b_ctrl_octet = 8'hFD;
            default: jesd204b_ctrl_octet = 8'hFE;
        endcase
    end
endfunction
