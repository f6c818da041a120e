// JESD204B receive link layer, subclass 1, for L lanes of P = 4*W octets per core clock.
// Code group i of lane l in a clock is cg_i[(l*P+i)*10 +: 10], i = 0 first on the wire.
// Each lane buffers from its first /R/ on in an elastic buffer of BUF octets; all lanes are
// released together at the first release point at which every lane holds a clock's worth,
// which makes the latency deterministic. The release point is the core clock that holds
// frame clock rbd (receive buffer delay) after an LMFC boundary.
module jesd204b_rx_link #(
    parameter L   = 1,
    parameter W   = 1,
    parameter BUF = 1024
) (
    input  wire                 clk,
    input  wire                 rst,
    input  wire [63:0]          link_params,
    input  wire                 sysref_always,
    input  wire                 sysref_reinit,
    input  wire                 resync_on_err,
    input  wire                 resync_req,
    input  wire                 clr_cnt,
    input  wire                 sysref,
    input  wire [4:0]           rbd,
    input  wire [40*W*L-1:0]    cg_i,
    output reg                  sync_n_o,
    output reg                  valid_o,
    output reg  [4*W-1:0]       sof_o,
    output reg  [4*W-1:0]       eof_o,
    output reg  [4*W-1:0]       somf_o,
    output reg  [4*W-1:0]       eomf_o,
    output reg  [32*W*L-1:0]    data_o,
    output reg  [4*W*L-1:0]     err_o,
    output reg  [44*W*L-1:0]    debug_o,
    output reg  [L-1:0]         k_lock_o,
    output reg                  aligned_o,
    output reg  [L-1:0]         ilas_err_o,
    output reg  [L-1:0]         overflow_o,
    output reg  [16*L-1:0]      nit_cnt_o,
    output reg  [16*L-1:0]      disp_cnt_o,
    output reg  [16*L-1:0]      unexp_cnt_o,
    output reg  [15:0]          resync_cnt_o,
    output reg  [5*L-1:0]       fill_o,
    output reg  [1:0]           state_o,
    output wire                 lmfc_aligned_o
);
    localparam P = 4 * W;
    localparam [15:0] BUFFER_OCTETS = BUF;
    localparam [1:0] S_CGS = 2'd0, S_WAIT = 2'd1, S_ILAS = 2'd2, S_DATA = 2'd3;

    `include "jesd204b_8b10b.vh"
    `include "jesd204b_scrambler.vh"
    `include "jesd204b_link_params.vh"

    reg [11:0] dec_tab [0:2047];
    `include "jesd204b_dec_table.vh"

    // Frame and multiframe lengths in octets, from the link parameter word.
    localparam [13:0] OCTETS_PER_CLOCK = P;
    wire [13:0] frame_octets       = jesd204b_frame_octets(link_params[25:18]);
    wire [13:0] multiframe_octets  = frame_octets * jesd204b_multiframe_frames(link_params[30:26]);
    wire        scrambling         = link_params[12];
    wire        unused_link_params = ^link_params[63:62];

    wire [10:0] lmfc_cnt;
    wire        lmfc_first, lmfc_last;
    reg         resync_q;

    jesd204b_lmfc #(.P(P)) u_lmfc (
        .clk(clk), .rst(rst), .sysref(sysref), .multiframe_octets(multiframe_octets),
        .always_on(sysref_always), .reinit(sysref_reinit), .resync(resync_q), .cnt(lmfc_cnt),
        .first(lmfc_first), .last(lmfc_last), .aligned(lmfc_aligned_o)
    );

    // Clocks since the last release point; the released octets count their frame and
    // multiframe positions from it.
    wire [13:0] lmfc_clocks   = multiframe_octets / OCTETS_PER_CLOCK;
    wire [13:0] release_at    = ({9'd0, rbd} * frame_octets / OCTETS_PER_CLOCK) % lmfc_clocks;
    wire [13:0] lmfc_count    = {3'd0, lmfc_cnt};
    wire [13:0] release_count = (lmfc_count >= release_at) ? lmfc_count - release_at
                                                           : lmfc_count + lmfc_clocks - release_at;
    wire        release_first = (release_count == 14'd0);
    wire        release_last  = (release_count == lmfc_clocks - 14'd1);
    wire        unused_first  = lmfc_first;

    // Per-lane decoder, buffer and descrambler state is updated in place, octet by octet.
    /* verilator lint_off BLKSEQ */

    // Decoder stage: {not in table, disparity error, k, octet} per code group.
    reg        disparity [0:L-1];
    reg [11:0] decoded;
    integer    dec_lane, dec_octet;
    initial
        for (dec_lane = 0; dec_lane < L; dec_lane = dec_lane + 1) disparity[dec_lane] = 1'b0;
    always @(posedge clk) begin
        for (dec_lane = 0; dec_lane < L; dec_lane = dec_lane + 1) begin
            if (rst) disparity[dec_lane] = 1'b0;
            for (dec_octet = 0; dec_octet < P; dec_octet = dec_octet + 1) begin
                decoded = dec_tab[{disparity[dec_lane], cg_i[(dec_lane*P+dec_octet)*10 +: 10]}];
                disparity[dec_lane] = decoded[9];
                debug_o[(dec_lane*P+dec_octet)*11 +: 11] <= {decoded[11:10], decoded[8:0]};
            end
        end
    end

    // Elastic buffers of {not in table, disparity error, k, octet}, written from each lane's
    // ILAS start on and read from the release point on.
    reg [10:0] lane_buffer     [0:L*BUF-1];
    reg [15:0] write_count     [0:L-1];
    reg [15:0] read_count      [0:L-1];
    reg [2:0]  k_count         [0:L-1];
    reg [2:0]  k_run           [0:L-1];
    reg        ilas_started    [0:L-1];
    reg [14:0] descrambler_state [0:L-1];
    reg [7:0]  prev_frame_end  [0:L-1];
    reg [1:0]  ilas_multiframe;
    // Link configuration octets of the last ILAS per lane, as received; the testbench reads
    // them to name the fields of a refused ILAS.
    /* verilator lint_off UNUSED */
    reg [7:0]  ilas_received   [0:L*14-1];
    /* verilator lint_on UNUSED */

    integer    l, o;
    reg        resync, all_ready, code_error, is_k, frame_end, multiframe_end, unexpected;
    reg [10:0] entry;
    reg [13:0] octet_pos;
    reg [7:0]  octet;
    reg [22:0] descrambled;
    reg [15:0] fill, fill_clocks, slot;

    // Lane stage, per lane: error counts, code-group synchronisation, the ILAS start, the
    // buffer's write side and its fill. A lane that needs a re-synchronisation sets resync.
    task lane_stage;
        for (l = 0; l < L; l = l + 1) begin
            for (o = 0; o < P; o = o + 1) begin
                entry      = debug_o[(l*P+o)*11 +: 11];
                code_error = entry[10] | entry[9];
                is_k       = !code_error && entry[8:0] == 9'h1BC;
                if (k_lock_o[l] && entry[10] && nit_cnt_o[l*16 +: 16] != 16'hFFFF)
                    nit_cnt_o[l*16 +: 16] = nit_cnt_o[l*16 +: 16] + 16'd1;
                if (k_lock_o[l] && entry[9] && disp_cnt_o[l*16 +: 16] != 16'hFFFF)
                    disp_cnt_o[l*16 +: 16] = disp_cnt_o[l*16 +: 16] + 16'd1;
                if (state_o == S_CGS) begin
                    k_count[l]  = !is_k ? 3'd0 : (k_count[l] == 3'd4) ? 3'd4 : k_count[l] + 3'd1;
                    k_lock_o[l] = (k_count[l] == 3'd4);
                end else if (!ilas_started[l]) begin
                    if (!code_error && entry[8:0] == 9'h11C) ilas_started[l] = 1'b1;
                    else if (!is_k) begin
                        unexp_cnt_o[l*16 +: 16] = unexp_cnt_o[l*16 +: 16] + 16'd1;
                        resync = resync | resync_on_err;
                    end
                end
                if (state_o != S_CGS && ilas_started[l]) begin
                    slot = write_count[l] % BUFFER_OCTETS;
                    lane_buffer[l*BUF + {16'd0, slot}] = entry;
                    write_count[l] = write_count[l] + 16'd1;
                    k_run[l] = is_k ? k_run[l] + 3'd1 : 3'd0;
                    // Four /K/ in a row: the transmitter went back to synchronisation.
                    if (k_run[l] == 3'd4) resync = 1'b1;
                    if (code_error) resync = resync | resync_on_err;
                end
            end
            fill        = write_count[l] - read_count[l];
            fill_clocks = fill / {2'd0, OCTETS_PER_CLOCK};
            if (fill > BUFFER_OCTETS) begin
                overflow_o[l] = 1'b1;
                resync        = 1'b1;
            end
            if (!ilas_started[l] || fill < {2'd0, OCTETS_PER_CLOCK}) all_ready = 1'b0;
            fill_o[l*5 +: 5] <= (fill_clocks > 16'd31) ? 5'd31 : fill_clocks[4:0];
        end
    endtask

    // Whether a received ILAS character differs from what the link parameters announce.
    function ilas_mismatch;
        input [8:0]  character;
        input [13:0] position;
        input [4:0]  lane;
        begin
            ilas_mismatch = (position == 0 && character != 9'h11C)
                || (position == multiframe_octets - 1 && character != 9'h17C)
                || (ilas_multiframe == 2'd1 && position == 1 && character != 9'h19C)
                || (ilas_multiframe == 2'd1 && position >= 2 && position < 16 && character
                    != {1'b0, jesd204b_ilas_octet(link_params[61:0], lane, position[3:0] - 4'd2)});
        end
    endfunction

    // Output stage, from the release point on: the buffer's read side, the ILAS check, then
    // data with replaced characters restored and descrambled, and its frame markers.
    task output_stage;
        begin
            valid_o <= (state_o == S_DATA);
            for (o = 0; o < P; o = o + 1) begin
                octet_pos = release_count * OCTETS_PER_CLOCK + o[13:0];
                sof_o[o]  <= (state_o == S_DATA) && (octet_pos % frame_octets) == 0;
                eof_o[o]  <= (state_o == S_DATA) && (octet_pos % frame_octets) == frame_octets - 1;
                somf_o[o] <= (state_o == S_DATA) && octet_pos == 0;
                eomf_o[o] <= (state_o == S_DATA) && octet_pos == multiframe_octets - 1;
            end
            for (l = 0; l < L; l = l + 1)
                for (o = 0; o < P; o = o + 1) begin
                    octet_pos      = release_count * OCTETS_PER_CLOCK + o[13:0];
                    frame_end      = (octet_pos % frame_octets) == frame_octets - 1;
                    multiframe_end = octet_pos == multiframe_octets - 1;
                    entry          = 11'h000;
                    unexpected     = 1'b0;
                    if (state_o == S_ILAS || state_o == S_DATA) begin
                        slot          = read_count[l] % BUFFER_OCTETS;
                        entry         = lane_buffer[l*BUF + {16'd0, slot}];
                        read_count[l] = read_count[l] + 16'd1;
                    end
                    octet = entry[7:0];
                    if (state_o == S_ILAS) begin
                        if (ilas_multiframe == 2'd1 && octet_pos >= 2 && octet_pos < 16)
                            ilas_received[l*14 + {18'd0, octet_pos} - 2] = octet;
                        if (ilas_mismatch(entry[8:0], octet_pos, l[4:0])) ilas_err_o[l] = 1'b1;
                    end else if (state_o == S_DATA) begin
                        if (entry[8]) begin
                            unexpected = !(multiframe_end ? octet == 8'h7C
                                                          : (frame_end && octet == 8'hFC));
                            if (unexpected && unexp_cnt_o[l*16 +: 16] != 16'hFFFF)
                                unexp_cnt_o[l*16 +: 16] = unexp_cnt_o[l*16 +: 16] + 16'd1;
                            if (!scrambling) octet = prev_frame_end[l];
                        end
                        if (scrambling) begin
                            descrambled          = jesd204b_descramble(descrambler_state[l], octet);
                            descrambler_state[l] = descrambled[22:8];
                            octet                = descrambled[7:0];
                        end else if (frame_end) begin
                            prev_frame_end[l] = octet;
                        end
                    end
                    data_o[(l*P+o)*8 +: 8] <= octet;
                    err_o[l*P+o] <= (state_o == S_DATA) && (entry[10] || entry[9] || unexpected);
                    if (unexpected) resync = resync | resync_on_err;
                end
        end
    endtask

    // Link state: four ILAS multiframes, then data; SYNC~ released on an LMFC boundary once
    // every lane is in code-group sync; counters; a reset or re-synchronisation drops the link.
    task link_state_stage;
        begin
            if (state_o == S_ILAS && release_last) begin
                ilas_multiframe = ilas_multiframe + 2'd1;
                if (ilas_multiframe == 2'd0) begin
                    state_o = S_DATA;
                    for (l = 0; l < L; l = l + 1) begin
                        descrambler_state[l] = JESD204B_SCR_INIT;
                        prev_frame_end[l]    = 8'h7C;
                    end
                end
            end
            if (state_o == S_CGS && lmfc_aligned_o && lmfc_last && &k_lock_o) begin
                state_o  = S_WAIT;
                sync_n_o <= 1'b1;
            end
            resync_q <= 1'b0;
            if (clr_cnt) begin
                nit_cnt_o    = {16*L{1'b0}};
                disp_cnt_o   = {16*L{1'b0}};
                unexp_cnt_o  = {16*L{1'b0}};
                resync_cnt_o = 16'd0;
                ilas_err_o   = {L{1'b0}};
                overflow_o   = {L{1'b0}};
            end
            if (rst || (resync && state_o != S_CGS)) begin
                if (!rst) resync_cnt_o = resync_cnt_o + 16'd1;
                resync_q  <= !rst;
                state_o    = S_CGS;
                sync_n_o  <= 1'b0;
                aligned_o  = 1'b0;
                valid_o   <= 1'b0;
                for (l = 0; l < L; l = l + 1) begin
                    write_count[l]  = 16'd0;
                    read_count[l]   = 16'd0;
                    k_count[l]      = 3'd0;
                    k_run[l]        = 3'd0;
                    ilas_started[l] = 1'b0;
                    k_lock_o[l]     = 1'b0;
                end
            end
            if (rst) begin
                ilas_err_o   = {L{1'b0}};
                overflow_o   = {L{1'b0}};
                nit_cnt_o    = {16*L{1'b0}};
                disp_cnt_o   = {16*L{1'b0}};
                unexp_cnt_o  = {16*L{1'b0}};
                resync_cnt_o = 16'd0;
            end
        end
    endtask

    // The stages in pipeline order within one clock: the output stage reads what the lane
    // stage wrote, and both may ask for a re-synchronisation.
    always @(posedge clk) begin
        resync    = resync_req;
        all_ready = 1'b1;
        lane_stage;
        // Release: every lane holds a clock's worth at the release point.
        if (state_o == S_WAIT && all_ready && release_first) begin
            state_o         = S_ILAS;
            aligned_o       = 1'b1;
            ilas_multiframe = 2'd0;
        end
        output_stage;
        link_state_stage;
    end
    /* verilator lint_on BLKSEQ */
endmodule
