// SERDES dynamic reconfiguration port of jesd204b_core: a model holds 256 words of scratch
// registers (address bits 9:2), answers reads one clock later and never reports an error.
module jesd204b_core_drp (
    input  wire        clk,
    input  wire [23:0] addr_i,
    input  wire        wren_i,
    input  wire [31:0] wrdata_i,
    input  wire [7:0]  strb_i,
    input  wire        rden_i,
    output wire        ready_o,
    output reg         rdvld_o,
    output reg  [31:0] rddata_o,
    output wire        resp_o
);
    reg  [31:0] drp_mem [0:255];
    integer     drp_b;
    wire        unused_drp_addr = ^{addr_i[23:10], addr_i[1:0]};
    always @(posedge clk) begin
        if (wren_i)
            for (drp_b = 0; drp_b < 4; drp_b = drp_b + 1)
                if (strb_i[drp_b])
                    drp_mem[addr_i[9:2]][drp_b*8 +: 8] <= wrdata_i[drp_b*8 +: 8];
        rdvld_o  <= rden_i;
        rddata_o <= drp_mem[addr_i[9:2]];
    end
    assign ready_o = 1'b1;
    assign resp_o  = 1'b0;
endmodule
