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
    // Per-lane coder and scrambler state is updated in place, octet by octet.
    /* verilator lint_off BLKSEQ */
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
        .always_on(sysref_always), .reinit(sysref_reinit), .resync(resync), .cnt(lmfc_cnt), .first(lmfc_first_o),
        .last(lmfc_last), .aligned(lmfc_aligned_o)
    );

    assign ready_o = (state_o == S_DATA);

    reg [1:0]    mf_idx;
    reg [14:0]   scr_st  [0:L-1];
    reg [7:0]    prev_end[0:L-1];
    reg          prev_rep[0:L-1];
    reg          rd      [0:L-1];
    reg [4:0]    pat_idx;
    reg [14:0]   pat_st;

    // A defined start, so that no unknown code group reaches a receiver before the reset.
    integer n;
    initial begin
        state_o = S_CGS;
        sync_q  = 1'b0;
        mf_idx  = 2'd0;
        pat_idx = 5'd0;
        pat_st  = JESD204B_SCR_INIT;
        cg_o    = {40*W*L{1'b0}};
        for (n = 0; n < L; n = n + 1) rd[n] = 1'b0;
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

    integer    l, o;
    reg [13:0] p;
    reg [7:0]  oct;
    reg        kc, rep;
    reg [22:0] sr;
    reg [10:0] enc;
    reg [4:0]  pidx;
    reg [14:0] pst;
    always @(posedge clk) begin
        sync_q <= sync_n;
        pidx = pat_idx;
        pst  = pat_st;
        for (l = 0; l < L; l = l + 1) begin
            pidx = pat_idx;
            pst  = pat_st;
            for (o = 0; o < P; o = o + 1) begin
                p   = {3'd0, lmfc_cnt} * OCTETS_PER_CLOCK + o[13:0];
                oct = 8'hBC;
                kc  = 1'b1;
                if (state_o == S_ILAS) begin
                    oct = p[7:0];
                    kc  = 1'b0;
                    if (p == 0) begin oct = 8'h1C; kc = 1'b1; end
                    else if (p == multiframe_octets - 1) begin oct = 8'h7C; kc = 1'b1; end
                    else if (mf_idx == 2'd1 && p == 1) begin oct = 8'h9C; kc = 1'b1; end
                    else if (mf_idx == 2'd1 && p < 16)
                        oct = jesd204b_ilas_octet(link_params[61:0], l[4:0], p[3:0] - 4'd2);
                end else if (state_o == S_DATA && test_mode == 2'd1) begin
                    oct  = jesd204b_rpat(pidx);
                    kc   = 1'b0;
                    pidx = (pidx == 5'd23) ? 5'd0 : pidx + 5'd1;
                end else if (state_o == S_DATA && test_mode == 2'd2) begin
                    sr  = jesd204b_scramble(pst, 8'h00);
                    pst = sr[22:8];
                    oct = sr[7:0];
                    kc  = 1'b0;
                end else if (state_o == S_DATA) begin
                    oct = data_i[(l*P+o)*8 +: 8];
                    kc  = 1'b0;
                    if (scrambling) begin
                        sr         = jesd204b_scramble(scr_st[l], oct);
                        scr_st[l]  = sr[22:8];
                        oct        = sr[7:0];
                        // Only a scrambled D28.7 / D28.3 at the frame / multiframe end is
                        // replaced; the receiver maps the control character back.
                        kc = (p == multiframe_octets - 1) ? (oct == 8'h7C) : ((p % frame_octets) == frame_octets - 1 && oct == 8'hFC);
                    end else if ((p % frame_octets) == frame_octets - 1) begin
                        rep = (oct == prev_end[l]) && ((p == multiframe_octets - 1) || !prev_rep[l]);
                        prev_end[l] = oct;
                        prev_rep[l] = rep;
                        if (rep) begin
                            kc  = 1'b1;
                            oct = (p == multiframe_octets - 1) ? 8'h7C : 8'hFC;
                        end
                    end
                end
                enc   = jesd204b_enc(oct, kc, rd[l]);
                rd[l] = enc[10];
                cg_o[(l*P+o)*10 +: 10]   <= enc[9:0];
                debug_o[(l*P+o)*9 +: 9]  <= {kc, oct};
            end
        end
        pat_idx <= pidx;
        pat_st  <= pst;

        if (rst) begin
            state_o <= S_CGS;
            mf_idx  <= 2'd0;
            for (l = 0; l < L; l = l + 1) rd[l] = 1'b0;
        end else if (!sync_q) begin
            state_o <= S_CGS;
        end else if (lmfc_last) begin
            if (state_o == S_CGS && lmfc_aligned_o) begin
                state_o <= S_ILAS;
                mf_idx  <= 2'd0;
            end else if (state_o == S_ILAS) begin
                mf_idx <= mf_idx + 2'd1;
                if (mf_idx == 2'd3) begin
                    state_o <= S_DATA;
                    pat_idx <= 5'd0;
                    pat_st  <= JESD204B_SCR_INIT;
                    for (l = 0; l < L; l = l + 1) begin
                        scr_st[l]   = JESD204B_SCR_INIT;
                        prev_end[l] = 8'h7C;
                        prev_rep[l] = 1'b1;
                    end
                end
            end
        end
    end
    /* verilator lint_on BLKSEQ */
endmodule
