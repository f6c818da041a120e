// Behavioural model of the JESD204B link core behind jesd204b_top.v, configured by the same
// generated headers. The serial side stays inside: sim_tx_cg carries the transmitted code
// groups, and the receiver takes sim_rx_cg when sim_rx_ext is set (always in a receive-only
// core) or the transmitter's own lanes otherwise. A testbench reaches them hierarchically.
`include "jesd204b_top_defines.vh"
`include "jesd204b_core_ports.vh"

    localparam N = `LANE;
`ifdef MODE
    localparam W = `MODE;
`else
    localparam W = 1;
`endif
`ifdef INIT_SYSMODE
    localparam INIT_SYS = `INIT_SYSMODE;
`else
    localparam INIT_SYS = 0;
`endif
`ifdef INIT_SCAMEBLE
    localparam INIT_SCR = `INIT_SCAMEBLE;
`else
    localparam INIT_SCR = 0;
`endif
`ifdef INIT_REINIT_MODE
    localparam INIT_REINI = `INIT_REINIT_MODE;
`else
    localparam INIT_REINI = 0;
`endif
`ifdef FIX_F
    localparam FIX_F = `FIX_F;
`else
    localparam FIX_F = 0;
`endif

    wire [40*W*N-1:0] sim_tx_cg;
    reg  [40*W*N-1:0] sim_rx_cg;
    reg               sim_rx_ext;
    wire              unused_sim = ^{sim_tx_cg, sim_rx_cg, sim_rx_ext};
    initial begin
        sim_rx_cg  = {40*W*N{1'b0}};
        sim_rx_ext = 1'b0;
    end

`ifdef JESD204B_CORE_TX
    `include "jesd204b_core_tx.vh"
`else
    assign sim_tx_cg = {40*W*N{1'b0}};
`endif
`ifdef JESD204B_CORE_RX
    `include "jesd204b_core_rx.vh"
`endif

    // The SERDES PLLs of a model are always locked.
    assign gt_cpll_ok_o = {N{1'b1}};
`ifdef JESD204B_Q0_QPLL0_OK
    assign gt_q0_qpll0_ok_o = 1'b1;
`endif
`ifdef JESD204B_Q0_QPLL1_OK
    assign gt_q0_qpll1_ok_o = 1'b1;
`endif
`ifdef JESD204B_Q1_QPLL0_OK
    assign gt_q1_qpll0_ok_o = 1'b1;
`endif
`ifdef JESD204B_Q1_QPLL1_OK
    assign gt_q1_qpll1_ok_o = 1'b1;
`endif
`ifdef DRP_PORT_EN
    `include "jesd204b_core_drp.vh"
`endif
endmodule
