// Configuration registers of one link direction, on the configuration clock. The bus has
// zero wait states: an access happens on a clock with sel and ena high, rdy follows them and
// read data is valid with rdy. The write data arrives on the port the wrapper names
// cfg_rdata_i. Addresses are byte addresses of 32-bit registers; see sim/README.md.
module jesd204b_cfg_regs #(
    parameter LANE       = 1,
    parameter MODE       = 1,
    parameter FIX_EN     = 0,
    parameter FIX_F      = 0,
    parameter INIT_F     = 3,
    parameter INIT_K     = 31,
    parameter INIT_SCR   = 0,
    parameter INIT_SYS   = 0,
    parameter INIT_REINI = 0,
    parameter TEST_MASK  = 0
) (
    input  wire           cfg_clk,
    input  wire           cfg_rstn,
    input  wire [31:0]    addr,
    input  wire           sel,
    input  wire           ena,
    input  wire           wr,
    input  wire [31:0]    wdata,
    input  wire [3:0]     strb,
    output reg  [31:0]    rdata,
    output wire           rdy,
    // core clock domain
    input  wire           core_clk,
    output wire [63:0]    link_params,
    output wire [1:0]     test_mode,
    output wire           resync_on_err,
    output wire           sysref_always,
    output wire           sysref_reinit,
    output wire [4:0]     rbd,
    output reg            resync_pulse,
    output reg            clr_pulse,
    input  wire [31:0]    status,
    input  wire [15:0]    resync_cnt,
    input  wire [32*LANE-1:0] lane_err,
    input  wire [32*LANE-1:0] lane_info
);
    reg [31:0] ctrl, link0, link1, link2, rbd_reg;
    reg        resync_tgl, clr_tgl;
    reg [2:0]  resync_s, clr_s;

    // The core-side synchronisers start quiet; the bus reset sets the rest.
    initial begin
        resync_tgl = 1'b0;
        clr_tgl    = 1'b0;
        resync_s   = 3'd0;
        clr_s      = 3'd0;
    end

    wire [31:0] ctrl_rst  = {21'd0, INIT_REINI[0], INIT_SYS[0], INIT_SCR[0], 5'd0, 1'b1, 2'b00};
    wire [31:0] link0_rst = {8'd0, 8'd1, 3'd0, INIT_K[4:0], INIT_F[7:0]};
    wire [31:0] link1_rst = {1'b0, 5'd0, 2'd0, 3'd0, 5'd0, 3'd0, 5'd15, 3'd0, 5'd15};
    // With a fixed configuration F and scrambling keep their generated values.
    wire [31:0] ro_ctrl   = FIX_EN ? 32'h0000_0100 : 32'h0;
    wire [31:0] ro_link0  = FIX_EN ? 32'h0000_00FF : 32'h0;

    function [31:0] merge;
        input [31:0] old, nw, ro;
        input [3:0]  be;
        integer b;
        begin
            merge = old;
            for (b = 0; b < 4; b = b + 1)
                if (be[b]) merge[b*8 +: 8] = nw[b*8 +: 8];
            merge = (merge & ~ro) | (old & ro);
        end
    endfunction

    assign rdy = sel && ena;
    wire access = sel && ena;
    wire [5:0] word = addr[7:2];
    wire       unused_addr = ^{addr[31:8], addr[1:0]};

    always @(posedge cfg_clk) begin
        if (!cfg_rstn) begin
            ctrl  <= ctrl_rst;
            link0 <= link0_rst;
            link1 <= link1_rst;
            link2 <= 32'd0;
            rbd_reg <= 32'd0;
            resync_tgl <= 1'b0;
            clr_tgl    <= 1'b0;
        end else if (access && wr) begin
            case (word)
                6'd1: begin
                    ctrl <= merge(ctrl, wdata & 32'h0000_0734, ro_ctrl, strb);
                    if (strb[0] && wdata[0]) resync_tgl <= !resync_tgl;
                    if (strb[0] && wdata[1]) clr_tgl    <= !clr_tgl;
                end
                6'd2: link0 <= merge(link0, wdata & 32'h00FF_1FFF, ro_link0, strb);
                6'd3: link1 <= merge(link1, wdata & 32'hFF1F_1F1F, 32'h0, strb);
                6'd4: link2 <= merge(link2, wdata & 32'h0000_0FFF, 32'h0, strb);
                6'd7: rbd_reg <= merge(rbd_reg, wdata & 32'h0000_001F, 32'h0, strb);
                default: ;
            endcase
        end
    end

    integer n;
    always @(*) begin
        rdata = 32'd0;
        case (word)
            6'd0: rdata = {16'h204B, LANE[3:0], MODE[3:0], FIX_F[7:0]};
            6'd1: rdata = ctrl;
            6'd2: rdata = link0;
            6'd3: rdata = link1;
            6'd4: rdata = link2;
            6'd5: rdata = status;
            6'd6: rdata = {16'd0, resync_cnt};
            6'd7: rdata = rbd_reg;
            default: ;
        endcase
        for (n = 0; n < LANE; n = n + 1) begin
            if (word == 6'd8 + n[5:0])  rdata = lane_err[n*32 +: 32];
            if (word == 6'd16 + n[5:0]) rdata = lane_info[n*32 +: 32];
        end
    end

    always @(posedge core_clk) begin
        resync_s     <= {resync_s[1:0], resync_tgl};
        clr_s        <= {clr_s[1:0], clr_tgl};
        resync_pulse <= resync_s[2] ^ resync_s[1];
        clr_pulse    <= clr_s[2] ^ clr_s[1];
    end

    assign test_mode     = ctrl[5:4] & TEST_MASK[1:0];
    assign resync_on_err = ctrl[2];
    assign sysref_always = ctrl[9];
    assign sysref_reinit = ctrl[10];
    assign rbd           = rbd_reg[4:0];
    wire   unused_rbd    = ^rbd_reg[31:5];
    // The word stores the lane count minus one, as the ILAS sends it.
    localparam [4:0] LANE_FIELD = LANE - 1;
    assign link_params = {2'b00, link1[30:26], link1[31], link1[20:16], link1[12:8],
                          link1[4:0], link1[25:24], link0[23:16], link0[12:8], link0[7:0],
                          LANE_FIELD, ctrl[8], link2[11:8], link2[7:0]};
endmodule
