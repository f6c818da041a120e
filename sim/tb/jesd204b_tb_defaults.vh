// Defaults of the testbench options that tb_config.vh leaves out, and the core's shape.
`ifndef TB_FRAMES
`define TB_FRAMES 256
`endif
`ifndef TB_SKEW
`define TB_SKEW 0
`endif
`ifndef TB_RESYNCS
`define TB_RESYNCS 0
`endif
`ifndef TB_INJECT
`define TB_INJECT -1
`endif
`ifndef TB_RBD
`define TB_RBD 0
`endif
`ifndef TB_DELAY_VAR
`define TB_DELAY_VAR 0
`endif
`ifndef TB_TEST_MODE
`define TB_TEST_MODE 0
`endif
`ifndef TB_F
`define TB_F (`INIT_F + 1)
`endif
`ifndef TB_K
`define TB_K (`INIT_K + 1)
`endif
`ifndef TB_SCR
`ifdef INIT_SCAMEBLE
`define TB_SCR `INIT_SCAMEBLE
`else
`define TB_SCR 0
`endif
`endif
`ifndef TB_M
`define TB_M 2
`endif
`ifndef TB_N
`define TB_N 16
`endif
`ifndef TB_NP
`define TB_NP 16
`endif
`ifndef TB_S
`define TB_S 1
`endif
`ifndef TB_CS
`define TB_CS 0
`endif
`ifndef TB_CF
`define TB_CF 0
`endif
`ifndef TB_HD
`define TB_HD 0
`endif
`ifndef TB_DID
`define TB_DID 8'h00
`endif
`ifndef TB_BID
`define TB_BID 4'h0
`endif
`ifndef TB_TX_DID
`define TB_TX_DID `TB_DID
`endif
`ifdef TX_AND_RX_EN
`define TB_CORE_TX
`define TB_CORE_RX
`endif
`ifdef TX_EN
`define TB_CORE_TX
`endif
`ifdef RX_EN
`define TB_CORE_RX
`endif
`ifdef MODE
`define TB_W `MODE
`else
`define TB_W 1
`endif
