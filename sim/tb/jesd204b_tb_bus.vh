// Configuration bus accesses of the testbench (zero wait states, see sim/README.md).
    task cfg_access;
        input        to_rx;
        input        write;
        input [7:0]  addr;
        input [31:0] wdata;
        output [31:0] rdata;
        begin
            // The first falling edge after the call, also for a call made on one.
            #1 @(negedge cfg_clk);
            cfg_addr  = {24'd0, addr};
            cfg_wdata = wdata;
            cfg_wr    = write;
            cfg_strb  = 4'hF;
            tx_sel    = !to_rx;
            rx_sel    = to_rx;
            cfg_ena   = 1'b1;
            #1 rdata  = to_rx ? rx_rdata : tx_rdata;
            @(negedge cfg_clk);
            tx_sel  = 1'b0;
            rx_sel  = 1'b0;
            cfg_ena = 1'b0;
            cfg_wr  = 1'b0;
        end
    endtask

    reg [31:0] bus_dummy;
    // Writes the requested link parameters to every core the headers build and reads the
    // values back that the core keeps, which the converter model then uses.
    task configure;
        input to_rx;
        begin
            cfg_access(to_rx, 1'b1, 8'h08, {8'd0, T_M1, 3'd0, T_K1, T_F1}, bus_dummy);
            cfg_access(to_rx, 1'b1, 8'h0C, {T_HD, T_CF, T_CS, 3'd0, T_S1, 3'd0, T_NP1, 3'd0,
                                            T_N1}, bus_dummy);
            cfg_access(to_rx, 1'b1, 8'h10, {20'd0, T_BID, to_rx ? T_DID : T_TXDID}, bus_dummy);
            if (to_rx) cfg_access(1'b1, 1'b1, 8'h1C, {27'd0, T_RBD}, bus_dummy);
            cfg_access(to_rx, 1'b1, 8'h04, (ctrl & ~32'h130) | (T_SCR ? 32'h100 : 32'h0) | {26'd0, TMODE, 4'd0},
                       bus_dummy);
            cfg_access(to_rx, 1'b0, 8'h04, 32'd0, ctrl);
            cfg_access(to_rx, 1'b0, 8'h08, 32'd0, link0);
            cfg_access(to_rx, 1'b0, 8'h0C, 32'd0, link1);
            cfg_access(to_rx, 1'b0, 8'h10, 32'd0, link2);
        end
    endtask
