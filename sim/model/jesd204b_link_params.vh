// Packed link parameters shared by the configuration registers and the link layers:
//   [7:0] DID  [11:8] BID  [12] SCR  [17:13] L-1  [25:18] F-1  [30:26] K-1  [38:31] M-1
//   [40:39] CS  [45:41] N-1  [50:46] N'-1  [55:51] S-1  [56] HD  [61:57] CF
// Octets per frame (F) and frames per multiframe (K) of a link parameter word, which stores
// both minus one.
function [13:0] jesd204b_frame_octets;
    input [7:0] f_minus_one;
    jesd204b_frame_octets = {6'd0, f_minus_one} + 14'd1;
endfunction

function [13:0] jesd204b_multiframe_frames;
    input [4:0] k_minus_one;
    jesd204b_multiframe_frames = {9'd0, k_minus_one} + 14'd1;
endfunction

// Link configuration octet idx (0..13) of the initial lane alignment sequence for lane lid.
// FCHK sums the field values, not the octets.
function [7:0] jesd204b_ilas_octet;
    input [61:0] cfg;
    input [4:0]  lid;
    input [3:0]  idx;
    reg   [7:0]  sum;
    begin
        sum = cfg[7:0] + {4'h0, cfg[11:8]} + {3'b000, lid} + {7'h00, cfg[12]} + {3'b000, cfg[17:13]}
            + cfg[25:18] + {3'b000, cfg[30:26]} + cfg[38:31] + {6'h00, cfg[40:39]}
            + {3'b000, cfg[45:41]} + 8'd1 + {3'b000, cfg[50:46]} + 8'd1 + {3'b000, cfg[55:51]}
            + {7'h00, cfg[56]} + {3'b000, cfg[61:57]};
        case (idx)
            4'd0:  jesd204b_ilas_octet = cfg[7:0];
            4'd1:  jesd204b_ilas_octet = {4'h0, cfg[11:8]};
            4'd2:  jesd204b_ilas_octet = {3'b000, lid};
            4'd3:  jesd204b_ilas_octet = {cfg[12], 2'b00, cfg[17:13]};
            4'd4:  jesd204b_ilas_octet = cfg[25:18];
            4'd5:  jesd204b_ilas_octet = {3'b000, cfg[30:26]};
            4'd6:  jesd204b_ilas_octet = cfg[38:31];
            4'd7:  jesd204b_ilas_octet = {cfg[40:39], 1'b0, cfg[45:41]};
            4'd8:  jesd204b_ilas_octet = {3'b001, cfg[50:46]};
            4'd9:  jesd204b_ilas_octet = {3'b001, cfg[55:51]};
            4'd10: jesd204b_ilas_octet = {cfg[56], 2'b00, cfg[61:57]};
            4'd13: jesd204b_ilas_octet = sum;
            default: jesd204b_ilas_octet = 8'h00;
        endcase
    end
endfunction

// Octet n of a test pattern: 1 the modified RPAT, 2 the scrambler's free-running sequence
// (all-zero data through 1 + x^14 + x^15 from the data-phase start state).
function [7:0] jesd204b_rpat;
    input [4:0] n;
    begin
        case (n >= 5'd12 ? n - 5'd12 : n)
            5'd0: jesd204b_rpat = 8'hBE; 5'd1:  jesd204b_rpat = 8'hD7; 5'd2:  jesd204b_rpat = 8'h23;
            5'd3: jesd204b_rpat = 8'h47; 5'd4:  jesd204b_rpat = 8'h6B; 5'd5:  jesd204b_rpat = 8'h8F;
            5'd6: jesd204b_rpat = 8'hB3; 5'd7:  jesd204b_rpat = 8'h14; 5'd8:  jesd204b_rpat = 8'h5E;
            5'd9: jesd204b_rpat = 8'hFB; 5'd10: jesd204b_rpat = 8'h35; default: jesd204b_rpat = 8'h59;
        endcase
    end
endfunction

// Scrambler state at the start of the data phase, the same at both ends.
localparam [14:0] JESD204B_SCR_INIT = 15'h7F80;
