// SERDES dynamic reconfiguration port of jesd204b_core: a model holds 256 words of scratch
// registers (address bits 9:2), answers reads one clock later and never reports an error.
    reg  [31:0] drp_mem [0:255];
    reg         drp_rdvld;
    reg  [31:0] drp_rddata;
    integer     drp_b;
    wire        unused_drp_addr = ^{user_drp_addr_i[23:10], user_drp_addr_i[1:0]};
`ifdef JESD204B_CORE_TX
    assign user_drp_clk_o = tx_cfg_clk_i;
`else
    assign user_drp_clk_o = rx_cfg_clk_i;
`endif
    always @(posedge user_drp_clk_o) begin
        if (user_drp_wren_i)
            for (drp_b = 0; drp_b < 4; drp_b = drp_b + 1)
                if (user_drp_strb_i[drp_b])
                    drp_mem[user_drp_addr_i[9:2]][drp_b*8 +: 8] <= user_drp_wrdata_i[drp_b*8 +: 8];
        drp_rdvld  <= user_drp_rden_i;
        drp_rddata <= drp_mem[user_drp_addr_i[9:2]];
    end
    assign user_drp_ready_o  = 1'b1;
    assign user_drp_rdvld_o  = drp_rdvld;
    assign user_drp_rddata_o = drp_rddata;
    assign user_drp_resp_o   = 1'b0;
