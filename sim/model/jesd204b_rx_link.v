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
    // Per-lane decoder, buffer and descrambler state is updated in place, octet by octet.
    /* verilator lint_off BLKSEQ */
    localparam [15:0] BUF16 = BUF;
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
        .always_on(sysref_always), .reinit(sysref_reinit), .resync(resync_q), .cnt(lmfc_cnt), .first(lmfc_first),
        .last(lmfc_last), .aligned(lmfc_aligned_o)
    );

    // Clocks since the last release point; the released octets count their frame and
    // multiframe positions from it.
    wire [13:0] period    = multiframe_octets / OCTETS_PER_CLOCK;
    wire [13:0] rel_at    = ({9'd0, rbd} * frame_octets / OCTETS_PER_CLOCK) % period;
    wire [13:0] lmfc14    = {3'd0, lmfc_cnt};
    wire [13:0] rel_cnt   = (lmfc14 >= rel_at) ? lmfc14 - rel_at : lmfc14 + period - rel_at;
    wire        rel_first = (rel_cnt == 14'd0);
    wire        rel_last  = (rel_cnt == period - 14'd1);
    wire        unused_first = lmfc_first;

    // Decoder stage: {not in table, disparity error, k, octet} per code group.
    reg        rd [0:L-1];
    reg [11:0] dq;
    integer    dl, dn;
    initial
        for (dl = 0; dl < L; dl = dl + 1) rd[dl] = 1'b0;
    always @(posedge clk) begin
        for (dl = 0; dl < L; dl = dl + 1) begin
            if (rst) rd[dl] = 1'b0;
            for (dn = 0; dn < P; dn = dn + 1) begin
                dq = dec_tab[{rd[dl], cg_i[(dl*P+dn)*10 +: 10]}];
                rd[dl] = dq[9];
                debug_o[(dl*P+dn)*11 +: 11] <= {dq[11:10], dq[8:0]};
            end
        end
    end

    reg [10:0] fifo     [0:L*BUF-1];
    reg [15:0] wp       [0:L-1];
    reg [15:0] rp       [0:L-1];
    reg [2:0]  kcnt     [0:L-1];
    reg [2:0]  kseen    [0:L-1];
    reg        started  [0:L-1];
    reg [14:0] scr_st   [0:L-1];
    reg [7:0]  prev_end [0:L-1];
    reg [1:0]  rmf;
    // Link configuration octets of the last ILAS per lane, as received; the testbench reads
    // them to name the fields of a refused ILAS.
    /* verilator lint_off UNUSED */
    reg [7:0]  ilas_rx  [0:L*14-1];
    /* verilator lint_on UNUSED */

    // Lane synchronisation, elastic buffers, ILAS check and data recovery.
    integer    l, o;
    reg        resync, all_ready, err, unexp;
    reg [10:0] e;
    reg [13:0] p;
    reg [7:0]  oct;
    reg [22:0] sr;
    reg [15:0] fill, fill_clk, bidx;
    always @(posedge clk) begin
        resync    = resync_req;
        all_ready = 1'b1;
        for (l = 0; l < L; l = l + 1) begin
            for (o = 0; o < P; o = o + 1) begin
                e   = {debug_o[(l*P+o)*11 +: 11]};
                err = e[10] | e[9];
                if (k_lock_o[l] && e[10] && nit_cnt_o[l*16 +: 16] != 16'hFFFF)
                    nit_cnt_o[l*16 +: 16] = nit_cnt_o[l*16 +: 16] + 16'd1;
                if (k_lock_o[l] && e[9] && disp_cnt_o[l*16 +: 16] != 16'hFFFF)
                    disp_cnt_o[l*16 +: 16] = disp_cnt_o[l*16 +: 16] + 16'd1;
                if (state_o == S_CGS) begin
                    kcnt[l] = (!err && e[8] && e[7:0] == 8'hBC) ?
                              ((kcnt[l] == 3'd4) ? 3'd4 : kcnt[l] + 3'd1) : 3'd0;
                    k_lock_o[l] = (kcnt[l] == 3'd4);
                end else if (!started[l]) begin
                    if (!err && e[8] && e[7:0] == 8'h1C) started[l] = 1'b1;
                    else if (err || !e[8] || e[7:0] != 8'hBC) begin
                        unexp_cnt_o[l*16 +: 16] = unexp_cnt_o[l*16 +: 16] + 16'd1;
                        resync = resync | resync_on_err;
                    end
                end
                if (state_o != S_CGS && started[l]) begin
                    bidx = wp[l] % BUF16;
                    fifo[l*BUF + {16'd0, bidx}] = e;
                    wp[l] = wp[l] + 16'd1;
                    kseen[l] = (!err && e[8] && e[7:0] == 8'hBC) ? kseen[l] + 3'd1 : 3'd0;
                    // Four /K/ in a row: the transmitter went back to synchronisation.
                    if (kseen[l] == 3'd4) resync = 1'b1;
                    if (err) resync = resync | resync_on_err;
                end
            end
            fill     = wp[l] - rp[l];
            fill_clk = fill / {2'd0, OCTETS_PER_CLOCK};
            if (fill > BUF16) begin
                overflow_o[l] = 1'b1;
                resync = 1'b1;
            end
            if (!started[l] || fill < {2'd0, OCTETS_PER_CLOCK}) all_ready = 1'b0;
            fill_o[l*5 +: 5] <= (fill_clk > 16'd31) ? 5'd31 : fill_clk[4:0];
        end
        if (state_o == S_WAIT && all_ready && rel_first) begin
            state_o   = S_ILAS;
            aligned_o = 1'b1;
            rmf       = 2'd0;
        end
        valid_o <= (state_o == S_DATA);
        for (o = 0; o < P; o = o + 1) begin
            p         = rel_cnt * OCTETS_PER_CLOCK + o[13:0];
            sof_o[o]  <= (state_o == S_DATA) && (p % frame_octets) == 0;
            eof_o[o]  <= (state_o == S_DATA) && (p % frame_octets) == frame_octets - 1;
            somf_o[o] <= (state_o == S_DATA) && p == 0;
            eomf_o[o] <= (state_o == S_DATA) && p == multiframe_octets - 1;
        end
        for (l = 0; l < L; l = l + 1)
            for (o = 0; o < P; o = o + 1) begin
                p     = rel_cnt * OCTETS_PER_CLOCK + o[13:0];
                e     = 11'h000;
                unexp = 1'b0;
                if (state_o == S_ILAS || state_o == S_DATA) begin
                    bidx  = rp[l] % BUF16;
                    e     = fifo[l*BUF + {16'd0, bidx}];
                    rp[l] = rp[l] + 16'd1;
                end
                oct = e[7:0];
                if (state_o == S_ILAS) begin
                    if (rmf == 2'd1 && p >= 2 && p < 16) ilas_rx[l*14 + {18'd0, p} - 2] = oct;
                    if ((p == 0 && e[8:0] != 9'h11C) || (p == multiframe_octets - 1 && e[8:0] != 9'h17C)
                        || (rmf == 2'd1 && p == 1 && e[8:0] != 9'h19C)
                        || (rmf == 2'd1 && p >= 2 && p < 16 &&
                            e[8:0] != {1'b0, jesd204b_ilas_octet(link_params[61:0], l[4:0], p[3:0] - 4'd2)}))
                        ilas_err_o[l] = 1'b1;
                end else if (state_o == S_DATA) begin
                    if (e[8]) begin
                        unexp = !((p == multiframe_octets - 1) ? oct == 8'h7C : ((p % frame_octets) == frame_octets - 1 && oct == 8'hFC));
                        if (unexp && unexp_cnt_o[l*16 +: 16] != 16'hFFFF)
                            unexp_cnt_o[l*16 +: 16] = unexp_cnt_o[l*16 +: 16] + 16'd1;
                        if (!scrambling) oct = prev_end[l];
                    end
                    if (scrambling) begin
                        sr        = jesd204b_descramble(scr_st[l], oct);
                        scr_st[l] = sr[22:8];
                        oct       = sr[7:0];
                    end else if ((p % frame_octets) == frame_octets - 1) begin
                        prev_end[l] = oct;
                    end
                end
                data_o[(l*P+o)*8 +: 8] <= oct;
                err_o[l*P+o]           <= (state_o == S_DATA) && (e[10] || e[9] || unexp);
                if (unexp) resync = resync | resync_on_err;
            end
        if (state_o == S_ILAS && rel_last) begin
            rmf = rmf + 2'd1;
            if (rmf == 2'd0) begin
                state_o = S_DATA;
                for (l = 0; l < L; l = l + 1) begin
                    scr_st[l]   = JESD204B_SCR_INIT;
                    prev_end[l] = 8'h7C;
                end
            end
        end
        if (state_o == S_CGS && lmfc_aligned_o && lmfc_last && &k_lock_o) begin
            state_o  = S_WAIT;
            sync_n_o <= 1'b1;
        end
        resync_q <= 1'b0;
        if (clr_cnt) begin
            nit_cnt_o   = {16*L{1'b0}};
            disp_cnt_o  = {16*L{1'b0}};
            unexp_cnt_o = {16*L{1'b0}};
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
                wp[l] = 16'd0; rp[l] = 16'd0; kcnt[l] = 3'd0; kseen[l] = 3'd0;
                started[l] = 1'b0; k_lock_o[l] = 1'b0;
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
    /* verilator lint_on BLKSEQ */
endmodule
