`define RX_EN
`define JESD_TX 0
`define JESD_RX 1
`define LANE 2
`define BUFFER_SIZE 256
`define RPAT_EN 0
`define JSPAT_EN 0
`define INIT_SYSMODE 0
`define INIT_SCAMEBLE 1
`define INIT_F 1
`define INIT_K 19
`define INIT_REINIT_MODE 0
`define FIX_EN 1
`define FIX_SCAM 1
`define FIX_F 2
`define MODE 2
`define CFG_CLK 61440000
