// JESD204B transmit link layer, subclass 1, for L lanes of P = 4*W octets per core clock.
// Octet i of lane l in a clock is data_i[(l*P+i)*8 +: 8], octet 0 first on the wire; its
// 10-bit code group is cg_o[(l*P+i)*10 +: 10], one clock later.
module jesd204b_tx_link #(
    parameter L = 1,
    parameter W = 1
) (
    input  wire                 clk,
    input  wire                 rst,
    input  wire [63:0]          link_params,
    input  wire [1:0]           test_mode,
    input  wire                 sysref_always,
    input  wire                 sysref_reinit,
    input  wire                 sysref,
    input  wire                 sync_n,
    input  wire [32*W*L-1:0]    data_i,
    output wire                 ready_o,
    output reg  [4*W-1:0]       sof_o,
    output reg  [4*W-1:0]       eof_o,
    output reg  [4*W-1:0]       somf_o,
    output reg  [4*W-1:0]       eomf_o,
    output reg  [40*W*L-1:0]    cg_o,
    output reg  [36*W*L-1:0]    debug_o,
    output reg  [1:0]           state_o,
    output wire                 lmfc_aligned_o,
    output wire                 lmfc_first_o
);
    localparam P = 4 * W;
    localparam [1:0] S_CGS = 2'd0, S_ILAS = 2'd1, S_DATA = 2'd2;

    `include "jesd204b_8b10b.vh"
    `include "jesd204b_scrambler.vh"
    `include "jesd204b_link_params.vh"

    // Frame and multiframe lengths in octets, from the link parameter word.
    localparam [13:0] OCTETS_PER_CLOCK = P;
    wire [13:0] frame_octets       = jesd204b_frame_octets(link_params[25:18]);
    wire [13:0] multiframe_octets  = frame_octets * jesd204b_multiframe_frames(link_params[30:26]);
    wire        scrambling         = link_params[12];
    wire        unused_link_params = ^link_params[63:62];

    reg         sync_q;
    wire [10:0] lmfc_cnt;
    wire        lmfc_last;
    wire        resync = (state_o != S_CGS) && !sync_q;

    jesd204b_lmfc #(.P(P)) u_lmfc (
        .clk(clk), .rst(rst), .sysref(sysref), .multiframe_octets(multiframe_octets),
        .always_on(sysref_always), .reinit(sysref_reinit), .resync(resync), .cnt(lmfc_cnt),
        .first(lmfc_first_o), .last(lmfc_last), .aligned(lmfc_aligned_o)
    );

    assign ready_o = (state_o == S_DATA);

    reg [1:0]  ilas_multiframe;
    reg [14:0] scrambler_state [0:L-1];
    reg [7:0]  prev_frame_end  [0:L-1];
    reg        prev_replaced   [0:L-1];
    reg        disparity       [0:L-1];
    reg [4:0]  pattern_index;
    reg [14:0] pattern_state;
    // The clock that ends the ILAS: the data phase starts with the next one.
    wire       data_start = !rst && sync_q && lmfc_last && state_o == S_ILAS
                            && ilas_multiframe == 2'd3;

    // A defined start, so that no unknown code group reaches a receiver before the reset.
    integer n;
    initial begin
        state_o         = S_CGS;
        sync_q          = 1'b0;
        ilas_multiframe = 2'd0;
        pattern_index   = 5'd0;
        pattern_state   = JESD204B_SCR_INIT;
        cg_o            = {40*W*L{1'b0}};
        for (n = 0; n < L; n = n + 1) disparity[n] = 1'b0;
    end

    // Octet positions of the current clock within the multiframe; they also mark tx_data_i.
    integer i;
    reg [13:0] pos;
    always @(*) begin
        for (i = 0; i < P; i = i + 1) begin
            pos       = {3'd0, lmfc_cnt} * OCTETS_PER_CLOCK + i[13:0];
            sof_o[i]  = (pos % frame_octets) == 0;
            eof_o[i]  = (pos % frame_octets) == frame_octets - 1;
            somf_o[i] = pos == 0;
            eomf_o[i] = pos == multiframe_octets - 1;
        end
    end

    // Link state: /K/ until SYNC~ is high and the LMFC aligned, four ILAS multiframes from the
    // next LMFC boundary on, then data until SYNC~ drops.
    always @(posedge clk) begin
        sync_q <= sync_n;
        if (rst) begin
            state_o         <= S_CGS;
            ilas_multiframe <= 2'd0;
        end else if (!sync_q) begin
            state_o <= S_CGS;
        end else if (lmfc_last) begin
            if (state_o == S_CGS && lmfc_aligned_o) begin
                state_o         <= S_ILAS;
                ilas_multiframe <= 2'd0;
            end else if (state_o == S_ILAS) begin
                ilas_multiframe <= ilas_multiframe + 2'd1;
                if (ilas_multiframe == 2'd3) state_o <= S_DATA;
            end
        end
    end

    // {k, octet} of an ILAS octet position of the current multiframe on a lane.
    function [8:0] ilas_character;
        input [13:0] position;
        input [4:0]  lane;
        begin
            ilas_character = {1'b0, position[7:0]};
            if (position == 0)
                ilas_character = 9'h11C;
            else if (position == multiframe_octets - 1)
                ilas_character = 9'h17C;
            else if (ilas_multiframe == 2'd1 && position == 1)
                ilas_character = 9'h19C;
            else if (ilas_multiframe == 2'd1 && position < 16)
                ilas_character = {1'b0, jesd204b_ilas_octet(link_params[61:0], lane,
                                                            position[3:0] - 4'd2)};
        end
    endfunction

    // Octet stage: the character of every octet (/K/, ILAS, test pattern or scrambled or
    // replaced data), then 8b/10b. Per-lane coder, scrambler and pattern state is updated in
    // place, octet by octet.
    /* verilator lint_off BLKSEQ */
    integer    l, o;
    reg [13:0] octet_pos;
    reg [7:0]  octet;
    reg        is_k, frame_end, multiframe_end;
    reg [22:0] scrambled;
    reg [10:0] encoded;
    reg [4:0]  lane_pattern_index;
    reg [14:0] lane_pattern_state;
    always @(posedge clk) begin
        lane_pattern_index = pattern_index;
        lane_pattern_state = pattern_state;
        for (l = 0; l < L; l = l + 1) begin
            lane_pattern_index = pattern_index;
            lane_pattern_state = pattern_state;
            for (o = 0; o < P; o = o + 1) begin
                octet_pos      = {3'd0, lmfc_cnt} * OCTETS_PER_CLOCK + o[13:0];
                frame_end      = (octet_pos % frame_octets) == frame_octets - 1;
                multiframe_end = octet_pos == multiframe_octets - 1;
                {is_k, octet}  = 9'h1BC;
                if (state_o == S_ILAS) begin
                    {is_k, octet} = ilas_character(octet_pos, l[4:0]);
                end else if (state_o == S_DATA && test_mode == 2'd1) begin
                    {is_k, octet}      = {1'b0, jesd204b_rpat(lane_pattern_index)};
                    lane_pattern_index = (lane_pattern_index == 5'd23) ?
                                         5'd0 : lane_pattern_index + 5'd1;
                end else if (state_o == S_DATA && test_mode == 2'd2) begin
                    scrambled          = jesd204b_scramble(lane_pattern_state, 8'h00);
                    lane_pattern_state = scrambled[22:8];
                    {is_k, octet}      = {1'b0, scrambled[7:0]};
                end else if (state_o == S_DATA) begin
                    {is_k, octet} = {1'b0, data_i[(l*P+o)*8 +: 8]};
                    if (scrambling) begin
                        scrambled          = jesd204b_scramble(scrambler_state[l], octet);
                        scrambler_state[l] = scrambled[22:8];
                        octet              = scrambled[7:0];
                        // Only a scrambled D28.7 / D28.3 at the frame / multiframe end is
                        // replaced; the receiver maps the control character back.
                        is_k = multiframe_end ? (octet == 8'h7C) : (frame_end && octet == 8'hFC);
                    end else if (frame_end) begin
                        is_k = (octet == prev_frame_end[l])
                               && (multiframe_end || !prev_replaced[l]);
                        prev_frame_end[l] = octet;
                        prev_replaced[l]  = is_k;
                        if (is_k) octet = multiframe_end ? 8'h7C : 8'hFC;
                    end
                end
                encoded      = jesd204b_enc(octet, is_k, disparity[l]);
                disparity[l] = encoded[10];
                cg_o[(l*P+o)*10 +: 10]  <= encoded[9:0];
                debug_o[(l*P+o)*9 +: 9] <= {is_k, octet};
            end
        end
        pattern_index <= lane_pattern_index;
        pattern_state <= lane_pattern_state;
        if (rst)
            for (l = 0; l < L; l = l + 1) disparity[l] = 1'b0;
        if (data_start) begin
            pattern_index <= 5'd0;
            pattern_state <= JESD204B_SCR_INIT;
            for (l = 0; l < L; l = l + 1) begin
                scrambler_state[l] = JESD204B_SCR_INIT;
                prev_frame_end[l]  = 8'h7C;
                prev_replaced[l]   = 1'b1;
            end
        end
    end
    /* verilator lint_on BLKSEQ */
endmodule
